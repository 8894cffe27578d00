#include "intake/framing.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace duri {
namespace {

constexpr char kDc4 = 20;

// The bytes from the read index up to the write index.
std::string Waiting(const PortState& s) {
  std::string out;
  for (int p = s.read_index; p != s.write_index; p = p == PortState::kRingSize ? 1 : p + 1) {
    out += static_cast<char>(s.At(p));
  }
  return out;
}

class FramingTest : public ::testing::Test {
 protected:
  FramingTest() { ResetPortState(state_); }

  // Frames bytes with the line-error sets given for each terminator asked about (then clean).
  bool Frame(std::string_view bytes, std::deque<LineErrors> errors = {}) {
    return FrameBytes(bytes, state_, config_,
                      [&errors] {
                        if (errors.empty()) return LineErrors{0};
                        LineErrors e = errors.front();
                        errors.pop_front();
                        return e;
                      },
                      traffic_, memo_);
  }
  void Synchronise() { ASSERT_TRUE(Frame("noise\r")); }

  PortState state_;
  ReceiverConfig config_;
  std::string traffic_;
  std::string memo_ = "Open COM1";
};

TEST(ControlCharNameTest, NamesEveryCode) {
  const struct {
    uint8_t code;
    const char* name;
  } cases[] = {{0, "<NUL>"}, {4, "<EOT>"}, {6, "<ACK>"},  {10, "<LF>"}, {12, "<NP>"}, {13, "<CR>"},
               {20, "<DC4>"}, {27, "<ESC>"}, {31, "<US>"}, {32, " "},   {'A', "A"},   {127, "\x7f"},
               {254, "\xfe"}, {255, ""}};
  for (const auto& c : cases) EXPECT_EQ(ControlCharName(c.code), c.name) << int(c.code);
}

TEST_F(FramingTest, FirstTerminatorOnlySynchronises) {
  EXPECT_TRUE(Frame("12\x0d"));
  EXPECT_EQ(memo_, "12<Synchro>\r\nOpen COM1");
  EXPECT_EQ(state_.synchronised, 1);
  EXPECT_EQ(state_.complete_count, 0);
  EXPECT_EQ(state_.write_index, 1);
  EXPECT_EQ(state_.read_index, 1);
  EXPECT_TRUE(Frame("3\x01\x0d"));
  EXPECT_EQ(memo_, "3<SOH><CR>\r\n12<Synchro>\r\nOpen COM1");
  EXPECT_EQ(state_.complete_count, 1);
  EXPECT_EQ(Waiting(state_), "3\x01\r");
}

TEST_F(FramingTest, PartialMessageWaitsInTheTrafficText) {
  Synchronise();
  std::string before = memo_;
  EXPECT_FALSE(Frame("12\xff"));
  EXPECT_EQ(traffic_, "12");
  EXPECT_EQ(memo_, before);
  EXPECT_TRUE(Frame("3\r"));
  EXPECT_EQ(memo_.substr(0, 10), "123<CR>\r\nn");
  EXPECT_EQ(traffic_, "");
}

TEST_F(FramingTest, HeartbeatsAreHiddenUnlessShownButAlwaysCounted) {
  for (uint8_t show : {0, 1}) {
    ResetPortState(state_);
    config_.show_heartbeat = show;
    memo_ = "m";
    Synchronise();
    std::string before = memo_;
    Frame("S@1\r");
    EXPECT_EQ(state_.complete_count, 1);
    if (show) {
      EXPECT_EQ(memo_, "S@1<CR>\r\n" + before);
    } else {
      EXPECT_EQ(memo_, before);
    }
  }
}

TEST_F(FramingTest, MemoKeeps3500CharactersOfHistory) {
  Synchronise();
  memo_ = std::string(5000, 'h');
  Frame("ab\r");
  EXPECT_EQ(memo_, "ab<CR>\r\n" + std::string(3500, 'h'));
}

TEST_F(FramingTest, ElevenHundredBytesWrapTheWriteIndex) {
  Synchronise();
  Frame(std::string(1100, 'x'));
  EXPECT_EQ(state_.write_index, 1100 - 1024 + 1);
  EXPECT_EQ(traffic_.size(), 1100u);
}

// Bytes written over ones not yet decoded are counted as overflow; line-error messages as such.
TEST_F(FramingTest, DropsAreCountedByReason) {
  const struct {
    const char* name;
    std::string bytes;
    std::deque<LineErrors> errors;
    uint64_t overflow;
    uint64_t line_errors;
  } cases[] = {
      {"a whole ring without a terminator", std::string(1024, 'x'), {}, 0, 0},
      {"past the ring", std::string(1100, 'x'), {}, 76, 0},
      {"a waiting message overwritten", "G1\r" + std::string(1030, 'x'), {0}, 9, 0},
      {"line errors", "B1\rG\rB2\r", {kParityError, 0, kFramingError}, 0, 2},
  };
  for (const auto& c : cases) {
    ResetPortState(state_);
    Synchronise();
    PortCounters counters;
    std::deque<LineErrors> errors = c.errors;
    FrameBytes(c.bytes, state_, config_,
               [&errors] {
                 LineErrors e = errors.empty() ? LineErrors{0} : errors.front();
                 if (!errors.empty()) errors.pop_front();
                 return e;
               },
               traffic_, memo_, &counters);
    EXPECT_EQ(counters.Dropped(DropReason::kOverflow), c.overflow) << c.name;
    EXPECT_EQ(counters.Dropped(DropReason::kLineError), c.line_errors) << c.name;
  }
}

TEST_F(FramingTest, TerminatorFollowsTheReceiverType) {
  state_.terminator = kDc4;
  Frame(std::string("12345") + kDc4);
  EXPECT_EQ(memo_, "12345<Synchro>\r\nOpen COM1");
  Frame("67890\r" + std::string(1, kDc4));
  EXPECT_EQ(memo_.substr(0, 18), "67890<CR><DC4>\r\n12");
  EXPECT_EQ(state_.complete_count, 1);
}

TEST_F(FramingTest, MessageEndedWithLineErrorsIsDroppedAndTheNextDecodesOnTime) {
  const struct {
    const char* name;
    std::string bytes;
    std::deque<LineErrors> errors;
    int counted;
    std::string waiting;
  } cases[] = {
      {"alone", "BAD\r", {kFramingError}, 0, ""},
      {"between good ones", "G1\rBAD\rG2\r", {0, kParityError, 0}, 2, "G1\rG2\r"},
      {"after a good one", "G1\rBAD\r", {0, kOverrunError}, 1, "G1\r"},
      {"with a partial after", "BAD\rG", {kBreakError}, 0, "G"},
  };
  for (const auto& c : cases) {
    ResetPortState(state_);
    traffic_.clear();
    Synchronise();
    Frame(c.bytes, c.errors);
    EXPECT_EQ(state_.complete_count, c.counted) << c.name;
    EXPECT_EQ(Waiting(state_), c.waiting) << c.name;
  }
}

TEST_F(FramingTest, DroppedMessageLeavesEarlierUndecodedMessagesInPlace) {
  Synchronise();
  Frame("G1\r");  // counted, not decoded yet
  Frame("BAD\r", {kFramingError});
  Frame("G2\r");
  EXPECT_EQ(state_.complete_count, 2);
  EXPECT_EQ(Waiting(state_), "G1\rG2\r");
}

}  // namespace
}  // namespace duri
