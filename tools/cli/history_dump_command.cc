// duriduvaze-cli history-dump --station DIR WHAT [--period KEY]: prints the event-side files of a
// station as JSON lines: a month's history and its account index, the pending stack, the last 100
// events, the period index, the armed status, a month's action log, the print batch and a month's
// account marks. Texts are the files' code-page bytes shown as Latin-1.
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "accounts/action_log.h"
#include "accounts/armed_status.h"
#include "commands.h"
#include "events/history.h"
#include "store/key_index.h"
#include "events/print_batch.h"
#include "events/stack.h"
#include "events/stack_backlog.h"
#include "platform/clock.h"
#include "store/coding.h"
#include "store/shared_file.h"

namespace duri::cli {
namespace {

using nlohmann::json;

std::string Latin1(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    auto b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

json DateJson(const DateRecord& d) { return {d.year, d.month, d.day, d.day_of_week}; }
json TimeJson(const TimeRecord& t) { return {t.hour, t.minute, t.second, t.fraction}; }

json EventJson(const EventRecord& e) {
  return {{"Account", Latin1(e.account.view())},
          {"Description", Latin1(e.description.view())},
          {"ActionList", Latin1(e.action_list.view())},
          {"HandlingWord", e.handling_word},
          {"AutoHandled", e.auto_handled},
          {"HandlingByte156", e.handling_byte1},
          {"HandlingByte157", e.handling_byte2},
          {"CommentRecNo", e.comment_rec_no},
          {"CodeOption", e.code_option},
          {"CodeValue", e.code_value},
          {"Priority", e.priority},
          {"CodeLevel", e.code_level},
          {"EventType", e.event_type},
          {"HandlingChar", Latin1(std::string(1, e.handling_char))},
          {"Area", e.area},
          {"Time", TimeJson(e.time)},
          {"Date", DateJson(e.date)},
          {"AccountRecNo", e.account_rec_no},
          {"NotifyRecNo", e.notify_rec_no},
          {"HistoryRecNo", e.history_rec_no}};
}

// Whole records of a file, read shared; empty when it cannot be read.
std::vector<std::vector<uint8_t>> ReadRecords(DataDir& dir, std::string_view name, int size) {
  std::vector<std::vector<uint8_t>> records;
  SharedFile file;
  if (OpenShared(dir, file, name, size) == kIoOk) {
    std::vector<uint8_t> buf(static_cast<size_t>(size));
    for (int32_t n = 0; n < file.RecordCount() && file.ReadRecord(n, buf) == kIoOk; ++n) records.push_back(buf);
  }
  CloseShared(dir, file);
  return records;
}

void Print(const json& line) { std::cout << line.dump() << "\n"; }

EventRecord DecodeEvent(const std::vector<uint8_t>& bytes) {
  EventRecord e;
  e.Decode(std::span<const uint8_t, EventRecord::kSize>(bytes.data(), EventRecord::kSize));
  return e;
}

int Dump(DataDir& dir, const std::string& what, const std::string& period, bool all) {
  const std::string folder = PeriodDirectory(period);
  if (what == "history") {
    int n = 0;
    for (const auto& r : ReadRecords(dir, folder + "EVENT.MDC", EventRecord::kSize)) {
      json j = EventJson(DecodeEvent(r));
      j["record"] = n++;
      Print(j);
    }
  } else if (what == "index") {
    int n = 0;
    for (const auto& r : ReadRecords(dir, folder + "EVENT.MDX", EventRecord::kIndexSize)) {
      ShortString<10> account;
      account.Decode(r.data());
      Print({{"record", n++}, {"Account", Latin1(account.view())}});
    }
  } else if (what == "stack") {
    StackTable table;
    ReadStack(dir, table);
    for (int i = 0; i < kStackEntries; ++i) {
      const StackEntry& e = table[i];
      if (!all && !e.in_use()) continue;
      Print({{"slot", i}, {"record", e.record_number}, {"AccountRecNo", e.account_rec_no},
             {"TimeStamp", e.time_stamp}, {"Level", e.level}, {"Priority", Latin1(std::string(1, e.priority))}});
    }
  } else if (what == "backlog") {
    int n = 0;
    for (const StackEntry& e : ReadStackBacklog(dir)) {
      Print({{"waiting", n++}, {"record", e.record_number}, {"AccountRecNo", e.account_rec_no},
             {"TimeStamp", e.time_stamp}, {"Level", e.level}, {"Priority", Latin1(std::string(1, e.priority))}});
    }
  } else if (what == "last100") {
    auto records = ReadLast100(dir);
    for (int i = 0; i < kLast100Slots; ++i) {
      if (!all && records[i].account.empty()) continue;
      json j = EventJson(records[i]);
      j["slot"] = i;
      Print(j);
    }
  } else if (what == "periods") {
    for (const std::string& key : ReadIndexKeys(dir, kPeriodIndexFile)) Print({{"PeriodKey", Latin1(key)}});
  } else if (what == "armed") {
    for (const std::string& group : ReadIndexKeys(dir, kArmedIndexFile)) {
      int slot = 0;
      for (const auto& r : ReadRecords(dir, OccFileName(group), kArmedSlotSize)) {
        json values = json::array();
        bool any = false;
        for (int a = 0; a < kArmedAreas; ++a) {
          int32_t v = DecodeSigned32(r.data() + a * 4);
          any = any || v != 0;
          values.push_back(v);
        }
        if (any || all) Print({{"group", Latin1(group)}, {"slot", slot}, {"values", values}});
        ++slot;
      }
    }
  } else if (what == "actions") {
    auto index = ReadRecords(dir, folder + "DEMA.MDX", ActionLogEntry::kIndexSize);
    int n = 0;
    for (const auto& r : ReadRecords(dir, folder + "DEMA.MDC", ActionLogEntry::kSize)) {
      ActionLogEntry e;
      e.Decode(std::span<const uint8_t, ActionLogEntry::kSize>(r.data(), ActionLogEntry::kSize));
      json j = {{"record", n}, {"HistoryRecNo", e.history_rec_no}, {"Text", Latin1(e.text.view())},
                {"Time", TimeJson(e.time)}};
      j["Index"] = static_cast<size_t>(n) < index.size() ? json(DecodeSigned32(index[n].data())) : json();
      Print(j);
      ++n;
    }
  } else if (what == "print-batch") {
    auto slots = ReadDumpSlots(dir);
    for (int i = 0; i < kDumpSlots; ++i) {
      if (!all && slots[i].account.empty()) continue;
      json j = EventJson(slots[i]);
      j["slot"] = i;
      Print(j);
    }
  } else if (what == "moved") {
    SharedFile file;
    if (OpenShared(dir, file, folder + "EVENT.MOV", 1) == kIoOk) {
      std::vector<uint8_t> map(static_cast<size_t>(std::max<int64_t>(file.Size(), 0)));
      if (file.ReadAt(0, map) == kIoOk)
        for (size_t i = 0; i < map.size(); ++i)
          if (map[i] != 0) Print({{"AccountRecNo", i}, {"value", map[i]}});
    }
    CloseShared(dir, file);
  } else {
    std::cerr << "unknown file kind: " << what << "\n";
    return 2;
  }
  return 0;
}

// The month's history as it grows: every record appended after the start is printed as a line of
// date, time, account and description (with json, as the history lines above). Follows the current
// month when no period is given, and never ends by itself.
[[noreturn]] void FollowHistory(DataDir& dir, const std::string& fixed_period, bool json_lines) {
  std::string period = fixed_period.empty() ? PeriodKey(dir.clock().Today()) : fixed_period;
  size_t seen = ReadRecords(dir, PeriodDirectory(period) + "EVENT.MDC", EventRecord::kSize).size();
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    if (fixed_period.empty() && PeriodKey(dir.clock().Today()) != period) {
      period = PeriodKey(dir.clock().Today());
      seen = 0;
    }
    auto records = ReadRecords(dir, PeriodDirectory(period) + "EVENT.MDC", EventRecord::kSize);
    for (; seen < records.size(); ++seen) {
      EventRecord e = DecodeEvent(records[seen]);
      if (json_lines) {
        json j = EventJson(e);
        j["record"] = seen;
        Print(j);
        continue;
      }
      char stamp[64];
      std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", e.date.year, e.date.month, e.date.day,
                    e.time.hour, e.time.minute, e.time.second);
      std::cout << stamp << "  " << Latin1(e.account.view()) << "  " << Latin1(e.description.view()) << std::endl;
    }
    std::cout.flush();
  }
}

}  // namespace

