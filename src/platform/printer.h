// The system's printers, as the alarm printer choice lists them and as the print batch uses them.
// The station uses CUPS (CupsPrinter); tests may record pages instead.
#ifndef DURIDUVAZE_PLATFORM_PRINTER_H_
#define DURIDUVAZE_PLATFORM_PRINTER_H_

#include <string>
#include <vector>

namespace duri {

class Printer {
 public:
  virtual ~Printer() = default;
  // The installed printers, in the order of the window's printer list (after "Printer(None)").
  virtual std::vector<std::string> PrinterNames() = 0;
  // Prints text (lines ending CR LF) on the named printer as one job in a small fixed-pitch font.
  // False with a reason in *error when the job was not accepted.
  virtual bool PrintPage(const std::string& printer, const std::string& title, const std::string& text,
                         std::string* error) = 0;
};

// No printers installed: every page is refused.
class NullPrinter : public Printer {
 public:
  std::vector<std::string> PrinterNames() override { return {}; }
  bool PrintPage(const std::string&, const std::string&, const std::string&, std::string* error) override {
    if (error) *error = "no printer";
    return false;
  }
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_PRINTER_H_
