// The JSON form of the account-side records, shared by the station loader and the dump. Field names
// follow the records' own field names in lower case with underscores; a field left out keeps the
// cleared value of the record it is read into. Texts are the records' bytes: each byte is the
// character of the same code (U+0000 to U+00FF), so every byte survives a dump and a load.
//
// Reading throws std::invalid_argument with the field's name for a wrong type, a value out of range or
// an unknown field; the loader turns that into its error text.
#ifndef DURIDUVAZE_STATION_JSON_RECORD_JSON_H_
#define DURIDUVAZE_STATION_JSON_RECORD_JSON_H_

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "accounts/auto_test_record.h"
#include "accounts/client_record.h"
#include "accounts/code_record.h"
#include "accounts/guard_tour_record.h"
#include "accounts/notify_entry.h"
#include "accounts/schedule_record.h"
#include "accounts/user_record.h"

namespace duri::station_json {

using Json = nlohmann::json;

std::string TextFromJson(const Json& j, std::string_view field);
Json TextToJson(std::string_view bytes);

// Refuses a field not in the list (a misspelt field would otherwise pass as a cleared value).
void CheckFields(const Json& j, std::string_view what, std::initializer_list<std::string_view> allowed);
// The integer at key when present, checked against [lo, hi].
std::optional<int64_t> GetInt(const Json& j, std::string_view key, int64_t lo, int64_t hi);
// "record" when present (0 or more), else the fallback.
int32_t RecordNumber(const Json& j, int32_t fallback);

void FromJson(const Json& j, ClientRecord& c);
Json ToJson(const ClientRecord& c);
void FromJson(const Json& j, CodeRecord& r);
Json ToJson(const CodeRecord& r);
void FromJson(const Json& j, ScheduleRecord& r);
Json ToJson(const ScheduleRecord& r);
void FromJson(const Json& j, UserRecord& r);
Json ToJson(const UserRecord& r);
void FromJson(const Json& j, GuardTourRecord& r);
Json ToJson(const GuardTourRecord& r);
void FromJson(const Json& j, AutoTestRecord& r);
Json ToJson(const AutoTestRecord& r);
void FromJson(const Json& j, NotifyEntry& e);
Json ToJson(const NotifyEntry& e);

}  // namespace duri::station_json

#endif  // DURIDUVAZE_STATION_JSON_RECORD_JSON_H_
