#include "intake/decode_step.h"
#include "decoders/decode_message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "decoders/ring_loader.h"
#include "platform/station_view.h"
#include "receivers/receiver_catalogue.h"
#include "settings/language_select.h"
#include "settings/language_table.h"
#include "station.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::LoadRing;

struct Posted {
  DateRecord date;
  TimeRecord time;
  std::string text;
  std::string second;
};

class DecodeMessageTest : public ::testing::Test {
 protected:
  DecodeMessageTest() {
    clock_.Set(2026, 12, 8, 10, 11, 12, 345);
    station_.add_event = [this](const DateRecord& d, const TimeRecord& t, std::string_view text,
                                std::string_view second) {
      posted_.push_back({d, t, std::string(text), std::string(second)});
    };
    InstallDecodeMessage(station_);
  }

  duri::testing::TempDir temp_;
  ManualClock clock_;
  NullView view_;
  Station station_{temp_.path(), clock_, view_};
  std::vector<Posted> posted_;
};

TEST_F(DecodeMessageTest, NoReceiverAndUnknownTypesDecodeNothingButCountTheMessageDone) {
  for (int type : {0, 22, 255}) {
    SCOPED_TRACE(type);
    PortState state;
    LoadRing(state, "whatever\r");
    ReceiverConfig config;
    config.receiver_type = static_cast<uint8_t>(type);
    DecodeHost host;
    host.clock = &clock_;
    DecodedMessage result;
    result.text.Assign("stale");
    DecodeMessage(host, state, config, result);
    EXPECT_TRUE(result.text.empty());
    EXPECT_TRUE(result.second_text.empty());
    EXPECT_EQ(result.date, (DateRecord{2026, 12, 8, 2}));  // a Tuesday
    EXPECT_EQ(result.time, (TimeRecord{10, 11, 12, 345}));
    EXPECT_EQ(state.complete_count, 0);
    EXPECT_EQ(state.read_index, 1);  // nothing taken
  }
}

TEST_F(DecodeMessageTest, StationHookDecrementsTheCountAndPostsNothingForAnEmptyText) {
  PortState state;
  LoadRing(state, "x\r");
  state.complete_count = 2;
  ReceiverConfig config;
  ASSERT_TRUE(station_.decode_message);
  station_.decode_message(1, state, config);
  EXPECT_EQ(state.complete_count, 1);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(DecodeMessageTest, PostsTheDecodedLinesWithTheReceiverStampAndCapturesTheMessage) {
  temp_.MakeDir("ORBA/202612.Evt");
  PortState state;
  state.terminator = 20;
  const std::string message = "5011 181234E1300100523:59:01 31/12/97{Front door}\x14";
  LoadRing(state, message, 1020);
  ReceiverConfig config;
  config.receiver_type = 7;
  config.receiver_number = 1;
  config.line_number = 1;
  station_.decode_message(3, state, config);
  ASSERT_EQ(posted_.size(), 1u);
  EXPECT_EQ(posted_[0].text, "00111234 E130005  [ri01]\r");
  EXPECT_EQ(posted_[0].second, " {Front door}");
  EXPECT_EQ(posted_[0].date, (DateRecord{1997, 12, 31, 3}));
  EXPECT_EQ(posted_[0].time, (TimeRecord{23, 59, 1, 345}));
  EXPECT_EQ(state.complete_count, 0);
  EXPECT_EQ(state.link_activity, 1);
  EXPECT_EQ(temp_.ReadFile("ORBA/202612.Evt/event.txt"), message + "\r\n");
}

TEST_F(DecodeMessageTest, HeartbeatIsNotPosted) {
  PortState state;
  state.terminator = 20;
  LoadRing(state, "1011           @    \x14");
  ReceiverConfig config;
  config.receiver_type = 21;
  config.show_heartbeat = 1;  // not consulted by the decoders
  station_.decode_message(1, state, config);
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(state.link_activity, 1);
  EXPECT_EQ(state.complete_count, 0);
}

TEST_F(DecodeMessageTest, CountIsDecrementedWhenIntakeFails) {
  station_.add_event = [](const DateRecord&, const TimeRecord&, std::string_view, std::string_view) {
    throw std::runtime_error("history write failed");
  };
  PortState state;
  state.terminator = 20;
  LoadRing(state, "7011 1234 BA01\x14");
  state.complete_count = 2;
  ReceiverConfig config;
  config.receiver_type = 5;
  EXPECT_THROW(station_.decode_message(1, state, config), std::runtime_error);
  EXPECT_EQ(state.complete_count, 1);
}

// What each kind of message comes to: events, a message without event, an unrecognised one, line
// noise; bytes before a message's valid start are dropped and counted, the rest decoded.
TEST_F(DecodeMessageTest, OutcomeAndNoiseOfEachKindOfMessage) {
  const std::string cid = "5011 181234E13001005";
  const std::string stamp = "12:34:56 08/12/26";
  const std::string calderium = "14:35  12/08/26  11 1234 18 E130 01 005\r";
  struct Case {
    int type;
    std::string bytes;
    MessageOutcome outcome;
    int noise;
    const char* text;
  };
  const Case cases[] = {
      {7, cid + "\x14", MessageOutcome::kEvents, 0, "01234 E130005  [ri01]\r"},
      {7, "\x8A" "5" + cid + stamp + "\x14", MessageOutcome::kEvents, 2, "01234 E130005  [ri01]\r"},
      // "@" and character 254 in the noise do not make the message a heartbeat.
      {7, "@\xFE" + cid + "\x14", MessageOutcome::kEvents, 2, "01234 E130005  [ri01]\r"},
      {7, "\x01\x02S011[#1234|Nri1/BA01]\x14", MessageOutcome::kEvents, 2, "01234 BA01  [R1L1][ri1]\r"},
      {7, "T\xF3" "1011      1234  303 " + stamp + "\x14", MessageOutcome::kEvents, 2, "01234 03   [ri3]\r"},
      {21, "xyz501001 181234E13001005\x14", MessageOutcome::kEvents, 3, "01234 E130005  [ri01]\r"},
      {7, "1011           @    \x14", MessageOutcome::kNoEvent, 0, ""},
      {7, "X011 1234 BA01\x14", MessageOutcome::kUnrecognised, 0, ""},
      {7, "\x14", MessageOutcome::kBlank, 0, ""},
      // The long account cut off with the end of its block: no event made of the account's letters.
      {7, "S011[#" + std::string(250, 'A') + "|Nri1/OP01]\x14", MessageOutcome::kUnrecognised, 0, ""},
      {1, calderium, MessageOutcome::kEvents, 0, "01234 E130005  [ri01]\r"},
      {1, "\x9C" "1:" + calderium, MessageOutcome::kEvents, 3, "01234 E130005  [ri01]\r"},
      {1, "14:35  12/08/26  11 @\r", MessageOutcome::kNoEvent, 0, ""},
      {1, "14:35  12/08/26  11 1234 18 E130 01 00\r", MessageOutcome::kUnrecognised, 0, ""},
      {19, "q\xE0" "14:35  12/08 35 00  11 1234 03\r", MessageOutcome::kEvents, 2, "01234 03\r"},
      {4, "\x05\n!\n11 1234 18 E130 01 C005\r", MessageOutcome::kEvents, 3, "01234 E130005  [ri01]\r"},
      {4, "\n11 @\r", MessageOutcome::kNoEvent, 0, ""},
      {4, "\n11 1234 18 E130 01 C00\r", MessageOutcome::kUnrecognised, 0, ""},
      {4, "\r", MessageOutcome::kBlank, 0, ""},
      {14, "\r", MessageOutcome::kNoEvent, 0, ""},  // the RDC's link test is a bare CR
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + PrintableMessage(c.bytes));
    PortState state;
    state.terminator = TerminatorForType(c.type);
    LoadRing(state, c.bytes);
    ReceiverConfig config;
    config.receiver_type = static_cast<uint8_t>(c.type);
    DecodeHost host;
    host.clock = &clock_;
    DecodedMessage result;
    EXPECT_EQ(DecodeMessage(host, state, config, result), c.outcome);
    EXPECT_EQ(result.noise_bytes, c.noise);
    EXPECT_EQ(result.text.view(), c.text);
  }
}

