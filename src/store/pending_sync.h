// Writes that must reach stable storage before the receiver is told a message arrived. The history
// writer notes each file (and new folder) it changed, and any write that failed; the reader pass takes
// a ticket for what its message wrote and waits, off the user-interface thread, for a flush that began
// after that ticket. One flush serves every pass waiting at the time: the first waiter runs it, the
// others wait for it. A pass writes its acknowledgement only when that flush reached the disk, so on
// a failure the receiver keeps the message and sends it again.
#ifndef DURIDUVAZE_STORE_PENDING_SYNC_H_
#define DURIDUVAZE_STORE_PENDING_SYNC_H_

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "store/io_result.h"

namespace duri {

class PendingSync {
 public:
  // A host path (file or directory) whose data was written and is not yet known to be on disk.
  void Note(const std::string& host_path);
  // A write that failed: the message being taken is not safe to acknowledge. The first code is kept.
  void NoteFailure(int io_result);
  // Forgets an earlier failure: the start of a new message's intake.
  void ResetFailure();
  // The failure noted since the last reset (0 when none), forgotten.
  int TakeFailure();

  // A ticket for every write noted so far.
  uint64_t Ticket();
  // Waits until a flush that began after the ticket was taken has ended, running it when no flush is
  // under way. kIoOk when that flush brought every noted path to disk, otherwise its first result
  // number. Each ticket is answered once; a ticket answered before, or never given, is not known to
  // be stored and gets a failure. Any thread; never on the user-interface thread, which keeps noting
  // writes meanwhile.
  IoResult FlushThrough(uint64_t ticket);

  // A noted failure, else the flush of everything noted so far (FlushThrough of a new ticket). A path
  // that could not be flushed is noted again for the next flush.
  IoResult Flush();

  bool empty() const;

 private:
  // A flush and the tickets it served, (from, to], kept until each of them has been answered: a
  // waiter must learn its own flush's result however many flushes ended since.
  struct EndedFlush {
    uint64_t from = 0;
    uint64_t to = 0;
    int result = 0;
    uint64_t unanswered = 0;
  };
  struct State {
    mutable std::mutex mu;
    std::condition_variable flushed;
    std::vector<std::string> paths;
    int failure = 0;
    uint64_t tickets = 0;    // the last ticket given
    uint64_t completed = 0;  // every ticket up to this one was served by a flush that has ended
    bool flushing = false;
    std::deque<EndedFlush> ended;
  };
  // Shared by copies of the data directory, like its caches.
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_PENDING_SYNC_H_
