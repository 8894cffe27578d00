#include "accounts/users.h"

#include <set>
#include <vector>

#include "accounts/account_files.h"
#include "accounts/auto_test.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

// Event types the user check treats as outside schedule.
constexpr uint8_t kOpeningOutside = 12;
constexpr uint8_t kClosingOutside = 13;
constexpr uint8_t kRoundMissed = 30;
constexpr uint8_t kOpening = 4;
constexpr size_t kFullCodeLength = 7;
constexpr size_t kCodePrefixLength = 4;

bool EntryMatches(const UserEntry& entry, const std::string& user_number) {
  std::string codes = entry.in_out_codes.str();
  TrimChar(codes, ' ', TrimMode::kAll);
  std::string first = codes, second;
  size_t comma = codes.find(',');
  if (comma != std::string::npos) {
    first = codes.substr(0, comma);
    second = codes.substr(comma + 1);
  }
  return CompareAccounts(user_number, first) == 2 || CompareAccounts(user_number, second) == 2;
}

void Append(std::string& description, std::string_view text) {
  description += ' ';
  description += text;
  if (description.size() > kDescriptionCapacity) description.resize(kDescriptionCapacity);
}

}  // namespace

std::string UserNumberOf(std::string_view event_code) {
  if (event_code.size() == kFullCodeLength) event_code.remove_prefix(kCodePrefixLength);
  return std::string(event_code);
}

bool FindUser(DataDir& dir, const ClientRecord& client, std::string_view event_code, UserEntry* user) {
  const std::string number = UserNumberOf(event_code);
  SharedFile file;
  if (OpenShared(dir, file, kUserFile, UserRecord::kSize) != kIoOk) {
    CloseShared(dir, file);
    return false;
  }
  const int32_t count = file.RecordCount();
  std::vector<uint8_t> buf(UserRecord::kSize);
  std::set<int32_t> seen;
  bool found = false;
  for (int32_t n = client.current().user_table; n >= 0 && n < count && !found; ) {
    if (!seen.insert(n).second) break;  // a chain that loops back ends at the record seen twice
    if (file.ReadRecord(n, buf) != kIoOk) break;
    UserRecord record;
    record.Decode(buf.data());
    for (const UserEntry& entry : record.entries) {
      if (EntryMatches(entry, number)) {
        if (user) *user = entry;
        found = true;
        break;
      }
    }
    n = record.next;
  }
  CloseShared(dir, file);
  return found;
}

bool UnauthorizedOpening(const UserEntry& user, const DateRecord& today, int day_of_week) {
  const DateRecord& b = user.begin_date;
  const DateRecord& e = user.end_date;
  const bool day_allowed = user.authorized_days[static_cast<size_t>(day_of_week) % 7] != 0;
  if (!IsDateSet(b) && !IsDateSet(e) && day_allowed) return false;
  // The dates mark a period in which the user may not open; begin after end wraps round the year.
  if (CompareDates(b, e) <= 0 && CompareDates(today, b) >= 0 && CompareDates(today, e) <= 0) return true;
  if (CompareDates(b, e) > 0 && (CompareDates(today, b) > 0 || CompareDates(today, e) < 0)) return true;
  if (!day_allowed) return true;
  if (!IsDateSet(b) && CompareDates(today, e) <= 0) return true;
  if (IsDateSet(e)) return false;
  return CompareDates(today, b) >= 0;
}

void CheckUser(DataDir& dir, const ClientRecord& client, std::string_view event_code, std::string& description,
               uint8_t& event_type, int day_of_week, const UserCheckTexts& texts) {
  UserEntry user;
  if (FindUser(dir, client, event_code, &user)) {
    Append(description, texts.by + " " + user.name.str());
    if (user.hot_user != 0) {
      Append(description, texts.hot_user);
      event_type = (event_type == kOpening || event_type == kOpeningOutside) ? kEventHotUserOpening
                                                                             : kEventHotUserOther;
    } else if (event_type == kOpening && UnauthorizedOpening(user, dir.clock().Today(), day_of_week)) {
      Append(description, texts.unauthorized);
      event_type = kEventUnauthorizedOpening;
    }
  }
  if (event_type == kOpeningOutside || event_type == kClosingOutside || event_type == kRoundMissed)
    Append(description, texts.unscheduled);
}

}  // namespace duri
