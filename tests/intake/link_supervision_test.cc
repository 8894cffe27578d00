// Link supervision with the clock set: ports opened on real pseudo-terminals, events caught at the
// station's intake hook.
#include "intake/link_supervision.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "decoders/decode_message.h"
#include "intake/decode_step.h"
#include "intake/receiver_setup.h"
#include "station.h"
#include "support/pty.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::PseudoTerminal;
using testing::RecordingView;
using testing::TempDir;
using testing::WaitFor;

constexpr int kSurgard = 7;
constexpr int kSescoa = 3;
constexpr int kAdemco = 4;
constexpr int kFbi = 8;

class LinkSupervisionTest : public ::testing::Test {
 protected:
  LinkSupervisionTest() : station_(dir_.path(), clock_, view_) {
    dir_.MakeDir("ORBA");
    clock_.Set(2026, 12, 8, 10, 30, 15);
    station_.ports.SetDeviceDir(dir_.Join("no-dev"));
    station_.set_ui_thread(ui_);
    InstallDecodeMessage(station_);
    station_.add_event = [this](const DateRecord& date, const TimeRecord& time, std::string_view text,
                                std::string_view second) {
      std::lock_guard<std::mutex> l(mu_);
      posted_.push_back(std::string(text));
      EXPECT_EQ(second, "");
      EXPECT_EQ(date, clock_.Today());
      EXPECT_EQ(time.minute, clock_.TimeOfDay().minute);
    };
  }

  // The ports close before posted_ goes: a line hanging up as a test's pseudo-terminal closes is
  // posted on the user-interface thread.
  ~LinkSupervisionTest() override { station_.ports.Shutdown(&ui_); }

  void OpenPort(PseudoTerminal& pty, int n, int type) {
    pty.Link(dir_.path(), "COM" + std::to_string(n));
    station_.ports.Config(n).receiver_type = static_cast<uint8_t>(type);
    bool opened = false;
    ui_.Synchronize([&] { opened = OpenReceiverPort(station_, n); });
    ASSERT_TRUE(opened);
  }
  // One tick of the timer: the step as the automatic-test thread runs it, from another thread.
  void Tick() {
    ui_.Synchronize([&] { SuperviseLinks(station_); });
  }
  std::vector<std::string> TakePosted() {
    std::lock_guard<std::mutex> l(mu_);
    std::vector<std::string> p;
    p.swap(posted_);
    return p;
  }

  TempDir dir_;
  ManualClock clock_;
  RecordingView view_;
  EventLoopThread ui_;
  Station station_;
  std::mutex mu_;
  std::vector<std::string> posted_;
};

TEST(LinkTextsTest, AccountZeroAndThePortNumber) {
  EXPECT_EQ(LinkLossText(3), "0000 ACOM3\r");
  EXPECT_EQ(LinkRestoreText(3), "0000 RCOM3\r");
  EXPECT_EQ(LinkLossText(12), "0000 ACOM12\r");
  EXPECT_EQ(LinkRestoreText(16), "0000 RCOM16\r");
}

TEST_F(LinkSupervisionTest, SilentPortLosesOnceThenRestoresAfterAMessage) {
  PseudoTerminal pty;
  OpenPort(pty, 3, kSurgard);
  Tick();  // the first tick already checks: no minute recorded yet
  EXPECT_EQ(TakePosted(), std::vector<std::string>{"0000 ACOM3\r"});
  clock_.Set(2026, 12, 8, 10, 31, 15);
  Tick();
  EXPECT_TRUE(TakePosted().empty()) << "a loss is reported once";

  // The first message only synchronises the framing; the second is decoded and marks activity.
  pty.Write("5011 181234E13001005\x14");
  ASSERT_TRUE(WaitFor([&] {
    uint8_t synchronised = 0;
    ui_.Synchronize([&] { synchronised = station_.ports.State(3).synchronised; });
    return synchronised == 1;
  }));
  pty.Write("5011 181234E13001005\x14");
  ASSERT_TRUE(WaitFor([&] {
    uint8_t activity = 0;
    ui_.Synchronize([&] { activity = station_.ports.State(3).link_activity; });
    return activity == 1;
  }));
  clock_.Set(2026, 12, 8, 10, 32, 0);
  Tick();
  EXPECT_EQ(TakePosted(), (std::vector<std::string>{"01234 E130005  [ri01]\r", "0000 RCOM3\r"}));
  clock_.Set(2026, 12, 8, 10, 33, 0);
  Tick();
  EXPECT_EQ(TakePosted(), std::vector<std::string>{"0000 ACOM3\r"});
}

TEST_F(LinkSupervisionTest, TwoTicksInOneMinuteRunOnce) {
  PseudoTerminal pty;
  OpenPort(pty, 12, kSurgard);
  Tick();
  EXPECT_EQ(TakePosted(), std::vector<std::string>{"0000 ACOM12\r"});
  // Up again as far as the port's state goes; the next run of this minute must not look.
  ui_.Synchronize([&] { station_.ports.State(12).link_activity = 1; });
  clock_.Set(2026, 12, 8, 10, 30, 45);
  Tick();
  EXPECT_TRUE(TakePosted().empty());
  clock_.Set(2026, 12, 8, 10, 31, 0);
  Tick();
  EXPECT_EQ(TakePosted(), std::vector<std::string>{"0000 RCOM12\r"});
}

TEST_F(LinkSupervisionTest, SwitchOffDoesNothing) {
  PseudoTerminal surgard;
  PseudoTerminal ademco;
  OpenPort(surgard, 1, kSurgard);
  OpenPort(ademco, 2, kAdemco);
  ademco.Read(200);  // the receiver's initial command, if any
  station_.company_settings.link_supervision = 0;
  for (int minute = 30; minute < 33; ++minute) {
    clock_.Set(2026, 12, 8, 10, minute, 15);
    Tick();
  }
  EXPECT_TRUE(TakePosted().empty());
  EXPECT_EQ(ademco.ReadNow(), "");
  EXPECT_EQ(station_.supervision_minute, kNoSupervisionCheck);
}

TEST_F(LinkSupervisionTest, SescoaPortNeverReports) {
  PseudoTerminal pty;
  OpenPort(pty, 5, kSescoa);
  for (int minute = 30; minute < 33; ++minute) {
    clock_.Set(2026, 12, 8, 10, minute, 15);
    Tick();
  }
  EXPECT_TRUE(TakePosted().empty());
}

TEST_F(LinkSupervisionTest, IdleAdemcoAndFbiReceiversArePolled) {
  PseudoTerminal ademco;
  PseudoTerminal fbi;
  PseudoTerminal surgard;
  OpenPort(ademco, 4, kAdemco);
  OpenPort(fbi, 8, kFbi);
  OpenPort(surgard, 9, kSurgard);
  ademco.Read(200);
  fbi.Read(200);
  Tick();
  EXPECT_EQ(ademco.Read(), "S");
  EXPECT_EQ(fbi.Read(), "S");
  EXPECT_EQ(surgard.ReadNow(), "");
  // Bytes the decoders have not taken yet: no poll on that port.
  ui_.Synchronize([&] { station_.ports.State(4).write_index = 7; });
  clock_.Set(2026, 12, 8, 10, 31, 0);
  Tick();
  EXPECT_EQ(fbi.Read(), "S");
  EXPECT_EQ(ademco.ReadNow(), "");
}

}  // namespace
}  // namespace duri
