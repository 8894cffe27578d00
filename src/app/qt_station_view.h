// The window as the core sees it: DebugLabel, the non-blocking message boxes (one open box per key at
// most, so a port that keeps failing never piles them up), the beep and the re-index panel.
#ifndef DURIDUVAZE_APP_QT_STATION_VIEW_H_
#define DURIDUVAZE_APP_QT_STATION_VIEW_H_

#include <QPointer>
#include <QString>
#include <map>
#include <string>

#include "platform/station_view.h"

class QMessageBox;

namespace duri {

class TComMain;

class QtStationView : public StationView {
 public:
  explicit QtStationView(TComMain& window) : window_(window) {}

  void ShowDebug(const std::string& text) override;
  void ShowMessage(const std::string& key, const std::string& text) override;
  void Beep() override;
  void ShowProgressPanel(int maximum, int position) override;
  void StepProgress(int delta) override;
  void HideProgressPanel() override;
  void ShowStackBacklog(int count) override;
  void ShowTraffic(int port, const std::string& text) override;

  // Number of message boxes still open (for tests).
  int OpenMessageBoxes() const;

 private:
  QString ToUnicode(const std::string& text) const;

  TComMain& window_;
  std::map<std::string, QPointer<QMessageBox>> open_boxes_;
};

}  // namespace duri

#endif  // DURIDUVAZE_APP_QT_STATION_VIEW_H_
