// duriduvaze-cli post --station DIR [--today YYYY-MM-DD] [--now HH:MM:SS]: each line of standard input
// goes through the station's event intake as one message (the line and CR), on the station's clock or
// on the date and time given. The receivers' path without a receiver: demos, support staff and tests
// post event lines the way a decoder does.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "events/add_event.h"
#include "platform/clock.h"
#include "station_settings.h"
#include "station.h"
#include "store/io_result.h"

namespace duri::cli {
namespace {

struct PostOptions {
  std::string station = ".";
  std::string today;  // YYYY-MM-DD
  std::string now;    // HH:MM:SS
};

bool ParseDate(const std::string& text, int* y, int* m, int* d) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%4d-%2d-%2d%c", y, m, d, &tail) == 3;
}

bool ParseTime(const std::string& text, int* h, int* mi, int* s) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%2d:%2d:%2d%c", h, mi, s, &tail) == 3;
}

int Post(const PostOptions& o) {
  SystemClock system;
  LocalDateTime now = system.Now();
  int y = now.date.year, m = now.date.month, d = now.date.day;
  int h = now.time.hour, mi = now.time.minute, s = now.time.second;
  if (!o.today.empty() && !ParseDate(o.today, &y, &m, &d)) {
    std::cerr << "post: --today wants YYYY-MM-DD, not " << o.today << "\n";
    return 2;
  }
  if (!o.now.empty() && !ParseTime(o.now, &h, &mi, &s)) {
    std::cerr << "post: --now wants HH:MM:SS, not " << o.now << "\n";
    return 2;
  }
  ManualClock clock;
  clock.Set(y, m, d, h, mi, s);
  NullView view;
  const std::string root = std::filesystem::absolute(o.station).lexically_normal().string();
  Station station(root, clock, view);
  LoadStartupSettings(station);
  ReloadStartupSettings(station);
  InstallEventIntake(station);

  // Each line is stored (recorded in the history), failed (its recording failed: error.log says why)
  // or skipped (not an event: a missing automatic test while an area is open).
  std::string line;
  int stored = 0, failed = 0, skipped = 0;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const LocalDateTime at = clock.Now();
    const uint64_t recorded_before = station.events_recorded, failed_before = station.events_failed;
    AddEvent(station.event_context(), at.date, at.time, line + "\r", "", NoPresetEntry(), 1);
    if (station.events_failed != failed_before) {
      ++failed;
      std::cerr << "post: " << station.last_event_failure << "\n";
    } else if (station.events_recorded != recorded_before) {
      ++stored;
    } else {
      ++skipped;
      std::cerr << "post: skipped (not an event): " << line << "\n";
    }
  }
  // The lines count as stored only once they are on the disk.
  const int flushed = station.data.pending_sync.Flush();
  if (flushed != kIoOk && stored > 0) {
    std::cerr << "post: the history could not be flushed to disk, " << IoResultText(flushed) << "\n";
    failed += stored;
    stored = 0;
  }
  std::cerr << "post: " << stored << " stored, " << failed << " failed, " << skipped << " skipped\n";
  return failed == 0 && skipped == 0 ? 0 : 1;
}

}  // namespace

void RegisterPostCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<PostOptions>();
  CLI::App* cmd = app.add_subcommand("post", "Post event lines from standard input into a station's intake");
  cmd->add_option("--station", options->station, "station root (holds ORBA/)")->check(CLI::ExistingDirectory);
  cmd->add_option("--today", options->today, "date of the station's clock, YYYY-MM-DD");
  cmd->add_option("--now", options->now, "time of the station's clock, HH:MM:SS");
  cmd->callback([options, exit_code] { *exit_code = Post(*options); });
}

}  // namespace duri::cli
