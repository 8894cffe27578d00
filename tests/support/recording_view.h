// A StationView that remembers what it was asked to show, for tests.
#ifndef DURIDUVAZE_TESTS_SUPPORT_RECORDING_VIEW_H_
#define DURIDUVAZE_TESTS_SUPPORT_RECORDING_VIEW_H_

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/station_view.h"

namespace duri::testing {

class RecordingView : public StationView {
 public:
  void ShowDebug(const std::string& text) override {
    std::lock_guard<std::mutex> l(mu_);
    debug.push_back(text);
  }
  void ShowMessage(const std::string& key, const std::string& text) override {
    std::lock_guard<std::mutex> l(mu_);
    messages.push_back(key + "|" + text);
  }
  void Beep() override {
    std::lock_guard<std::mutex> l(mu_);
    ++beeps;
  }
  void ShowProgressPanel(int maximum, int position) override {
    std::lock_guard<std::mutex> l(mu_);
    panel_shown = true;
    progress_max = maximum;
    progress = position;
  }
  void StepProgress(int delta) override {
    std::lock_guard<std::mutex> l(mu_);
    progress += delta;
  }
  void HideProgressPanel() override {
    std::lock_guard<std::mutex> l(mu_);
    panel_shown = false;
  }
  void ShowTraffic(int port, const std::string& text) override {
    std::lock_guard<std::mutex> l(mu_);
    traffic[port] = text;
  }
  // Copies taken under the lock, for tests that look while other threads show.
  std::vector<std::string> Messages() {
    std::lock_guard<std::mutex> l(mu_);
    return messages;
  }
  std::string Traffic(int port) {
    std::lock_guard<std::mutex> l(mu_);
    return traffic[port];
  }

  void ShowStackBacklog(int count) override {
    std::lock_guard<std::mutex> l(mu_);
    stack_backlog = count;
  }

  std::vector<std::string> debug;
  std::vector<std::string> messages;
  std::map<int, std::string> traffic;
  int beeps = 0;
  bool panel_shown = false;
  int progress_max = 0;
  int progress = 0;
  int stack_backlog = 0;

 private:
  std::mutex mu_;
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_RECORDING_VIEW_H_