void RegisterHistoryDumpCommand(CLI::App& app, int* exit_code) {
  struct Options {
    std::string station = ".";
    std::string what;
    std::string period;
    bool all = false;
    bool follow = false;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "history-dump", "Print a station's history, stack, indexes, armed status, action log or print batch as JSON lines");
  cmd->add_option("--station", options->station, "station root (holds ORBA/)")->check(CLI::ExistingDirectory);
  cmd->add_option("what", options->what,
                  "history, index, stack, backlog, last100, periods, armed, actions, print-batch or moved")
      ->required()
      ->check(CLI::IsMember({"history", "index", "stack", "backlog", "last100", "periods", "armed", "actions", "print-batch",
                             "moved"}));
  cmd->add_option("--period", options->period, "month key such as 202612 (history, index, actions, moved)")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            const bool digits = text.size() == 6 && text.find_first_not_of("0123456789") == std::string::npos;
            const int month = digits ? std::stoi(text.substr(4)) : 0;
            return digits && month >= 1 && month <= 12 ? "" : "--period wants a month key YYYYMM, not " + text;
          },
          "YYYYMM"));
  cmd->add_flag("--all", options->all, "include free slots and empty records");
  cmd->add_flag("--follow", options->follow,
                "history only: print each record appended from now on as a line (time, account, description)");
  cmd->add_flag("--json", options->json, "with --follow: JSON lines instead of text");
  cmd->callback([options, exit_code] {
    SystemClock clock;
    NullView view;
    std::string root = std::filesystem::absolute(options->station).lexically_normal().string();
    DataDir dir(root, clock, view);
    if (options->follow && options->what == "history") FollowHistory(dir, options->period, options->json);
    if (options->period.empty()) options->period = PeriodKey(clock.Today());
    *exit_code = Dump(dir, options->what, options->period, options->all);
  });
}

}  // namespace duri::cli
