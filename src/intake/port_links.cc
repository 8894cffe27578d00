#include "store/error_log.h"
#include "intake/port_links.h"

#include "intake/dc09_link.h"
#include "intake/link_supervision.h"
#include "intake/reader_pass.h"
#include "receivers/receiver_catalogue.h"
#include "station.h"
#include "store/shared_file.h"
#include "transport/net_service.h"
#include "transport/tcp_link.h"

namespace duri {
namespace {

// error.log stamps the line itself.
void LogLine(Station& station, const std::string& text) { LogError(station.data, text); }

void Post(Station& station, const std::string& text) {
  if (station.company_settings.link_supervision == 0 || !station.add_event) return;
  const LocalDateTime now = station.clock().Now();
  station.add_event(now.date, now.time, text, "");
}

}  // namespace

std::unique_ptr<PortLink> MakePortLink(Station& station, int port, const LinkAddress& address, std::string* error) {
  if (address.scheme == "dc09") return MakeDc09Link(station, port, address.host, address.port, error);
  if (address.scheme == "tcp" || address.scheme == "listen") {
    const auto mode = address.scheme == "tcp" ? TcpLink::Mode::kConnect : TcpLink::Mode::kListen;
    return std::make_unique<TcpLink>(station.ports.Net(), mode, address.host, address.port);
  }
  *error = LinkAddressText(address) + ": this station has no " + address.scheme + " receiver";
  return nullptr;
}

void BindPortLinks(Station& station) {
  ReceiverPorts& ports = station.ports;
  PortLinkTable table;
  std::string error;
  const std::optional<std::string> path = station.data.HostPath(kLinkFileName);
  const LinkFileStatus status =
      path ? LoadLinkFile(*path, &table, &error) : LinkFileStatus::kMissing;
  for (int n = 1; n <= kPortCount; ++n) {
    ports.BindLink(n, nullptr);
    ports.LinkRefusal(n).clear();
  }
  if (status == LinkFileStatus::kRefused) {
    LogLine(station, "Link file refused, no port opens: " + error);
    station.view().ShowDebug(error);
    for (int n = 1; n <= kPortCount; ++n) ports.LinkRefusal(n) = error;
    return;
  }
  for (int n = 1; n <= kPortCount; ++n) {
    const auto& address = table[static_cast<size_t>(n - 1)];
    if (!address) continue;
    std::string why;
    std::unique_ptr<PortLink> link = MakePortLink(station, n, *address, &why);
    if (!link) {
      LogLine(station, "COM" + std::to_string(n) + " not opened: " + why);
      ports.LinkRefusal(n) = why;
      continue;
    }
    ports.BindLink(n, std::move(link));
    ConnectPortLink(station, n, ports.Link(n));
  }
}

std::string PortLinkTitle(ReceiverPorts& ports, int port) {
  if (!ports.HasNetworkLink(port)) {
    if (!ports.LinkRefusal(port).empty()) return "COM" + std::to_string(port);
    return ports.Port(port).Port();
  }
  return "COM" + std::to_string(port) + " " + ports.Link(port).LinkName();
}

void PortLinkChanged(Station& station, int port, const LinkChange& change) {
  ReceiverPorts& ports = station.ports;
  if (ports.Config(port).receiver_type == kTypeNone) return;
  const std::string title = PortLinkTitle(station.ports, port);
  PortState& state = ports.State(port);
  if (change.up) {
    LogLine(station, title + ": connected to " + change.detail);
    if (!ports.LinkLost(port)) return;
    ports.LinkLost(port) = false;
    if (SupervisedType(ports.Config(port).receiver_type)) {
      state.link_alarm = 0;
      state.link_activity = 0;
    }
    Post(station, LinkRestoreText(port));
    return;
  }
  LogLine(station, title + ": connection lost: " + change.detail);
  if (ports.LinkLost(port)) return;
  // The flags change first: a post that fails is not repeated.
  ports.LinkLost(port) = true;
  state.link_alarm = 1;
  Post(station, LinkLossText(port));
}

void ReportLinkFailure(Station& station, int port, const std::string& why) {
  LogLine(station, PortLinkTitle(station.ports, port) + " not opened: " + why);
}

}  // namespace duri
