// Every message the simulator builds goes through the station's own decoder for its receiver type: the
// event line must carry the account, code and area the simulator meant, heartbeats must post nothing.
// Types whose decoder the station does not have yet are reported as skipped.
#include "receiver_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoders/decode_message.h"
#include "decoders/receiver_types.h"
#include "store/text.h"

namespace duri::sim {
namespace {

struct Decoded {
  std::string text;
  DateRecord date;
  TimeRecord time;
};

// Frames the bytes as one message in a fresh port state and runs the decoding step on them.
Decoded Decode(int type, const std::string& bytes, Clock& clock) {
  PortState state;
  int index = 1;
  for (char c : bytes) state.At(index++) = static_cast<uint8_t>(c);
  state.write_index = static_cast<int16_t>(index);
  state.complete_count = 1;
  state.terminator = TerminatorOf(type);
  ReceiverConfig config;
  config.receiver_type = static_cast<uint8_t>(type);
  DecodeHost host;
  host.clock = &clock;
  DecodedMessage result;
  DecodeMessage(host, state, config, result);
  EXPECT_EQ(state.read_index, index) << "the message was not taken whole";
  return {std::string(result.text.view()), result.date, result.time};
}

ExpectedLine ParseLine(const std::string& line) {
  ExpectedLine out;
  size_t space = line.find(' ');
  out.account = line.substr(0, space);
  size_t code_begin = space == std::string::npos ? line.size() : space + 1;
  size_t code_end = line.find_first_of(" \r", code_begin);
  out.code = line.substr(code_begin, code_end - code_begin);
  size_t ri = line.find("[ri");
  if (ri != std::string::npos) out.area = std::stoi(line.substr(ri + 3));
  StripZeros(out.account);
  return out;
}

std::vector<SimEvent> SampleEvents(int type) {
  LocalDateTime stamp{{2026, 12, 7, 1}, {23, 58, 41, 0}};
  std::vector<SimEvent> all = {
      {"1234", CodeKind::kContactId, 'E', "130", 1, 5, stamp},
      {"987", CodeKind::kContactId, 'R', "401", 2, 3, stamp},
      {"5678", CodeKind::kContactId, 'E', "602", 0, 0, stamp},
      {"1234", CodeKind::kSia, 'E', "BA", 3, 1, stamp},
      {"42", CodeKind::kSia, 'E', "OP", 0, 12, stamp},
      {"1234", CodeKind::kPulse, 'E', "3", 0, 0, stamp},
      {"321", CodeKind::kPulse, 'E', "31", 4, 0, stamp},
  };
  std::vector<SimEvent> events;
  for (SimEvent e : all) {
    if (type == 13 || type == 10) e.code = e.kind == CodeKind::kPulse ? "19" : e.code;
    if (CheckEvent(type, e).empty()) events.push_back(e);
  }
  return events;
}

// Models that take the event's date and time from the receiver's stamp.
bool ReadsStamp(int type, CodeKind kind) {
  switch (type) {
    case 1: case 2: case 3: case 11: case 12: case 19:
      return true;
    case 5: case 6: case 7: case 21:
      return kind != CodeKind::kSia;
    case 16:
      return kind == CodeKind::kPulse;
    default:
      return false;
  }
}

class ReceiverMessagesTest : public ::testing::TestWithParam<int> {
 protected:
  ReceiverMessagesTest() { clock_.Set(2026, 12, 8, 10, 11, 12); }
  ManualClock clock_;
};

TEST_P(ReceiverMessagesTest, EventsDecodeToTheirAccountCodeAndArea) {
  const int type = GetParam();
  if (DecoderFamilyOf(type) == nullptr) GTEST_SKIP() << "no decoder for type " << type << " yet";
  std::vector<SimEvent> events = SampleEvents(type);
  ASSERT_FALSE(events.empty());
  for (const SimEvent& e : events) {
    SCOPED_TRACE(std::string(CodeKindName(e.kind)) + " " + e.account + " " + e.code);
    std::string bytes = BuildEventMessage(type, e);
    ASSERT_EQ(static_cast<uint8_t>(bytes.back()), TerminatorOf(type));
    Decoded d = Decode(type, bytes, clock_);
    ASSERT_FALSE(d.text.empty()) << "nothing decoded from " << bytes;
    ASSERT_EQ(d.text.find('\r'), d.text.size() - 1) << "not one line: " << d.text;
    ExpectedLine want = ExpectedDecode(type, e);
    StripZeros(want.account);
    ExpectedLine got = ParseLine(d.text);
    EXPECT_EQ(got.account, want.account) << d.text;
    EXPECT_EQ(got.code, want.code) << d.text;
    EXPECT_EQ(got.area, want.area) << d.text;
    if (ReadsStamp(type, e.kind)) {
      EXPECT_EQ(d.time.hour, 23);
      EXPECT_EQ(d.time.minute, 58);
      EXPECT_EQ(d.date.month, 12);
      EXPECT_EQ(d.date.day, 7);
    }
  }
}

TEST_P(ReceiverMessagesTest, HeartbeatsPostNothingAndStatusReportsPostReceiverLines) {
  const int type = GetParam();
  if (DecoderFamilyOf(type) == nullptr) GTEST_SKIP() << "no decoder for type " << type << " yet";
  LocalDateTime now = clock_.Now();
  std::string heartbeat = BuildHeartbeat(type, now);
  if (type == 20) {
    EXPECT_EQ(heartbeat, "");
  } else {
    ASSERT_FALSE(heartbeat.empty());
    EXPECT_EQ(Decode(type, heartbeat, clock_).text, "");
  }
  std::string status = BuildStatusReport(type, now);
  if (status.empty()) return;
  std::string text = Decode(type, status, clock_).text;
  ASSERT_FALSE(text.empty());
  ExpectedLine line = ParseLine(text);
  EXPECT_EQ(line.account, "0") << text;
}

INSTANTIATE_TEST_SUITE_P(AllModels, ReceiverMessagesTest, ::testing::Range(1, 22));

TEST(ReceiverMessagesCheck, RefusesWhatTheModelCannotSend) {
  SimEvent e{"1234", CodeKind::kSia, 'E', "BA", 1, 1, {}};
  EXPECT_NE(CheckEvent(20, e), "");  // Radionics 6000 sends pulse codes only
  e.kind = CodeKind::kPulse;
  e.code = "3";
  EXPECT_EQ(CheckEvent(20, e), "");
  e.account = "12345";
  EXPECT_NE(CheckEvent(20, e), "");
  e.account = "1234";
  EXPECT_NE(CheckEvent(10, e), "");  // Secutron accounts are three digits
  e.account = "12a";
  EXPECT_NE(CheckEvent(7, e), "");
  e = {"1234", CodeKind::kContactId, 'X', "130", 1, 1, {}};
  EXPECT_NE(CheckEvent(7, e), "");
  e.qualifier = 'E';
  e.code = "13";
  EXPECT_NE(CheckEvent(7, e), "");
  e = {"1234", CodeKind::kPulse, 'E', "A1", 1, 0, {}};
  EXPECT_NE(CheckEvent(13, e), "");  // Adcor reads 'A' as '0'
  e.area = 12;
  e.code = "31";
  EXPECT_NE(CheckEvent(7, e), "");  // one column of area on Sur-Gard pulse reports
}

}  // namespace
}  // namespace duri::sim
