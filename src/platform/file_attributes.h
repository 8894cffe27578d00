// The Windows file attributes the monitoring application's files carry. The receiver module's own
// settings file is marked archive before it is read and hidden after; Linux has neither attribute, and
// hiding by a leading dot would change the name the other stations open, so setting one changes
// nothing. Kept as one function so the marks stay visible where the original set them.
#ifndef DURIDUVAZE_PLATFORM_FILE_ATTRIBUTES_H_
#define DURIDUVAZE_PLATFORM_FILE_ATTRIBUTES_H_

#include <string_view>

namespace duri {

enum class FileAttribute { kArchive, kHidden };

// Makes attribute the file's only attribute. No effect on Linux.
inline void SetFileAttribute(std::string_view /*host_path*/, FileAttribute /*attribute*/) {}

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_FILE_ATTRIBUTES_H_
