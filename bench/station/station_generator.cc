#include "station/station_generator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>

#include <nlohmann/json.hpp>

#include "station_json/station_loader.h"
#include "events/event_record.h"
#include "events/history.h"
#include "events/stack.h"
#include "platform/clock.h"
#include "platform/station_view.h"

namespace duri::bench {
namespace {

using Json = nlohmann::json;

constexpr int kChain = 3;
constexpr int kSimulatorAccounts = 5000;

Json CodeTables(int accounts) {
  // Each record holds four patterns; the known codes sit in the last record of the chain, so a lookup
  // walks all three.
  static const char* kFiller[kChain - 1][4] = {{"110", "111", "112", "113"}, {"120", "121", "122", "123"}};
  // The last record: the bare codes of the benchmark lines, and every Contact ID and SIA code the
  // simulated receivers send ("E130001", "R401003", "BA01"), so that the whole-path run takes the
  // known-code path as well.
  static const char* kLast[4] = {"130,401,602:1..99", "301:E000000..E999999", "R000000..R999999", "AA..ZZ9999"};
  Json list = Json::array();
  for (int i = 0; i < accounts; ++i) {
    for (int r = 0; r < kChain; ++r) {
      Json entries = Json::array();
      for (int e = 0; e < 4; ++e) {
        const std::string pattern = r < kChain - 1 ? kFiller[r][e] : kLast[e];
        entries.push_back({{"code_pattern", pattern}, {"description", "Zone " + pattern}, {"type", 10},
                           {"priority", 1}});
      }
      Json record = {{"record", i * kChain + r}, {"entries", entries}};
      if (r < kChain - 1) record["next_record"] = i * kChain + r + 1;
      list.push_back(std::move(record));
    }
  }
  return list;
}

Json Clients(int accounts) {
  Json list = Json::array();
  for (int i = 0; i < accounts; ++i) {
    Json areas = Json::array();
    for (int a = 0; a < 2; ++a) {
      areas.push_back({{"area_name", a == 0 ? "Main" : "Annex"}, {"schedule_record_number", i},
                       {"user_table_record_number", i}, {"code_table_record_number", i * kChain}});
    }
    list.push_back({{"account_number", AccountNumber(i)}, {"name", "Client " + AccountNumber(i)},
                    {"address_line_1", "1 Main Street"}, {"areas", areas}});
  }
  return list;
}

Json Schedules(int accounts) {
  Json list = Json::array();
  const Json day = {{"opening_time", {800}}, {"closing_time", {1700}}};
  for (int i = 0; i < accounts; ++i) {
    list.push_back({{"schedule_name", "Office"}, {"period_defined", {1}}, {"period_active", {1}},
                    {"every_day", day}});
  }
  return list;
}

Json Users(int accounts) {
  Json list = Json::array();
  for (int i = 0; i < accounts; ++i) {
    list.push_back({{"entries", {{{"name", "Owner"}, {"in_out_codes", "1"}}, {{"name", "Staff"}, {"in_out_codes", "2, 3"}}}}});
  }
  return list;
}

bool LoadSection(DataDir& dir, const char* key, Json section, std::string* error) {
  Json description = Json::object();
  description[key] = std::move(section);
  return LoadStation(dir, description, error);
}

std::string MarkerText(const StationShape& shape) {
  return "duriduvaze bench station v2 accounts=" + std::to_string(shape.accounts) +
         " history=" + std::to_string(shape.history_records) + " month=" + std::to_string(shape.year) +
         "-" + std::to_string(shape.month) + "\n";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return text;
}

// The first record through the module's own writer (month folder, PERIOD.INX, both files), the rest
// appended to EVENT.MDC and EVENT.MDX with the same bytes it would write.
bool WriteHistory(DataDir& dir, const StationShape& shape, std::string* error) {
  EventRecord event;
  event.date = DateRecord{static_cast<uint16_t>(shape.year), static_cast<uint16_t>(shape.month), 1, 0};
  FixDate(event.date);
  event.description.Assign("130       Zone 130");
  StackEntry entry;
  try {
    duri::WriteHistory(dir, event, entry, AccountNumber(0));
  } catch (const IoError& e) {
    *error = e.what();
    return false;
  }
  const std::string folder = PeriodDirectory(PeriodKey(event.date));
  auto mdc = dir.HostPath(folder + "EVENT.MDC");
  auto mdx = dir.HostPath(folder + "EVENT.MDX");
  std::ofstream data(*mdc, std::ios::binary | std::ios::app);
  std::ofstream index(*mdx, std::ios::binary | std::ios::app);
  std::mt19937 random(7);
  for (int n = 1; n < shape.history_records; ++n) {
    event.account.Assign(AccountNumber(static_cast<int>(random() % shape.accounts)));
    event.date.day = static_cast<uint16_t>(1 + n * 28 / shape.history_records);
    FixDate(event.date);
    event.time = TimeRecord{static_cast<uint16_t>(n % 24), static_cast<uint16_t>(n % 60), 0, 0};
    event.history_rec_no = n;
    const auto bytes = event.Encoded();
    data.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    index.write(reinterpret_cast<const char*>(bytes.data()), EventRecord::kIndexSize);
  }
  if (!data || !index) {
    *error = "cannot write the history under " + folder;
    return false;
  }
  return true;
}

bool CutHistory(DataDir& dir, const StationShape& shape, std::string* error) {
  DateRecord date{static_cast<uint16_t>(shape.year), static_cast<uint16_t>(shape.month), 1, 0};
  const std::string folder = PeriodDirectory(PeriodKey(date));
  for (auto [name, size] : {std::pair{"EVENT.MDC", EventRecord::kSize}, std::pair{"EVENT.MDX", EventRecord::kIndexSize}}) {
    auto path = dir.HostPath(folder + name);
    if (!path || truncate(path->c_str(), static_cast<off_t>(shape.history_records) * size) != 0) {
      *error = "cannot cut " + folder + name;
      return false;
    }
  }
  // The pending stack and the last-100 list start empty on every run.
  for (std::string_view name : {kStackFile, kLast100File}) {
    if (auto path = dir.HostPath(name)) unlink(path->c_str());
  }
  return true;
}

}  // namespace

std::string AccountNumber(int i) {
  // The first 5,000 accounts are four-digit accounts the simulated receivers send (1000 to 5999); 6000 to
  // 9999 stay unknown for the unknown-account run.
  return i < kSimulatorAccounts ? std::to_string(1000 + i) : std::to_string(100000 + i);
}

const std::vector<std::string>& KnownCodes() {
  static const std::vector<std::string> codes = {"130", "401", "602", "301"};
  return codes;
}

bool PrepareStation(const std::string& root, const StationShape& shape, std::string* error) {
  mkdir(root.c_str(), 0755);
  ManualClock clock;
  clock.Set(shape.year, shape.month, 15, 12, 0, 0);
  NullView view;
  DataDir dir(root, clock, view);
  const std::string marker = root + "/bench-station.txt";
  if (ReadText(marker) != MarkerText(shape)) {
    unlink(marker.c_str());
    std::fprintf(stderr, "building the station under %s (%d accounts, %d history records)...\n", root.c_str(),
                 shape.accounts, shape.history_records);
    // Automatic handling keeps the stack from filling: the benchmark measures the intake, not how fast
    // operators clear the stack.
    if (!LoadSection(dir, "company", {{"company_name", "Bench Monitoring"}, {"handle_all_automatically", 1},
                                      {"auto_unknown_accounts", 1}}, error) ||
        !LoadSection(dir, "clients", Clients(shape.accounts), error) ||
        !LoadSection(dir, "code_tables", CodeTables(shape.accounts), error) ||
        !LoadSection(dir, "schedules", Schedules(shape.accounts), error) ||
        !LoadSection(dir, "users", Users(shape.accounts), error) || !WriteHistory(dir, shape, error))
      return false;
    std::ofstream(marker) << MarkerText(shape);
  }
  return CutHistory(dir, shape, error);
}

std::vector<std::string> EventLines(const StationShape& shape, int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> lines;
  lines.reserve(count);
  const auto& known = KnownCodes();
  for (int n = 0; n < count; ++n) {
    const int account = static_cast<int>(random() % shape.accounts);
    const std::string area = "  [ri0" + std::to_string(1 + random() % 2) + "]\r";
    switch (n % 4) {
      case 0:  // unknown account
        lines.push_back(std::to_string(900000 + account) + " " + known[n % known.size()] + area);
        break;
      case 1:  // unknown code
        lines.push_back(AccountNumber(account) + " 9" + std::to_string(10 + random() % 90) + area);
        break;
      default:
        lines.push_back(AccountNumber(account) + " " + known[random() % known.size()] + area);
    }
  }
  return lines;
}

}  // namespace duri::bench
