// The dump half of the station loader: each file read back as one JSON object per record.
#include <functional>

#include "accounts/account_files.h"
#include "station_json/record_json.h"
#include "station_json/station_company.h"
#include "settings/company_settings.h"
#include "station_json/station_loader.h"
#include "store/coding.h"
#include "store/shared_file.h"

namespace duri {
namespace {

using Json = nlohmann::json;

// Calls fn with each whole record of the file and its number; a missing file has none.
void ForEachRecord(DataDir& dir, std::string_view name, int size,
                   const std::function<void(int32_t, const uint8_t*)>& fn) {
  SharedFile file;
  if (OpenShared(dir, file, name, size) != kIoOk) {
    CloseShared(dir, file);
    return;
  }
  int32_t count = file.RecordCount();
  std::vector<uint8_t> buf(static_cast<size_t>(size));
  for (int32_t n = 0; n < count; ++n) {
    if (file.ReadRecord(n, buf) != kIoOk) break;
    fn(n, buf.data());
  }
  CloseShared(dir, file);
}

template <typename Record>
void DumpTable(DataDir& dir, std::string_view name, std::vector<Json>* lines) {
  ForEachRecord(dir, name, Record::kSize, [&](int32_t n, const uint8_t* p) {
    Record r;
    r.Decode(p);
    Json j = station_json::ToJson(r);
    j["record"] = n;
    lines->push_back(std::move(j));
  });
}

void DumpKeys(DataDir& dir, std::string_view name, std::vector<Json>* lines) {
  ForEachRecord(dir, name, kAccountKeySize, [&](int32_t n, const uint8_t* p) {
    ShortString<kAccountCapacity> key;
    key.Decode(p);
    lines->push_back(Json{{"record", n}, {"account_number", station_json::TextToJson(key)}});
  });
}

uint8_t InactiveFlagAt(const std::vector<uint8_t>& flags, int32_t n) {
  return static_cast<size_t>(n) < flags.size() ? flags[static_cast<size_t>(n)] : 0;
}

void DumpClients(DataDir& dir, std::vector<Json>* lines) {
  std::vector<uint8_t> flags;
  ForEachRecord(dir, kInactiveFlagFile, 1, [&](int32_t, const uint8_t* p) { flags.push_back(*p); });
  ForEachRecord(dir, kClientFile, ClientRecord::kSize, [&](int32_t n, const uint8_t* p) {
    ClientRecord c;
    c.Decode(p);
    Json j = station_json::ToJson(c);
    j["record"] = n;
    j["inactive_flag"] = InactiveFlagAt(flags, n);
    lines->push_back(std::move(j));
  });
}

void DumpCompany(DataDir& dir, std::vector<Json>* lines) {
  // The operators' application's file first, as start-up reads it.
  for (std::string_view name : {kCompanyFile, kReceiverCompanyFile}) {
    CompanySettings settings;
    if (!LoadCompanySettings(dir, settings, name)) continue;
    lines->push_back(station_json::ToJson(settings));
    return;
  }
}

void DumpNotifyEntries(DataDir& dir, std::vector<Json>* lines) {
  ForEachRecord(dir, kNotifyFile, NotifyEntry::kSize, [&](int32_t n, const uint8_t* p) {
    NotifyEntry e;
    e.Decode(p);
    Json j = station_json::ToJson(e);
    j["entry_number"] = n * NotifyEntry::kSize;
    lines->push_back(std::move(j));
  });
}

void DumpFreeList(DataDir& dir, std::vector<Json>* lines) {
  ForEachRecord(dir, kGuardTourFreeList, 4, [&](int32_t n, const uint8_t* p) {
    lines->push_back(Json{{"record", n}, {"free_record", DecodeSigned32(p)}});
  });
}

void DumpInactive(DataDir& dir, std::vector<Json>* lines) {
  ForEachRecord(dir, kInactiveFlagFile, 1, [&](int32_t n, const uint8_t* p) {
    lines->push_back(Json{{"record", n}, {"inactive_flag", *p}});
  });
}

}  // namespace

const std::vector<std::string_view>& DumpKinds() {
  static const std::vector<std::string_view> kinds = {
      "company",         "clients",     "client_index",    "account_order", "inactive_flags",
      "code_tables",     "schedules",   "automatic_tests", "guard_tours",   "guard_tour_free_list",
      "users",           "notification_entries"};
  return kinds;
}

bool DumpStation(DataDir& dir, std::string_view what, std::vector<Json>* lines, std::string* error) {
  if (what == "company") DumpCompany(dir, lines);
  else if (what == "clients") DumpClients(dir, lines);
  else if (what == "client_index") DumpKeys(dir, kClientIndexFile, lines);
  else if (what == "account_order") DumpKeys(dir, kAccountOrderFile, lines);
  else if (what == "inactive_flags") DumpInactive(dir, lines);
  else if (what == "code_tables") DumpTable<CodeRecord>(dir, kCodeFile, lines);
  else if (what == "schedules") DumpTable<ScheduleRecord>(dir, kScheduleFile, lines);
  else if (what == "automatic_tests") DumpTable<AutoTestRecord>(dir, kAutoTestFile, lines);
  else if (what == "guard_tours") DumpTable<GuardTourRecord>(dir, kGuardTourFile, lines);
  else if (what == "guard_tour_free_list") DumpFreeList(dir, lines);
  else if (what == "users") DumpTable<UserRecord>(dir, kUserFile, lines);
  else if (what == "notification_entries") DumpNotifyEntries(dir, lines);
  else {
    if (error) *error = "unknown file kind \"" + std::string(what) + "\"";
    return false;
  }
  return true;
}

}  // namespace duri
