// "\ORBA\error.log": the one place the staff look for what went wrong at any station. Every line is
// appended whole with one write, so the lines of several stations never mix.
#ifndef DURIDUVAZE_STORE_ERROR_LOG_H_
#define DURIDUVAZE_STORE_ERROR_LOG_H_

#include <string_view>

#include "store/data_dir.h"

namespace duri {

// Appends "2026/12/08 04:07:09 text": the station clock's date and time, then the text with control
// bytes shown as '*' so that one failure is one line. A log that cannot be written never stops the
// caller; the result goes to last_io_result and is returned.
int LogError(DataDir& dir, std::string_view text);

// Appends a receiver's own error report exactly as it came (the SK9000's reports carrying "#" or "!"),
// without a stamp: the report already carries the receiver's.
int LogReceiverReport(DataDir& dir, std::string_view report);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_ERROR_LOG_H_
