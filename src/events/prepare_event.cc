#include "events/prepare_event.h"

#include "accounts/armed_status.h"
#include "accounts/client_files.h"
#include "events/code_resolution.h"
#include "events/add_event.h"
#include "events/history.h"
#include "events/notify_event.h"
#include "events/print_batch.h"
#include "settings/language_entries.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "store/shared_file.h"
#include "store/text.h"
#include "events/event_context.h"

namespace duri {
namespace {

constexpr char kLateOpeningCode[] = "@re";
constexpr char kLateClosingCode[] = "@rs";
constexpr char kAutoTestCode[] = "@at";
constexpr char kRoundCode[] = "@rr";
constexpr char kSpecialCodeChar = static_cast<char>(0xFD);
constexpr char kActiveReportChar = static_cast<char>(0xFE);
constexpr int kAreaDigits = 5;

// The event types the intake gives itself.
constexpr uint8_t kTypeLateOpening = 14;
constexpr uint8_t kTypeLateClosing = 15;
constexpr uint8_t kTypeClosedForTheDay = 20;
constexpr uint8_t kTypeUnknownAccount = 23;
constexpr uint8_t kTypeSpecialCode = 24;
constexpr uint8_t kTypeAutoTestMissing = 25;
constexpr uint8_t kTypeActiveAccount = 26;
constexpr uint8_t kTypeActiveCodes = 27;
constexpr uint8_t kTypeRoundMissing = 30;

// Everything PrepareEvent keeps while it works on one line.
struct LineWork {
  ClientRecord client;
  int32_t client_rec_no = -1;
  AreaSchedule schedule;
  int effective_area = 0;
  EventKind kind = EventKind::kUnknownAccount;
};

void Show(EventContext& context, const std::string& text) { context.view->ShowDebug(text); }

// PadLeft of the description to the code column.
void PadDescription(EventRecord& event) {
  std::string text = event.description.str();
  PadLeft(' ', text, kDescriptionWidth, kCodeColumn);
  event.description = text;
}

void Append(EventRecord& event, std::string_view text) { event.description.Append(text); }

// Step 6 and 7: the account, the effective area and its schedule, and the kind.
void FindAccount(EventContext& context, const EventLine& parts, const EventRecord& event, LineWork& work) {
  std::string account = parts.account;
  if (!account.empty()) {
    StripZeros(account);
    LookUpClient(context.data, account, work.client_rec_no, work.client);
  }
  if (account.empty() || work.client.found == 0) {
    work.kind = EventKind::kUnknownAccount;
    ClearClientRecord(work.client);
    work.client.account = "0";
    work.client_rec_no = -1;
    work.effective_area = 0;
    ReadAreaSchedule(context.data, context.company_settings, -1, work.schedule);
    return;
  }
  work.effective_area = event.area;
  if (work.client.areas[work.effective_area].code_table == -1) work.effective_area = 0;
  work.client.current_area = static_cast<uint8_t>(work.effective_area);
  ReadAreaSchedule(context.data, context.company_settings, work.client.areas[work.effective_area].schedule,
                   work.schedule);
  work.kind = KindOfCode(parts.code);
}

// Step 9 for every kind but the normal code. False when the line is dropped.
bool ClassifySpecial(EventContext& context, const EventLine& parts, std::string_view line, LineWork& work,
                     EventRecord& event) {
  const LanguageTable& texts = context.language;
  const int32_t code_table = work.client.areas[work.effective_area].code_table;
  switch (work.kind) {
    case EventKind::kNormal:
      break;
    case EventKind::kLateOpening:
      PadDescription(event);
      if (context.company_settings.report_late_openings != 0) {
        Append(event, texts.Entry(kEntryLateOpening));
        event.event_type = kTypeLateOpening;
        FindCodeOfType(context.data, code_table, kCodeTypeOpening, event);
      } else {
        Append(event, texts.Entry(kEntryClosedForTheDay));
        event.event_type = kTypeClosedForTheDay;
      }
      break;
    case EventKind::kLateClosing:
      event.event_type = kTypeLateClosing;
      PadDescription(event);
      Append(event, texts.Entry(kEntryLateClosing));
      FindCodeOfType(context.data, code_table, kCodeTypeClosing, event);
      break;
    case EventKind::kActiveReport: {
      const std::string codes = parts.code.substr(1);
      PadDescription(event);
      if (codes.empty()) {
        event.event_type = kTypeActiveAccount;
        Append(event, texts.Entry(kEntryActiveAccount));
      } else {
        event.event_type = kTypeActiveCodes;
        Append(event, texts.Entry(kEntryActiveCodes));
        Append(event, "(" + codes + ")");
      }
      break;
    }
    case EventKind::kAutoTestMissing:
      // An account tested only while armed has no missing test while one of its areas is open.
      if (!AllAreasClosed(context.data, work.client.account.view()) && work.client.auto_test < -1) return false;
      event.event_type = kTypeAutoTestMissing;
      PadDescription(event);
      Append(event, texts.Entry(kEntryAutoTestNotReceived));
      FindCodeOfType(context.data, code_table, kCodeTypeAutoTest, event);
      break;
    case EventKind::kUnknownAccount:
      event.description = line;
      event.event_type = kTypeUnknownAccount;
      PadDescription(event);
      event.description = "[" + event.description.str() + "] " + texts.Entry(kEntryInvalid);
      event.action_list.Clear();
      break;
    case EventKind::kSpecialCode:
      event.event_type = kTypeSpecialCode;
      PadDescription(event);
      event.action_list = kDefaultActionList;
      break;
    case EventKind::kRoundMissing:
      event.event_type = kTypeRoundMissing;
      PadDescription(event);
      Append(event, texts.Entry(kEntryGuardRoundNotReceived));
      FindCodeOfType(context.data, code_table, kCodeTypeGuardRound, event);
      break;
  }
  return true;
}

// Step 10: the area's name when it has one, else the rest of the line.
void AppendAreaSuffix(const LineWork& work, const EventLine& parts, EventRecord& event) {
  const AreaBlock& block = work.client.areas[work.effective_area];
  if (block.name.empty()) {
    Append(event, parts.rest);
  } else {
    Append(event, " [ri" + std::to_string(work.effective_area) + ":" + block.name.str() + "]");
  }
}

// Steps 13 to 15: the history and the side files, then the stack entry.
void RecordEvent(EventContext& context, const LineWork& work, std::string_view extra_text, EventRecord& event,
                 StackEntry& entry) {
  event.account_rec_no = work.client_rec_no;
  Append(event, extra_text);
  WriteHistory(context.data, event, entry, work.client.account.view());
  DumpEvents(context.data, *context.printer, context.local_settings.alarm_printer, event);
  if (const int r = PushLast100(context.data, event); r != kIoOk) {
    // The event is stored; only the operators' last-100 view misses it. Never a reason to withhold its
    // stack entry or the acknowledgement.
    LogError(context.data, "Last-100 copy " + std::string(kLast100File) + " not updated (" + IoResultText(r) +
                               "); event " + std::to_string(event.history_rec_no) + " is in the history");
  }
  MarkAccountMoved(context.data, event.account_rec_no, PeriodKey(event.date), 1);
  AppendEventLog(context.data, event.description.view(), kEventLogName);
  entry = MakeStackEntry(event);
}

}  // namespace

EventLine SplitEventLine(std::string_view line) {
  EventLine parts;
  size_t blank = line.find(' ');
  parts.account = std::string(line.substr(0, blank)).substr(0, kAccountChars);
  if (blank == std::string_view::npos) return parts;
  std::string_view after = line.substr(blank + 1);
  blank = after.find(' ');
  parts.code = std::string(after.substr(0, blank)).substr(0, kCodeChars);
  TrimChar(parts.code, ' ', TrimMode::kAll);
  if (blank != std::string_view::npos) parts.rest = std::string(after.substr(blank + 1));
  return parts;
}

uint8_t AreaOfRest(std::string_view rest) {
  const size_t marker = rest.find(kAreaMarker);
  if (marker == std::string_view::npos) return 0;
  std::string_view digits = rest.substr(marker + 3, kAreaDigits);
  digits = digits.substr(0, digits.find(']'));
  size_t i = 0;
  while (i < digits.size() && digits[i] == ' ') ++i;
  uint32_t value = 0;
  for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) value = value * 10 + (digits[i] - '0');
  const auto area = static_cast<uint8_t>(value & 0xFF);
  return area > kHighestArea ? 0 : area;
}

