// The 15-second work of the station (AutophTimerTimer): the automatic-test thread that supervises the
// receiver links, the reload of the settings and the language, the refused stack entries given another
// chance, and the pending-events sound while events wait for an operator.
#ifndef DURIDUVAZE_INTAKE_PERIODIC_WORK_H_
#define DURIDUVAZE_INTAKE_PERIODIC_WORK_H_

#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/sound.h"

namespace duri {

class Station;

inline constexpr int kAutoPhTimerMs = 15000;
// The sound played while events wait in the pending stack; start-up checks that it is there.
inline constexpr std::string_view kNotifySound = "\\ORBA\\Sounds\\Notify.Wav";
inline constexpr const char* kAutoTestFailed = "auto test thread failed.";

class PeriodicWork {
 public:
  // supervision_step runs on the user-interface thread from the automatic-test thread (TThreadAutoph).
  PeriodicWork(Station& station, Sound& sound, bool sound_available, std::function<void()> supervision_step);
  // Waits for a running automatic-test thread.
  ~PeriodicWork();
  PeriodicWork(const PeriodicWork&) = delete;
  PeriodicWork& operator=(const PeriodicWork&) = delete;

  // One tick, on the user-interface thread. A failure of the tick is written to the error log with its
  // cause and counted; the next tick runs as usual.
  void AutophTimerTimer();
  // Waits until the automatic-test thread of the last tick has ended.
  void WaitForAutoTest();
  int sounds_played() const { return sounds_played_; }
  int failed_ticks() const { return failed_ticks_; }

 private:
  void Tick();
  void RunAutoTestThread();

  Station& station_;
  Sound& sound_;
  bool sound_available_;
  std::function<void()> supervision_step_;
  std::thread auto_test_;
  int sounds_played_ = 0;
  int failed_ticks_ = 0;
};

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_PERIODIC_WORK_H_
