// The simulated receiver's end of its line. Either a pseudo-terminal whose other side is linked as
// <station>/ports/COMn, where the station opens it like any port (the simulator keeps the other side
// open itself, so bytes written before the station opens the port wait in the line and reading never
// fails while the station is away); or a TCP connection, as a receiver's network output makes it:
// OpenTcp connects to a station port in listen:// mode, OpenListen waits for a station port in tcp://
// mode. A lost connection is made again (connect) or awaited again (listen) before the next write,
// and a message cut by the loss is sent again whole. Neither has a speed: pacing is the writer's.
#ifndef DURIDUVAZE_TOOLS_SIM_SIM_LINE_H_
#define DURIDUVAZE_TOOLS_SIM_SIM_LINE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace duri::sim {

class SimLine {
 public:
  SimLine() = default;
  ~SimLine();
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;

  // Opens the pseudo-terminal and links it as <station_root>/ports/<port_name> (a symlink left by an
  // earlier run is replaced; anything else there is refused). "" on success, else what failed.
  std::string Open(const std::string& station_root, const std::string& port_name);
  // The simulator connects to HOST:PORT (an address or a name), again whenever the connection is lost.
  std::string OpenTcp(const std::string& host, int port);
  // The simulator listens on ADDRESS:PORT for the station; a newer connection replaces the one served.
  std::string OpenListen(const std::string& address, int port);
  // Removes the link if it still points at this line, and closes it.
  void Close();
  // Connections made or taken after the first one.
  int reconnects() const { return reconnects_; }

  // Writes all bytes; waits while the line is full unless stop_fd becomes readable. False when the
  // wait was stopped or the line failed.
  bool Write(std::string_view bytes, int stop_fd);
  // Waits up to timeout_ms for bytes from the station (or stop_fd) and appends what came to out.
  // Returns false when stop_fd became readable.
  bool Read(std::string* out, int timeout_ms, int stop_fd);

  const std::string& link_path() const { return link_path_; }
  const std::string& device_path() const { return device_path_; }

 private:
  enum class Carrier { kPty, kConnect, kListen };
  // A TCP line with no connection: makes or takes one, waiting at most timeout_ms. False when none.
  bool Reconnect(int timeout_ms, int stop_fd);
  void Drop();

  Carrier carrier_ = Carrier::kPty;
  std::string host_;
  int port_ = 0;
  int listen_fd_ = -1;
  int connections_ = 0;
  int reconnects_ = 0;
  int master_fd_ = -1;  // the pseudo-terminal's master side, or the TCP connection
  int slave_fd_ = -1;
  std::string link_path_;
  std::string device_path_;
};

// Milliseconds on the monotonic clock.
int64_t MonotonicMs();

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_SIM_LINE_H_
