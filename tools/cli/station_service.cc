#include "station_service.h"

#include <algorithm>
#include <iostream>

#include "station.h"

namespace duri::cli {

StationService::StationService(Station& station, UiThread& ui, Clock& clock, const ServiceManager& manager,
                               std::string root)
    : station_(station), ui_(ui), clock_(clock), manager_(manager), root_(std::move(root)),
      ping_period_ms_(manager.watchdog_ms() / 2),
      liveness_(manager.watchdog_ms() > 0 ? manager.watchdog_ms() / 2 : kStaleWithoutWatchdogMs) {}

StationService::~StationService() {
  if (metrics_) metrics_->Stop();
}

std::string StationService::StartMetrics(const std::string& address) {
  if (address.empty()) return {};
  metrics_ = std::make_unique<MetricsServer>([this] { return MetricsPage(Snapshot()); });
  std::string error = metrics_->Start(address);
  if (!error.empty()) {
    metrics_.reset();
    return error;
  }
  Log(LogPriority::kInfo, "metrics page on http://" + metrics_->address() + "/metrics");
  return {};
}

StationStatus StationService::Snapshot() const {
  StationStatus status = collector_->Collect(station_.ports);
  status.stuck = liveness_.Stuck(station_.ports, clock_.MonotonicMs());
  if (metrics_) status.metrics = metrics_->address();
  return status;
}

void StationService::Log(LogPriority priority, const std::string& text) const {
  std::cerr << manager_.LogLine(priority, text) << std::endl;
}

void StationService::Ready() {
  ui_.Synchronize([this] { collector_->CaptureUi(station_.ports, station_.company_settings, station_.stack_backlog); });
  const StationStatus status = Snapshot();
  last_write_error_ = WriteStatusFile(root_, status);
  if (!last_write_error_.empty()) Log(LogPriority::kError, "status file not written: " + last_write_error_);
  last_summary_ = StatusSummaryLine(status);
  manager_.Ready(last_summary_);
  ready_ = true;
  const int64_t now = clock_.MonotonicMs();
  next_beat_ms_ = now;
  next_ping_ms_ = now;
  next_status_ms_ = now + kStatusPeriodMs;
}

int64_t StationService::Poll() {
  if (!ready_) return kBeatPeriodMs;
  const int64_t now = clock_.MonotonicMs();
  if (now >= next_beat_ms_) {
    // The beat also brings the user-interface thread's part of the status up to date.
    if (std::function<void()> beat = liveness_.NextUiBeat(now)) {
      ui_.Post([beat, collector = collector_, &station = station_] {
        beat();
        collector->CaptureUi(station.ports, station.company_settings, station.stack_backlog);
      });
    }
    next_beat_ms_ = now + kBeatPeriodMs;
  }
  const std::string stuck = liveness_.Stuck(station_.ports, now);
  if (!stuck.empty() != stuck_) {
    stuck_ = !stuck.empty();
    if (stuck_) {
      Log(LogPriority::kCritical, "stuck, watchdog no longer fed: " + stuck);
    } else {
      Log(LogPriority::kNotice, "running again; watchdog fed");
    }
    next_status_ms_ = now;  // the summary says so at once
  }
  if (ping_period_ms_ > 0 && now >= next_ping_ms_ && !stuck_) {
    manager_.Watchdog();
    next_ping_ms_ = now + ping_period_ms_;
  }
  if (now >= next_status_ms_) {
    StationStatus status = collector_->Collect(station_.ports);
    status.stuck = stuck;
    if (metrics_) status.metrics = metrics_->address();
    const std::string error = WriteStatusFile(root_, status);
    // One log line per new cause, not one every two seconds.
    if (!error.empty() && error != last_write_error_) Log(LogPriority::kError, "status file not written: " + error);
    last_write_error_ = error;
    const std::string summary = StatusSummaryLine(status);
    if (summary != last_summary_) manager_.Status(summary);
    last_summary_ = summary;
    next_status_ms_ = now + kStatusPeriodMs;
  }
  int64_t next = std::min(next_beat_ms_, next_status_ms_);
  if (ping_period_ms_ > 0) next = std::min(next, next_ping_ms_);
  return std::clamp<int64_t>(next - now, 10, kBeatPeriodMs);
}

void StationService::Stop() {
  if (!ready_) return;
  manager_.Stopping();
  if (metrics_) metrics_->Stop();
  StationStatus status = collector_->Collect(station_.ports);
  status.running = false;
  WriteStatusFile(root_, status);
  ready_ = false;
}

}  // namespace duri::cli
