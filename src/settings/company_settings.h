// The central station's general settings, kept by the monitoring application in "\ORBA\CIE.DTC" and, as
// the receiver module's own copy, in "\ORBA\TVCIE.DTA". One 1925-byte record. Only the fields some part
// of this module reads are decoded; every other byte belongs to the monitoring application and is
// carried exactly as read.
#ifndef DURIDUVAZE_SETTINGS_COMPANY_SETTINGS_H_
#define DURIDUVAZE_SETTINGS_COMPANY_SETTINGS_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "store/data_dir.h"
#include "store/short_string.h"

namespace duri {

struct CompanySettings {
  static constexpr int kSize = 1925;
  // A file of exactly this size is the older, shorter layout.
  static constexpr int kOldLayoutSize = 504;

  // Offsets in the record, in file order.
  static constexpr int kCompanyNameOffset = 0;      // string[40]
  static constexpr int kStationCodeOffset = 279;    // signed 16-bit
  static constexpr int kHandleAllAutoOffset = 317;  // byte
  static constexpr int kUnread326Offset = 326;      // byte, default 1
  static constexpr int kScheduleDelayOffset = 395;  // signed 16-bit, minutes
  static constexpr int kUnread397Offset = 397;      // signed 16-bit, default 15
  static constexpr int kLinkSupervisionOffset = 399;
  static constexpr int kReportLateOpeningsOffset = 400;
  static constexpr int kRefuseSecondPendingOffset = 401;
  static constexpr int kUnread402Offset = 402;  // byte, default 10
  static constexpr int kAutoUnknownAccountsOffset = 403;
  static constexpr int kLanguageOffset = 406;
  static constexpr int kSmtpServerOffset = 407;     // string[60]
  static constexpr int kSenderAddressOffset = 468;  // string[60]
  static constexpr int kMailSubjectOffset = 529;    // string[30]
  static constexpr int kHeaderLine1Offset = 560;    // string[50]
  static constexpr int kHeaderLine2Offset = 611;    // string[50]
  static constexpr int kClosingLineOffset = 662;    // string[50]
  static constexpr int kSmtpUserOffset = 901;       // string[30], kept across loads
  static constexpr int kSmtpPasswordOffset = 932;   // string[30], kept across loads
  static constexpr int kSmsPrefixOffset = 963;      // string[20]
  static constexpr int kPagerSwitchesOffset = 984;  // 10 characters, kept across loads
  static constexpr int kPagerSwitchCount = 10;
  static constexpr int kTailOffset = 994;  // 931 bytes, zero by default

  // The language code that the monitoring application leaves when none was chosen; not a valid code.
  static constexpr uint8_t kNoLanguage = 99;
  static constexpr int16_t kNoStationCode = -1;

  ShortString<40> company_name;  // also the sender name of e-mails
  int16_t station_code = kNoStationCode;
  uint8_t handle_all_automatically = 0;
  int16_t schedule_delay_minutes = 30;  // opening and closing delay of new schedules
  uint8_t link_supervision = 1;         // 0 = off
  uint8_t report_late_openings = 0;
  uint8_t refuse_second_pending = 0;     // refuse a second pending event of the same account
  uint8_t auto_unknown_accounts = 0;     // handle events of unknown accounts automatically
  uint8_t language = kNoLanguage;
  ShortString<60> smtp_server;
  ShortString<60> sender_address;
  ShortString<30> mail_subject;
  ShortString<50> header_line1;
  ShortString<50> header_line2;
  ShortString<50> closing_line;
  ShortString<30> smtp_user;
  ShortString<30> smtp_password;
  ShortString<20> sms_prefix;
  // One character per priority: '1' sends events of that priority to the account's pager.
  std::array<char, kPagerSwitchCount> pager_switches{};

  // Every byte as last read (or defaulted); the decoded fields above are written over it by Encode.
  std::array<uint8_t, kSize> image{};

  CompanySettings() { ResetToDefaults(); }

  // The defaults set before every load. The SMTP user name and password, the pager switches and the
  // bytes no field describes keep what they hold.
  void ResetToDefaults();
  // All of the record from the 1925 bytes at src.
  void Decode(const uint8_t* src);
  // The record's 1925 bytes, decoded fields over the carried image.
  void Encode(uint8_t* dst) const;
  // Takes over the fields of a 504-byte record of the older layout; the other fields are left alone.
  void DecodeOldLayout(const uint8_t* src);

  // The pager switch character at 0..9, or '\0' outside.
  char PagerSwitch(int index) const;
};

// Resets the record to its defaults, then reads the data drive's file `name` ("\ORBA\CIE.DTC" or
// "\ORBA\TVCIE.DTA"). False when the file does not exist (the defaults stand) or cannot be opened
// (the values held before the call are kept, so that a moment's refusal never changes the language or
// switches off the supervision). A 504-byte file is the older layout; any other size fills the record
// from its start with the bytes there are, up to 1925.
bool LoadCompanySettings(DataDir& dir, CompanySettings& settings, std::string_view name);

inline constexpr std::string_view kCompanyFile = "\\ORBA\\CIE.DTC";
inline constexpr std::string_view kReceiverCompanyFile = "\\ORBA\\TVCIE.DTA";

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_COMPANY_SETTINGS_H_
