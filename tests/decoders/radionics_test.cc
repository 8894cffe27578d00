// Radionics 6600 (type 18) and Radionics 6000 (type 20) messages through DecodeMessage.
#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder_run.h"

namespace duri {
namespace {

using testing::DecoderRun;
using testing::PortOptions;

constexpr int k6600 = 18;
constexpr int k6000 = 20;
const std::string kDc4 = "\x14";
// The receiver's stamp block that follows a 20-character body; the decoder drops it unread.
const std::string kStamp = "23:59 31/01/99";

struct Case {
  const char* name;
  std::string message;  // terminator included
  bool receiver_number;
  bool line_number;
  char prefix;
  bool compress;
  std::string expected;
};

class RadionicsTest : public ::testing::Test {
 protected:
  RadionicsTest() { clock_.Set(2026, 12, 8, 10, 11, 12, 345); }

  void Check(int type, const Case& c) {
    SCOPED_TRACE(c.name);
    DecoderRun run(type, c.message, clock_, PortOptions{c.receiver_number, c.line_number, c.prefix, c.compress});
    EXPECT_EQ(run.text(), c.expected);
    EXPECT_EQ(run.posted, c.expected);
    EXPECT_EQ(run.result.second_text.str(), "");
    // Neither receiver sends a usable stamp: the event keeps the computer's date and time.
    EXPECT_EQ(run.result.date, (DateRecord{2026, 12, 8, 2}));
    EXPECT_EQ(run.result.time, (TimeRecord{10, 11, 12, 345}));
    EXPECT_EQ(run.state.complete_count, 0);
    EXPECT_EQ(run.state.read_index, static_cast<int>(c.message.size()) + 1);
  }

  ManualClock clock_;
};

TEST_F(RadionicsTest, Radionics6600Layouts) {
  // Type '1' body after the type character: "011  1234 ABC D   X" (19 characters). Position 13 is 'C',
  // so the spaces at 16 and the receiver/line gap at 4 are closed.
  const std::string body1 = "011  1234 ABC D   X";
  // Position 13 (after the type character) is a space: the account is the first three characters and
  // "0000", the rest from position 15 loses its spaces.
  const std::string body13 = "987654321098 X1 2 3";
  // Contact ID as received: receiver 01, line 1, a dropped character, account 1234, "18", qualifier E,
  // event 130, group 01, zone 005.
  const std::string cid = "a011 123418E13001005";
  const Case cases[] = {
      {"type 1, flags off", "1" + body1 + kDc4, false, false, '0', false, "01234 ABC DX\r"},
      {"type 1, flags on", "1" + body1 + kDc4, true, true, '5', false, "50111234 ABC DX\r"},
      {"type 1 with stamp block", "1" + body1 + kStamp + kDc4, false, false, '0', false, "01234 ABC DX\r"},
      {"type b like 1", "b" + body1 + kDc4, false, false, '0', false, "01234 ABC DX\r"},
      {"type c like 1", "c" + body1 + kDc4, false, false, '0', false, "01234 ABC DX\r"},
      {"type d like 1", "d" + body1 + kDc4, false, false, '0', false, "01234 ABC DX\r"},
      {"space loop stops at 15 characters", "10111234 ABC DEF   " + kDc4, false, false, '0', false,
       "01234 ABC DEF\r"},
      {"space at 15 after the loop", "10111234 ABC DE  X" + kDc4, false, false, '0', false, "01234 ABC DEX\r"},
      {"position 13 space, flags on", "1" + body13 + kDc4, true, true, '0', false, "09870000 123\r"},
      {"position 13 space, flags off", "1" + body13 + kDc4, false, false, '0', false, "00000 123\r"},
      {"contact id, flags on", cid + kDc4, true, true, '0', false, "00111234 E130005  [ri01]\r"},
      {"contact id, flags off", cid + kDc4, false, false, '0', false, "01234 E130005  [ri01]\r"},
      {"contact id never compressed", cid + kDc4, false, false, '0', true, "01234 E130005  [ri01]\r"},
      {"contact id with stamp block", cid + kStamp + kDc4, true, false, 'B', false, "B011234 E130005  [ri01]\r"},
      {"type 7", "7011 1234 ABC" + kDc4, false, false, '0', false, "01234 ABC\r"},
      {"type 7, receiver digits kept", "7011 1234 ABC" + kDc4, true, false, '0', false, "0011234 ABC\r"},
      {"sia block", "S011[#1234|Nri1/BA01]" + kDc4, true, true, '0', false, "00111234 BA01  [R1L1][ri1]\r"},
      // Longer than 21 characters, but an SIA block has no stamp block to drop.
      {"long sia block", "S011[#1234|Nri1/BA01,02]" + kDc4, false, false, '0', false,
       "01234 BA01  [R1L1][ri1]\r01234 BA02  [R1L1][ri1]\r"},
      {"heartbeat", "1011 @ 1234" + kDc4, true, true, '0', false, ""},
      {"heartbeat 254", "1011 \xFE 1234" + kDc4, true, true, '0', false, ""},
      {"unknown type", "X011 1234 ABC" + kDc4, true, true, '0', false, ""},
      {"line feed before the type", "\n1" + body1 + kDc4, true, true, '0', false, ""},
      {"type character alone", "1" + kDc4, false, false, '0', false, ""},
      {"terminator alone", kDc4, false, false, '0', false, ""},
  };
  for (const Case& c : cases) Check(k6600, c);
}

TEST_F(RadionicsTest, Radionics6600MarksLinkActivityForEveryMessage) {
  // The port is link-supervised from its opening: without the mark it would report a loss a minute
  // later and never be restored.
  for (const std::string& message : {"7011 1234 ABC" + kDc4, "1011 @" + kDc4, "Zjunk" + kDc4}) {
    SCOPED_TRACE(message);
    DecoderRun run(k6600, message, clock_);
    EXPECT_EQ(run.state.link_activity, 1);
  }
}

TEST_F(RadionicsTest, Radionics6000FixedFields) {
  const Case cases[] = {
      {"prefix 0 is not written", "123401xyz" + kDc4, false, false, '0', false, "1234 01\r"},
      {"prefix A", "123401" + kDc4, false, false, 'A', false, "A1234 01\r"},
      {"digit flags have no effect", "123401" + kDc4, true, true, '0', false, "1234 01\r"},
      {"spaces removed from each field", "12 3 1" + kDc4, false, false, '0', false, "123 1\r"},
      {"short message keeps what there is", "12" + kDc4, false, false, '0', false, "12" + kDc4 + " \r"},
      {"terminator alone", kDc4, false, false, '7', false, "7" + kDc4 + " \r"},
      {"CR in the account: no event", "12\r401" + kDc4, false, false, '0', false, ""},
      {"CR in the code: no event", "1234 \r1" + kDc4, false, false, '0', false, ""},
  };
  for (const Case& c : cases) Check(k6000, c);
}

TEST_F(RadionicsTest, Radionics6000DoesNotMarkActivity) {
  DecoderRun run(k6000, "123401" + kDc4, clock_);
  EXPECT_EQ(run.state.link_activity, 0);
}

}  // namespace
}  // namespace duri
