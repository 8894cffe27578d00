// The resolution half: suspensions, the not-found rules and applying the found entry.
#include "events/code_resolution.h"

#include <vector>

#include "accounts/armed_status.h"
#include "accounts/auto_test.h"
#include "accounts/client_files.h"
#include "accounts/code_pattern.h"
#include "accounts/guard_tour.h"
#include "accounts/schedule.h"
#include "accounts/users.h"
#include "settings/language_entries.h"
#include "events/event_context.h"
#include "store/error_log.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

constexpr size_t kDescriptionMax = 100;
constexpr size_t kCodeColumnWidth = 10;
constexpr int kResetCodeLength = 7;
// The monitoring application may hold the marker open for a moment; past this many tries the marker
// is left and the refusal logged rather than holding up the intake.
constexpr int kMarkerDeleteTries = 50;
constexpr int kMarkerDeletePauseMs = 20;

void SetDescription(EventRecord& event, std::string text) {
  if (text.size() > kDescriptionMax) text.resize(kDescriptionMax);
  event.description = text;
}

// PrefixCode on the event's description.
void PrefixDescription(std::string_view code, EventRecord& event) {
  std::string text = event.description.str();
  PrefixCode(code, text);
  SetDescription(event, text);
}

// The code pattern of a suspension file, or nullopt when there is no valid one. A file of another size
// than 21 bytes is deleted.
std::optional<std::string> ReadSuspension(DataDir& dir, const std::string& name) {
  if (!IsSafeFileComponent(name)) return std::nullopt;
  const std::string path = "\\ORBA\\" + name;
  SharedFile file;
  if (OpenShared(dir, file, path, 1) != kIoOk) return std::nullopt;
  if (file.Size() != kSuspensionSize) {
    CloseShared(dir, file);
    // A marker that cannot be deleted is refused again at the next look.
    (void)DeleteSharedFile(dir, path);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(kSuspensionSize);
  if (file.ReadAt(0, bytes) != kIoOk) return std::nullopt;
  ShortString<20> pattern;
  pattern.Assign(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 1,
                                  std::min<size_t>(bytes[0], kSuspensionSize - 1)));
  return pattern.str();
}

// Steps 1 to 3 of the suspension check. True when the event was suspended (resolution ends).
bool ApplySuspensions(EventContext& context, ClientRecord& client, int32_t client_rec_no,
                      const std::optional<CodeEntry>& found, std::string& code, EventRecord& event) {
  const LanguageTable& texts = context.language;
  if (ClientInactiveFlag(context.data, client_rec_no) != 0) {
    std::string text = event.description.str();
    PadLeft(' ', text, kDescriptionMax, kCodeColumnWidth);
    text += "[" + client.account.str() + "  " + code + "] " + texts.Entry(kEntryInactiveAccountCode);
    SetDescription(event, text);
    event.event_type = kCodeTypeInactiveAccount;
    client.account.Clear();
    code.clear();
    return true;
  }
  const std::string account = client.account.str();
  std::optional<std::string> area_pattern = ReadSuspension(context.data, account + ".Z" + std::to_string(event.area));
  std::optional<std::string> account_pattern = ReadSuspension(context.data, account + ".Z0");
  if (!area_pattern && !account_pattern) return false;
  const std::string area_codes = area_pattern.value_or("");
  const std::string account_codes = account_pattern.value_or("");
  if (area_codes.empty() && account_codes.empty()) {
    SetDescription(event, texts.Entry(kEntryTest) + " (" + (found ? found->description.str() : "") + ")");
    PrefixDescription(code, event);
    event.event_type = kCodeTypeAreaOnTest;
    code.clear();
    return true;
  }
  if (MatchCodePattern(!area_codes.empty() ? area_codes : account_codes, code)) {
    SetDescription(event, texts.Entry(kEntryInactiveAccountCode));
    PrefixDescription(code, event);
    event.event_type = kCodeTypeInactiveCode;
    code.clear();
    return true;
  }
  return false;
}

// Removes the monitoring application's marker of an area at its closing; a missing file is no error.
void DeleteAreaMarker(DataDir& dir, const std::string& account, int area) {
  const std::string name = account + ".R" + std::to_string(area);
  if (!IsSafeFileComponent(name)) return;
  for (int i = 0; i < kMarkerDeleteTries; ++i) {
    if (DeleteSharedFile(dir, "\\ORBA\\" + name) != kIoAccessDenied) return;
    dir.clock().SleepMs(kMarkerDeletePauseMs);
  }
  LogError(dir, "Cannot delete \\ORBA\\" + name + ": access denied");
}

