#include "store/error_log.h"
#include "intake/dc09_link.h"
#include "intake/port_counters.h"

#include "receivers/receiver_catalogue.h"
#include "station.h"
#include "store/shared_file.h"
#include "transport/dc09_port.h"

namespace duri {

std::unique_ptr<PortLink> MakeDc09Link(Station& station, int port, const std::string& address, uint16_t number,
                                       std::string* error) {
  const int type = station.ports.Config(port).receiver_type;
  if (type != kDc09ReceiverType && type != kTypeNone) {
    *error = "dc09://" + address + ":" + std::to_string(number) + " needs the receiver type " +
             std::to_string(kDc09ReceiverType) + " (surgard slr/mlr2), the port has " + std::to_string(type);
    return nullptr;
  }
  Dc09Settings settings;
  settings.address = address;
  settings.port = number;
  settings.accounts_path = station.data.HostPath(kDc09AccountsFile).value_or("");
  auto link = std::make_unique<Dc09Port>(std::move(settings));
  // From the port's event loop: the error log is written on the user-interface thread, as every file is.
  link->SetLog([&station, port](const std::string& line) {
    UiThread* ui = station.ui_thread();
    if (ui == nullptr) return;
    // error.log stamps the line itself.
    ui->Post([&station, text = "COM" + std::to_string(port) + " " + line] { LogError(station.data, text); });
  });
  // Counted where the port's other drops are, so the status file, the metrics page and the traffic
  // counters show them.
  link->SetRefusalCounter([&station, port] { station.ports.Counters(port).Drop(DropReason::kRefused); });
  return link;
}

}  // namespace duri
