#include "app/qt_station_view.h"

#include <QApplication>
#include <QMessageBox>

#include "app/com_main.h"

namespace duri {

QString QtStationView::ToUnicode(const std::string& text) const {
  return window_.ToUnicode(text);
}

void QtStationView::ShowDebug(const std::string& text) {
  window_.DebugLabel->setText(ToUnicode(text));
  // Shown at once, so the last step reached stays visible if a file operation blocks.
  window_.DebugLabel->repaint();
}

void QtStationView::ShowMessage(const std::string& key, const std::string& text) {
  QPointer<QMessageBox>& box = open_boxes_[key];
  if (box) return;  // one open box per key; the port keeps working behind it
  box = new QMessageBox(QMessageBox::NoIcon, "DURiduvaze", ToUnicode(text), QMessageBox::Ok, &window_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

void QtStationView::Beep() { QApplication::beep(); }

void QtStationView::ShowProgressPanel(int maximum, int position) {
  window_.ProgressReIndexBar->setRange(0, maximum);
  window_.ProgressReIndexBar->setValue(position);
  window_.PanelMessage->raise();
  window_.PanelMessage->show();
  window_.PanelMessage->repaint();
}

void QtStationView::StepProgress(int delta) {
  window_.ProgressReIndexBar->setValue(window_.ProgressReIndexBar->value() + delta);
  window_.ProgressReIndexBar->repaint();
}

void QtStationView::HideProgressPanel() { window_.PanelMessage->hide(); }

void QtStationView::ShowStackBacklog(int count) {
  // A full stack never drops an alarm silently: the backlog stays in sight until it is placed.
  if (count > 0) {
    window_.DebugLabel->setText(QString("Pending stack full: %1 event(s) waiting for a free slot").arg(count));
    window_.DebugLabel->setStyleSheet("color: red");
  } else if (!window_.DebugLabel->styleSheet().isEmpty()) {
    window_.DebugLabel->setStyleSheet(QString());
  }
}

void QtStationView::ShowTraffic(int port, const std::string& text) { window_.ShowTraffic(port, text); }

int QtStationView::OpenMessageBoxes() const {
  int n = 0;
  for (const auto& [key, box] : open_boxes_)
    if (box) ++n;
  return n;
}

}  // namespace duri
