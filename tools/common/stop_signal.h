// How the long-running tools learn that they should stop: SIGINT and SIGTERM are blocked and read from a
// descriptor, so the main loop polls them beside its other work and ends cleanly.
#ifndef DURIDUVAZE_TOOLS_COMMON_STOP_SIGNAL_H_
#define DURIDUVAZE_TOOLS_COMMON_STOP_SIGNAL_H_

#include <signal.h>
#include <sys/signalfd.h>

namespace duri::tools {

// Blocks SIGINT and SIGTERM for the calling thread (and the threads it starts afterwards) and returns a
// descriptor that becomes readable when one arrives; -1 when the descriptor cannot be made.
inline int StopDescriptor() {
  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, SIGINT);
  sigaddset(&mask, SIGTERM);
  sigprocmask(SIG_BLOCK, &mask, nullptr);
  return signalfd(-1, &mask, SFD_CLOEXEC);
}

}  // namespace duri::tools

#endif  // DURIDUVAZE_TOOLS_COMMON_STOP_SIGNAL_H_
