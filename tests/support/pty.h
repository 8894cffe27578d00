// A pseudo-terminal standing in for a receiver on a serial line: the test writes the receiver's bytes on
// the master side and reads back what the station wrote; the station opens the slave side through the
// symlink <root>/ports/COMn.
#ifndef DURIDUVAZE_TESTS_SUPPORT_PTY_H_
#define DURIDUVAZE_TESTS_SUPPORT_PTY_H_

#include <functional>
#include <string>
#include <string_view>

namespace duri::testing {

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& slave_path() const { return slave_path_; }
  // The slave side as the test keeps it open, to look at the line settings the station applied.
  int slave_fd() const { return slave_fd_; }
  // Makes <root>/ports/<name> point at the slave side.
  void Link(const std::string& root, const std::string& name) const;
  // The receiver sends bytes.
  void Write(std::string_view bytes) const;
  // What the station wrote: waits up to timeout_ms for the first byte, then takes what follows within
  // a short quiet spell.
  std::string Read(int timeout_ms = 2000) const;
  // Exactly n bytes the station wrote, or fewer when timeout_ms passes first.
  std::string ReadBytes(size_t n, int timeout_ms = 2000) const;
  // What the station wrote, without waiting.
  std::string ReadNow() const;
  // The receiver goes away.
  void CloseMaster();

 private:
  int master_fd_ = -1;
  int slave_fd_ = -1;
  std::string slave_path_;
};

// Waits until done() is true, looking every millisecond, for at most timeout_ms. Returns done().
// The bound is generous: a loaded test machine can stall a thread for seconds, and a wait that
// succeeds returns at once.
bool WaitFor(const std::function<bool()>& done, int timeout_ms = 20000);

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_PTY_H_
