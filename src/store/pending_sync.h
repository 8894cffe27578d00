// Writes that must reach stable storage before the receiver is told a message arrived. The history
// writer notes each file (and new folder) it changed, and any write that failed; the reader pass flushes
// them just before it writes the acknowledgement, and writes none when the flush reports a failure, so
// the receiver keeps the message and sends it again.
#ifndef DURIDUVAZE_STORE_PENDING_SYNC_H_
#define DURIDUVAZE_STORE_PENDING_SYNC_H_

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
  void ResetFailure() { failure_ = 0; }

  // fdatasync of every noted path (fsync for directories). kIoOk when all of them reached the disk and
  // no failure was noted since the last reset; otherwise the first result number. The list is emptied
  // either way; a failed path is noted again for the next flush.
  IoResult Flush();

  bool empty() const { return paths_.empty() && failure_ == 0; }

 private:
  std::vector<std::string> paths_;
  int failure_ = 0;
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_PENDING_SYNC_H_
