#include "station_json/station_loader.h"

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

#include "accounts/account_files.h"
#include "station_json/record_json.h"
#include "station_json/station_company.h"
#include "settings/company_settings.h"
#include "store/coding.h"
#include "store/file_replace.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

using Json = nlohmann::json;
using station_json::RecordNumber;

// A description that would make a file larger than this is refused rather than filling the disk. A
// station of 100,000 accounts, each with its own chain of three code tables, has a CODE.DAC of 486 MB.
constexpr size_t kLargestFile = size_t{1} << 30;

const Json& Section(const Json& description, std::string_view key) {
  const Json& list = description.at(std::string(key));
  if (!list.is_array()) throw std::invalid_argument(std::string(key) + ": not an array");
  return list;
}

// Records of one section by record number: "record" when given, else the position in the list.
template <typename Record>
std::map<int32_t, Record> Collect(const Json& list, const std::function<Record()>& cleared) {
  std::map<int32_t, Record> records;
  for (size_t i = 0; i < list.size(); ++i) {
    int32_t n = RecordNumber(list[i], static_cast<int32_t>(i));
    Record r = cleared();
    station_json::FromJson(list[i], r);
    records[n] = r;
  }
  return records;
}

template <typename Record>
std::vector<uint8_t> Image(const std::map<int32_t, Record>& records, const std::function<Record()>& cleared,
                           std::string_view section) {
  size_t count = records.empty() ? 0 : static_cast<size_t>(records.rbegin()->first) + 1;
  if (count * Record::kSize > kLargestFile) throw std::invalid_argument(std::string(section) + ": record number too large");
  std::vector<uint8_t> bytes(count * Record::kSize);
  Record blank = cleared();
  for (size_t n = 0; n < count; ++n) {
    auto it = records.find(static_cast<int32_t>(n));
    (it == records.end() ? blank : it->second).Encode(&bytes[n * Record::kSize]);
  }
  return bytes;
}

template <typename Record>
void AddTable(const Json& description, std::string_view key, std::string_view file,
              const std::function<Record()>& cleared, std::vector<FileImage>& out) {
  if (!description.contains(key)) return;
  auto records = Collect<Record>(Section(description, key), cleared);
  out.push_back({file, Image(records, cleared, key)});
}

void PutKey(std::vector<uint8_t>& bytes, size_t n, std::string_view account) {
  ShortString<kAccountCapacity>(account).Encode(&bytes[n * kAccountKeySize]);
}

// CLIENT.MDC, CLIENT.MDX, CLIENT.MDP and CLI_BIN.MDA from the clients' list.
void AddClients(const Json& description, std::vector<FileImage>& out) {
  if (!description.contains("clients")) return;
  const Json& list = Section(description, "clients");
  std::function<ClientRecord()> cleared = [] { return ClientRecord(); };
  auto records = Collect<ClientRecord>(list, cleared);
  std::map<int32_t, uint8_t> flags;
  for (size_t i = 0; i < list.size(); ++i) {
    if (auto v = station_json::GetInt(list[i], "inactive_flag", 0, 255))
      flags[RecordNumber(list[i], static_cast<int32_t>(i))] = static_cast<uint8_t>(*v);
  }
  std::vector<uint8_t> clients = Image(records, cleared, "clients");
  size_t count = clients.size() / ClientRecord::kSize;
  std::vector<uint8_t> index(count * kAccountKeySize, 0), inactive(count, 0);
  std::vector<std::string> order;
  for (const auto& [n, c] : records) {
    PutKey(index, static_cast<size_t>(n), c.account);
    if (!c.account.empty()) order.push_back(c.account.str());
  }
  for (const auto& [n, flag] : flags) inactive[static_cast<size_t>(n)] = flag;
  std::sort(order.begin(), order.end(), [](const std::string& a, const std::string& b) { return CompareKeys(a, b) == 1; });
  order.erase(std::unique(order.begin(), order.end()), order.end());
  std::vector<uint8_t> sorted(order.size() * kAccountKeySize, 0);
  for (size_t i = 0; i < order.size(); ++i) PutKey(sorted, i, order[i]);
  out.push_back({kClientFile, std::move(clients)});
  out.push_back({kClientIndexFile, std::move(index)});
  out.push_back({kAccountOrderFile, std::move(sorted)});
  out.push_back({kInactiveFlagFile, std::move(inactive)});
}

