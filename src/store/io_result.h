// Result numbers of file operations, as the shared database's programs know them: 0 success, 2 file not
// found, 3 path not found, 5 access denied, 32 sharing violation. Other failures keep a number of
// their own so that no errno is mistaken for one of these.
#ifndef DURIDUVAZE_STORE_IO_RESULT_H_
#define DURIDUVAZE_STORE_IO_RESULT_H_

#include <stdexcept>
#include <string>

namespace duri {

constexpr int kIoOk = 0;
constexpr int kIoFileNotFound = 2;
constexpr int kIoPathNotFound = 3;
constexpr int kIoAccessDenied = 5;
constexpr int kIoSharingViolation = 32;
constexpr int kIoDiskFull = 112;
constexpr int kIoWriteProtect = 19;
// A read that found fewer bytes than a whole record (Pascal's "read beyond end of file").
constexpr int kIoReadPastEnd = 100;
constexpr int kIoOtherBase = 1000;

// The outcome of one store operation: one of the result numbers above, which last_io_result and the
// other stations' programs know. A caller that drops it gets a warning; where a failure really changes
// nothing for the caller, it says so with a cast to void.
class [[nodiscard]] IoResult {
 public:
  constexpr IoResult(int code = kIoOk) noexcept : code_(code) {}
  constexpr int code() const noexcept { return code_; }
  constexpr bool ok() const noexcept { return code_ == kIoOk; }
  // Compares and stores as its number, as callers always have.
  constexpr operator int() const noexcept { return code_; }

 private:
  int code_;
};

// errno to result number, in this one place.
int IoResultFromErrno(int err);
// "result 5 (Permission denied)": the number the other programs know and the system's own words for it.
std::string IoResultText(int result);

// Raised by the checked reads and writes of the history writers and lock creation: a failed seek, read
// or write after a successful open ends the current operation.
class IoError : public std::runtime_error {
 public:
  IoError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_IO_RESULT_H_
