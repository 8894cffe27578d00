// The status in the Prometheus text exposition format (version 0.0.4): one family per figure, each
// with its HELP and TYPE lines, one sample per port labelled port="COMn".
#include <string>

#include "intake/station_status.h"

namespace duri {
namespace {

// Label values escape backslash, double quote and line feed.
std::string LabelValue(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string PortLabel(const PortStatus& p) { return "port=\"COM" + std::to_string(p.port) + "\""; }

void Family(std::string& out, const char* name, const char* type, const char* help) {
  out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

template <typename Value>
void Sample(std::string& out, const char* name, const std::string& labels, Value value) {
  out += name;
  if (!labels.empty()) out += "{" + labels + "}";
  out += " " + std::to_string(value) + "\n";
}

struct Counter {
  const char* name;
  const char* help;
  uint64_t PortStatus::*field;
};

constexpr Counter kCounters[] = {
    {"duriduvaze_messages_total", "Messages taken from the port's receive buffer.", &PortStatus::messages},
    {"duriduvaze_events_total", "Event lines stored in the history.", &PortStatus::events},
    {"duriduvaze_acknowledgements_total", "Acknowledgements written to the receiver.", &PortStatus::acknowledgements},
    {"duriduvaze_resends_seen_total", "Messages identical to the one acknowledged just before.",
     &PortStatus::resends_seen},
    {"duriduvaze_failures_total", "Reader passes ended by a failure.", &PortStatus::failures},
};

}  // namespace

std::string MetricsPage(const StationStatus& status) {
  std::string out;
  Family(out, "duriduvaze_healthy", "gauge", "1 while nothing in the station is stuck, 0 otherwise.");
  Sample(out, "duriduvaze_healthy", "", status.stuck.empty() ? 1 : 0);
  Family(out, "duriduvaze_stack_backlog", "gauge", "Pending-stack entries waiting for a free slot.");
  Sample(out, "duriduvaze_stack_backlog", "", status.stack_backlog);
  Family(out, "duriduvaze_port_info", "gauge", "The receiver set up on the port.");
  for (const PortStatus& p : status.ports) {
    Sample(out, "duriduvaze_port_info",
           PortLabel(p) + ",receiver_type=\"" + std::to_string(p.receiver_type) + "\",receiver=\"" +
               LabelValue(p.receiver) + "\"",
           1);
  }
  Family(out, "duriduvaze_link_state", "gauge", "1 for the port's link state, 0 for the others.");
  for (const PortStatus& p : status.ports) {
    for (int s = 0; s < kLinkStateCount; ++s) {
      const auto state = static_cast<LinkState>(s);
      Sample(out, "duriduvaze_link_state", PortLabel(p) + ",state=\"" + std::string(LinkStateName(state)) + "\"",
             p.link == state ? 1 : 0);
    }
  }
  Family(out, "duriduvaze_last_message_time_seconds", "gauge",
         "When the port's last message was taken, seconds since the epoch; 0 before the first.");
  for (const PortStatus& p : status.ports) Sample(out, "duriduvaze_last_message_time_seconds", PortLabel(p), p.last_message_time);
  for (const Counter& c : kCounters) {
    Family(out, c.name, "counter", c.help);
    for (const PortStatus& p : status.ports) Sample(out, c.name, PortLabel(p), p.*c.field);
  }
  Family(out, "duriduvaze_drops_total", "counter",
         "Messages not turned into events, by reason (noise_bytes and overflow count bytes).");
  for (const PortStatus& p : status.ports) {
    for (int r = 0; r < kDropReasonCount; ++r) {
      Sample(out, "duriduvaze_drops_total",
             PortLabel(p) + ",reason=\"" + std::string(DropReasonName(static_cast<DropReason>(r))) + "\"",
             p.drops[static_cast<size_t>(r)]);
    }
  }
  return out;
}

}  // namespace duri
