// The simulated receiver's end of a serial line: a pseudo-terminal whose other side is linked as
// <station>/ports/COMn, where the station opens it like any port. The simulator keeps the other side
// open itself, so bytes written before the station opens the port wait in the line and reading never
// fails while the station is away. A pseudo-terminal has no speed: pacing is the writer's.
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
  // Removes the link if it still points at this line, and closes it.
  void Close();

  // Writes all bytes; waits while the line is full unless stop_fd becomes readable. False when the
  // wait was stopped or the line failed.
  bool Write(std::string_view bytes, int stop_fd);
  // Waits up to timeout_ms for bytes from the station (or stop_fd) and appends what came to out.
  // Returns false when stop_fd became readable.
  bool Read(std::string* out, int timeout_ms, int stop_fd);

  const std::string& link_path() const { return link_path_; }
  const std::string& device_path() const { return device_path_; }

 private:
  int master_fd_ = -1;
  int slave_fd_ = -1;
  std::string link_path_;
  std::string device_path_;
};

// Milliseconds on the monotonic clock.
int64_t MonotonicMs();

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_SIM_LINE_H_
