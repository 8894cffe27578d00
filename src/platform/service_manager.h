// The service manager (systemd) as a station run as a service sees it: the notification socket
// (NOTIFY_SOCKET) for READY, WATCHDOG, STATUS and STOPPING through sd_notify, the watchdog interval it
// asks for (WATCHDOG_USEC), and whether standard error goes to the journal (JOURNAL_STREAM), where a
// line may lead with its priority ("<3>" for an error). Without a service manager every notice is a
// no-op and the lines go out plain.
#ifndef DURIDUVAZE_PLATFORM_SERVICE_MANAGER_H_
#define DURIDUVAZE_PLATFORM_SERVICE_MANAGER_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace duri {

// The journal's priorities (syslog's).
enum class LogPriority : int { kCritical = 2, kError = 3, kWarning = 4, kNotice = 5, kInfo = 6, kDebug = 7 };

class ServiceManager {
 public:
  // Reads the environment the service manager set.
  ServiceManager();

  // Milliseconds between watchdog pings the manager requires (WATCHDOG_USEC), 0 without a watchdog.
  int64_t watchdog_ms() const { return watchdog_ms_; }
  bool journal() const { return journal_; }

  void Ready(std::string_view status) const;
  void Watchdog() const;
  void Status(std::string_view status) const;
  void Stopping() const;

  // text as one line for standard error: led by "<N>" when it goes to the journal, line breaks turned
  // into spaces so that one message stays one journal entry.
  std::string LogLine(LogPriority priority, std::string_view text) const;

 private:
  int64_t watchdog_ms_ = 0;
  bool journal_ = false;
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_SERVICE_MANAGER_H_
