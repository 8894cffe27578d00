// Shared files of the data directory, opened with the sharing modes the other stations and the
// operators' application expect. Windows sharing modes are emulated with open-file-description locks
// on one sentinel byte far past any data, which NFS and SMB mounts honour:
//   64 read-only, deny none   no lock        conflicts with nothing
//   34 read-write, deny write exclusive lock conflicts with any other 34 or 66
//   66 read-write, deny none  shared lock    conflicts with a 34 holder
// A lock dies with its process, so a crashed station never leaves a file held.
#ifndef DURIDUVAZE_STORE_SHARED_FILE_H_
#define DURIDUVAZE_STORE_SHARED_FILE_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/data_dir.h"
#include "store/io_result.h"

namespace duri {

enum class ShareMode : int {
  kReadOnlyDenyNone = 64,
  kReadWriteDenyWrite = 34,
  kReadWriteDenyNone = 66,
};

// One open shared file with its record size. Closing is CloseShared; the destructor closes too so that
// an exception never leaves a descriptor (and its lock) behind.
class SharedFile {
 public:
  SharedFile() = default;
  ~SharedFile();
  SharedFile(const SharedFile&) = delete;
  SharedFile& operator=(const SharedFile&) = delete;
  SharedFile(SharedFile&& other) noexcept;
  SharedFile& operator=(SharedFile&& other) noexcept;

  bool is_open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  int record_size() const { return record_size_; }
  const std::string& path() const { return path_; }

  // Bytes in the file, or -1 when it cannot be told.
  int64_t Size() const;
  // Whole records in the file.
  int32_t RecordCount() const;

  // Unchecked access. kIoReadPastEnd when fewer bytes than asked were read, or for a negative offset
  // or record number; kIoAccessDenied when the file is not open; otherwise the errno's result number.
  // None of these touches last_io_result.
  IoResult ReadAt(int64_t offset, std::span<uint8_t> out) const;
  IoResult WriteAt(int64_t offset, std::span<const uint8_t> data);
  IoResult ReadRecord(int32_t n, std::span<uint8_t> out) const;
  IoResult WriteRecord(int32_t n, std::span<const uint8_t> data);
  IoResult Truncate(int64_t size);
  // Data to stable storage.
  IoResult Sync();

  // Checked access: any failure raises IoError and ends the current operation.
  void CheckedReadAt(int64_t offset, std::span<uint8_t> out) const;
  void CheckedWriteAt(int64_t offset, std::span<const uint8_t> data);
  void CheckedReadRecord(int32_t n, std::span<uint8_t> out) const;
  void CheckedWriteRecord(int32_t n, std::span<const uint8_t> data);

  // Used by the open functions only: Attach takes over a descriptor (closing one held before), Release
  // closes and gives the close's result (kIoOk when nothing was open).
  void Attach(int fd, int record_size, std::string path);
  IoResult Release();

 private:
  int fd_ = -1;
  int record_size_ = 1;
  std::string path_;
};

// Every open first closes what `file` held. An open that meets a sharing violation is repeated without
// bound, and one that meets access denied for ten seconds, pausing 1 ms doubling to 20 ms between tries;
// any other answer is returned at once. A name that cannot be resolved gives kIoFileNotFound; a
// missing file kIoFileNotFound, a missing folder kIoPathNotFound. The opens leave last_io_result alone
// unless said otherwise.

// Mode 64, repeated as above.
IoResult OpenShared(DataDir& dir, SharedFile& file, std::string_view name, int record_size);
// Mode 34. With retry the open is repeated as above; without it the first answer is returned.
IoResult OpenForUpdate(DataDir& dir, SharedFile& file, std::string_view name, int record_size, bool retry = true);
// Mode 34 for the files whose writer has somewhere else to turn (the stack's backlog) or that are only
// a convenience copy: sharing violations are retried as always, access denied only denied_retry_ms
// (0: one try). With create a missing file is made.
IoResult OpenForUpdateDeniedWithin(DataDir& dir, SharedFile& file, std::string_view name, int record_size,
                                   int64_t denied_retry_ms, bool create);
// Mode 66 with record size 1, on an existing file only: kIoFileNotFound otherwise, with nothing created
// and `file` left as it was. Repeated as above. The descriptor is file.fd().
IoResult OpenSharedHandle(DataDir& dir, SharedFile& file, std::string_view name);
// Creates (or empties) the file in mode 34, repeated as above. Result stored in last_io_result and returned.
IoResult CreateShared(DataDir& dir, SharedFile& file, std::string_view name, int record_size);
// Opens in mode 34, creating the file when it does not exist (the usual "open, create on 2"); the
// creating open's result is stored in last_io_result.
IoResult OpenOrCreateForUpdate(DataDir& dir, SharedFile& file, std::string_view name, int record_size);
// Closes and stores the close's result in last_io_result.
void CloseShared(DataDir& dir, SharedFile& file);

bool FileExists(DataDir& dir, std::string_view name);
bool DirectoryExists(DataDir& dir, std::string_view name);
// Creates the directory (one level); an existing directory is success.
IoResult CreateDirectory(DataDir& dir, std::string_view name);
IoResult DeleteSharedFile(DataDir& dir, std::string_view name);

// Appends one line and CR LF to a text file shared with the other programs, creating it when missing.
// The result goes to last_io_result and is returned; a failure never stops the caller.
IoResult AppendTextLine(DataDir& dir, std::string_view name, std::string_view line);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_SHARED_FILE_H_
