// duriduvaze: the station. Started in a station directory, it is the station: it opens the configured
// receiver ports, decodes, acknowledges and posts every event, and shows the traffic. Without a display
// it runs under QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

#include "app/com_main.h"
#include "app/qt_station_view.h"
#include "app/qt_ui_thread.h"
#include "platform/cups_printer.h"
#include "intake/link_supervision.h"
#include "station_startup.h"
#include "store/lock_probe.h"

namespace {

// The window has no close box; a station run from a script or a service ends on SIGINT or SIGTERM.
std::atomic<bool> stop_requested{false};
void RequestStop(int) { stop_requested = true; }

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  duri::SystemClock clock;
  duri::NullView startup_view;
  duri::Station station(std::filesystem::current_path().string(), clock, startup_view);
  duri::QtUiThread ui;
  duri::CupsPrinter printer;
  duri::AlsaSound sound;
  station.set_printer(printer);
  duri::TComMain window(station, sound);
  // Before any port opens: a data directory without byte-range locks is refused unless --no-locks.
  std::string lock_problem;
  const bool no_locks = std::any_of(argv + 1, argv + argc, [](const char* a) { return std::strcmp(a, "--no-locks") == 0; });
  if (!duri::CheckDataLocks(station, no_locks, duri::ProbeByteRangeLocks, &lock_problem)) {
    std::cerr << "duriduvaze: " << lock_problem << std::endl;
    if (QGuiApplication::platformName() != "offscreen") {
      QMessageBox::critical(nullptr, "DURiduvaze", QString::fromLocal8Bit(lock_problem.c_str()));
    }
    return 1;
  }
  if (!lock_problem.empty()) std::cerr << "duriduvaze: " << lock_problem << std::endl;
  duri::QtStationView view(window);
  station.set_view(view);
  station.set_ui_thread(ui);
  duri::InstallEventIntake(station);
  window.Start([&station] { duri::SuperviseLinks(station); });
  window.show();
  if (!lock_problem.empty()) view.ShowMessage("locks", lock_problem);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  QTimer stop_poll;
  QObject::connect(&stop_poll, &QTimer::timeout, &app, [&app] {
    if (stop_requested) app.quit();
  });
  stop_poll.start(200);
  const int code = app.exec();
  duri::ShutdownStationPorts(station, ui);
  return code;
}
