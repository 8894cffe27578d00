// Dc09Port: a built-in SIA DC-09 receiver bound to "dc09://ADDRESS:PORT", TCP and UDP on the same
// port number. Alarm panels connect (or send datagrams) and report; the port turns every accepted
// report into the message a Sur-Gard receiver (type 7) gives for it and hands those bytes to the
// station's port intake exactly as a serial line would: InputCount, ReadStr, a receive event on the
// user-interface thread. The intake's acknowledgement byte (WriteStr) is what releases the panel's
// ACK, so a panel hears ACK only once its event is in the history; a pass that fails writes none and
// the panel, unanswered, sends again.
//
// One Asio event loop on one thread serves every panel: no thread per connection. One report is in
// the intake at a time; the others wait in a bounded queue. Limits: connections, content size
// (a longer frame closes its connection), idle time (an idle connection is closed).
#ifndef DURIDUVAZE_TRANSPORT_DC09_PORT_H_
#define DURIDUVAZE_TRANSPORT_DC09_PORT_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "transport/dc09_receiver.h"
#include "transport/port_link.h"

namespace duri {

class UiThread;

struct Dc09Settings {
  std::string address = "0.0.0.0";
  uint16_t port = 0;  // 0: any free port (tests), see bound_port()
  size_t max_connections = 5000;
  size_t max_content = 1024;
  int idle_seconds = 180;  // panels that keep their connection send NULL well inside this
  size_t queue_limit = 20000;
  // How long a report the station has read waits for its acknowledgement before the port gives up on
  // it (a pass that failed, the history unwritable: the panel gets no ACK and sends again). A report
  // not yet read waits for as long as the station takes to read it.
  int ack_wait_ms = 5000;
  // A Sur-Gard receiver's link test goes to the intake after this many seconds without a message, so
  // the port's link supervision reports the DC-09 receiver itself, not quiet panels. 0: none.
  int heartbeat_seconds = 30;
  dc09::StampWindow window;
  // The accounts file; empty: no keys, no supervision.
  std::string accounts_path;
  // Seconds since the epoch, UTC; the system clock when empty.
  std::function<int64_t()> utc_now;
};

// What the port has done since it opened.
struct Dc09Counters {
  std::atomic<uint64_t> connections{0};
  std::atomic<uint64_t> refused_connections{0};  // over the connection limit
  std::atomic<uint64_t> idle_closed{0};
  std::atomic<uint64_t> frames{0};
  std::atomic<uint64_t> bad_frames{0};  // CRC, length, size: no answer
  std::atomic<uint64_t> posted{0};      // handed to the intake
  std::atomic<uint64_t> acks{0};
  std::atomic<uint64_t> naks{0};
  std::atomic<uint64_t> duhs{0};
  std::atomic<uint64_t> queue_full{0};    // reports dropped unanswered: the queue was full
  std::atomic<uint64_t> not_acknowledged{0};  // the station never acknowledged: no ACK sent
};

// The accounts file refused, or the address not bound.
class Dc09Error : public LinkError {
 public:
  explicit Dc09Error(const std::string& text) : LinkError(text.c_str(), 0) {}
};

class Dc09Port : public PortLink {
 public:
  explicit Dc09Port(Dc09Settings settings);
  ~Dc09Port() override;
  Dc09Port(const Dc09Port&) = delete;
  Dc09Port& operator=(const Dc09Port&) = delete;

  std::string LinkName() const override;
  bool IsNetworkLink() const override { return true; }
  // ui: where on_receive runs (with the count of bytes waiting); null: no event is raised. The port has
  // no single peer whose coming and going would be news: on_state is never raised (each panel's
  // silence is its account's supervision).
  void SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler on_state) override;
  // Where the port's log lines go (refused messages, DUH and NAK reasons, dropped reports); called on
  // the event loop's thread.
  void SetLog(std::function<void(const std::string&)> log);
  // Called on the event loop's thread for every panel message the port would not take: a broken
  // frame, a NAK or DUH answer, a report dropped on a full queue. The panel may send it again.
  void SetRefusalCounter(std::function<void()> count);

  // Loads the accounts file and binds. Throws Dc09Error when the file is refused or the address
  // cannot be bound.
  void Open() override;
  void Close() override;
  bool Connected() const override;
  uint16_t bound_port() const;

  int InputCount() override;
  int ReadStr(std::string& text, int count) override;
  // The station's acknowledgement of the report in the intake: its ACK goes to the panel.
  int WriteStr(std::string_view text) override;
  // Only whole reports reach the intake: never an error.
  LineErrors LastErrors() override { return 0; }
  // Panels take no receiver command.
  void SendInitialCommand(std::string_view) override {}

  const Dc09Counters& counters() const { return counters_; }

  struct Loop;

 private:
  friend struct Dc09Session;

  Dc09Settings settings_;
  Dc09Counters counters_;
  UiThread* ui_ = nullptr;
  std::function<void(int)> on_receive_;
  std::function<void(const std::string&)> log_;
  std::function<void()> count_refusal_;
  // Counts a panel message the port would not take under its own counter and as a refusal.
  void Refuse(std::atomic<uint64_t>& counter) const {
    ++counter;
    if (count_refusal_) count_refusal_();
  }
  std::unique_ptr<Loop> loop_;
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_DC09_PORT_H_
