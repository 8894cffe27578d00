#include "store/pending_sync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "store/io_result.h"

namespace duri {
namespace {

// Ended flushes kept for tickets not yet answered. Every ticket given is waited for at once, so only
// a ticket that was given and never waited for leaves its flush here; past this many the oldest is
// dropped, and its tickets are answered as not stored.
constexpr size_t kEndedFlushesKept = 4096;

int SyncPath(const std::string& path) {
  // Any descriptor of the file flushes its data; a read-only one needs no write permission, so a
  // file made read-only after it was written is still flushed.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return IoResultFromErrno(errno);
  struct stat st;
  int rc = fstat(fd, &st);
  if (rc == 0) rc = S_ISDIR(st.st_mode) ? fsync(fd) : fdatasync(fd);
  const int result = rc == 0 ? kIoOk : IoResultFromErrno(errno);
  close(fd);
  return result;
}

}  // namespace

void PendingSync::Note(const std::string& host_path) {
  std::lock_guard<std::mutex> lock(state_->mu);
  std::vector<std::string>& paths = state_->paths;
  if (std::find(paths.begin(), paths.end(), host_path) == paths.end()) paths.push_back(host_path);
}

void PendingSync::NoteFailure(int io_result) {
  std::lock_guard<std::mutex> lock(state_->mu);
  if (state_->failure == 0) state_->failure = io_result != 0 ? io_result : kIoAccessDenied;
}

void PendingSync::ResetFailure() {
  std::lock_guard<std::mutex> lock(state_->mu);
  state_->failure = 0;
}

int PendingSync::TakeFailure() {
  std::lock_guard<std::mutex> lock(state_->mu);
  return std::exchange(state_->failure, 0);
}

uint64_t PendingSync::Ticket() {
  std::lock_guard<std::mutex> lock(state_->mu);
  return ++state_->tickets;
}

IoResult PendingSync::FlushThrough(uint64_t ticket) {
  State& s = *state_;
  std::unique_lock<std::mutex> lock(s.mu);
  while (s.completed < ticket) {
    if (s.flushing) {
      s.flushed.wait(lock);
      continue;
    }
    // This flush serves every ticket given so far: their writes were noted before it takes the list.
    s.flushing = true;
    const uint64_t from = s.completed;
    const uint64_t to = s.tickets;
    std::vector<std::string> paths = std::move(s.paths);
    s.paths.clear();
    lock.unlock();
    int result = kIoOk;
    std::vector<std::string> failed;
    for (const std::string& path : paths) {
      const int r = SyncPath(path);
      if (r == kIoOk) continue;
      if (r != kIoFileNotFound && r != kIoPathNotFound) failed.push_back(path);
      if (result == kIoOk) result = r;
    }
    lock.lock();
    for (std::string& path : failed) {
      if (std::find(s.paths.begin(), s.paths.end(), path) == s.paths.end()) s.paths.push_back(std::move(path));
    }
    s.ended.push_back(EndedFlush{from, to, result, to - from});
    if (s.ended.size() > kEndedFlushesKept) s.ended.pop_front();
    s.completed = to;
    s.flushing = false;
    s.flushed.notify_all();
  }
  for (auto f = s.ended.begin(); f != s.ended.end(); ++f) {
    if (ticket <= f->from || f->to < ticket) continue;
    const int result = f->result;
    if (--f->unanswered == 0) s.ended.erase(f);
    return result;
  }
  // Answered before or dropped: nothing says this ticket's writes reached the disk.
  return IoResultFromErrno(EIO);
}

IoResult PendingSync::Flush() {
  const int failure = TakeFailure();
  const int result = FlushThrough(Ticket());
  return failure != 0 ? failure : result;
}

bool PendingSync::empty() const {
  std::lock_guard<std::mutex> lock(state_->mu);
  return state_->paths.empty() && state_->failure == 0;
}

}  // namespace duri
