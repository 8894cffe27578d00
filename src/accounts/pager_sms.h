// Passing an event on to a pager or as an SMS: the notification entry is read from "\ORBA\PAGER.DAT"
// and one of two companion programs in the data directory is started with the message as its
// arguments. The station talks to no pager service or modem itself and reads nothing back.
//
//   <root>/ORBA/TVPager.Kld  P  T            P the entry number, T the text with blanks as "_"
//   <root>/ORBA/sendsms.kld  S  N  "A B"     S the SMS modem port, N prefix and number, A B the message
#ifndef DURIDUVAZE_ACCOUNTS_PAGER_SMS_H_
#define DURIDUVAZE_ACCOUNTS_PAGER_SMS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounts/account_files.h"
#include "accounts/notify_entry.h"
#include "platform/launcher.h"
#include "store/data_dir.h"

namespace duri {


inline constexpr std::string_view kPagerProgram = "\\ORBA\\TVPager.Kld";
inline constexpr std::string_view kSmsProgram = "\\ORBA\\sendsms.kld";
// Prefix and number together are cut to this many characters.
inline constexpr size_t kSmsNumberLimit = 80;

// Reads the entry at byte position p (the entry number is the file offset, not an index). The kind,
// destinations and options are cleared first. False for a negative p; false with p set to -1 when
// the file is missing or p lies past its end. A short read leaves the cleared fields and is true.
bool ReadNotifyEntry(DataDir& dir, int32_t& p, NotifyEntry& entry);

// The argument vectors of the companion programs; nullopt when nothing is to be started (a negative
// entry number; an empty message, modem port or telephone number) or the program's path is refused.
std::optional<std::vector<std::string>> PagerArguments(const DataDir& dir, int32_t p, std::string_view text);
std::optional<std::vector<std::string>> SmsArguments(const DataDir& dir, std::string_view account,
                                                     std::string_view text, const NotifyEntry& entry,
                                                     std::string_view sms_prefix, std::string_view sms_port);

// Start the companion programs through the launcher; not waited for. Nothing starts when the arguments
// cannot be made (no program, no entry).
void SendPager(const DataDir& dir, Launcher& launcher, int32_t p, std::string_view text);
void SendSms(const DataDir& dir, Launcher& launcher, std::string_view account, std::string_view text,
             const NotifyEntry& entry, std::string_view sms_prefix, std::string_view sms_port);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_PAGER_SMS_H_
