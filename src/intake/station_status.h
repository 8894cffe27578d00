// What a running station tells the world outside its window: per port the receiver, the link state,
// the time of the last message and the port's counters, with the stack backlog and whether anything
// is stuck. The headless station collects it every few seconds, writes it to the status file
// <root>/duriduvaze-status.json (a temporary file renamed over it, so a reader never sees half of
// one), answers the metrics page from it and sends its one-line summary to the service manager.
// `duriduvaze-cli status` reads the file back.
//
// The status file is the station's own, in its root, never in the shared ORBA folder: each station
// sharing the data has its own ports and its own file.
#ifndef DURIDUVAZE_INTAKE_STATION_STATUS_H_
#define DURIDUVAZE_INTAKE_STATION_STATUS_H_

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "intake/port_counters.h"
#include "intake/receiver_ports.h"

namespace duri {

struct CompanySettings;
struct StackBacklog;

inline constexpr char kStatusFileName[] = "duriduvaze-status.json";
// The file is rewritten this often while the station runs.
inline constexpr int kStatusPeriodMs = 2000;

// The state of a port's link, as the status file and the metrics page name it.
enum class LinkState : int {
  kClosed = 0,        // a receiver is set up but its port did not open
  kOpen = 1,          // open; its link is not supervised
  kUp = 2,            // open and supervised; messages came within the last check
  kLost = 3,          // open and supervised; a communication loss is reported
};
inline constexpr int kLinkStateCount = 4;
// "closed", "open", "up", "lost".
std::string_view LinkStateName(LinkState state);

struct PortStatus {
  int port = 0;  // 1..16
  int receiver_type = 0;
  std::string receiver;  // the catalogue's name of the model
  LinkState link = LinkState::kClosed;
  int64_t last_message_time = 0;  // as PortCounters keeps it; 0 before the first message
  uint64_t messages = 0;
  uint64_t events = 0;
  uint64_t acknowledgements = 0;
  uint64_t resends_seen = 0;
  uint64_t failures = 0;
  std::array<uint64_t, kDropReasonCount> drops{};
  std::string last_failure;

  bool operator==(const PortStatus&) const = default;
};

struct StationStatus {
  int64_t written = 0;  // UTC seconds since the epoch
  int pid = 0;
  bool running = true;  // false in the last file a station writes as it stops
  std::string stuck;    // "" while nothing is stuck (see Liveness)
  int64_t stack_backlog = 0;
  std::string metrics;  // the address the metrics page is served on, "" when it is not
  std::vector<PortStatus> ports;  // the ports with a receiver, in port order

  bool operator==(const StationStatus&) const = default;
};

// Gathers the status of a running station. CaptureUi reads what belongs to the user-interface thread
// (receiver types, link states, the stack backlog) and runs there; Collect may run on any thread: it
// reads the ports' counters as they are now, beside the last capture.
class StatusCollector {
 public:
  void CaptureUi(ReceiverPorts& ports, const CompanySettings& company, const StackBacklog& stack_backlog);
  StationStatus Collect(ReceiverPorts& ports) const;

 private:
  struct UiPart {
    int receiver_type = 0;
    LinkState link = LinkState::kClosed;
  };
  mutable std::mutex mu_;
  std::array<UiPart, kPortCount> ui_{};
  int64_t stack_backlog_ = 0;
};

// The status file's text (one JSON object) and back. Texts that are not UTF-8 (a failure naming a
// file in the station's code page) are written with U+FFFD in place of the bad bytes.
std::string StatusToJson(const StationStatus& status);
// nullopt with *error set when the text is not a status file.
std::optional<StationStatus> StatusFromJson(std::string_view text, std::string* error);

// Writes <root>/duriduvaze-status.json through <root>/duriduvaze-status.json.tmp and a rename.
// Returns "" or the failure.
std::string WriteStatusFile(const std::string& root, const StationStatus& status);
// nullopt with *error set when the file is missing or unreadable.
std::optional<StationStatus> ReadStatusFile(const std::string& root, std::string* error);

// The one-line summary for the service manager: "2 ports open, 1 link lost; 120 messages, 118 events,
// 118 acknowledged, 2 dropped, 0 failures; stack backlog 0", led by "STUCK: ..." when something is.
std::string StatusSummaryLine(const StationStatus& status);

// The Prometheus text page of the same figures.
std::string MetricsPage(const StationStatus& status);

// "2026-12-09 05:11:58", local time, for a time as PortCounters keeps it (seconds since the epoch),
// "-" for 0.
std::string LastMessageText(int64_t time);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_STATION_STATUS_H_
