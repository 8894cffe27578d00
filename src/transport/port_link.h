// PortLink: the byte link of one receiver port, whatever carries it. A port's intake (framing,
// decoding, acknowledgement, supervision) sees only this: bytes waiting, a read, a write, the line
// errors of the bytes just read, and a receive event raised on the user-interface thread. The serial
// port (TSerialPort) is one; a network link (a TCP connection to a receiver's automation output or a
// serial device server, or a built-in IP receiver that turns what alarm panels send into receiver
// messages) is another.
//
// Contract shared by every link:
// - Open and Close come from the user-interface thread. Open of a link that cannot be had (no device,
//   an address that cannot be bound) throws LinkError; the port then counts as not available. A network
//   link is open once its address is bound: its peer may come and go while it stays open.
// - InputCount, ReadStr, WriteStr and LastErrors may come from any thread (a reader pass writes its
//   acknowledgement itself) and never block without bound.
// - WriteStr returns the bytes that went out. A network link whose peer is away sends nothing and
//   returns 0, like a serial line whose output stays full: the receiver, without its acknowledgement,
//   sends the message again.
// - The receive handler runs on the user-interface thread with the count of bytes waiting (never 0),
//   again while bytes stay unread, so a pass that was busy when they came still takes them.
// - The state handler runs on the user-interface thread when a network link's peer comes (up) or is
//   lost (down); a serial port never raises it.
#ifndef DURIDUVAZE_TRANSPORT_PORT_LINK_H_
#define DURIDUVAZE_TRANSPORT_PORT_LINK_H_

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace duri {

class UiThread;

// LastErrors: a set of line errors, bit by bit.
using LineErrors = uint8_t;
inline constexpr LineErrors kFramingError = 1 << 0;
inline constexpr LineErrors kParityError = 1 << 1;  // only with Parity.Check
inline constexpr LineErrors kOverrunError = 1 << 2;
inline constexpr LineErrors kBreakError = 1 << 3;
inline constexpr LineErrors kIoError = 1 << 4;
inline constexpr LineErrors kModeError = 1 << 5;
inline constexpr LineErrors kRxOverflowError = 1 << 6;
inline constexpr LineErrors kTxFullError = 1 << 7;

// A link that failed: a fixed text followed by " (system error code: N)" when N is not 0.
class LinkError : public std::runtime_error {
 public:
  LinkError(const char* text, int code);
  int code() const { return code_; }

 private:
  int code_;
};

// What a state handler is told.
struct LinkChange {
  bool up = false;
  std::string detail;  // the peer's address (a serial line's device) when up; why it was lost when down
};

using ReceiveHandler = std::function<void(int count)>;
using LinkStateHandler = std::function<void(const LinkChange& change)>;

class PortLink {
 public:
  virtual ~PortLink() = default;

  // How the operator knows the link: "COM3", "tcp://10.1.2.3:1025", "listen://0.0.0.0:5001".
  virtual std::string LinkName() const = 0;
  // True for a link that is not the port's serial line.
  virtual bool IsNetworkLink() const { return false; }

  // Where and what to raise. ui null: no event is raised. Set before Open.
  virtual void SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler on_state) = 0;

  virtual void Open() = 0;
  virtual void Close() = 0;
  // Open (for a network link: bound, whether or not a peer is there).
  virtual bool Connected() const = 0;

  virtual int InputCount() = 0;
  // Takes up to count waiting bytes into text; returns how many.
  virtual int ReadStr(std::string& text, int count) = 0;
  virtual int WriteStr(std::string_view text) = 0;
  // The errors of the bytes read since the last call, read and cleared. A network link reports a
  // break when a connection was lost in the middle of a message (its last byte was not the
  // terminator): the broken message must not be joined to the next connection's first one.
  virtual LineErrors LastErrors() = 0;

  // The byte that ends the receiver model's messages (see LastErrors). A serial line has no use for it.
  virtual void SetTerminator(uint8_t) {}

  // The receiver model's initial command, sent once the link is open: on a serial line at once, on a
  // network link at the start of every connection.
  virtual void SendInitialCommand(std::string_view command) { WriteStr(command); }

  // The port's reader is ready for more: raise the receive event again, without waiting, if bytes
  // wait unread. Bytes that came while it was busy raised an event it ignored, and a receiver sends
  // nothing more until its message is answered. Any thread; never blocks.
  virtual void ReaderReady() {}
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_PORT_LINK_H_
