#include "station_json/record_json.h"

#include <algorithm>
#include <stdexcept>

#include "store/dates.h"

namespace duri::station_json {
namespace {

[[noreturn]] void Fail(std::string_view field, std::string_view why) {
  throw std::invalid_argument(std::string(field) + ": " + std::string(why));
}

template <int N>
void GetText(const Json& j, std::string_view key, ShortString<N>& out) {
  auto it = j.find(key);
  if (it == j.end()) return;
  std::string bytes = TextFromJson(*it, key);
  if (bytes.size() > static_cast<size_t>(N)) Fail(key, "longer than " + std::to_string(N) + " characters");
  out.Assign(bytes);
}

template <typename T>
void GetNumber(const Json& j, std::string_view key, T& out, int64_t lo, int64_t hi) {
  if (auto v = GetInt(j, key, lo, hi)) out = static_cast<T>(*v);
}

void GetByte(const Json& j, std::string_view key, uint8_t& out) { GetNumber(j, key, out, 0, 255); }
void GetInt16(const Json& j, std::string_view key, int16_t& out) { GetNumber(j, key, out, INT16_MIN, INT16_MAX); }
void GetInt32(const Json& j, std::string_view key, int32_t& out) { GetNumber(j, key, out, INT32_MIN, INT32_MAX); }

const Json& ArrayAt(const Json& j, std::string_view key, size_t max_size) {
  const Json& a = j.at(std::string(key));
  if (!a.is_array()) Fail(key, "not an array");
  if (a.size() > max_size) Fail(key, "more than " + std::to_string(max_size) + " elements");
  return a;
}

void GetEntry(const Json& j, CodeEntry& e) {
  CheckFields(j, "code entry",
              {"code_pattern", "description", "priority_action_1", "priority_action_2", "notify_flag", "time_begin",
               "time_end", "code_level", "type", "priority", "code_option", "code_value"});
  GetText(j, "code_pattern", e.pattern);
  GetText(j, "description", e.description);
  GetText(j, "priority_action_1", e.action1);
  GetText(j, "priority_action_2", e.action2);
  GetByte(j, "notify_flag", e.notify);
  GetInt16(j, "time_begin", e.time_begin);
  GetInt16(j, "time_end", e.time_end);
  GetByte(j, "code_level", e.code_level);
  GetByte(j, "type", e.type);
  GetByte(j, "priority", e.priority);
  GetByte(j, "code_option", e.code_option);
  GetInt32(j, "code_value", e.code_value);
}

Json EntryToJson(const CodeEntry& e) {
  return Json{{"code_pattern", TextToJson(e.pattern)},
              {"description", TextToJson(e.description)},
              {"priority_action_1", TextToJson(e.action1)},
              {"priority_action_2", TextToJson(e.action2)},
              {"notify_flag", e.notify},
              {"time_begin", e.time_begin},
              {"time_end", e.time_end},
              {"code_level", e.code_level},
              {"type", e.type},
              {"priority", e.priority},
              {"code_option", e.code_option},
              {"code_value", e.code_value}};
}

void GetArea(const Json& j, AreaBlock& a) {
  GetText(j, "area_name", a.name);
  GetInt32(j, "schedule_record_number", a.schedule);
  GetInt32(j, "user_table_record_number", a.user_table);
  GetInt32(j, "code_table_record_number", a.code_table);
}

}  // namespace

std::string TextFromJson(const Json& j, std::string_view field) {
  if (!j.is_string()) Fail(field, "not a text");
  const std::string& utf8 = j.get_ref<const std::string&>();
  std::string bytes;
  // Code points up to U+00FF are one byte each: one or two UTF-8 bytes.
  for (size_t i = 0; i < utf8.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(utf8[i]);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
      bytes += static_cast<char>(((c & 0x03) << 6) | (static_cast<uint8_t>(utf8[++i]) & 0x3F));
    } else {
      Fail(field, "holds a character above U+00FF (texts are bytes: write byte n as \\u00nn)");
    }
  }
  return bytes;
}

