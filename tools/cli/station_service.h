// The headless station as a service: what `duriduvaze-cli run` does beside the station's own work.
// It tells the service manager when the ports are open (READY), feeds its watchdog only while the
// liveness check finds nothing stuck (WATCHDOG, at half the interval the manager asks for), keeps a
// one-line STATUS, rewrites the status file every kStatusPeriodMs and serves the metrics page.
//
// Poll runs on the run loop's own thread, never on the user-interface thread, so that a stuck
// user-interface thread cannot also stop the check that notices it.
#ifndef DURIDUVAZE_TOOLS_CLI_STATION_SERVICE_H_
#define DURIDUVAZE_TOOLS_CLI_STATION_SERVICE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "intake/liveness.h"
#include "intake/station_status.h"
#include "platform/clock.h"
#include "platform/service_manager.h"
#include "platform/ui_thread.h"
#include "transport/metrics_server.h"

namespace duri {
class Station;
}

namespace duri::cli {

class StationService {
 public:
  // Without a watchdog the liveness check still runs, for the status file, with this bound.
  static constexpr int64_t kStaleWithoutWatchdogMs = 60000;
  static constexpr int64_t kBeatPeriodMs = 1000;

  StationService(Station& station, UiThread& ui, Clock& clock, const ServiceManager& manager, std::string root);
  ~StationService();
  StationService(const StationService&) = delete;
  StationService& operator=(const StationService&) = delete;

  // Serves the metrics page on address ("" serves none). Returns "" or why it cannot.
  std::string StartMetrics(const std::string& address);
  // The ports are open: first status file, then READY with the summary.
  void Ready();
  // Does what is due; returns the milliseconds until something is due again.
  int64_t Poll();
  // The 15-second work ran; on the user-interface thread.
  void PeriodicWorkRan() { liveness_.PeriodicWorkRan(clock_.MonotonicMs()); }
  // STOPPING, then the last status file (running false).
  void Stop();

 private:
  StationStatus Snapshot() const;
  void Log(LogPriority priority, const std::string& text) const;

  Station& station_;
  UiThread& ui_;
  Clock& clock_;
  const ServiceManager& manager_;
  std::string root_;
  int64_t ping_period_ms_;
  Liveness liveness_;
  std::shared_ptr<StatusCollector> collector_ = std::make_shared<StatusCollector>();
  std::unique_ptr<MetricsServer> metrics_;
  bool ready_ = false;
  bool stuck_ = false;
  int64_t next_beat_ms_ = 0;
  int64_t next_ping_ms_ = 0;
  int64_t next_status_ms_ = 0;
  std::string last_summary_;
  std::string last_write_error_;
};

}  // namespace duri::cli

#endif  // DURIDUVAZE_TOOLS_CLI_STATION_SERVICE_H_
