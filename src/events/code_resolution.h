// Code resolution: an (account, area, code) triple of an event line becomes a classified event through
// the account's alarm code table in CODE.DAC. The search follows the area's chain of code records,
// redirections to other accounts ("#" keeps the account, "*" replaces it) and, for codes that look
// like Contact ID or SIA codes, falls back to the table of account "0". Suspension files written by
// the monitoring application then put the account, an area or some codes on test, and the found
// entry's description, type, priority and action list are copied into the event, with the bookkeeping
// of its type: schedule, automatic test, guard round, user and armed status.
//
// Files: "\ORBA\CODE.DAC" (1621-byte records), and per account the suspension files
// account + ".Z" + area and account + ".Z0" (a 21-byte code pattern of the codes on test) and the
// marker account + ".R" + area, removed at the area's closing.
#ifndef DURIDUVAZE_EVENTS_CODE_RESOLUTION_H_
#define DURIDUVAZE_EVENTS_CODE_RESOLUTION_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "accounts/client_record.h"
#include "accounts/code_record.h"
#include "accounts/schedule_record.h"
#include "events/event_record.h"
#include "store/data_dir.h"

namespace duri {

struct CompanySettings;
struct EventContext;

// Event types that code resolution sets or acts on.
inline constexpr uint8_t kCodeTypeReset = 1;
inline constexpr uint8_t kCodeTypeAutoTest = 2;
inline constexpr uint8_t kCodeTypeGuardRound = 3;
inline constexpr uint8_t kCodeTypeOpening = 4;
inline constexpr uint8_t kCodeTypeClosing = 5;
inline constexpr uint8_t kCodeTypeUnknown = 11;
inline constexpr uint8_t kCodeTypeOpeningOutside = 12;
inline constexpr uint8_t kCodeTypeClosingOutside = 13;
inline constexpr uint8_t kCodeTypeAreaOnTest = 17;
inline constexpr uint8_t kCodeTypeInactiveAccount = 18;
inline constexpr uint8_t kCodeTypeInactiveCode = 19;
inline constexpr uint8_t kCodeTypeHotUserOpening = 28;
inline constexpr uint8_t kCodeTypeHotUserOther = 29;
inline constexpr uint8_t kCodeTypeRoundMissing = 30;
inline constexpr uint8_t kCodeTypeUnauthorizedOpening = 32;

// Two accounts that redirect to each other would otherwise be followed for ever; past this many
// redirections the code counts as not found.
inline constexpr int kMaxRedirections = 16;
inline constexpr int kSuspensionSize = 21;
inline constexpr int kHighestArea = 10;

// An area's schedule with the record of CEDULE.CTN it was read from (-1: none, the cleared record).
// The schedule check writes it back to that record and to no other.
struct AreaSchedule {
  ScheduleRecord record;
  int32_t rec_no = -1;
};

// ReadSchedule of record rec_no with the company's default delay, remembering the record number.
void ReadAreaSchedule(DataDir& dir, const CompanySettings& company, int32_t rec_no, AreaSchedule& schedule);

// Clears the record and reads record n of CODE.DAC when 0 <= n < the file's record count.
void ReadCodeRecord(DataDir& dir, int32_t n, CodeRecord& record);

// The first entry of the chain from first_record whose type is type and whose priority action 1 (blanks
// removed) is not empty: its action 1, priority and code value go into the event, and its notify flag
// is returned. Without one the event gets the default action list and the result is 0. A chain ends at
// -1 or at the first record number seen twice.
uint8_t FindCodeOfType(DataDir& dir, int32_t first_record, uint8_t type, EventRecord& event);

// Whether the fallback to account "0" may be tried for the code: 7 characters, or 3 to 6 of which the
// first two are letters A to Z.
bool MayFallBack(std::string_view code);

// Whether hhmm now lies in the entry's window [begin, end] (which may run past midnight).
bool InTimeWindow(int begin, int end, int now);

// The search: the entry whose pattern matches code, after redirections and the fallback, or nullopt.
// client, client_rec_no and schedule change when a "*" redirection replaces the account; the client's
// current area may become 0 at the fallback.
std::optional<CodeEntry> SearchCode(DataDir& dir, const CompanySettings& company, ClientRecord& client,
                                    int32_t& client_rec_no, AreaSchedule& schedule, std::string_view code);

// ResolveEventCode(client, record number, schedule, code, event): 1 when a code entry was applied to
// the event, 0 when resolution ended in a suspension or a not-found rule (code is then emptied).
int ResolveEventCode(EventContext& context, ClientRecord& client, int32_t& client_rec_no, AreaSchedule& schedule,
                     std::string& code, EventRecord& event);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_CODE_RESOLUTION_H_
