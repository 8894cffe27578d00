#include "events/event_record.h"

#include <gtest/gtest.h>

#include <array>

namespace duri {
namespace {

// The initial values as the operators' application reads them, byte by byte.
TEST(EventRecordTest, InitialValuesLayout) {
  std::array<uint8_t, EventRecord::kSize> b = EventRecord{}.Encoded();
  struct Field {
    int offset;
    std::vector<uint8_t> bytes;
  };
  const Field fields[] = {
      {0, {0}},                     // Account empty
      {11, {0}},                    // Description empty
      {112, {0}},                   // ActionList empty
      {153, {0xFF, 0xFF}},          // handling word -1
      {155, {0, 255, 0}},           // AutoHandled, handling bytes
      {158, {0xFF, 0xFF, 0xFF, 0xFF}},  // CommentRecNo
      {162, {255}},                 // CodeOption
      {163, {0xFF, 0xFF, 0xFF, 0xFF}},  // CodeValue
      {167, {0, 0, 255, ' ', 0}},   // Priority, CodeLevel, EventType, handling char, Area
      {172, {0, 0, 0, 0, 0, 0, 0, 0}},  // Time
      {180, {0xBC, 0x07, 1, 0, 1, 0, 2, 0}},  // Date 1980-01-01, Tuesday
      {188, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Field& f : fields)
    for (size_t i = 0; i < f.bytes.size(); ++i) EXPECT_EQ(b[f.offset + i], f.bytes[i]) << "offset " << f.offset + i;
}

TEST(EventRecordTest, RoundTripKeepsEveryField) {
  EventRecord e;
  e.account = "12345";
  e.description = "    E130 > Burglary";
  e.action_list = kDefaultActionList;
  e.auto_handled = 1;
  e.comment_rec_no = 7;
  e.code_option = 3;
  e.code_value = 123456;
  e.priority = 5;
  e.code_level = 2;
  e.event_type = 11;
  e.area = 10;
  e.time = {23, 59, 58, 99};
  e.date = {2026, 12, 31, 4};
  e.account_rec_no = 42;
  e.notify_rec_no = 9;
  e.history_rec_no = 1000000;
  std::array<uint8_t, EventRecord::kSize> b = e.Encoded();
  EXPECT_EQ(b[EventRecord::kAccountOffset], 5);
  EXPECT_EQ(b[EventRecord::kHistoryRecNoOffset + 2], 0x0F);  // 1000000 = 0x000F4240
  EventRecord d;
  d.Decode(b);
  EXPECT_EQ(d.Encoded(), b);
  EXPECT_EQ(d.account, "12345");
  EXPECT_EQ(d.description, e.description.view());
  EXPECT_EQ(d.date, e.date);
  EXPECT_EQ(d.time, e.time);
  EXPECT_EQ(d.code_value, 123456);
}

TEST(EventRecordTest, CommentBlockLinesAt73ByteSteps) {
  CommentBlock c;
  EXPECT_TRUE(c.IsEmpty());
  c.lines[9] = "last";
  EXPECT_FALSE(c.IsEmpty());
  std::array<uint8_t, CommentBlock::kSize> b;
  c.Encode(b);
  EXPECT_EQ(b[9 * 73], 4);
  EXPECT_EQ(b[9 * 73 + 1], 'l');
  CommentBlock d;
  d.Decode(b);
  EXPECT_EQ(d.lines[9], "last");
}

}  // namespace
}  // namespace duri
