// This computer's own settings, "C:\TorvaPort.Dta": the alarm-printer choice and the SMS modem port.
// Exactly one 14-byte record; any other size counts as no file.
#ifndef DURIDUVAZE_SETTINGS_LOCAL_SETTINGS_H_
#define DURIDUVAZE_SETTINGS_LOCAL_SETTINGS_H_

#include <array>
#include <cstdint>

#include "store/data_dir.h"
#include "store/short_string.h"

namespace duri {

struct LocalSettings {
  static constexpr int kSize = 14;
  // Offsets in the record.
  static constexpr int kAlarmPrinterOffset = 0;
  static constexpr int kUnread1Offset = 1;
  static constexpr int kUnread2Offset = 2;
  static constexpr int kReservedOffset = 3;  // 5 bytes, carried
  static constexpr int kReservedSize = 5;
  static constexpr int kSmsPortOffset = 8;  // string[5]

  // 0 = no alarm printing; n = the n-th printer of the system's list.
  uint8_t alarm_printer = 0;
  uint8_t unread1 = 0;
  uint8_t unread2 = 0;
  std::array<uint8_t, kReservedSize> reserved{};
  ShortString<5> sms_port;

  // The defaults of a missing file: bytes 0, 1, 2 and the SMS port. The reserved bytes are left alone.
  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

inline constexpr const char* kLocalSettingsFile = "C:\\TorvaPort.Dta";

// Reads "C:\TorvaPort.Dta"; a file that cannot be opened or does not hold exactly one record gives the
// defaults.
void LoadLocalSettings(DataDir& dir, LocalSettings& settings);
// Writes the one record, creating the file when missing and cutting a longer file to the one record.
// The result number of the write (0 = saved).
int SaveLocalSettings(DataDir& dir, const LocalSettings& settings);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_LOCAL_SETTINGS_H_
