#include "store/io_result.h"

#include <cerrno>
#include <cstring>

namespace duri {

int IoResultFromErrno(int err) {
  switch (err) {
    case 0:
      return kIoOk;
    case ENOENT:
      return kIoFileNotFound;
    case ENOTDIR:
      return kIoPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kIoAccessDenied;
    case EAGAIN:
      return kIoSharingViolation;
    case ENOSPC:
    case EDQUOT:
      return kIoDiskFull;
    case EROFS:
      return kIoWriteProtect;
    default:
      return kIoOtherBase + err;
  }
}

std::string IoResultText(int result) {
  std::string words;
  switch (result) {
    case kIoOk: words = "done"; break;
    case kIoFileNotFound: words = "file not found"; break;
    case kIoPathNotFound: words = "path not found"; break;
    case kIoAccessDenied: words = "access denied"; break;
    case kIoSharingViolation: words = "sharing violation: held by another program"; break;
    case kIoDiskFull: words = "disk full"; break;
    case kIoWriteProtect: words = "read-only file system"; break;
    case kIoReadPastEnd: words = "read past the end of the file"; break;
    default: words = result > kIoOtherBase ? std::strerror(result - kIoOtherBase) : "unknown failure";
  }
  return "result " + std::to_string(result) + " (" + words + ")";
}

}  // namespace duri
