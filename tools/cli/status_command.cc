// duriduvaze-cli status --station DIR [--json]: how the station running in DIR is doing, from the status
// file it rewrites every two seconds (duriduvaze-status.json in its root): per port the receiver, the
// link state, the last message, the counts of messages, events, acknowledgements, resends, failures
// and drops by reason, and the stack backlog. Exit status 0 while the station runs and nothing is
// stuck, 1 when it is stuck, stopped or has not written the file for kStaleAfterS seconds, 2 when
// there is no status file to read.
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "commands.h"
#include "intake/station_status.h"

namespace duri::cli {
namespace {

// Five missed rewrites: the station is gone or its writer is.
constexpr int64_t kStaleAfterS = 5 * kStatusPeriodMs / 1000;

struct StatusOptions {
  std::string station = ".";
  bool json = false;
};

// What the file says about the station as a whole, "" while it runs and is well.
std::string Trouble(const StationStatus& s, int64_t now) {
  if (!s.running) return "stopped";
  // A station killed outright leaves its last file behind.
  if (s.pid > 0 && kill(s.pid, 0) != 0 && errno == ESRCH) return "not running (process " + std::to_string(s.pid) + " is gone)";
  if (now - s.written > kStaleAfterS) return "status not updated for " + std::to_string(now - s.written) + " s";
  if (!s.stuck.empty()) return "STUCK: " + s.stuck;
  return {};
}

void PrintText(const std::string& root, const StationStatus& s, const std::string& trouble, int64_t now) {
  std::cout << "station " << root << ": " << (trouble.empty() ? "running, healthy" : trouble) << " (pid " << s.pid
            << ", written " << now - s.written << " s ago)\n";
  std::cout << "stack backlog " << s.stack_backlog;
  if (!s.metrics.empty()) std::cout << "; metrics http://" << s.metrics << "/metrics";
  std::cout << "\n";
  char line[200];
  std::snprintf(line, sizeof line, "%-6s %-28s %-6s %-19s %9s %9s %9s %7s %8s %7s\n", "port", "receiver", "link",
                "last message", "messages", "events", "acks", "resends", "failures", "drops");
  std::cout << line;
  for (const PortStatus& p : s.ports) {
    uint64_t drops = 0;
    for (uint64_t d : p.drops) drops += d;
    const std::string receiver = p.receiver + " (" + std::to_string(p.receiver_type) + ")";
    std::snprintf(line, sizeof line, "%-6s %-28.28s %-6s %-19s %9llu %9llu %9llu %7llu %8llu %7llu\n",
                  ("COM" + std::to_string(p.port)).c_str(), receiver.c_str(),
                  std::string(LinkStateName(p.link)).c_str(), LastMessageText(p.last_message_time).c_str(),
                  static_cast<unsigned long long>(p.messages), static_cast<unsigned long long>(p.events),
                  static_cast<unsigned long long>(p.acknowledgements), static_cast<unsigned long long>(p.resends_seen),
                  static_cast<unsigned long long>(p.failures), static_cast<unsigned long long>(drops));
    std::cout << line;
    if (drops > 0) {
      std::cout << "       drops:";
      for (int r = 0; r < kDropReasonCount; ++r) {
        if (p.drops[static_cast<size_t>(r)] == 0) continue;
        std::cout << " " << DropReasonName(static_cast<DropReason>(r)) << " " << p.drops[static_cast<size_t>(r)];
      }
      std::cout << "\n";
    }
    if (!p.last_failure.empty()) std::cout << "       last failure: " << p.last_failure << "\n";
  }
}

int Status(const StatusOptions& options) {
  std::error_code ec;
  const std::string root = std::filesystem::absolute(options.station, ec).lexically_normal().string();
  std::string error;
  std::optional<StationStatus> status = ReadStatusFile(root, &error);
  if (!status) {
    std::cerr << "duriduvaze-cli status: " << error << " (is the station running with duriduvaze-cli run?)\n";
    return 2;
  }
  const auto now = static_cast<int64_t>(std::time(nullptr));
  const std::string trouble = Trouble(*status, now);
  if (options.json) {
    // The file as written, with the reader's verdict beside it.
    nlohmann::json j = nlohmann::json::parse(StatusToJson(*status));
    j["age_s"] = now - status->written;
    j["trouble"] = trouble;
    std::cout << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  } else {
    PrintText(root, *status, trouble, now);
  }
  return trouble.empty() ? 0 : 1;
}

}  // namespace

void RegisterStatusCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<StatusOptions>();
  CLI::App* cmd = app.add_subcommand("status", "Show how the station running in a directory is doing");
  cmd->add_option("--station", options->station, "station root")->required();
  cmd->add_flag("--json", options->json, "print the status as one JSON object");
  cmd->callback([options, exit_code] { *exit_code = Status(*options); });
}

}  // namespace duri::cli
