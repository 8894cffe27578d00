#include "settings/company_settings.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "store/coding.h"
#include "store/shared_file.h"

namespace duri {
namespace {

// Offsets of the older 504-byte layout.
constexpr int kOldCompanyNameOffset = 0;
constexpr int kOldStationCodeOffset = 162;
constexpr int kOldHandleAllAutoOffset = 196;
constexpr int kOldSmtpServerOffset = 198;
constexpr int kOldSenderAddressOffset = 239;
constexpr int kOldLanguageOffset = 416;
constexpr int kOldAutoUnknownAccountsOffset = 417;
constexpr int kOldRefuseSecondPendingOffset = 426;
constexpr int kOldScheduleDelayOffset = 492;
constexpr int kOldLinkSupervisionOffset = 496;
constexpr int kOldReportLateOpeningsOffset = 497;

// The unread strings whose default is empty: offset and capacity.
struct UnreadText {
  int offset;
  int capacity;
};
constexpr UnreadText kUnreadTexts[] = {
    {41, 40}, {82, 30}, {113, 30}, {144, 30}, {175, 40}, {216, 20}, {237, 20}, {258, 20},
    {713, 30}, {744, 50}, {795, 50}, {846, 54},
};

// A text's length byte and characters; the bytes past the length keep what the image holds.
template <int N>
void EncodeText(const ShortString<N>& text, uint8_t* dst) {
  dst[0] = static_cast<uint8_t>(text.length());
  std::memcpy(dst + 1, text.data(), static_cast<size_t>(text.length()));
}

}  // namespace

void CompanySettings::ResetToDefaults() {
  company_name = "Torvane";
  station_code = kNoStationCode;
  handle_all_automatically = 0;
  schedule_delay_minutes = 30;
  link_supervision = 1;
  report_late_openings = 0;
  refuse_second_pending = 0;
  auto_unknown_accounts = 0;
  language = kNoLanguage;
  smtp_server.Clear();
  sender_address.Clear();
  mail_subject.Clear();
  header_line1.Clear();
  header_line2.Clear();
  closing_line.Clear();
  sms_prefix.Clear();

  for (const UnreadText& t : kUnreadTexts) {
    std::memset(image.data() + t.offset, 0, static_cast<size_t>(t.capacity) + 1);
  }
  image[kUnread326Offset] = 1;
  EncodeSigned16(image.data() + kUnread397Offset, 15);
  image[kUnread402Offset] = 10;
  std::fill(image.begin() + kTailOffset, image.end(), uint8_t{0});
}

void CompanySettings::Decode(const uint8_t* src) {
  std::memcpy(image.data(), src, kSize);
  company_name.Decode(src + kCompanyNameOffset);
  station_code = DecodeSigned16(src + kStationCodeOffset);
  handle_all_automatically = src[kHandleAllAutoOffset];
  schedule_delay_minutes = DecodeSigned16(src + kScheduleDelayOffset);
  link_supervision = src[kLinkSupervisionOffset];
  report_late_openings = src[kReportLateOpeningsOffset];
  refuse_second_pending = src[kRefuseSecondPendingOffset];
  auto_unknown_accounts = src[kAutoUnknownAccountsOffset];
  language = src[kLanguageOffset];
  smtp_server.Decode(src + kSmtpServerOffset);
  sender_address.Decode(src + kSenderAddressOffset);
  mail_subject.Decode(src + kMailSubjectOffset);
  header_line1.Decode(src + kHeaderLine1Offset);
  header_line2.Decode(src + kHeaderLine2Offset);
  closing_line.Decode(src + kClosingLineOffset);
  smtp_user.Decode(src + kSmtpUserOffset);
  smtp_password.Decode(src + kSmtpPasswordOffset);
  sms_prefix.Decode(src + kSmsPrefixOffset);
  std::memcpy(pager_switches.data(), src + kPagerSwitchesOffset, kPagerSwitchCount);
}

void CompanySettings::Encode(uint8_t* dst) const {
  std::memcpy(dst, image.data(), kSize);
  EncodeText(company_name, dst + kCompanyNameOffset);
  EncodeSigned16(dst + kStationCodeOffset, station_code);
  dst[kHandleAllAutoOffset] = handle_all_automatically;
  EncodeSigned16(dst + kScheduleDelayOffset, schedule_delay_minutes);
  dst[kLinkSupervisionOffset] = link_supervision;
  dst[kReportLateOpeningsOffset] = report_late_openings;
  dst[kRefuseSecondPendingOffset] = refuse_second_pending;
  dst[kAutoUnknownAccountsOffset] = auto_unknown_accounts;
  dst[kLanguageOffset] = language;
  EncodeText(smtp_server, dst + kSmtpServerOffset);
  EncodeText(sender_address, dst + kSenderAddressOffset);
  EncodeText(mail_subject, dst + kMailSubjectOffset);
  EncodeText(header_line1, dst + kHeaderLine1Offset);
  EncodeText(header_line2, dst + kHeaderLine2Offset);
  EncodeText(closing_line, dst + kClosingLineOffset);
  EncodeText(smtp_user, dst + kSmtpUserOffset);
  EncodeText(smtp_password, dst + kSmtpPasswordOffset);
  EncodeText(sms_prefix, dst + kSmsPrefixOffset);
  std::memcpy(dst + kPagerSwitchesOffset, pager_switches.data(), kPagerSwitchCount);
}

void CompanySettings::DecodeOldLayout(const uint8_t* src) {
  // Every old text lies far enough from the end of the 504 bytes for the new capacity to be read.
  company_name.Decode(src + kOldCompanyNameOffset);
  station_code = DecodeSigned16(src + kOldStationCodeOffset);
  handle_all_automatically = src[kOldHandleAllAutoOffset];
  smtp_server.Decode(src + kOldSmtpServerOffset);
  sender_address.Decode(src + kOldSenderAddressOffset);
  language = src[kOldLanguageOffset];
  auto_unknown_accounts = src[kOldAutoUnknownAccountsOffset];
  refuse_second_pending = src[kOldRefuseSecondPendingOffset];
  schedule_delay_minutes = DecodeSigned16(src + kOldScheduleDelayOffset);
  link_supervision = src[kOldLinkSupervisionOffset];
  report_late_openings = src[kOldReportLateOpeningsOffset];
}

char CompanySettings::PagerSwitch(int index) const {
  if (index < 0 || index >= kPagerSwitchCount) return '\0';
  return pager_switches[static_cast<size_t>(index)];
}

bool LoadCompanySettings(DataDir& dir, CompanySettings& settings, std::string_view name) {
  CompanySettings before = settings;
  settings.ResetToDefaults();
  if (!FileExists(dir, name)) return false;

  SharedFile file;
  // Settings files are opened directly, read-write deny-write, without the shared-file retry.
  if (OpenForUpdate(dir, file, name, 1, /*retry=*/false) != kIoOk) {
    CloseShared(dir, file);
    settings = before;
    return false;
  }
  std::vector<uint8_t> bytes(CompanySettings::kSize);
  int64_t size = file.Size();
  size_t count = size < 0 ? 0 : static_cast<size_t>(std::min<int64_t>(size, CompanySettings::kSize));
  if (count > 0 && file.ReadAt(0, std::span<uint8_t>(bytes.data(), count)) != kIoOk) count = 0;
  CloseShared(dir, file);

  if (count == static_cast<size_t>(CompanySettings::kOldLayoutSize)) {
    settings.DecodeOldLayout(bytes.data());
    return true;
  }
  // A shorter file fills only its own length: the rest of the record keeps the defaults.
  std::array<uint8_t, CompanySettings::kSize> record;
  settings.Encode(record.data());
  std::memcpy(record.data(), bytes.data(), count);
  settings.Decode(record.data());
  return true;
}

}  // namespace duri
