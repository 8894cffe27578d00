// Ademco 685 (type 4) messages through DecodeMessage. Each message starts with the line feed that
// follows the receiver's previous CR; the decoder drops that first character.
#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder_run.h"

namespace duri {
namespace {

using testing::DecoderRun;
using testing::PortOptions;

constexpr int kAdemco = 4;

struct Case {
  const char* name;
  std::string message;  // CR included
  bool receiver_number;
  bool line_number;
  char prefix;
  bool compress;
  std::string expected;
};

class Ademco685Test : public ::testing::Test {
 protected:
  Ademco685Test() { clock_.Set(2026, 12, 8, 10, 11, 12, 345); }

  void CheckAll(const Case* begin, const Case* end) {
    for (const Case* c = begin; c != end; ++c) {
      SCOPED_TRACE(c->name);
      DecoderRun run(kAdemco, c->message, clock_,
                     PortOptions{c->receiver_number, c->line_number, c->prefix, c->compress});
      EXPECT_EQ(run.text(), c->expected);
      EXPECT_EQ(run.posted, c->expected);
      EXPECT_EQ(run.state.link_activity, 1);
      EXPECT_EQ(run.state.complete_count, 0);
      EXPECT_EQ(run.result.time, (TimeRecord{10, 11, 12, 345}));
    }
  }

  ManualClock clock_;
};

TEST_F(Ademco685Test, LayoutsByLength) {
  const Case cases[] = {
      {"pulse 8 gets a leading 0", "\n12 1234 3\r", false, false, '0', false, "01234 03\r"},
      {"pulse 8, flags on", "\n12 1234 3\r", true, true, '0', false, "0121234 03\r"},
      {"pulse 9 keeps two code characters", "\n12 1234 31\r", false, false, '0', false, "01234 31\r"},
      {"pulse 9, line digit kept", "\n12 1234 31\r", false, true, '9', false, "921234 31\r"},
      {"contact id full", "\n12 1234 18E13001C005\r", false, false, '0', false, "01234 E130005  [ri01]\r"},
      {"contact id compressed", "\n12 1234 18E13001C005\r", false, false, '0', true, "01234 A005  [ri01]\r"},
      {"contact id closing compressed", "\n121234 18R40102C003\r", true, true, '0', true,
       "0121234 C003  [ri02]\r"},
      {"contact id zone 000 compressed keeps the event", "\n121234 18E60200C000\r", false, false, '0', true,
       "01234 A602  [ri00]\r"},
      {"eight-channel status", "\n121234 10300060 5\r", false, false, '0', false,
       "01234 T01\r01234 R03\r01234 T07\r"},
      {"eight-channel status format 2", "\n121234 30000000 2\r", true, true, 'C', false, "C121234 O03\r"},
      {"receiver report XXX", "\n1 2 XXX 999 9\r", false, false, '0', false, "00000 00\r"},
      {"receiver report XXX, flags on", "\n1 2 XXX 999 9\r", true, true, 'A', false, "A120000 00\r"},
      {"sia block with a status-like length", "\n12[#1234|NBA01]\r", false, false, '0', false,
       "01234 BA01  [R1L2]\r"},
      {"too short", "\n12 34\r", true, true, '0', false, ""},
      {"no layout of length 11", "\n1212345678\r", true, true, '0', false, ""},
      {"heartbeat", "\n12 1234 @\r", true, true, '0', false, ""},
      {"heartbeat 254", "\n121234\xFE\r", true, true, '0', false, ""},
      {"cr alone", "\r", true, true, '0', false, ""},
  };
  CheckAll(std::begin(cases), std::end(cases));
}

TEST_F(Ademco685Test, ReceiverStatusReports) {
  const Case cases[] = {
      // List 1, 0, 3 (the 5 before the CR is dropped): items 1 and 3 give lines.
      {"RCVA list 1 0 3", "\n11RCVA1035\r", false, false, '0', false, "00000 ARCV1\r00000 RRCV3\r"},
      {"RCVA with spaces, flags on", "\n1 1 RCVA 1 0 3 5\r", true, true, '0', false,
       "0110000 ARCV1\r0110000 RRCV3\r"},
      {"RCVB gives TST and 6 is P", "\n11RCVB6619\r", true, true, '2', false,
       "2110000 PTST1\r2110000 PTST2\r2110000 ATST3\r"},
      {"LINE with nothing set", "\n11LINE0205\r", false, false, '0', false, "00000 RLIN0\r"},
      {"empty list", "\n11RCVA5\r", false, false, '0', false, "00000 RRCV0\r"},
      {"no list at all", "\n11RCVA\r", false, false, '0', false, "00000 RRCV0\r"},
  };
  CheckAll(std::begin(cases), std::end(cases));
}

TEST_F(Ademco685Test, FullStatusListNumbersItsTenthItemWithColon) {
  std::string message = "\n11RCVA" + std::string(45, '1') + "\r";
  DecoderRun run(kAdemco, message, clock_);
  std::string expected;
  for (char n = '1'; n <= ':'; ++n) expected += std::string("00000 ARCV") + n + "\r";
  EXPECT_EQ(run.text(), expected);
}

TEST_F(Ademco685Test, MessagesCutAtCapacityPostNoUnterminatedLine) {
  // A message longer than a text holds loses its CR; no layout by length may take it, and a status
  // report keeps its short account head.
  const std::string cid = "\n12123418E13001C0059" + std::string(250, ' ') + "\r";
  DecoderRun run(kAdemco, cid, clock_);
  EXPECT_EQ(run.text(), "");

  const std::string status = "\n11RCVA" + std::string(300, '0') + "\r";
  run = DecoderRun(kAdemco, status, clock_);
  EXPECT_EQ(run.text(), "00000 RRCV0\r");
}

}  // namespace
}  // namespace duri