// Unrecognised messages are counted and logged and not acknowledged; the third in a row is stored as an
// event of its own, with the message made printable, so that the line moves on. A message that is read
// starts the run again.
TEST_F(DecodeMessageTest, ThirdUnrecognisedMessageInARowIsStoredAsAnEvent) {
  temp_.MakeDir("ORBA");
  FillLanguage(station_.language, TableId::kEnglish);
  ReceiverConfig config;
  config.receiver_type = 7;
  const std::vector<std::pair<std::string, MessageOutcome>> steps = {
      {"X011\x02\x14", MessageOutcome::kUnrecognised},  {"X011\x02\x14", MessageOutcome::kUnrecognised},
      {"1011 @\x14", MessageOutcome::kNoEvent},          {"X011\x02\x14", MessageOutcome::kUnrecognised},
      {"X011\x02\x14", MessageOutcome::kUnrecognised},  {"\x14", MessageOutcome::kBlank},
      {"X011\x02\x14", MessageOutcome::kStoredUnread},  {"X011\x02\x14", MessageOutcome::kUnrecognised},
  };
  for (const auto& [bytes, outcome] : steps) {
    PortState state;
    state.terminator = 20;
    LoadRing(state, bytes);
    EXPECT_EQ(station_.decode_message(2, state, config), outcome) << PrintableMessage(bytes);
  }
  ASSERT_EQ(posted_.size(), 1u);
  EXPECT_EQ(posted_[0].text, "0000 UCOM2\r");
  EXPECT_EQ(posted_[0].second, " Unreadable receiver message: X011<STX><DC4>");
  const PortCounters& counters = station_.ports.Counters(2);
  EXPECT_EQ(counters.Dropped(DropReason::kUnrecognised), 6u);
  EXPECT_EQ(counters.Dropped(DropReason::kNoise), 1u);
  const std::string log = temp_.ReadFile("ORBA/error.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 6) << log;
  EXPECT_NE(log.find(" COM2 surgard slr/mlr2 (type 7): message not recognised, not acknowledged: X011<STX><DC4>"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("message not recognised again, stored as an event"), std::string::npos) << log;
}

}  // namespace
}  // namespace duri
