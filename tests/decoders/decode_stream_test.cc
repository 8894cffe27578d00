#include "decoders/decode_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace duri {
namespace {

TEST(DecodeJsonLineTest, EscapesEveryByteAsTheCommonWritersDoForAscii) {
  DecodedMessage m;
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  m.text.Assign(all.substr(0, 128));
  m.second_text.Assign(all.substr(126));
  m.date = {2026, 12, 8, 2};
  m.time = {65535, 0, 9, 999};
  std::string line = DecodeJsonLine(m, 1);
  const std::string expected_text =
      "\\u0000\\u0001\\u0002\\u0003\\u0004\\u0005\\u0006\\u0007\\b\\t\\n\\u000b\\f\\r\\u000e\\u000f"
      "\\u0010\\u0011\\u0012\\u0013\\u0014\\u0015\\u0016\\u0017\\u0018\\u0019\\u001a\\u001b\\u001c\\u001d"
      "\\u001e\\u001f !\\\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\\\]^_`"
      "abcdefghijklmnopqrstuvwxyz{|}~\\u007f";
  ASSERT_EQ(line.substr(0, 9 + expected_text.size()), "{\"text\":\"" + expected_text);
  EXPECT_NE(line.find("\"second\":\"~\\u007f\\u0080\\u0081"), std::string::npos);
  EXPECT_NE(line.find("\\u00fd\\u00fe\\u00ff\",\"date\":[2026,12,8,2],\"time\":[65535,0,9,999],"
                      "\"activity\":1}"),
            std::string::npos);
}

TEST(DecodeJsonLineTest, EmptyResult) {
  DecodedMessage m;
  EXPECT_EQ(DecodeJsonLine(m, 0),
            "{\"text\":\"\",\"second\":\"\",\"date\":[0,0,0,0],\"time\":[0,0,0,0],\"activity\":0}");
}

struct Step {
  std::string text;
  int activity;
};

std::vector<Step> DecodeAll(int type, const std::string& bytes) {
  ManualClock clock;
  clock.Set(2026, 12, 8, 10, 11, 12);
  DecodeHost host;
  host.clock = &clock;
  ReceiverConfig config;
  config.receiver_type = static_cast<uint8_t>(type);
  std::vector<Step> steps;
  DecodeStream(bytes, config, host, [&steps](const DecodedMessage& m, uint8_t activity) {
    steps.push_back({m.text.str(), activity});
  });
  return steps;
}

TEST(DecodeStreamTest, FramesWithTheTypesTerminatorAndDecodesEachMessageAtItsTerminator) {
  // The first message decodes as soon as its terminator arrives: the port starts synchronised.
  std::vector<Step> steps = DecodeAll(7, "7011 1234 BA01\x14" "1011   @\x14" "7011 5678 BA02\x14" "7011 99");
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].text, "01234 BA01\r");
  EXPECT_EQ(steps[1].text, "");
  EXPECT_EQ(steps[2].text, "05678 BA02\r");
  for (const Step& s : steps) EXPECT_EQ(s.activity, 1);
  // Europlex: same format, the activity flag stays clear (it is cleared before each step).
  for (const Step& s : DecodeAll(6, "7011 1234 BA01\x14" "7011 1234 BA01\x14")) EXPECT_EQ(s.activity, 0);
}

TEST(DecodeStreamTest, TypesWithoutDecoderPrintEmptyStepsAtTheirTerminator) {
  EXPECT_EQ(DecodeAll(0, "abc\rdef\r\x14").size(), 2u);  // type 0 frames at CR
  EXPECT_EQ(DecodeAll(9, "abc\x04\r").size(), 1u);       // Quick Alert frames at EOT
  EXPECT_TRUE(DecodeAll(7, "abc\r").empty());           // DC4 types ignore CR
}

}  // namespace
}  // namespace duri
