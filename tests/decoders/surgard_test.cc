#include "decoders/surgard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoders/decode_message.h"
#include "decoders/ring_loader.h"

namespace duri {
namespace {

using testing::LoadRing;

// '^' stands for DC4, '~' for character 254; in expected lines '|' stands for CR.
std::string Bytes(std::string s) {
  for (char& c : s) {
    if (c == '^') c = 20;
    if (c == '~') c = static_cast<char>(254);
  }
  return s;
}
std::string Lines(std::string s) {
  for (char& c : s) c = c == '|' ? '\r' : c;
  return Bytes(s);
}

struct Options {
  bool receiver_number = true;
  bool line_number = true;
  bool compress = false;
  char prefix = '0';
};
constexpr Options kBoth{};
constexpr Options kNone{false, false, false, '0'};
constexpr Options kCompressed{true, true, true, '0'};

struct Case {
  int type;
  Options options;
  const char* message;
  const char* text;
  const char* second = "";
  // Expected date and time after normalisation; the clock says 2026-12-08 10:11:12.345 (Tuesday).
  DateRecord date{2026, 12, 8, 2};
  TimeRecord time{10, 11, 12, 345};
};

class SurGardTest : public ::testing::Test {
 protected:
  SurGardTest() { clock_.Set(2026, 12, 8, 10, 11, 12, 345); }

  DecodedMessage Decode(int type, const Options& options, const std::string& message, PortState& state) {
    ReceiverConfig config;
    config.receiver_type = static_cast<uint8_t>(type);
    config.receiver_number = options.receiver_number ? 1 : 0;
    config.line_number = options.line_number ? 1 : 0;
    config.compress_cid = options.compress ? 1 : 0;
    config.prefix = options.prefix;
    state.terminator = 20;
    LoadRing(state, message, 1000);
    DecodeHost host;
    host.clock = &clock_;
    DecodedMessage result;
    DecodeMessage(host, state, config, result);
    return result;
  }

