#include "accounts/action_log.h"

#include <gtest/gtest.h>

#include "store/coding.h"
#include "support/station_fixture.h"

namespace duri {
namespace {

class ActionLogTest : public testing::DataDirTest {};

TEST_F(ActionLogTest, TenOutcomesInStepWithTheirIndex) {
  tmp_.MakeDir("ORBA/202612.EVT");
  for (int i = 0; i < 10; ++i) {
    ActionLogEntry e;
    e.history_rec_no = 100 + i * 7;
    e.text = "Mail sent to ops" + std::to_string(i) + "@example.com";
    e.time = {10, 30, static_cast<uint16_t>(i), 0};
    EXPECT_TRUE(WriteActionLog(data_, e, "202612"));
  }
  std::string mdc = tmp_.ReadFile("ORBA/202612.EVT/DEMA.MDC");
  std::string mdx = tmp_.ReadFile("ORBA/202612.EVT/DEMA.MDX");
  ASSERT_EQ(mdc.size(), 10u * 147);
  ASSERT_EQ(mdx.size(), 10u * 4);
  for (int i = 0; i < 10; ++i) {
    const uint8_t* rec = reinterpret_cast<const uint8_t*>(mdc.data()) + i * 147;
    ActionLogEntry d;
    d.Decode(std::span<const uint8_t, 147>(rec, 147));
    EXPECT_EQ(d.history_rec_no, 100 + i * 7);
    EXPECT_EQ(DecodeSigned32(reinterpret_cast<const uint8_t*>(mdx.data()) + i * 4), d.history_rec_no);
    EXPECT_EQ(d.text, "         Mail sent to ops" + std::to_string(i) + "@example.com");
    EXPECT_EQ(d.time.second, i);
    for (int b : {0, 16, 21, 24, 98, 138}) EXPECT_EQ(rec[b], 0) << "byte " << b;
  }
}

TEST_F(ActionLogTest, TextCutAfterIndentAndMissingMonthLogged) {
  tmp_.MakeDir("ORBA/202612.EVT");
  ActionLogEntry e;
  e.history_rec_no = 1;
  e.text = std::string(72, 'x');
  ASSERT_TRUE(WriteActionLog(data_, e, "202612"));
  ActionLogEntry d;
  std::string mdc = tmp_.ReadFile("ORBA/202612.EVT/DEMA.MDC");
  d.Decode(std::span<const uint8_t, 147>(reinterpret_cast<const uint8_t*>(mdc.data()), 147));
  EXPECT_EQ(d.text, std::string(9, ' ') + std::string(63, 'x'));

  EXPECT_FALSE(WriteActionLog(data_, e, "202701"));
  EXPECT_FALSE(tmp_.Exists("ORBA/202701.EVT"));
  EXPECT_NE(tmp_.ReadFile("ORBA/error.log").find("Action log not written"), std::string::npos);
}

TEST_F(ActionLogTest, ShortIndexCompletedFromTheEntries) {
  tmp_.MakeDir("ORBA/202612.EVT");
  for (int i = 0; i < 3; ++i) {
    ActionLogEntry e;
    e.history_rec_no = i + 50;
    WriteActionLog(data_, e, "202612");
  }
  tmp_.WriteFile("ORBA/202612.EVT/DEMA.MDX", tmp_.ReadFile("ORBA/202612.EVT/DEMA.MDX").substr(0, 4));
  ActionLogEntry e;
  e.history_rec_no = 53;
  WriteActionLog(data_, e, "202612");
  std::string mdx = tmp_.ReadFile("ORBA/202612.EVT/DEMA.MDX");
  ASSERT_EQ(mdx.size(), 16u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(DecodeSigned32(reinterpret_cast<const uint8_t*>(mdx.data()) + i * 4), 50 + i);
}

}  // namespace
}  // namespace duri
