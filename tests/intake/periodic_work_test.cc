#include "intake/periodic_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "events/stack.h"
#include "station.h"
#include "store/shared_file.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class CountingSound : public Sound {
 public:
  int PlaybackDeviceCount() override { return 1; }
  bool Play(const std::string&) override {
    ++plays;
    return true;
  }
  int plays = 0;
};

class PeriodicWorkTest : public ::testing::Test {
 protected:
  PeriodicWorkTest() {
    tmp.MakeDir("ORBA/Sounds");
    station.set_ui_thread(ui);
  }

  void PutPendingEvent() {
    StackTable table;
    SharedFile file;
    ASSERT_EQ(OpenStackForUpdate(station.data, file, table), 0);
    StackEntry entry;
    entry.record_number = 0;
    entry.time_stamp = Pack(DateRecord{2026, 12, 8, 2}, TimeRecord{10, 0, 0, 0});
    table[0] = entry;
    ASSERT_EQ(WriteStack(station.data, file, table), 0);
  }

  // Runs one tick on the user-interface thread, as the window's timer does.
  void Tick(PeriodicWork& work) {
    ui.Synchronize([&] { work.AutophTimerTimer(); });
  }

  testing::TempDir tmp;
  ManualClock clock;
  testing::RecordingView view;
  EventLoopThread ui;
  Station station{tmp.path(), clock, view};
  CountingSound sound;
};

TEST_F(PeriodicWorkTest, ATickWhileTheAutoTestThreadRunsStartsNoSecondOne) {
  std::mutex mu;
  std::condition_variable cv;
  bool release = false;
  std::atomic<int> steps{0};
  PeriodicWork work(station, sound, false, [&] { ++steps; });
  // Keep the automatic-test thread waiting for its step by holding the user-interface thread.
  ui.Post([&] {
    std::unique_lock<std::mutex> lock(mu);
    cv.wait(lock, [&] { return release; });
  });
  // The ticks run on this thread here, standing in for the timer while the UI thread is held.
  work.AutophTimerTimer();
  EXPECT_FALSE(station.ports.PortArmed(kAutoTestArmed));
  work.AutophTimerTimer();  // finds the thread still running
  {
    std::lock_guard<std::mutex> lock(mu);
    release = true;
  }
  cv.notify_all();
  work.WaitForAutoTest();
  EXPECT_EQ(steps, 1);
  EXPECT_TRUE(station.ports.PortArmed(kAutoTestArmed));
  // The next tick starts the thread again.
  Tick(work);
  work.WaitForAutoTest();
  EXPECT_EQ(steps, 2);
}

TEST_F(PeriodicWorkTest, AFailingStepShowsItsBoxAndReArms) {
  PeriodicWork work(station, sound, false, [] { throw IoError(5, "disk"); });
  Tick(work);
  work.WaitForAutoTest();
  ui.Drain();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0], "autotest|auto test thread failed.");
  EXPECT_TRUE(station.ports.PortArmed(kAutoTestArmed));
}

TEST_F(PeriodicWorkTest, PendingSoundOnlyWithSoundAvailableAndEventsWaiting) {
  {
    PeriodicWork silent(station, sound, false, nullptr);
    PutPendingEvent();
    Tick(silent);  // no device or no file at start-up: never played
    EXPECT_EQ(sound.plays, 0);
  }
  tmp.WriteFile("ORBA/Sounds/Notify.Wav", "RIFF");
  PeriodicWork work(station, sound, true, nullptr);
  Tick(work);
  EXPECT_EQ(sound.plays, 1);
  // An empty stack: nothing waits, nothing sounds.
  tmp.WriteFile("ORBA/EVT.STK", std::string(kStackFileSize, '\xFF'));
  Tick(work);
  EXPECT_EQ(sound.plays, 1);
}

TEST_F(PeriodicWorkTest, ALanguageChangeInTheCompanyFileIsTakenAtTheNextTick) {
  PeriodicWork work(station, sound, false, nullptr);
  Tick(work);
  EXPECT_EQ(station.data.lock_texts.operator_number, "Operator number");
  CompanySettings french;
  french.language = 2;
  std::string raw(CompanySettings::kSize, '\0');
  french.Encode(reinterpret_cast<uint8_t*>(raw.data()));
  tmp.WriteFile("ORBA/TVCIE.DTA", raw);
  Tick(work);
  EXPECT_NE(station.data.lock_texts.operator_number, "Operator number");
}

}  // namespace
}  // namespace duri
