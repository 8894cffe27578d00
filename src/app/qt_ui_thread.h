// The window's thread as the core's user-interface thread: a step handed over from a port or
// automatic-test thread runs through a blocking queued invocation on the application object.
#ifndef DURIDUVAZE_APP_QT_UI_THREAD_H_
#define DURIDUVAZE_APP_QT_UI_THREAD_H_

#include "platform/ui_thread.h"

namespace duri {

class QtUiThread : public UiThread {
 public:
  void Synchronize(const std::function<void()>& fn) override;
  void Post(std::function<void()> fn) override;
  bool IsCurrent() const override;
};

class Station;

// Ends the reader passes and closes the ports while this thread keeps serving their synchronised
// steps, so that a pass caught half-way never waits on a loop that no longer runs.
void ShutdownStationPorts(Station& station, QtUiThread& ui);

}  // namespace duri

#endif  // DURIDUVAZE_APP_QT_UI_THREAD_H_