EventKind KindOfCode(std::string_view code) {
  if (code.find(kSpecialCodeChar) != std::string_view::npos) return EventKind::kSpecialCode;
  if (SameText(code, kLateOpeningCode)) return EventKind::kLateOpening;
  if (SameText(code, kLateClosingCode)) return EventKind::kLateClosing;
  if (SameText(code, kAutoTestCode)) return EventKind::kAutoTestMissing;
  if (SameText(code, kRoundCode)) return EventKind::kRoundMissing;
  if (code.find(kActiveReportChar) != std::string_view::npos) return EventKind::kActiveReport;
  return EventKind::kNormal;
}

bool IsAutoHandled(const EventRecord& event, const ScheduleRecord& schedule, const CompanySettings& company) {
  if (company.handle_all_automatically != 0) return true;
  switch (event.event_type) {
    case 1: case 2: case 3: case 17: case 18: case 19: case 20: case 24: case 26: case 27: case 29:
      return true;
    case kTypeUnknownAccount:
      return company.auto_unknown_accounts != 0;
    case 4:
      return schedule.display_normal_opening == 0;
    case 5:
    case 13:
      return schedule.display_normal_closing == 0;
    default:
      return false;
  }
}

bool PrepareEvent(EventContext& context, const DateRecord& date, const TimeRecord& time, std::string_view line,
                  std::string_view extra_text, EventRecord& event, uint8_t& normal_code, StackEntry& entry) {
  Show(context, kDebugInitialisation + std::string(line));
  event.Clear();
  event.date = date;
  event.time = time;
  event.priority = 0;
  normal_code = 0;
  entry.Clear();

  EventLine parts = SplitEventLine(line);
  event.area = AreaOfRest(parts.rest);
  Show(context, kDebugReadClient);
  LineWork work;
  FindAccount(context, parts, event, work);
  Show(context, kDebugPreparation + std::to_string(static_cast<int>(work.kind)));

  if (work.kind == EventKind::kNormal) {
    ResolveEventCode(context, work.client, work.client_rec_no, work.schedule, parts.code, event);
    normal_code = 1;
  } else if (!ClassifySpecial(context, parts, line, work, event)) {
    return false;
  }
  AppendAreaSuffix(work, parts, event);
  const bool auto_handled = IsAutoHandled(event, work.schedule.record, context.company_settings);
  event.auto_handled = auto_handled ? 1 : 0;
  Show(context, kDebugDatabase);
  RecordEvent(context, work, extra_text, event, entry);
  ++context.events_recorded;
  if (auto_handled) {
    if (context.notify_event) context.notify_event(NotifyAccountOf(work.client), event);
    entry.Clear();
    return false;
  }
  return true;
}

}  // namespace duri
