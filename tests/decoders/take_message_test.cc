#include "decoders/take_message.h"

#include <gtest/gtest.h>

#include <string>

#include "decoders/decoder.h"
#include "decoders/ring_loader.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::LoadRing;

constexpr char kDc4 = 20;

DateRecord December2026() {
  DateRecord d;
  d.year = 2026;
  d.month = 12;
  d.day = 8;
  return d;
}

TEST(TakeMessageTest, TakesUpToAndIncludingTheTerminator) {
  PortState state;
  LoadRing(state, std::string("\n5011 18") + kDc4 + "next" + kDc4);
  MessageText text;
  TakeMessage(text, state, kDc4, nullptr, December2026());
  // A line feed left after the previous terminator belongs to this message.
  EXPECT_EQ(text.view(), std::string("\n5011 18") + kDc4);
  EXPECT_EQ(state.read_index, 10);
  TakeMessage(text, state, kDc4, nullptr, December2026());
  EXPECT_EQ(text.view(), std::string("next") + kDc4);
  EXPECT_EQ(state.read_index, 15);
}

TEST(TakeMessageTest, LongMessageKeepsTheFirst255BytesAndConsumesTheRest) {
  PortState state;
  std::string message(300, 'x');
  for (int i = 0; i < 300; ++i) message[static_cast<size_t>(i)] = static_cast<char>('a' + i % 26);
  message += kDc4;
  LoadRing(state, message, 700);
  MessageText text;
  TakeMessage(text, state, kDc4, nullptr, December2026());
  EXPECT_EQ(text.view(), message.substr(0, 255));
  EXPECT_EQ(state.read_index, 700 + 301);
}

TEST(TakeMessageTest, MessageStraddlingTheEndOfTheRingIsTakenInOrder) {
  for (int start : {1020, 1023, 1024}) {
    SCOPED_TRACE(start);
    PortState state;
    std::string message = std::string("ABCDEFGH") + kDc4;
    LoadRing(state, message, start);
    MessageText text;
    TakeMessage(text, state, kDc4, nullptr, December2026());
    EXPECT_EQ(text.view(), message);
    EXPECT_EQ(state.read_index, (start - 1 + 9) % 1024 + 1);
  }
}

TEST(TakeMessageTest, TerminatorAtPosition1024WrapsTheReadIndexTo1) {
  PortState state;
  LoadRing(state, std::string("AB") + kDc4, 1022);
  MessageText text;
  TakeMessage(text, state, kDc4, nullptr, December2026());
  EXPECT_EQ(state.read_index, 1);
}

TEST(TakeMessageTest, EndsAfterOneLapWithoutTerminatorAndOnABadReadIndex) {
  PortState state;
  state.ring.fill('z');
  state.read_index = 5000;  // outside the buffer: taken as 1
  std::string bytes = TakeMessageBytes(state, kDc4, 2000, nullptr, December2026());
  EXPECT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(state.read_index, 1);
}

TEST(TakeMessageTest, CapturePathIsYearMonthEvtFolder) {
  DateRecord march;
  march.year = 2003;
  march.month = 3;
  EXPECT_EQ(CaptureFilePath(march), "\\ORBA\\200303.Evt\\event.txt");
  EXPECT_EQ(CaptureFilePath(December2026()), "\\ORBA\\202612.Evt\\event.txt");
}

class CaptureTest : public ::testing::Test {
 protected:
  duri::testing::TempDir temp_;
  ManualClock clock_;
  NullView view_;
  DataDir dir_{temp_.path(), clock_, view_};
};

TEST_F(CaptureTest, AppendsEachMessageWithALineEndIntoAnExistingFolderOfAnyCase) {
  temp_.MakeDir("ORBA/202612.EVT");
  PortState state;
  std::string first = std::string("S011[#1234|Nri1/BA01]") + kDc4;
  std::string second = std::string("1011 1234 E") + kDc4;
  LoadRing(state, first + second);
  dir_.last_io_result = 32;
  MessageText text;
  TakeMessage(text, state, kDc4, &dir_, December2026());
  TakeMessage(text, state, kDc4, &dir_, December2026());
  EXPECT_EQ(temp_.ReadFile("ORBA/202612.EVT/event.txt"), first + "\r\n" + second + "\r\n");
  EXPECT_EQ(dir_.last_io_result, 32);
}

TEST_F(CaptureTest, MonthsFirstMessageCreatesTheFolderAndWithoutOrbaIsTakenUncaptured) {
  PortState state;
  LoadRing(state, std::string("hello") + kDc4 + "again" + kDc4);
  MessageText text;
  TakeMessage(text, state, kDc4, &dir_, December2026());
  EXPECT_EQ(text.view(), std::string("hello") + kDc4);
  EXPECT_FALSE(temp_.Exists("ORBA"));
  temp_.MakeDir("ORBA");
  TakeMessage(text, state, kDc4, &dir_, December2026());
  EXPECT_EQ(temp_.ReadFile("ORBA/202612.EVT/event.txt"), std::string("again") + kDc4 + "\r\n");
}

}  // namespace
}  // namespace duri