Json TextToJson(std::string_view bytes) {
  std::string utf8;
  for (char ch : bytes) {
    uint8_t c = static_cast<uint8_t>(ch);
    if (c < 0x80) {
      utf8 += ch;
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return Json(utf8);
}

void CheckFields(const Json& j, std::string_view what, std::initializer_list<std::string_view> allowed) {
  if (!j.is_object()) Fail(what, "not an object");
  for (auto it = j.begin(); it != j.end(); ++it) {
    if (std::find(allowed.begin(), allowed.end(), it.key()) == allowed.end())
      Fail(what, "unknown field \"" + it.key() + "\"");
  }
}

std::optional<int64_t> GetInt(const Json& j, std::string_view key, int64_t lo, int64_t hi) {
  auto it = j.find(key);
  if (it == j.end()) return std::nullopt;
  if (!it->is_number_integer()) Fail(key, "not an integer");
  int64_t v = it->is_number_unsigned() && it->get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)
                  ? INT64_MAX
                  : it->get<int64_t>();
  if (v < lo || v > hi) Fail(key, "out of range " + std::to_string(lo) + ".." + std::to_string(hi));
  return v;
}

int32_t RecordNumber(const Json& j, int32_t fallback) {
  auto v = GetInt(j, "record", 0, INT32_MAX);
  return v ? static_cast<int32_t>(*v) : fallback;
}

void FromJson(const Json& j, ClientRecord& c) {
  CheckFields(j, "client",
              {"record", "account_number", "name", "address_line_1", "address_line_2", "address_line_3",
               "notification_entry_number", "guard_tour_record_number", "automatic_test_record_number",
               "group_names", "areas", "inactive_flag"});
  GetText(j, "account_number", c.account);
  GetText(j, "name", c.name);
  GetText(j, "address_line_1", c.address1);
  GetText(j, "address_line_2", c.address2);
  GetText(j, "address_line_3", c.address3);
  GetInt32(j, "notification_entry_number", c.notify_entry);
  GetInt32(j, "guard_tour_record_number", c.guard_tour);
  GetInt32(j, "automatic_test_record_number", c.auto_test);
  if (j.contains("group_names")) {
    const Json& names = ArrayAt(j, "group_names", ClientRecord::kGroupCount);
    for (size_t i = 0; i < names.size(); ++i) {
      std::string text = TextFromJson(names[i], "group_names");
      if (text.size() > 8) Fail("group_names", "longer than 8 characters");
      c.group_names[i].Assign(text);
    }
  }
  if (j.contains("areas")) {
    const Json& areas = ArrayAt(j, "areas", ClientRecord::kAreaCount);
    for (size_t i = 0; i < areas.size(); ++i) {
      CheckFields(areas[i], "area",
                  {"area", "area_name", "schedule_record_number", "user_table_record_number",
                   "code_table_record_number"});
      auto number = GetInt(areas[i], "area", 0, ClientRecord::kAreaCount - 1);
      GetArea(areas[i], c.areas[number ? static_cast<size_t>(*number) : i]);
    }
  }
}

Json ToJson(const ClientRecord& c) {
  Json groups = Json::array();
  for (const auto& g : c.group_names) groups.push_back(TextToJson(g));
  Json areas = Json::array();
  for (int i = 0; i < ClientRecord::kAreaCount; ++i) {
    const AreaBlock& a = c.areas[i];
    areas.push_back(Json{{"area", i},
                         {"area_name", TextToJson(a.name)},
                         {"schedule_record_number", a.schedule},
                         {"user_table_record_number", a.user_table},
                         {"code_table_record_number", a.code_table}});
  }
  return Json{{"account_number", TextToJson(c.account)},
              {"name", TextToJson(c.name)},
              {"address_line_1", TextToJson(c.address1)},
              {"address_line_2", TextToJson(c.address2)},
              {"address_line_3", TextToJson(c.address3)},
              {"notification_entry_number", c.notify_entry},
              {"guard_tour_record_number", c.guard_tour},
              {"automatic_test_record_number", c.auto_test},
              {"group_names", groups},
              {"areas", areas}};
}

void FromJson(const Json& j, CodeRecord& r) {
  CheckFields(j, "code table record", {"record", "next_record", "entries"});
  GetInt32(j, "next_record", r.next);
  if (j.contains("entries")) {
    const Json& entries = ArrayAt(j, "entries", CodeRecord::kEntryCount);
    for (size_t i = 0; i < entries.size(); ++i) GetEntry(entries[i], r.entries[i]);
  }
}

Json ToJson(const CodeRecord& r) {
  Json entries = Json::array();
  for (const auto& e : r.entries) entries.push_back(EntryToJson(e));
  return Json{{"next_record", r.next}, {"entries", entries}};
}

void FromJson(const Json& j, AutoTestRecord& r) {
  CheckFields(j, "automatic-test record", {"record", "last_test_received"});
  auto it = j.find("last_test_received");
  if (it == j.end()) return;
  if (it->is_string()) {
    // "YYYY-MM-DD HH:MM:SS", packed as the module stamps it.
    int y, mo, d, h, mi, s;
    std::string text = it->get<std::string>();
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6)
      Fail("last_test_received", "not YYYY-MM-DD HH:MM:SS");
    DateRecord date{static_cast<uint16_t>(y), static_cast<uint16_t>(mo), static_cast<uint16_t>(d), 0};
    TimeRecord time{static_cast<uint16_t>(h), static_cast<uint16_t>(mi), static_cast<uint16_t>(s), 0};
    r.last_test = Pack(date, time);
  } else {
    GetNumber(j, "last_test_received", r.last_test, 0, UINT32_MAX);
  }
}

Json ToJson(const AutoTestRecord& r) { return Json{{"last_test_received", r.last_test}}; }

void FromJson(const Json& j, NotifyEntry& e) {
  CheckFields(j, "notification entry",
              {"entry_number", "kind", "destination_1", "destination_2", "option_1", "option_2"});
  GetByte(j, "kind", e.kind);
  GetText(j, "destination_1", e.destination1);
  GetText(j, "destination_2", e.destination2);
  GetByte(j, "option_1", e.option1);
  GetByte(j, "option_2", e.option2);
}

Json ToJson(const NotifyEntry& e) {
  return Json{{"kind", e.kind},
              {"destination_1", TextToJson(e.destination1)},
              {"destination_2", TextToJson(e.destination2)},
              {"option_1", e.option1},
              {"option_2", e.option2}};
}

}  // namespace duri::station_json
