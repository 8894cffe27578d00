// duriduvaze-cli run --station DIR [--duration S] [--traffic] [--metrics ADDRESS:PORT]: the station
// without its window. It loads the settings and the receiver setup of DIR, opens every configured port
// for its receiver and runs the port readers, the decoding, the event intake and the 15-second work
// (link supervision, settings reload; the pending sound through ALSA) on an event-loop thread standing
// in for the window's, until SIGINT or SIGTERM (or --duration seconds). Port openings and failure
// messages go to standard error (with the journal's priorities when it is the journal); with
// --traffic, every framed message as the port's memo shows it, the count of pending-stack entries
// waiting in the backlog whenever it changes, and each port's counters every minute and at the end. It
// refuses to run on a data directory without byte-range locks unless --no-locks is given. A port with
// a receiver that cannot be opened is told on standard error with its cause, the others run, and the
// run exits 3 at its end. As a service it talks to the service manager, keeps the status file and
// serves the metrics page (see StationService).
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "common/stop_signal.h"
#include "intake/link_supervision.h"
#include "intake/periodic_work.h"
#include "intake/port_counters.h"
#include "intake/receiver_setup.h"
#include "platform/clock.h"
#include "platform/service_manager.h"
#include "platform/sound.h"
#include "platform/station_view.h"
#include "platform/ui_thread.h"
#include "station_settings.h"
#include "station.h"
#include "station_service.h"
#include "station_startup.h"
#include "store/lock_probe.h"

namespace duri::cli {
namespace {

struct RunOptions {
  std::string station = ".";
  double duration_s = 0;
  bool traffic = false;
  std::string metrics;
  bool no_locks = false;
};

// The run ended normally, but a port with a receiver could not be opened at start.
constexpr int kExitPortNotOpened = 3;

// With --traffic the port counters are printed this often, and once more at the end.
constexpr int64_t kCountersEveryMs = 60000;

// What the window would show, as lines on standard error.
class ConsoleView : public NullView {
 public:
  ConsoleView(bool traffic, const ServiceManager& manager) : traffic_(traffic), manager_(manager) {}
  void ShowMessage(const std::string& key, const std::string& text) override {
    std::cerr << manager_.LogLine(LogPriority::kError, "[" + key + "] " + text) << std::endl;
  }
  void ShowTraffic(int port, const std::string& text) override {
    if (!traffic_) return;
    // The memo holds the newest message first, on its own line.
    std::cerr << manager_.LogLine(LogPriority::kInfo, "COM" + std::to_string(port) + " " + text.substr(0, text.find('\r')))
              << std::endl;
  }
  // The window's count of stack entries waiting in the backlog, printed when it changes.
  void ShowStackBacklog(int count) override {
    if (traffic_) std::cerr << manager_.LogLine(LogPriority::kInfo, "stack backlog " + std::to_string(count)) << std::endl;
  }

