// Printing through the CUPS scheduler: the destination list and one text job per page.
#ifndef DURIDUVAZE_PLATFORM_CUPS_PRINTER_H_
#define DURIDUVAZE_PLATFORM_CUPS_PRINTER_H_

#include <string>
#include <vector>

#include "platform/printer.h"

namespace duri {

class CupsPrinter : public Printer {
 public:
  // server: the scheduler to use, a host name or a local socket path; empty for the system's default
  // (CUPS_SERVER, client.conf, the local scheduler).
  explicit CupsPrinter(std::string server = "") : server_(std::move(server)) {}

  std::vector<std::string> PrinterNames() override;
  // The page goes as text/plain at 17 characters per inch and 10 lines per inch with narrow top and
  // bottom margins: about Courier 7 points, so that 85 lines fit on one sheet.
  bool PrintPage(const std::string& printer, const std::string& title, const std::string& text,
                 std::string* error) override;

 private:
  std::string server_;
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_CUPS_PRINTER_H_
