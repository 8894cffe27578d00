// Replacing a set of data files as one: either every file gets its new contents or none changes. The
// loader uses it so that an index never lists the accounts of a file it was not written with.
//
// Each new file is written whole under a temporary name beside its target and flushed to disk; only
// when all are written are the old files kept under a second name (a hard link) and the new ones
// renamed over them. A rename that fails puts the files already replaced back. Other programs that
// hold an old file open keep reading the old contents; programs must not write these files while the
// set is replaced.
#ifndef DURIDUVAZE_STORE_FILE_REPLACE_H_
#define DURIDUVAZE_STORE_FILE_REPLACE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/data_dir.h"

namespace duri {

struct FileImage {
  std::string_view name;  // DOS-style path, "\ORBA\CLIENT.MDC"
  std::vector<uint8_t> bytes;
};

// True when every file was replaced. Otherwise no file changed, no temporary file is left, and *error
// names the file, the step and the system's words for the failure.
bool ReplaceFiles(DataDir& dir, const std::vector<FileImage>& images, std::string* error);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_FILE_REPLACE_H_