// PAGER.DAT: an entry sits at its "entry_number", a byte position (by default its place in the list
// times 158).
void AddNotifyEntries(const Json& description, std::vector<FileImage>& out) {
  if (!description.contains("notification_entries")) return;
  const Json& list = Section(description, "notification_entries");
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < list.size(); ++i) {
    NotifyEntry e;
    station_json::FromJson(list[i], e);
    auto at = station_json::GetInt(list[i], "entry_number", 0, kLargestFile - NotifyEntry::kSize);
    size_t pos = at ? static_cast<size_t>(*at) : i * NotifyEntry::kSize;
    if (bytes.size() < pos + NotifyEntry::kSize) bytes.resize(pos + NotifyEntry::kSize, 0);
    e.Encode(&bytes[pos]);
  }
  out.push_back({kNotifyFile, std::move(bytes)});
}

void AddFreeList(const Json& description, std::vector<FileImage>& out) {
  if (!description.contains("guard_tour_free_list")) return;
  const Json& list = Section(description, "guard_tour_free_list");
  std::vector<uint8_t> bytes(list.size() * 4);
  for (size_t i = 0; i < list.size(); ++i) {
    Json holder{{"guard_tour_free_list", list[i]}};
    EncodeSigned32(&bytes[i * 4],
                   static_cast<int32_t>(*station_json::GetInt(holder, "guard_tour_free_list", INT32_MIN, INT32_MAX)));
  }
  out.push_back({kGuardTourFreeList, std::move(bytes)});
}

std::vector<FileImage> BuildImages(const Json& description) {
  station_json::CheckFields(description, "station",
                            {"company", "clients", "code_tables", "schedules", "automatic_tests", "guard_tours",
                             "guard_tour_free_list", "users", "notification_entries"});
  std::vector<FileImage> images;
  int16_t delay = ScheduleRecord::kDefaultDelay;
  if (description.contains("company")) {
    CompanySettings settings;
    station_json::FromJson(description["company"], settings);
    delay = settings.schedule_delay_minutes;
    std::vector<uint8_t> company(CompanySettings::kSize);
    settings.Encode(company.data());
    images.push_back({kCompanyFile, company});
    images.push_back({kReceiverCompanyFile, std::move(company)});
  }
  AddClients(description, images);
  AddTable<CodeRecord>(description, "code_tables", kCodeFile, [] { return CodeRecord(); }, images);
  AddTable<ScheduleRecord>(description, "schedules", kScheduleFile, [delay] {
    ScheduleRecord r;
    r.Clear(delay);
    return r;
  }, images);
  AddTable<AutoTestRecord>(description, "automatic_tests", kAutoTestFile, [] { return AutoTestRecord(); }, images);
  AddTable<GuardTourRecord>(description, "guard_tours", kGuardTourFile, [] { return GuardTourRecord(); }, images);
  AddFreeList(description, images);
  AddTable<UserRecord>(description, "users", kUserFile, [] { return UserRecord(); }, images);
  AddNotifyEntries(description, images);
  return images;
}

}  // namespace

bool LoadStation(DataDir& dir, const nlohmann::json& description, std::string* error) {
  std::vector<FileImage> images;
  try {
    images = BuildImages(description);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
  // A folder that cannot be made shows as the failed writes below.
  if (!DirectoryExists(dir, "\\ORBA")) (void)CreateDirectory(dir, "\\ORBA");
  return ReplaceFiles(dir, images, error);
}

}  // namespace duri
