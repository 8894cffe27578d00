// A Printer that keeps the pages it is given, for tests; it can be told to refuse them.
#ifndef DURIDUVAZE_TESTS_SUPPORT_RECORDING_PRINTER_H_
#define DURIDUVAZE_TESTS_SUPPORT_RECORDING_PRINTER_H_

#include <string>
#include <vector>

#include "platform/printer.h"

namespace duri::testing {

class RecordingPrinter : public Printer {
 public:
  struct Page {
    std::string printer;
    std::string text;
  };

  std::vector<std::string> PrinterNames() override { return names; }
  bool PrintPage(const std::string& printer, const std::string&, const std::string& text,
                 std::string* error) override {
    if (refuse) {
      if (error) *error = "out of paper";
      return false;
    }
    pages.push_back({printer, text});
    return true;
  }

  std::vector<std::string> names{"Office", "Alarm"};
  bool refuse = false;
  std::vector<Page> pages;
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_RECORDING_PRINTER_H_
