// Where a failure that ends a step is told: the dated error.log line the staff look for, and the
// station window (or the tool's stderr) where it is seen at once. The station provides the real one;
// a part that has only to tell a failure takes this rather than the data directory and the window.
#ifndef DURIDUVAZE_STORE_ERROR_REPORT_H_
#define DURIDUVAZE_STORE_ERROR_REPORT_H_

#include <string>

namespace duri {

class ErrorReport {
 public:
  virtual ~ErrorReport() = default;
  // One failure, one line: into the error log with the clock's date and time, and onto the window.
  virtual void Report(const std::string& text) = 0;
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_ERROR_REPORT_H_
