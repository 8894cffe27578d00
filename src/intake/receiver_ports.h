// The sixteen receiver ports of the station, COM1 to COM16, with everything the intake keeps per port
// for the life of the program: the port object, the receiver configuration, the framing state, the
// one-shot reader flag (PortArmed, with a seventeenth for the automatic-test thread), the traffic of a
// message still waiting for its terminator (PendingTraffic), the traffic memo's text and the reader
// thread of the last pass. Ports are numbered 1..16 in every accessor.
//
// A port's bytes come through its link (Link): the serial port, or a network link bound to the port
// from the station's link file. The serial port object stays either way, holding the line settings
// the setup dialog and the receiver file keep.
#ifndef DURIDUVAZE_INTAKE_RECEIVER_PORTS_H_
#define DURIDUVAZE_INTAKE_RECEIVER_PORTS_H_

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "intake/port_counters.h"
#include "receivers/port_state.h"
#include "receivers/receiver_config.h"
#include "transport/port_link.h"
#include "transport/serial_port.h"

namespace duri {

class NetService;

inline constexpr int kPortCount = 16;
// PortArmed index of the automatic-test thread.
inline constexpr int kAutoTestArmed = 17;

class ReceiverPorts {
 public:
  // Creates the sixteen port objects as the window has them: 1200 baud, 8 data bits, no parity, DTR
  // on, RTS off, no flow control; COM1 with two stop bits and only the receive event, the others one
  // stop bit and all events. dev_dir: where the system's UARTs are (tests give an empty folder).
  explicit ReceiverPorts(const std::string& root, const std::string& dev_dir = "/dev");
  // Closes the ports and waits for the reader passes; see Shutdown.
  ~ReceiverPorts();
  ReceiverPorts(const ReceiverPorts&) = delete;
  ReceiverPorts& operator=(const ReceiverPorts&) = delete;

  TSerialPort& Port(int n) { return *com_ports_[Index(n)]; }
  // The port's byte link: its network link when one is bound, else its serial port.
  PortLink& Link(int n);
  bool HasNetworkLink(int n) const { return links_[Index(n)] != nullptr; }
  // Binds a network link to port n, or none (back to its serial port); the link it replaces is closed.
  void BindLink(int n, std::unique_ptr<PortLink> link);
  // The thread every network link runs on, started by the first call.
  NetService& Net();
  // Why port n must not open at all (its link could not be set up), "" when it may.
  std::string& LinkRefusal(int n) { return link_refusals_[Index(n)]; }
  // Set while the port's network link is reported lost and its restore not yet posted.
  bool& LinkLost(int n) { return link_lost_[Index(n)]; }
  ReceiverConfig& Config(int n) { return configs_[Index(n)]; }
  PortState& State(int n) { return states_[Index(n)]; }
  std::string& PendingTraffic(int n) { return pending_traffic_[Index(n)]; }
  // The text of the port's traffic memo (Com1Traffic .. Com16Traffic); starts as the memo's name.
  std::string& Traffic(int n) { return traffic_[Index(n)]; }
  // 1..16 for the ports, kAutoTestArmed for the automatic-test thread. True: no pass is running.
  std::atomic<bool>& PortArmed(int n) { return port_armed_[static_cast<size_t>(n - 1)]; }
  // Receive events that found a pass of the port running and were ignored.
  std::atomic<int>& IgnoredEvents(int n) { return ignored_events_[Index(n)]; }
  std::thread& Reader(int n) { return readers_[Index(n)]; }
  // What the port's reader has done since start-up.
  PortCounters& Counters(int n) { return counters_[Index(n)]; }

  std::array<ReceiverConfig, kPortCount>& configs() { return configs_; }
  // Where every port looks for the system's UARTs (tests give a folder without any).
  void SetDeviceDir(const std::string& dev_dir);
  const std::string& dev_dir() const { return dev_dir_; }

  // The port chosen in the port list (1..16), 0 while none is.
  int selected_port = 0;

  // Starts no more passes, waits for the running ones to end, then closes every port. The passes run
  // their steps on the user-interface thread, so call this from another thread while that one still
  // runs, or when no pass is running.
  // ui: the user-interface thread, so that no receive handler is half-way through starting a pass.
  void Shutdown(UiThread* ui = nullptr);
  bool closing() const { return closing_; }

 private:
  static size_t Index(int n) { return static_cast<size_t>(n - 1); }

  std::array<std::unique_ptr<TSerialPort>, kPortCount> com_ports_;
  // Before the links: it must outlive them.
  std::unique_ptr<NetService> net_;
  std::array<std::unique_ptr<PortLink>, kPortCount> links_;
  std::array<std::string, kPortCount> link_refusals_;
  std::array<bool, kPortCount> link_lost_{};
  std::array<ReceiverConfig, kPortCount> configs_;
  std::array<PortState, kPortCount> states_;
  std::array<std::atomic<bool>, kPortCount + 1> port_armed_;
  std::array<std::atomic<int>, kPortCount> ignored_events_;
  std::array<std::string, kPortCount> pending_traffic_;
  std::array<std::string, kPortCount> traffic_;
  std::array<std::thread, kPortCount> readers_;
  std::array<PortCounters, kPortCount> counters_;
  std::atomic<bool> closing_{false};
  std::string dev_dir_;
};

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_RECEIVER_PORTS_H_
