#include "intake/station_status.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "receivers/receiver_catalogue.h"
#include "events/stack_backlog.h"
#include "settings/company_settings.h"

namespace duri {
namespace {

constexpr int kStatusFileVersion = 1;

LinkState LinkStateOf(ReceiverPorts& ports, const CompanySettings& company, int n) {
  if (!ports.Link(n).Connected()) return LinkState::kClosed;
  // A network link knows its peer is gone, whatever the supervision says.
  if (ports.HasNetworkLink(n) && ports.LinkLost(n)) return LinkState::kLost;
  const int type = ports.Config(n).receiver_type;
  if (!SupervisedType(type) || company.link_supervision == 0) return LinkState::kOpen;
  return ports.State(n).link_alarm != 0 ? LinkState::kLost : LinkState::kUp;
}

std::optional<LinkState> LinkStateFromName(std::string_view name) {
  for (int i = 0; i < kLinkStateCount; ++i) {
    if (LinkStateName(static_cast<LinkState>(i)) == name) return static_cast<LinkState>(i);
  }
  return std::nullopt;
}

std::string Plural(uint64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string_view LinkStateName(LinkState state) {
  switch (state) {
    case LinkState::kClosed: return "closed";
    case LinkState::kOpen: return "open";
    case LinkState::kUp: return "up";
    case LinkState::kLost: return "lost";
  }
  return "closed";
}

void StatusCollector::CaptureUi(ReceiverPorts& ports, const CompanySettings& company,
                                const StackBacklog& stack_backlog) {
  std::array<UiPart, kPortCount> ui{};
  for (int n = 1; n <= kPortCount; ++n) {
    UiPart& part = ui[static_cast<size_t>(n - 1)];
    part.receiver_type = ports.Config(n).receiver_type;
    part.link = LinkStateOf(ports, company, n);
  }
  // The count the window last showed: every stack update and tick refresh it from ORBA/EVT.BKL.
  const auto backlog = static_cast<int64_t>(std::max(stack_backlog.shown, 0));
  std::lock_guard<std::mutex> hold(mu_);
  ui_ = ui;
  stack_backlog_ = backlog;
}

StationStatus StatusCollector::Collect(ReceiverPorts& ports) const {
  StationStatus status;
  status.written = static_cast<int64_t>(std::time(nullptr));
  status.pid = static_cast<int>(getpid());
  std::lock_guard<std::mutex> hold(mu_);
  status.stack_backlog = stack_backlog_;
  for (int n = 1; n <= kPortCount; ++n) {
    const UiPart& part = ui_[static_cast<size_t>(n - 1)];
    if (part.receiver_type == 0) continue;
    const PortCounters& c = ports.Counters(n);
    PortStatus p;
    p.port = n;
    p.receiver_type = part.receiver_type;
    p.receiver = std::string(ReceiverItemText(part.receiver_type));
    p.link = part.link;
    p.last_message_time = c.last_message_time;
    p.messages = c.messages;
    p.events = c.events;
    p.acknowledgements = c.acknowledgements;
    p.resends_seen = c.resends_seen;
    p.failures = c.failures;
    for (int r = 0; r < kDropReasonCount; ++r) p.drops[static_cast<size_t>(r)] = c.Dropped(static_cast<DropReason>(r));
    p.last_failure = c.LastFailure();
    status.ports.push_back(std::move(p));
  }
  return status;
}

std::string StatusToJson(const StationStatus& status) {
  nlohmann::json ports = nlohmann::json::array();
  for (const PortStatus& p : status.ports) {
    nlohmann::json drops = nlohmann::json::object();
    for (int r = 0; r < kDropReasonCount; ++r) {
      drops[std::string(DropReasonName(static_cast<DropReason>(r)))] = p.drops[static_cast<size_t>(r)];
    }
    ports.push_back({{"port", "COM" + std::to_string(p.port)},
                     {"receiver_type", p.receiver_type},
                     {"receiver", p.receiver},
                     {"link", LinkStateName(p.link)},
                     {"last_message_time", p.last_message_time},
                     {"last_message", LastMessageText(p.last_message_time)},
                     {"messages", p.messages},
                     {"events", p.events},
                     {"acknowledgements", p.acknowledgements},
                     {"resends_seen", p.resends_seen},
                     {"failures", p.failures},
                     {"drops", drops},
                     {"last_failure", p.last_failure}});
  }
  nlohmann::json j = {{"version", kStatusFileVersion},
                      {"written", status.written},
                      {"pid", status.pid},
                      {"running", status.running},
                      {"stuck", status.stuck},
                      {"stack_backlog", status.stack_backlog},
                      {"metrics", status.metrics},
                      {"ports", ports}};
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::optional<StationStatus> StatusFromJson(std::string_view text, std::string* error) {
  try {
    const nlohmann::json j = nlohmann::json::parse(text);
    if (j.at("version").get<int>() != kStatusFileVersion) {
      *error = "status file version " + j.at("version").dump() + " is not known";
      return std::nullopt;
    }
    StationStatus s;
    j.at("written").get_to(s.written);
    j.at("pid").get_to(s.pid);
    j.at("running").get_to(s.running);
    j.at("stuck").get_to(s.stuck);
    j.at("stack_backlog").get_to(s.stack_backlog);
    j.at("metrics").get_to(s.metrics);
    for (const nlohmann::json& jp : j.at("ports")) {
      PortStatus p;
      const std::string name = jp.at("port").get<std::string>();
      if (name.rfind("COM", 0) != 0) throw std::invalid_argument("port " + name);
      p.port = std::stoi(name.substr(3));
      jp.at("receiver_type").get_to(p.receiver_type);
      jp.at("receiver").get_to(p.receiver);
      std::optional<LinkState> link = LinkStateFromName(jp.at("link").get<std::string>());
      if (!link) throw std::invalid_argument("link state " + jp.at("link").dump());
      p.link = *link;
      jp.at("last_message_time").get_to(p.last_message_time);
      jp.at("messages").get_to(p.messages);
      jp.at("events").get_to(p.events);
      jp.at("acknowledgements").get_to(p.acknowledgements);
      jp.at("resends_seen").get_to(p.resends_seen);
      jp.at("failures").get_to(p.failures);
      for (int r = 0; r < kDropReasonCount; ++r) {
        jp.at("drops").at(std::string(DropReasonName(static_cast<DropReason>(r)))).get_to(p.drops[static_cast<size_t>(r)]);
      }
      jp.at("last_failure").get_to(p.last_failure);
      s.ports.push_back(std::move(p));
    }
    return s;
  } catch (const std::exception& e) {
    *error = std::string("not a status file: ") + e.what();
    return std::nullopt;
  }
}

std::string WriteStatusFile(const std::string& root, const StationStatus& status) {
  const std::string path = root + "/" + kStatusFileName;
  const std::string temp = path + ".tmp";
  const std::string text = StatusToJson(status);
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return temp + ": " + std::strerror(errno);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string why = temp + ": " + std::strerror(errno);
      close(fd);
      return why;
    }
    done += static_cast<size_t>(n);
  }
  if (close(fd) != 0) return temp + ": " + std::strerror(errno);
  if (std::rename(temp.c_str(), path.c_str()) != 0) return path + ": " + std::strerror(errno);
  return {};
}

std::optional<StationStatus> ReadStatusFile(const std::string& root, std::string* error) {
  const std::string path = root + "/" + kStatusFileName;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::optional<StationStatus> status = StatusFromJson(text.str(), error);
  if (!status) *error = path + ": " + *error;
  return status;
}

std::string StatusSummaryLine(const StationStatus& status) {
  int open = 0, lost = 0;
  uint64_t messages = 0, events = 0, acks = 0, dropped = 0, failures = 0;
  for (const PortStatus& p : status.ports) {
    if (p.link != LinkState::kClosed) ++open;
    if (p.link == LinkState::kLost) ++lost;
    messages += p.messages;
    events += p.events;
    acks += p.acknowledgements;
    failures += p.failures;
    for (int r = 0; r < kDropReasonCount; ++r) {
      // Noise is counted in bytes; the summary counts messages.
      if (static_cast<DropReason>(r) != DropReason::kNoise) dropped += p.drops[static_cast<size_t>(r)];
    }
  }
  std::string line = status.stuck.empty() ? "" : "STUCK: " + status.stuck + "; ";
  line += std::to_string(open) + " of " + Plural(status.ports.size(), "port", "ports") + " open";
  if (lost > 0) line += ", " + Plural(static_cast<uint64_t>(lost), "link", "links") + " lost";
  line += "; " + Plural(messages, "message", "messages") + ", " + Plural(events, "event", "events") + ", " +
          std::to_string(acks) + " acknowledged, " + std::to_string(dropped) + " dropped, " +
          Plural(failures, "failure", "failures") + "; stack backlog " + std::to_string(status.stack_backlog);
  return line;
}

std::string LastMessageText(int64_t time) {
  if (time == 0) return "-";
  const time_t t = static_cast<time_t>(time);
  std::tm tm{};
  localtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

}  // namespace duri
