#include "intake/receiver_setup.h"

#include <algorithm>

#include "intake/port_links.h"
#include "receivers/receiver_catalogue.h"
#include "intake/receiver_file.h"
#include "station.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "transport/serial_names.h"

namespace duri {
namespace {

constexpr char kNotAvailable[] = " Not Available";
constexpr char kOpenPrefix[] = "Open ";

bool ValidPrefix(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

void ClearOptionBoxes(ReceiverSetupControls& c) {
  c.receiver_number = c.line_number = c.compress_cid = c.show_heartbeat = false;
  c.ofset = "0";
}

// Line settings of a record onto a port object; codes outside the settings' ranges leave them as they
// are (a damaged file must not stop the setup).
void ApplyStoredLine(TSerialPort& port, const ReceiverConfig& config) {
  if (config.baud_rate_code < kBaudRateCount) port.SetBaudRate(static_cast<TBaudRate>(config.baud_rate_code));
  if (config.data_bits_code <= static_cast<uint8_t>(TDataBits::dbEight)) {
    port.SetDataBits(static_cast<TDataBits>(config.data_bits_code));
  }
  if (config.stop_bits_code <= static_cast<uint8_t>(TStopBits::sbTwoStopBits)) {
    port.SetStopBits(static_cast<TStopBits>(config.stop_bits_code));
  }
}

void SetMemo(Station& station, int port, std::string text) {
  station.ports.Traffic(port) = std::move(text);
  station.view().ShowTraffic(port, station.ports.Traffic(port));
}

// The receiver file; a save that fails is told, since the setup would be lost at the next start.
void SaveConfigs(Station& station) {
  int result = SaveReceiverConfigs(station.data, station.ports.configs());
  if (result != kIoOk) {
    station.view().ShowDebug(std::string(kReceiverFileName) + " (" + std::to_string(result) + ")");
  }
}

}  // namespace

std::vector<std::string> PortListFromDevices(const std::vector<std::string>& devices) {
  // The device list as the hidden memo PortInfo holds it: one name per line, each ended by CR LF.
  std::string info;
  for (const std::string& d : devices) info += d + "\r\n";
  std::vector<std::string> items;
  for (int n = 1; n <= kPortCount; ++n) {
    std::string name = "COM" + std::to_string(n);
    if (info.find(name + "\r") != std::string::npos) items.push_back(name);
  }
  std::sort(items.begin(), items.end());
  return items;
}

void FillReceiverLists(Station& station, ReceiverSetupControls& controls) {
  controls.port_items = PortListFromDevices(EnumerateSerialPorts(station.data.root(), station.ports.dev_dir()));
  controls.port_item = controls.port_items.empty() ? -1 : 0;
  controls.receiver_items = ReceiverList(station.language);
  controls.receiver = 0;
}

void PrepReceiverList(Station& station, ReceiverSetupControls& controls) {
  if (controls.port_item < 0 || controls.port_item >= static_cast<int>(controls.port_items.size())) return;
  const std::string& item = controls.port_items[static_cast<size_t>(controls.port_item)];
  const int p = ComPortNumber(item);
  if (p < 1 || p > kPortCount) return;
  const ReceiverConfig& config = station.ports.Config(p);
  ClearOptionBoxes(controls);
  controls.receiver = config.receiver_type < kReceiverTypeCount ? config.receiver_type : -1;
  controls.receiver_number = config.receiver_number != 0;
  controls.line_number = config.line_number != 0;
  controls.compress_cid = config.compress_cid != 0;
  controls.show_heartbeat = config.show_heartbeat != 0;
  controls.ofset = std::string(1, config.prefix);
  station.ports.selected_port = p;
  TSerialPort& port = station.ports.Port(p);
  try {
    port.SetPort(item);
    ApplyStoredLine(port, config);
    if (config.even_parity != 0) port.SetParityBits(TParityBits::prEven);
  } catch (const SerialPortError& e) {
    station.view().ShowMessage("COM" + std::to_string(p), e.what());
  }
}

void SaveReceiverSetup(Station& station, ReceiverSetupControls& controls) {
  const int p = station.ports.selected_port;
  if (p < 1 || p > kPortCount) return;
  ReceiverConfig& config = station.ports.Config(p);
  TSerialPort& port = station.ports.Port(p);
  ResetReceiverConfig(config);
  ResetPortState(station.ports.State(p));
  config.receiver_type = static_cast<uint8_t>(std::clamp(controls.receiver, 0, kReceiverTypeCount - 1));
  if (config.receiver_type == kTypeNone) {
    try {
      station.ports.Link(p).Close();
    } catch (const LinkError&) {
      // Closing a port that will not close changes nothing for the save.
    }
    ClearOptionBoxes(controls);
    ApplyStoredLine(port, config);
    port.SetParityBits(TParityBits::prNone);
    SaveConfigs(station);
    return;
  }
  config.receiver_number = controls.receiver_number ? 1 : 0;
  config.line_number = controls.line_number ? 1 : 0;
  config.compress_cid = controls.compress_cid ? 1 : 0;
  config.show_heartbeat = controls.show_heartbeat ? 1 : 0;
  char prefix = controls.ofset.empty() ? '\0' : controls.ofset[0];
  if (prefix >= 'a' && prefix <= 'z') prefix = static_cast<char>(prefix - 'a' + 'A');  // the box is upper-case
  if (ValidPrefix(prefix)) {
    config.prefix = prefix;
  } else {
    config.prefix = '0';
    controls.ofset = "0";
    station.view().Beep();
    controls.focus_ofset = true;
  }
  config.baud_rate_code = static_cast<uint8_t>(port.BaudRate());
  config.data_bits_code = static_cast<uint8_t>(port.DataBits());
  config.stop_bits_code = static_cast<uint8_t>(port.StopBits());
  // Only even parity is stored: odd, mark and space come back as none.
  config.even_parity = port.Parity().Bits == TParityBits::prEven ? 1 : 0;
  SaveConfigs(station);
  OpenReceiverPort(station, p);
}

bool OpenReceiverPort(Station& station, int n) {
  const ReceiverConfig& config = station.ports.Config(n);
  const int type = config.receiver_type;
  if (type == kTypeNone) return false;
  PortState& state = station.ports.State(n);
  PortLink& link = station.ports.Link(n);
  const std::string name = PortLinkTitle(station.ports, n);
  state.terminator = TerminatorForType(type);
  state.acknowledgement = AcknowledgementForType(type);
  if (!station.ports.LinkRefusal(n).empty()) {
    SetMemo(station, n, name + kNotAvailable);
    return false;
  }
  link.SetTerminator(state.terminator);
  try {
    if (ForcesLine(type) && !link.IsNetworkLink()) {
      TSerialPort& port = station.ports.Port(n);
      port.SetControlRTS(TRTSFlowControl::rtsEnable);
      port.SetDataBits(TDataBits::dbSeven);
      port.SetStopBits(TStopBits::sbTwoStopBits);
    }
    link.Open();
  } catch (const LinkError& e) {
    SetMemo(station, n, name + kNotAvailable);
    const std::string line = name + " cannot be opened: " + e.what();
    station.ports.Counters(n).SetLastFailure(line);
    if (link.IsNetworkLink()) {
      ReportLinkFailure(station, n, e.what());
    } else {
      LogError(station.data, line);
    }
    return false;
  }
  SetMemo(station, n, kOpenPrefix + name);
  if (SupervisedType(type)) {
    state.link_activity = 0;
    state.link_alarm = 0;
  }
  // A serial line that was lost and opens again is restored, as a network receiver that connects again.
  if (!link.IsNetworkLink() && station.ports.LinkLost(n)) {
    PortLinkChanged(station, n, LinkChange{true, station.ports.Port(n).DevicePath()});
  }
  std::string command = InitialCommand(type);
  if (!command.empty()) {
    try {
      link.SendInitialCommand(command);
    } catch (const LinkError& e) {
      // The receiver will not have its command; the operator sees why, the port stays open.
      const std::string line = link.LinkName() + ": initial command not written: " + e.what();
      station.ports.Counters(n).SetLastFailure(line);
      station.errors().Report(line);
    }
  }
  return true;
}

void ResetReceiverPorts(Station& station) {
  for (int n = 1; n <= kPortCount; ++n) {
    station.ports.PendingTraffic(n).clear();
    ResetPortState(station.ports.State(n));
  }
  std::vector<DamagedReceiverRecord> damaged;
  LoadReceiverConfigs(station.data, station.ports.configs(), &damaged);
  BindPortLinks(station);
  if (damaged.empty()) return;
  // Told once, at the loading: each damaged port stays closed until its setup is saved again.
  std::string text = std::string(kReceiverFileName) + " is damaged:";
  for (const DamagedReceiverRecord& d : damaged) {
    text += (&d == &damaged.front() ? " COM" : ", COM") + std::to_string(d.port) + " (" + d.damage + ")";
  }
  text += "; these ports stay closed until their setup is saved again.";
  LogError(station.data, text);
  station.view().ShowMessage("TorvaCom", text);
}

void OpenReceiverPorts(Station& station) {
  for (int n = 1; n <= kPortCount; ++n) {
    const ReceiverConfig& config = station.ports.Config(n);
    if (config.receiver_type != kTypeNone) {
      TSerialPort& port = station.ports.Port(n);
      ApplyStoredLine(port, config);
      if (config.even_parity != 0) port.SetParityBits(TParityBits::prEven);
    }
    OpenReceiverPort(station, n);
  }
}

}  // namespace duri
