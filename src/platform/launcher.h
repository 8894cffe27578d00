// The program launcher: starts a companion program (the pager and SMS senders) and does not wait for
// it. Nothing is read back; whether the program runs or fails is not the station's concern.
#ifndef DURIDUVAZE_PLATFORM_LAUNCHER_H_
#define DURIDUVAZE_PLATFORM_LAUNCHER_H_

#include <string>
#include <vector>

namespace duri {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // argv[0] is the program's path; each element reaches the program as one argument, never through a
  // shell. The process id, or -1 when the program could not be started.
  virtual int Start(const std::vector<std::string>& argv) = 0;
};

// posix_spawn with standard input, output and error on /dev/null. Each child is reaped by a small
// detached thread when it ends, so no zombie stays behind and the caller never waits.
class PosixLauncher : public Launcher {
 public:
  int Start(const std::vector<std::string>& argv) override;
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_LAUNCHER_H_
