// Gives every reader of the station's data files a file of arbitrary contents and size. The first
// byte of an input chooses the reader; the rest is written as its file in a scratch station directory,
// and the real read operations run over it (and, where the station writes the file back, the write).
// Every reader must end, stay in bounds and leave the file either unchanged or well formed.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "accounts/account_files.h"
#include "accounts/armed_status.h"
#include "accounts/auto_test.h"
#include "accounts/client_files.h"
#include "accounts/guard_tour.h"
#include "accounts/pager_sms.h"
#include "accounts/schedule.h"
#include "station_json/station_loader.h"
#include "accounts/users.h"
#include "events/history.h"
#include "store/key_index.h"
#include "events/print_batch.h"
#include "events/stack.h"
#include "settings/company_settings.h"
#include "settings/date_names.h"
#include "settings/language_select.h"
#include "settings/language_table.h"
#include "settings/local_settings.h"
#include "settings/security_file.h"
#include "store/io_result.h"
#include "store/lock_file.h"

namespace {

using namespace duri;
namespace fs = std::filesystem;

// The scratch station, made once per fuzzing process.
struct Scratch {
  Scratch() {
    char pattern[] = "/tmp/duri-fuzz-XXXXXX";
    root = mkdtemp(pattern);
    clock.Set(2026, 12, 8, 4, 7, 9);
  }
  std::string root;
  ManualClock clock;
  NullView view;
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

void WriteHostFile(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// "\ORBA\CLIENT.MDC" as a path under the scratch root (the way HostPath spells a new file).
std::string Host(std::string_view dos) {
  std::string path = TheScratch().root;
  for (char c : dos) path += c == '\\' ? '/' : c;
  if (dos.size() > 2 && dos[1] == ':') path = TheScratch().root + "/" + std::string(dos.substr(3));
  return path;
}

// The dump of a table, as the dump command prints it: every line must serialise.
void Dump(DataDir& dir, std::string_view kind) {
  std::vector<nlohmann::json> lines;
  std::string error;
  DumpStation(dir, kind, &lines, &error);
  for (const nlohmann::json& line : lines) (void)line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int32_t NumberFrom(std::string_view& body) {
  if (body.empty()) return 0;
  const int32_t n = static_cast<int8_t>(body[0]);
  body.remove_prefix(1);
  return n;
}

void RunReader(DataDir& dir, int which, std::string_view body) {
  switch (which) {
    case 0: WriteHostFile(Host(kClientFile), body); Dump(dir, "clients"); break;
    case 1: WriteHostFile(Host(kClientIndexFile), body); Dump(dir, "client_index"); break;
    case 2: WriteHostFile(Host(kAccountOrderFile), body); Dump(dir, "account_order"); break;
    case 3: WriteHostFile(Host(kInactiveFlagFile), body); Dump(dir, "inactive_flags"); break;
    case 4: WriteHostFile(Host(kCodeFile), body); Dump(dir, "code_tables"); break;
    case 5: WriteHostFile(Host(kScheduleFile), body); Dump(dir, "schedules"); break;
    case 6: WriteHostFile(Host(kAutoTestFile), body); Dump(dir, "automatic_tests"); break;
    case 7: WriteHostFile(Host(kGuardTourFile), body); Dump(dir, "guard_tours"); break;
    case 8: WriteHostFile(Host(kGuardTourFreeList), body); Dump(dir, "guard_tour_free_list"); break;
    case 9: WriteHostFile(Host(kUserFile), body); Dump(dir, "users"); break;
    case 10: WriteHostFile(Host(kNotifyFile), body); Dump(dir, "notification_entries"); break;
    case 11: {  // client lookup over an index and records from one input, split at its first byte
      const size_t cut = body.empty() ? 0 : static_cast<uint8_t>(body[0]) * 11u;
      if (!body.empty()) body.remove_prefix(1);
      const std::string_view index = body.substr(0, cut < body.size() ? cut : body.size());
      WriteHostFile(Host(kClientIndexFile), index);
      WriteHostFile(Host(kClientFile), body.substr(index.size()));
      int32_t record_number = -1;
      ClientRecord client;
      LookUpClient(dir, "1234", record_number, client);
      int32_t free_slot = -1;
      FindAccount(dir, "9999", &free_slot);
      std::string next;
      NextFreeAccount(dir, next);
      ClientInactiveFlag(dir, record_number);
      break;
    }
    case 12: {
      const int32_t n = NumberFrom(body);
      WriteHostFile(Host(kScheduleFile), body);
      ScheduleRecord record;
      int day_of_week = 0;
      uint8_t event_type = 0;
      CheckSchedule(dir, n, record, (n & 1) != 0, day_of_week, event_type);
      break;
    }
    case 13: {
      const int32_t n = NumberFrom(body);
      WriteHostFile(Host(kAutoTestFile), body);
      std::string description = "AUTO TEST";
      StampAutoTest(dir, n, description);
      break;
    }
    case 14: {
      int32_t n = NumberFrom(body);
      WriteHostFile(Host(kGuardTourFile), body);
      uint8_t event_type = 0;
      CheckGuardRound(dir, n, event_type);
      break;
    }
    case 15: {
      WriteHostFile(Host(kUserFile), body);
      ClientRecord client;
      std::string description = "OPENING";
      uint8_t event_type = 0;
      CheckUser(dir, client, "E40101012", description, event_type, 3);
      break;
    }
    case 16: {
      int32_t p = NumberFrom(body) & 0x7f;
      WriteHostFile(Host(kNotifyFile), body);
      NotifyEntry entry;
      for (int i = 0; i < 64 && ReadNotifyEntry(dir, p, entry); ++i) p += 1 + (p & 7);
      break;
    }
    case 17: {
      WriteHostFile(Host(kStackFile), body);
      StackTable table;
      ReadStack(dir, table);
      HasPendingEvents(dir);
      break;
    }
    case 18: {  // a month's history: EVENT.MDC and EVENT.MDX from one input, then a new event
      const size_t cut = body.empty() ? 0 : static_cast<uint8_t>(body[0]) * 11u;
      if (!body.empty()) body.remove_prefix(1);
      const std::string_view mdx = body.substr(0, cut < body.size() ? cut : body.size());
      WriteHostFile(Host("\\ORBA\\202612.EVT\\EVENT.MDX"), mdx);
      WriteHostFile(Host("\\ORBA\\202612.EVT\\EVENT.MDC"), body.substr(mdx.size()));
      EventRecord event;
      event.date = DateRecord{2026, 12, 8, 2};
      StackEntry entry;
      try {
        WriteHistory(dir, event, entry, "1234");
      } catch (const IoError&) {
      }
      break;
    }
    case 19: {
      WriteHostFile(Host(kPeriodIndexFile), body);
      ReadIndexKeys(dir, kPeriodIndexFile);
      InsertPeriod(dir, kPeriodIndexFile, "202612");
      RemoveIndexKey(dir, kPeriodIndexFile, "202611");
      break;
    }
    case 20: {
      WriteHostFile(Host(kLast100File), body);
      ReadLast100(dir);
      try {
        PushLast100(dir, EventRecord());
      } catch (const IoError&) {
      }
      break;
    }
    case 21: {
      WriteHostFile(Host(kArmedIndexFile), body);
      ReadAreaStates(dir, "1234");
      RecordOpening(dir, "1234", 2, DateRecord{2026, 12, 8, 2}, TimeRecord{4, 7, 9, 0});
      AllAreasClosed(dir, "1234");
      break;
    }
    case 22: {
      WriteHostFile(Host(kCompanyFile), body);
      CompanySettings settings;
      LoadCompanySettings(dir, settings, kCompanyFile);
      LoadCompanySettings(dir, settings, kReceiverCompanyFile);
      LanguageTable table;
      DateNames names;
      SelectLanguageTable(settings, (body.size() & 1) != 0, table, names);
      Dump(dir, "company");
      break;
    }
    case 23: {
      WriteHostFile(Host(kLocalSettingsFile), body);
      LocalSettings settings;
      LoadLocalSettings(dir, settings);
      break;
    }
    case 24: {
      WriteHostFile(Host(kGeneralLock), body);
      std::string holder;
      IsLockedElsewhere(dir, kGeneralLock, "202612", &holder);
      if (AcquireLock(dir, kGeneralLock, kReindexKey, false)) ReleaseLock(dir, kGeneralLock, kReindexKey);
      break;
    }
    case 25: {
      WriteHostFile(Host(kSecurityFile), body);
      ReadSecurityFile(dir);
      break;
    }
    case 26: {
      WriteHostFile(Host(kDumpFile), body);
      ReadDumpSlots(dir);
      break;
    }
    default: break;
  }
}

constexpr int kReaders = 27;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  Scratch& scratch = TheScratch();
  std::error_code ignored;
  fs::remove_all(scratch.root + "/ORBA", ignored);
  fs::create_directories(scratch.root + "/ORBA", ignored);
  DataDir dir(scratch.root, scratch.clock, scratch.view);
  dir.computer_name_override = "FUZZ";
  RunReader(dir, data[0] % kReaders, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  return 0;
}
