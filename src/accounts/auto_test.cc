#include "accounts/auto_test.h"

#include "accounts/account_files.h"
#include "accounts/auto_test_record.h"
#include "store/dates.h"
#include "store/shared_file.h"

namespace duri {

void StampAutoTest(DataDir& dir, int32_t n, std::string& description) {
  if (n < 0) {
    description += " *** AUTO TEST POINTER = " + std::to_string(n);
    if (description.size() > kDescriptionCapacity) description.resize(kDescriptionCapacity);
    return;
  }
  const LocalDateTime now = dir.clock().Now();
  SharedFile file;
  if (OpenForUpdate(dir, file, kAutoTestFile, AutoTestRecord::kSize) == kIoOk && n < file.RecordCount()) {
    uint8_t buf[AutoTestRecord::kSize];
    if (file.ReadRecord(n, buf) == kIoOk) {
      AutoTestRecord record;
      record.Decode(buf);
      record.last_test = Pack(now.date, now.time);
      record.Encode(buf);
      // A failed write shows as a late test at the next check, never as a missed alarm.
      (void)file.WriteRecord(n, buf);
    }
  }
  CloseShared(dir, file);
}

}  // namespace duri