 private:
  bool traffic_;
  const ServiceManager& manager_;
};

// The counters of every port that has a receiver or has counted anything, one line each.
void PrintCounters(Station& station) {
  for (int n = 1; n <= kPortCount; ++n) {
    const PortCounters& c = station.ports.Counters(n);
    if (station.ports.Config(n).receiver_type == 0 && c.messages == 0 && c.failures == 0) continue;
    std::cerr << PortCountersText(n, c) << std::endl;
  }
}

int Run(const RunOptions& options) {
  std::error_code ec;
  const std::string root = std::filesystem::absolute(options.station, ec).lexically_normal().string();
  if (!std::filesystem::is_directory(root)) {
    std::cerr << "duriduvaze-cli run: " << options.station << " is not a directory\n";
    return 2;
  }
  const int stop_fd = duri::tools::StopDescriptor();
  SystemClock clock;
  const ServiceManager manager;
  ConsoleView view(options.traffic, manager);
  EventLoopThread ui;
  auto station = std::make_unique<Station>(root, clock, view);
  station->set_ui_thread(ui);
  bool may_run = true;
  int ports_not_opened = 0;
  ui.Synchronize([&] { may_run = CheckDataLocks(*station, options.no_locks, ProbeByteRangeLocks, nullptr); });
  if (!may_run) {
    // The view has printed the reason.
    station.reset();
    close(stop_fd);
    return 1;
  }
  ui.Synchronize([&] {
    LoadStartupSettings(*station);
    ResetReceiverPorts(*station);
    InstallEventIntake(*station);
    OpenReceiverPorts(*station);
    ReloadStartupSettings(*station);
    for (int n = 1; n <= kPortCount; ++n) {
      if (station->ports.Config(n).receiver_type == 0) continue;
      const std::string& memo = station->ports.Traffic(n);
      std::string line = memo.substr(0, memo.find('\r')) + " (receiver type " +
                         std::to_string(int{station->ports.Config(n).receiver_type}) + ")";
      const bool open = station->ports.Link(n).Connected();
      if (!open) {
        ++ports_not_opened;
        const std::string cause = station->ports.Counters(n).LastFailure();
        if (!cause.empty()) line += ": " + cause;
      }
      std::cerr << manager.LogLine(open ? LogPriority::kInfo : LogPriority::kError, line) << std::endl;
    }
  });
  auto service = std::make_unique<StationService>(*station, ui, clock, manager, root);
  const std::string metrics_error = service->StartMetrics(options.metrics);
  if (!metrics_error.empty()) {
    std::cerr << manager.LogLine(LogPriority::kError, "duriduvaze-cli run: metrics: " + metrics_error) << std::endl;
    station->ports.Shutdown(&ui);
    return 2;
  }
  service->Ready();
  AlsaSound sound;
  auto periodic = std::make_unique<PeriodicWork>(*station, sound, sound.PlaybackDeviceCount() > 0,
                                                 [&station] { SuperviseLinks(*station); });
  const int64_t start = clock.MonotonicMs();
  const int64_t end = options.duration_s > 0 ? start + static_cast<int64_t>(options.duration_s * 1000) : -1;
  int64_t next_tick = start + kAutoPhTimerMs;
  int64_t next_counters = start + kCountersEveryMs;
  for (;;) {
    const int64_t now = clock.MonotonicMs();
    if (end >= 0 && now >= end) break;
    if (now >= next_tick) {
      ui.Post([&periodic, &service] {
        periodic->AutophTimerTimer();
        service->PeriodicWorkRan();
      });
      next_tick += kAutoPhTimerMs;
    }
    if (options.traffic && now >= next_counters) {
      PrintCounters(*station);
      next_counters += kCountersEveryMs;
    }
    int64_t wait = std::min(next_tick - now, service->Poll());
    if (options.traffic) wait = std::min(wait, next_counters - now);
    if (end >= 0) wait = std::min(wait, end - now);
    pollfd p{stop_fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(std::max<int64_t>(wait, 0))) > 0) break;
  }
  service->Stop();
  ui.Synchronize([] {});
  periodic->WaitForAutoTest();
  // The passes run their steps on the event loop, so the ports close while it still runs.
  station->ports.Shutdown(&ui);
  if (options.traffic) PrintCounters(*station);
  periodic.reset();
  service.reset();
  station.reset();
  close(stop_fd);
  // The station ran with the ports it had; one that never opened took no alarm all that time.
  return ports_not_opened > 0 ? kExitPortNotOpened : 0;
}

}  // namespace

void RegisterRunCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<RunOptions>();
  CLI::App* cmd = app.add_subcommand("run", "Run a station without its window until SIGINT or SIGTERM");
  cmd->add_option("--station", options->station, "station root")->required();
  cmd->add_option("--duration", options->duration_s, "stop after this many seconds (more than 0)")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            // CLI11's own number check lets "nan" and "inf" through, and a run without end must be asked
            // for by leaving the option out.
            double v = 0;
            const bool number = CLI::detail::lexical_cast(text, v);
            return number && std::isfinite(v) && v > 0 && v <= 1e9 ? "" : "--duration wants seconds above 0, not " + text;
          },
          "SECONDS"));
  cmd->add_flag("--traffic", options->traffic, "print every framed message, and the port counters");
  cmd->add_flag("--no-locks", options->no_locks,
                "run even when the data directory refuses byte-range locks (two stations may then write one "
                "record at once)");
  cmd->add_option("--metrics", options->metrics,
                  "serve the counters in the Prometheus text format on ADDRESS:PORT (loopback when only :PORT)");
  cmd->callback([options, exit_code] { *exit_code = Run(*options); });
}

}  // namespace duri::cli