  ManualClock clock_;
};

TEST_F(SurGardTest, MessageTypes) {
  const std::vector<Case> cases = {
      // Contact ID: account 0 01 1 1234, code E130 and zone 005, area 1 from group 01.
      {7, kBoth, "5011 181234E13001005^", "00111234 E130005  [ri01]|"},
      {7, kCompressed, "5011 181234E13001005^", "00111234 A005  [ri01]|"},
      {7, kNone, "5011 181234E13001005^", "01234 E130005  [ri01]|"},
      {5, kBoth, "5011 181234R40102003^", "00111234 R401003  [ri02]|"},
      {5, {true, true, true, '0'}, "5011 181234R40102003^", "00111234 C003  [ri02]|"},
      {6, {false, false, true, 'B'}, "5011 181234E60200000^", "B1234 A602  [ri00]|"},
      // The MLR2000 keeps all five receiver and line digits, or only the account.
      {21, kBoth, "501001 181234E13001005^", "0010011234 E130005  [ri01]|"},
      {21, kNone, "501001 181234E13001005^", "01234 E130005  [ri01]|"},
      {21, {false, true, false, '0'}, "501001 181234E13001005^", "00011234 E130005  [ri01]|"},
      // Fixed layouts: type '1' takes its area from position 16, 'F' drops a lead digit of a long line.
      {7, kBoth, "1011 1234 BA    2   ^", "00111234 BA     [ri2]|"},
      {7, kBoth, "6011 1234 BA    2   ^", "00111234 BA   2   |"},
      {7, kBoth, "T011 1234 BA    2   ^", "00111234 BA   2   |"},
      {7, kBoth, "1011 1234 BA^", "00111234 BA|"},
      {7, kBoth, "F011 123456 BA^", "011123456 BA|"},
      {7, kBoth, "F011 12345 BA^", "001112345 BA|"},
      {7, kNone, "3011 1234ABCDE   001^", "01234ABCDE   001|"},
      {7, kBoth, "7011 1234 BA01^", "00111234 BA01|"},
      // SIA blocks.
      {7, kBoth, "S011[#1234|Nri1/BA01]^", "00111234 BA01  [R1L1][ri1]|"},
      {21, kNone, "S01002[#1234|NBA01,02]^", "01234 BA01  [R0L1]|01234 BA02  [R0L1]|"},
      // Unknown message types give nothing.
      {7, kBoth, "X011 1234 BA01^", ""},
      {7, kBoth, "^", ""},
      // Stamps after the 20-character body, with and without seconds and year.
      {7, kBoth, "5011 181234E1300100512:34 25/11^", "00111234 E130005  [ri01]|", "",
       {2026, 11, 25, 3}, {12, 34, 12, 345}},
      {7, kBoth, "5011 181234E1300100512:34:56 25/11/05^", "00111234 E130005  [ri01]|", "",
       {2005, 11, 25, 5}, {12, 34, 56, 345}},
      {7, kBoth, "5011 181234E1300100523:59:01 31/12/97^", "00111234 E130005  [ri01]|", "",
       {1997, 12, 31, 3}, {23, 59, 1, 345}},
      {21, kBoth, "501001 181234E1300100507:08 09/10^", "0010011234 E130005  [ri01]|", "",
       {2026, 10, 9, 5}, {7, 8, 12, 345}},
      {7, kBoth, "1011 1234 BA    2   08:09 01/02/03^", "00111234 BA     [ri2]|", "",
       {2003, 2, 1, 6}, {8, 9, 12, 345}},
      // A garbled stamp stores what the lenient reading gives; an impossible month is left for intake.
      {7, kBoth, "5011 181234E13001005ab:cd xy/zw^", "00111234 E130005  [ri01]|", "",
       {2026, 0, 0, 2}, {0, 0, 12, 345}},
      {7, kBoth, "5011 181234E13001005-1:05 09/13/07^", "00111234 E130005  [ri01]|", "",
       {2007, 13, 9, 2}, {65535, 5, 12, 345}},
      // "{" text goes to the second text; the line stays as without it.
      {7, kBoth, "5011 181234E13001005{Front door}^", "00111234 E130005  [ri01]|", " {Front door}"},
      {7, kBoth, "S011[#1234|NBA01]{zone 1}^", "00111234 BA01  [R1L1]|", " {zone 1}"},
      // Heartbeats are never posted.
      {7, kBoth, "1011           @    ^", ""},
      {5, kBoth, "5011 181234E13001005@^", ""},
      {21, kBoth, "501001 @^", ""},
      {6, kBoth, "1011           @    ^", ""},
      {7, kBoth, "5011 181234E13001005~^", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + c.message);
    PortState state;
    DecodedMessage result = Decode(c.type, c.options, Bytes(c.message), state);
    EXPECT_EQ(result.text.view(), Lines(c.text));
    EXPECT_EQ(result.second_text.view(), c.second);
    EXPECT_EQ(result.date, c.date);
    EXPECT_EQ(result.time, c.time);
    EXPECT_EQ(state.link_activity, c.type == 6 ? 0 : 1);
    EXPECT_EQ(state.complete_count, 0);
    EXPECT_EQ(state.read_index, (1000 - 1 + static_cast<int>(std::string(c.message).size())) % 1024 + 1);
  }
}

TEST_F(SurGardTest, LongMessageIsCutAndFullyConsumed) {
  PortState state;
  std::string message = "5011 181234E13001005{" + std::string(300, 'x') + "}" + Bytes("^");
  DecodedMessage result = Decode(7, kBoth, message, state);
  // The terminator is lost with the bytes past 255: the "{" text runs to the end of what was kept.
  EXPECT_EQ(result.second_text.length(), 255 - 20 + 1);
  EXPECT_EQ(result.text.view(), "00111234 E130005  [ri01]\r");
  EXPECT_EQ(state.read_index, (1000 - 1 + static_cast<int>(message.size())) % 1024 + 1);
}

}  // namespace
}  // namespace duri
