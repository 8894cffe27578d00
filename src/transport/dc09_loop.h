// The event loop behind a Dc09Port (see dc09_port.h): the TCP acceptor and sessions, the UDP socket,
// the report queue and the one report in the intake. Everything here runs on the loop's thread but
// the byte side (input, guarded by mu), which the port's intake reaches from its own threads.
#ifndef DURIDUVAZE_TRANSPORT_DC09_LOOP_H_
#define DURIDUVAZE_TRANSPORT_DC09_LOOP_H_

#include <asio.hpp>

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "transport/dc09_port.h"

namespace duri {

// Shared with the receive events queued on the user-interface thread, which may run after Close.
struct Dc09RaiseLink {
  std::recursive_mutex mu;
  bool alive = true;
  std::function<void(int)> on_receive;
};

struct Dc09Session;

struct Dc09Port::Loop {
  // Where a report came from and where its answer goes.
  struct Origin {
    std::weak_ptr<Dc09Session> session;  // TCP
    bool udp = false;
    asio::ip::udp::endpoint endpoint;    // UDP
    std::string name;                    // for the log
  };
  struct Pending {
    Origin origin;
    bool link_only = false;  // a supervision message: nothing to answer
    dc09::Outcome outcome;
  };

  Loop(Dc09Port& owner, dc09::AccountTable accounts);
  ~Loop();

  void Start();  // binds; throws Dc09Error
  void Stop();

  // One frame's content from origin.
  void Take(std::string_view content, const Origin& origin);
  void SendTo(const Origin& origin, const std::string& frame);
  void Log(const std::string& text);
  // Hands the next queued report to the intake when none is there.
  void Pump();
  void StationAcknowledged();
  // The station has read the report in the intake: from now on it has ack_wait_ms to acknowledge it.
  void FlightRead(uint64_t number);
  void Raise();
  int64_t Now() const;

  Dc09Port& port;
  dc09::Receiver receiver;
  size_t sessions = 0;
  std::deque<Pending> queue;
  std::optional<Pending> in_flight;
  uint64_t flight_number = 0;
  std::chrono::steady_clock::time_point last_handed;  // the last message handed to the intake

  std::mutex mu;  // input, the byte counts and last_raise
  std::string input;
  // Bytes ever put into input and ever read from it, and where the report in the intake ends: its
  // acknowledgement counts only once the station has read it whole (an earlier pass's late one does not).
  uint64_t appended = 0;
  uint64_t taken = 0;
  uint64_t flight_end = 0;
  std::chrono::steady_clock::time_point last_raise;
  std::shared_ptr<Dc09RaiseLink> raise_link;

  // Declared last so that it goes first: the handlers it destroys may still reach the members above.
  asio::io_context io;
  asio::ip::tcp::acceptor acceptor{io};
  asio::ip::udp::socket udp{io};
  asio::steady_timer tick{io};
  asio::steady_timer ack_timer{io};
  std::array<char, 65536> datagram{};
  asio::ip::udp::endpoint datagram_from;
  std::thread thread;

 private:
  void Accept();
  void ReceiveDatagram();
  void Tick();
};

// One TCP connection of a panel.
struct Dc09Session : std::enable_shared_from_this<Dc09Session> {
  Dc09Session(Dc09Port::Loop& loop, asio::ip::tcp::socket socket);
  ~Dc09Session();
  void Start();
  void Send(std::string frame);
  void Close();

  Dc09Port::Loop& loop;
  asio::ip::tcp::socket socket;
  asio::steady_timer idle;
  std::string name;
  std::string buffer;
  std::array<char, 4096> chunk{};
  std::deque<std::string> writes;
  bool closed = false;

 private:
  void Read();
  void OnData(size_t n);
  void Write();
  void ArmIdle();
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_DC09_LOOP_H_
