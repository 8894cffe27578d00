#include "platform/service_manager.h"

#include <sys/stat.h>
#include <systemd/sd-daemon.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace duri {
namespace {

// JOURNAL_STREAM is "DEVICE:INODE" of the stream the manager connected to the journal; standard error
// goes there only while it is still that stream (a shell redirection replaces it).
bool StderrIsJournal() {
  const char* value = std::getenv("JOURNAL_STREAM");
  if (value == nullptr) return false;
  uintmax_t device = 0, inode = 0;
  if (std::sscanf(value, "%ju:%ju", &device, &inode) != 2) return false;
  struct stat st {};
  if (fstat(STDERR_FILENO, &st) != 0) return false;
  return static_cast<uintmax_t>(st.st_dev) == device && static_cast<uintmax_t>(st.st_ino) == inode;
}

}  // namespace

ServiceManager::ServiceManager() : journal_(StderrIsJournal()) {
  uint64_t usec = 0;
  if (sd_watchdog_enabled(0, &usec) > 0) watchdog_ms_ = static_cast<int64_t>(usec / 1000);
}

void ServiceManager::Ready(std::string_view status) const {
  sd_notify(0, ("READY=1\nSTATUS=" + std::string(status)).c_str());
}

void ServiceManager::Watchdog() const { sd_notify(0, "WATCHDOG=1"); }

void ServiceManager::Status(std::string_view status) const {
  sd_notify(0, ("STATUS=" + std::string(status)).c_str());
}

void ServiceManager::Stopping() const { sd_notify(0, "STOPPING=1"); }

std::string ServiceManager::LogLine(LogPriority priority, std::string_view text) const {
  std::string line = journal_ ? "<" + std::to_string(static_cast<int>(priority)) + ">" : "";
  for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace duri
