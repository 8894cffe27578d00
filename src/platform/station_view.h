// What the core shows on the station window. The Qt window implements it; tests and the command-line
// tools use NullView or a recording view. Every call comes from the user-interface thread.
#ifndef DURIDUVAZE_PLATFORM_STATION_VIEW_H_
#define DURIDUVAZE_PLATFORM_STATION_VIEW_H_

#include <string>

namespace duri {

class StationView {
 public:
  virtual ~StationView() = default;
  // The window's DebugLabel: intake progress and long waits.
  virtual void ShowDebug(const std::string& text) = 0;
  // A message box that does not block the station. key groups boxes: while a box of the same key is
  // still open, a new one is not added (at most one open box per port).
  virtual void ShowMessage(const std::string& key, const std::string& text) = 0;
  virtual void Beep() = 0;
  // The re-index panel (PanelMessage with ProgressReIndexBar).
  virtual void ShowProgressPanel(int maximum, int position) = 0;
  virtual void StepProgress(int delta) = 0;
  virtual void HideProgressPanel() = 0;
  // How many pending-stack entries wait for a free slot because the stack was full (0: none).
  virtual void ShowStackBacklog(int count) { (void)count; }
  // The whole text of a port's traffic memo (Com1Traffic .. Com16Traffic), port 1..16.
  virtual void ShowTraffic(int port, const std::string& text) {
    (void)port;
    (void)text;
  }
};

class NullView : public StationView {
 public:
  void ShowDebug(const std::string&) override {}
  void ShowMessage(const std::string&, const std::string&) override {}
  void Beep() override {}
  void ShowProgressPanel(int, int) override {}
  void StepProgress(int) override {}
  void HideProgressPanel() override {}
  void ShowTraffic(int, const std::string&) override {}
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_STATION_VIEW_H_
