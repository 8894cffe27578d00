#include "settings/local_settings.h"

#include <cstring>

#include "store/shared_file.h"

namespace duri {

void LocalSettings::Clear() {
  alarm_printer = 0;
  unread1 = 0;
  unread2 = 0;
  sms_port.Clear();
}

void LocalSettings::Encode(uint8_t* dst) const {
  dst[kAlarmPrinterOffset] = alarm_printer;
  dst[kUnread1Offset] = unread1;
  dst[kUnread2Offset] = unread2;
  std::memcpy(dst + kReservedOffset, reserved.data(), kReservedSize);
  sms_port.Encode(dst + kSmsPortOffset);
}

void LocalSettings::Decode(const uint8_t* src) {
  alarm_printer = src[kAlarmPrinterOffset];
  unread1 = src[kUnread1Offset];
  unread2 = src[kUnread2Offset];
  std::memcpy(reserved.data(), src + kReservedOffset, kReservedSize);
  sms_port.Decode(src + kSmsPortOffset);
}

void LoadLocalSettings(DataDir& dir, LocalSettings& settings) {
  SharedFile file;
  if (OpenShared(dir, file, kLocalSettingsFile, LocalSettings::kSize) != kIoOk ||
      file.Size() != LocalSettings::kSize) {
    CloseShared(dir, file);
    settings.Clear();
    return;
  }
  uint8_t record[LocalSettings::kSize];
  int r = file.ReadRecord(0, record);
  CloseShared(dir, file);
  if (r == kIoOk) {
    settings.Decode(record);
  } else {
    settings.Clear();
  }
}

int SaveLocalSettings(DataDir& dir, const LocalSettings& settings) {
  SharedFile file;
  int r = OpenOrCreateForUpdate(dir, file, kLocalSettingsFile, LocalSettings::kSize);
  if (r != kIoOk) {
    CloseShared(dir, file);
    return r;
  }
  uint8_t record[LocalSettings::kSize];
  settings.Encode(record);
  r = file.WriteRecord(0, record);
  // A file of the wrong size reads as missing; cutting it to the one record makes this save stick.
  if (r == kIoOk && file.Size() != LocalSettings::kSize) r = file.Truncate(LocalSettings::kSize);
  CloseShared(dir, file);
  return r;
}

}  // namespace duri
