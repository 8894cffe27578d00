#include "store/error_log.h"

#include <string>

#include "store/dates.h"
#include "store/shared_file.h"

namespace duri {
namespace {

constexpr std::string_view kErrorLog = "\\ORBA\\error.log";

}  // namespace

int LogError(DataDir& dir, std::string_view text) {
  const LocalDateTime now = dir.clock().Now();
  std::string line = DateText(now.date) + " " + TimeText(now.time) + " ";
  for (char c : text) line += static_cast<unsigned char>(c) < 32 ? '*' : c;
  return AppendTextLine(dir, kErrorLog, line);
}

int LogReceiverReport(DataDir& dir, std::string_view report) { return AppendTextLine(dir, kErrorLog, report); }

}  // namespace duri
