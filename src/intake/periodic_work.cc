#include "intake/periodic_work.h"

#include <exception>

#include "events/stack.h"
#include "events/stack_backlog.h"
#include "station_settings.h"
#include "store/error_log.h"
#include "station.h"

namespace duri {

PeriodicWork::PeriodicWork(Station& station, Sound& sound, bool sound_available,
                           std::function<void()> supervision_step)
    : station_(station), sound_(sound), sound_available_(sound_available),
      supervision_step_(std::move(supervision_step)) {}

PeriodicWork::~PeriodicWork() { WaitForAutoTest(); }

void PeriodicWork::WaitForAutoTest() {
  if (auto_test_.joinable()) auto_test_.join();
}

void PeriodicWork::RunAutoTestThread() {
  UiThread* ui = station_.ui_thread();
  try {
    if (ui != nullptr && supervision_step_) ui->Synchronize(supervision_step_);
  } catch (const std::exception& e) {
    const std::string line = std::string("Automatic test thread failed: ") + e.what();
    ui->Post([this, line] {
      LogError(station_.data, line);
      station_.view().ShowMessage("autotest", kAutoTestFailed);
    });
  }
  station_.ports.PortArmed(kAutoTestArmed) = true;
}

void PeriodicWork::AutophTimerTimer() {
  try {
    Tick();
  } catch (const std::exception& e) {
    // The next tick tries again; this one's failure is kept where the staff look.
    ++failed_ticks_;
    LogError(station_.data, std::string("Periodic work failed: ") + e.what());
  }
}

void PeriodicWork::Tick() {
  // One automatic-test thread at a time: a tick that finds it still running starts no second one.
  std::atomic<bool>& armed = station_.ports.PortArmed(kAutoTestArmed);
  if (armed) {
    armed = false;
    WaitForAutoTest();  // already ended: it re-armed itself
    auto_test_ = std::thread([this] { RunAutoTestThread(); });
  }
  ReloadSettings(station_);
  RetryStackBacklog(station_.data, station_.stack_backlog);
  if (sound_available_ && HasPendingEvents(station_.data)) {
    std::optional<std::string> wav = station_.data.HostPath(kNotifySound);
    if (wav && sound_.Play(*wav)) ++sounds_played_;
  }
}

}  // namespace duri