void CheckEventUser(EventContext& context, const ClientRecord& client, const std::string& code, int day_of_week,
                    EventRecord& event) {
  const LanguageTable& language = context.language;
  UserCheckTexts texts;
  texts.by = language.Entry(kEntryBy);
  texts.hot_user = language.Entry(kEntryHotUser);
  texts.unauthorized = language.Entry(kEntryUnauthorized);
  texts.unscheduled = language.Entry(kEntryUnscheduled);
  std::string description = event.description.str();
  CheckUser(context.data, client, code, description, event.event_type, day_of_week, texts);
  SetDescription(event, description);
}

// Step 4 of the entry: the bookkeeping of the event type, then the user check. Returns the day of week
// the user check is to use.
void TypeBookkeeping(EventContext& context, ClientRecord& client, AreaSchedule& schedule, const std::string& code,
                     EventRecord& event) {
  int day_of_week = context.clock.Today().day_of_week;
  const uint8_t type = event.event_type;
  const bool active = ScheduleActive(schedule.record);
  // The schedule goes back to the record it was read from; a cleared one (no record) is never written.
  if (type == kCodeTypeOpening && active && schedule.rec_no >= 0) {
    CheckSchedule(context.data, schedule.rec_no, schedule.record, true, day_of_week, event.event_type);
  } else if (type == kCodeTypeClosing && active && schedule.rec_no >= 0) {
    CheckSchedule(context.data, schedule.rec_no, schedule.record, false, day_of_week, event.event_type);
  } else if (type == kCodeTypeAutoTest) {
    std::string description = event.description.str();
    StampAutoTest(context.data, client.auto_test, description);
    SetDescription(event, description);
  } else if (type == kCodeTypeGuardRound) {
    CheckGuardRound(context.data, client.guard_tour, event.event_type);
  }
  switch (event.event_type) {
    case kCodeTypeGuardRound: case kCodeTypeOpening: case kCodeTypeClosing: case kCodeTypeOpeningOutside:
    case kCodeTypeClosingOutside: case kCodeTypeRoundMissing:
      CheckEventUser(context, client, code, day_of_week, event);
      break;
    default:
      break;
  }
}

void ApplyEntry(EventContext& context, ClientRecord& client, AreaSchedule& schedule, const CodeEntry& entry,
                const std::string& code, EventRecord& event) {
  SetDescription(event, entry.description.str());
  event.event_type = entry.type;
  event.priority = entry.priority;
  event.code_option = entry.code_option;
  event.code_value = entry.code_value;
  event.code_level = entry.code_level;
  if (entry.notify != 0 || context.company_settings.PagerSwitch(entry.priority) == '1') {
    event.notify_rec_no = client.notify_entry;
  }
  if (entry.time_begin == entry.time_end) {
    event.action_list = entry.action1.view();
  } else {
    const LocalDateTime now = context.clock.Now();
    const bool weekend = now.date.day_of_week == 0 || now.date.day_of_week == 6;
    const bool window = InTimeWindow(entry.time_begin, entry.time_end, TimeToHHMM(now.time));
    event.action_list = (window || weekend) ? entry.action2.view() : entry.action1.view();
  }
  TypeBookkeeping(context, client, schedule, code, event);
  PrefixDescription(code, event);
  const std::string account = client.account.str();
  switch (event.event_type) {
    case kCodeTypeOpening: case kCodeTypeOpeningOutside: case kCodeTypeHotUserOpening:
    case kCodeTypeUnauthorizedOpening:
      RecordOpening(context.data, account, event.area, event.date, event.time);
      break;
    case kCodeTypeClosing: case kCodeTypeClosingOutside: case kCodeTypeHotUserOther:
      RecordClosing(context.data, account, event.area, event.date, event.time);
      DeleteAreaMarker(context.data, account, event.area);
      break;
    default:
      break;
  }
}

}  // namespace

bool InTimeWindow(int begin, int end, int now) {
  if (begin < end) return begin <= now && now <= end;
  if (end < begin) return now >= begin || now <= end;
  return false;
}

int ResolveEventCode(EventContext& context, ClientRecord& client, int32_t& client_rec_no, AreaSchedule& schedule,
                     std::string& code, EventRecord& event) {
  StripZeros(code);
  std::optional<CodeEntry> found =
      SearchCode(context.data, context.company_settings, client, client_rec_no, schedule, code);
  if (ApplySuspensions(context, client, client_rec_no, found, code, event)) return 0;
  if (found) {
    ApplyEntry(context, client, schedule, *found, code, event);
    return 1;
  }
  const LanguageTable& texts = context.language;
  if (code.size() == kResetCodeLength && code[0] == 'R') {
    event.event_type = kCodeTypeReset;
    SetDescription(event, texts.Entry(kEntryReset));
  } else {
    event.event_type = kCodeTypeUnknown;
    SetDescription(event, texts.Entry(kEntryCodeUnknown));
    event.action_list = kDefaultActionList;
  }
  PrefixDescription(code, event);
  code.clear();
  return 0;
}

}  // namespace duri
