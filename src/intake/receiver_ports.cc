#include "intake/receiver_ports.h"

#include "transport/net_service.h"

namespace duri {

ReceiverPorts::ReceiverPorts(const std::string& root, const std::string& dev_dir) : dev_dir_(dev_dir) {
  for (int n = 1; n <= kPortCount; ++n) {
    auto port = std::make_unique<TSerialPort>(root, dev_dir);
    port->SetPort("COM" + std::to_string(n));
    port->SetBaudRate(TBaudRate::br1200);
    port->SetDataBits(TDataBits::dbEight);
    port->SetParityBits(TParityBits::prNone);
    TFlowControl flow;
    flow.ControlDTR = TDTRFlowControl::dtrEnable;
    flow.ControlRTS = TRTSFlowControl::rtsDisable;
    port->SetFlowControl(flow);
    port->SetStopBits(n == 1 ? TStopBits::sbTwoStopBits : TStopBits::sbOneStopBit);
    port->SetEvents(n == 1 ? evRxChar : kAllSerialEvents);
    com_ports_[Index(n)] = std::move(port);
    traffic_[Index(n)] = "Com" + std::to_string(n) + "Traffic";
    ResetReceiverConfig(configs_[Index(n)]);
    ResetPortState(states_[Index(n)]);
  }
  for (auto& armed : port_armed_) armed = true;
  for (auto& ignored : ignored_events_) ignored = 0;
}

void ReceiverPorts::SetDeviceDir(const std::string& dev_dir) {
  dev_dir_ = dev_dir;
  for (auto& port : com_ports_) port->set_dev_dir(dev_dir);
}

ReceiverPorts::~ReceiverPorts() {
  Shutdown(nullptr);
  for (auto& link : links_) link.reset();
}

PortLink& ReceiverPorts::Link(int n) {
  PortLink* link = links_[Index(n)].get();
  return link != nullptr ? *link : *com_ports_[Index(n)];
}

void ReceiverPorts::BindLink(int n, std::unique_ptr<PortLink> link) {
  if (links_[Index(n)]) links_[Index(n)]->Close();
  links_[Index(n)] = std::move(link);
  link_lost_[Index(n)] = false;
}

NetService& ReceiverPorts::Net() {
  if (!net_) net_ = std::make_unique<NetService>();
  return *net_;
}

void ReceiverPorts::Shutdown(UiThread* ui) {
  if (ui != nullptr && !ui->IsCurrent()) {
    ui->Synchronize([this] { closing_ = true; });
  } else {
    closing_ = true;
  }
  for (auto& reader : readers_) {
    if (reader.joinable()) reader.join();
  }
  for (auto& port : com_ports_) port->Close();
  for (auto& link : links_) {
    if (link) link->Close();
  }
}

}  // namespace duri
