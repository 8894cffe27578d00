#include "decoders/decode_message.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "decoders/receiver_types.h"
#include "decoders/ring_loader.h"
#include "platform/station_view.h"
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

TEST(ReceiverTypesTest, LineCharactersPerType) {
  for (int type = 0; type < kReceiverTypeCount; ++type) {
    SCOPED_TRACE(type);
    const ReceiverType& entry = ReceiverTypeOf(type);
    bool dc4 = type == 3 || type == 5 || type == 6 || type == 7 || type == 18 || type == 20 || type == 21;
    bool eot = type == 9 || type == 13 || type == 15;
    EXPECT_EQ(entry.terminator, dc4 ? 20 : eot ? 4 : 13);
    EXPECT_EQ(entry.acknowledgement, type == 16 ? 'A' : 6);
  }
  EXPECT_STREQ(ReceiverTypeOf(21).catalogue_text, "surgard mlr2000");
  EXPECT_EQ(ReceiverTypeOf(-1).decoder, nullptr);
  EXPECT_EQ(ReceiverTypeOf(0).decoder, nullptr);
}

}  // namespace
}  // namespace duri
