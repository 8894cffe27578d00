#include "store/io_result.h"

#include <cerrno>

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

}  // namespace duri
