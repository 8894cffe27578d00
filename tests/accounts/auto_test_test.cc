#include "accounts/auto_test.h"

#include <gtest/gtest.h>

#include "account_fixture.h"
#include "store/coding.h"

namespace duri {
namespace {

using AutoTestTest = testing::AccountFixture;

TEST_F(AutoTestTest, MissingRecordIsToldInTheDescription) {
  std::string d = "Test";
  StampAutoTest(dir_, -1, d);
  EXPECT_EQ(d, "Test *** AUTO TEST POINTER = -1");
  std::string longer(90, 'x');
  StampAutoTest(dir_, -7, longer);
  EXPECT_EQ(longer.size(), 100u);
  EXPECT_EQ(longer.substr(90), " *** AUTO ");
}

TEST_F(AutoTestTest, StampBitsAndOwnedBytesKept) {
  tmp_.MakeDir("ORBA");
  std::string bytes(5 * 22, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x40 + i % 50);
  tmp_.WriteFile("ORBA/AUTOTEST.DAT", bytes);
  clock_.Set(2004, 3, 2, 14, 3, 59);
  std::string d = "Test";
  StampAutoTest(dir_, 2, d);
  EXPECT_EQ(d, "Test");
  std::string after = Bytes("AUTOTEST.DAT");
  uint32_t v = DecodeFixed32(reinterpret_cast<const uint8_t*>(after.data()) + 2 * 22 + 11);
  EXPECT_EQ(v >> 25, 24u);
  EXPECT_EQ((v >> 21) & 0xF, 3u);
  EXPECT_EQ((v >> 16) & 0x1F, 2u);
  EXPECT_EQ((v >> 11) & 0x1F, 14u);
  EXPECT_EQ((v >> 5) & 0x3F, 3u);
  EXPECT_EQ(v & 0x1F, 14u);
  // Only bytes 11..14 of record 2 changed.
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i >= 2 * 22 + 11 && i < 2 * 22 + 15) continue;
    EXPECT_EQ(after[i], bytes[i]) << i;
  }
  // Record 5 of a 5-record file: nothing changes.
  StampAutoTest(dir_, 5, d);
  EXPECT_EQ(Bytes("AUTOTEST.DAT"), after);
}

}  // namespace
}  // namespace duri
