// TcpLink: a receiver port carried over TCP, the same bytes a serial line would carry. Two ways:
// - connect (tcp://HOST:PORT): the station connects to the receiver's automation port or to a serial
//   device server, and connects again after every loss, waiting first_retry and then twice as long
//   after each failure up to max_retry;
// - listen (listen://ADDRESS:PORT): the receiver connects to the station. One connection is served at
//   a time; a newer one replaces the one being served, whose peer is most often gone without a word
//   (a receiver or device server that restarted), so that its alarms are not held back until the
//   keep-alive finds the old connection dead.
// Keep-alive probes (and a bound on unacknowledged sends) find a peer that vanished without closing.
// Losing the peer and getting one back are told through the state handler; a link that finds no peer
// within first_connect_grace after Open is told lost too. All network work runs on the NetService
// thread; WriteStr waits there for its bytes to be sent, at most write_timeout.
#ifndef DURIDUVAZE_TRANSPORT_TCP_LINK_H_
#define DURIDUVAZE_TRANSPORT_TCP_LINK_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "transport/buffered_link.h"

namespace duri {

inline constexpr char kErrListen[] = "Unable to listen on the link's address";

struct TcpLinkTiming {
  std::chrono::milliseconds first_retry{1000};
  std::chrono::milliseconds max_retry{30000};
  std::chrono::milliseconds first_connect_grace{10000};
  std::chrono::milliseconds write_timeout{1000};
  int keepalive_idle_s = 30;      // quiet time before the first probe
  int keepalive_interval_s = 10;  // between probes
  int keepalive_count = 3;        // unanswered probes before the connection is given up
};

class TcpLink : public BufferedLink {
 public:
  enum class Mode { kConnect, kListen };

  // host: a name or address to connect to, or the local address to listen on ("0.0.0.0", "::").
  // Port 0 in listen mode takes any free port (see LocalPort).
  TcpLink(NetService& net, Mode mode, std::string host, uint16_t port, TcpLinkTiming timing = {});
  ~TcpLink() override;

  std::string LinkName() const override;
  // Listen mode binds here and throws LinkError (kErrListen) when it cannot; connect mode starts
  // connecting and never fails here.
  void Open() override;
  void Close() override;
  bool Connected() const override { return open_; }
  int WriteStr(std::string_view text) override;
  void SendInitialCommand(std::string_view command) override;
  void SetTerminator(uint8_t terminator) override { terminator_ = terminator; }

  // A peer is connected now.
  bool PeerConnected() const;
  // The port listened on (after Open), or the one given.
  uint16_t LocalPort() const { return local_port_; }

 private:
  struct Conn;
  void InputTaken() override;

  Mode mode_;
  std::string host_;
  uint16_t port_;
  std::atomic<uint16_t> local_port_;
  std::atomic<bool> open_{false};
  std::atomic<int> terminator_{-1};  // -1: not known, every loss after bytes is a break
  std::shared_ptr<Conn> conn_;
};

// "tcp://host:port" or "listen://address:port", an IPv6 address in brackets.
std::string TcpLinkName(TcpLink::Mode mode, const std::string& host, uint16_t port);

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_TCP_LINK_H_
