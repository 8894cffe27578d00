// The JSON form of the records made of per-day or per-entry tables: schedules, user tables and guard
// tours.
#include <cstdio>
#include <stdexcept>

#include "station_json/record_json.h"

namespace duri::station_json {
namespace {

[[noreturn]] void Fail(std::string_view field, std::string_view why) {
  throw std::invalid_argument(std::string(field) + ": " + std::string(why));
}

template <typename T, size_t N>
void GetList(const Json& j, std::string_view key, std::array<T, N>& out, int64_t lo, int64_t hi) {
  auto it = j.find(key);
  if (it == j.end()) return;
  if (!it->is_array() || it->size() > N) Fail(key, "not an array of at most " + std::to_string(N) + " numbers");
  for (size_t i = 0; i < it->size(); ++i) {
    const Json& v = (*it)[i];
    if (!v.is_number_integer() || v.get<int64_t>() < lo || v.get<int64_t>() > hi)
      Fail(key, "element " + std::to_string(i) + " is not an integer in " + std::to_string(lo) + ".." +
                    std::to_string(hi));
    out[i] = static_cast<T>(v.get<int64_t>());
  }
}

template <typename T, size_t N>
Json List(const std::array<T, N>& values) {
  Json a = Json::array();
  for (T v : values) a.push_back(static_cast<int>(v));
  return a;
}

void GetDay(const Json& j, ScheduleDay& d) {
  CheckFields(j, "day block",
              {"closing_time", "closing_mark", "closing_delay", "opening_time", "opening_mark", "opening_delay"});
  GetList(j, "closing_time", d.closing_time, INT16_MIN, INT16_MAX);
  GetList(j, "closing_mark", d.closing_mark, INT16_MIN, INT16_MAX);
  GetList(j, "closing_delay", d.closing_delay, INT16_MIN, INT16_MAX);
  GetList(j, "opening_time", d.opening_time, INT16_MIN, INT16_MAX);
  GetList(j, "opening_mark", d.opening_mark, INT16_MIN, INT16_MAX);
  GetList(j, "opening_delay", d.opening_delay, INT16_MIN, INT16_MAX);
}

// "YYYY-MM-DD"; an empty text is a date that is not set.
DateRecord GetDate(const Json& j, std::string_view key) {
  DateRecord date;
  auto it = j.find(key);
  if (it == j.end()) return date;
  if (!it->is_string()) Fail(key, "not a YYYY-MM-DD text");
  std::string text = it->get<std::string>();
  if (text.empty()) return date;
  int y, m, d;
  if (std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d) != 3 || y < 0 || y > 65535 || m < 0 || m > 65535 || d < 0 ||
      d > 65535)
    Fail(key, "not a YYYY-MM-DD text");
  date.year = static_cast<uint16_t>(y);
  date.month = static_cast<uint16_t>(m);
  date.day = static_cast<uint16_t>(d);
  if (IsDateSet(date)) FixDate(date);
  return date;
}

Json DateToJson(const DateRecord& d) {
  if (!IsDateSet(d)) return Json("");
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", d.year, d.month, d.day);
  return Json(buf);
}

void GetUserEntry(const Json& j, UserEntry& e) {
  CheckFields(j, "user entry", {"name", "in_out_codes", "authorized_days", "begin_date", "end_date", "hot_user"});
  if (j.contains("name")) {
    std::string text = TextFromJson(j["name"], "name");
    if (text.size() > 40) Fail("name", "longer than 40 characters");
    e.name.Assign(text);
  }
  if (j.contains("in_out_codes")) {
    std::string text = TextFromJson(j["in_out_codes"], "in_out_codes");
    if (text.size() > 20) Fail("in_out_codes", "longer than 20 characters");
    e.in_out_codes.Assign(text);
  }
  GetList(j, "authorized_days", e.authorized_days, 0, 255);
  e.begin_date = GetDate(j, "begin_date");
  e.end_date = GetDate(j, "end_date");
  if (auto v = GetInt(j, "hot_user", 0, 255)) e.hot_user = static_cast<uint8_t>(*v);
}

}  // namespace

void FromJson(const Json& j, ScheduleRecord& r) {
  CheckFields(j, "schedule",
              {"record", "schedule_name", "period_defined", "period_active", "display_normal_opening",
               "display_normal_closing", "normal_oc_in_schedule", "opening_delay", "late_opening_delay",
               "closing_delay", "every_day", "day_blocks"});
  if (j.contains("schedule_name")) {
    std::string text = TextFromJson(j["schedule_name"], "schedule_name");
    if (text.size() > 10) Fail("schedule_name", "longer than 10 characters");
    r.name.Assign(text);
  }
  GetList(j, "period_defined", r.defined, 0, 255);
  GetList(j, "period_active", r.active, 0, 255);
  if (auto v = GetInt(j, "display_normal_opening", 0, 255)) r.display_normal_opening = static_cast<uint8_t>(*v);
  if (auto v = GetInt(j, "display_normal_closing", 0, 255)) r.display_normal_closing = static_cast<uint8_t>(*v);
  if (auto v = GetInt(j, "normal_oc_in_schedule", 0, 255)) r.normal_oc = static_cast<uint8_t>(*v);
  if (auto v = GetInt(j, "opening_delay", INT16_MIN, INT16_MAX)) r.opening_delay = static_cast<int16_t>(*v);
  if (auto v = GetInt(j, "late_opening_delay", INT16_MIN, INT16_MAX)) r.late_opening_delay = static_cast<int16_t>(*v);
  if (auto v = GetInt(j, "closing_delay", INT16_MIN, INT16_MAX)) r.closing_delay = static_cast<int16_t>(*v);
  // "every_day" fills all seven day blocks; "day_blocks" (Sunday first) then changes single days.
  if (j.contains("every_day"))
    for (auto& d : r.days) GetDay(j["every_day"], d);
  if (j.contains("day_blocks")) {
    const Json& days = j["day_blocks"];
    if (!days.is_array() || days.size() > ScheduleRecord::kDays) Fail("day_blocks", "not an array of at most 7");
    for (size_t i = 0; i < days.size(); ++i) GetDay(days[i], r.days[i]);
  }
}

Json ToJson(const ScheduleRecord& r) {
  Json days = Json::array();
  for (const auto& d : r.days) {
    days.push_back(Json{{"closing_time", List(d.closing_time)},
                        {"closing_mark", List(d.closing_mark)},
                        {"closing_delay", List(d.closing_delay)},
                        {"opening_time", List(d.opening_time)},
                        {"opening_mark", List(d.opening_mark)},
                        {"opening_delay", List(d.opening_delay)}});
  }
  return Json{{"schedule_name", TextToJson(r.name)},
              {"period_defined", List(r.defined)},
              {"period_active", List(r.active)},
              {"display_normal_opening", r.display_normal_opening},
              {"display_normal_closing", r.display_normal_closing},
              {"normal_oc_in_schedule", r.normal_oc},
              {"opening_delay", r.opening_delay},
              {"late_opening_delay", r.late_opening_delay},
              {"closing_delay", r.closing_delay},
              {"day_blocks", days}};
}

void FromJson(const Json& j, UserRecord& r) {
  CheckFields(j, "user table record", {"record", "next_record", "entries"});
  if (auto v = GetInt(j, "next_record", INT32_MIN, INT32_MAX)) r.next = static_cast<int32_t>(*v);
  if (j.contains("entries")) {
    const Json& entries = j["entries"];
    if (!entries.is_array() || entries.size() > UserRecord::kEntryCount) Fail("entries", "not an array of at most 10");
    for (size_t i = 0; i < entries.size(); ++i) GetUserEntry(entries[i], r.entries[i]);
  }
}

Json ToJson(const UserRecord& r) {
  Json entries = Json::array();
  for (const auto& e : r.entries) {
    entries.push_back(Json{{"name", TextToJson(e.name)},
                           {"in_out_codes", TextToJson(e.in_out_codes)},
                           {"authorized_days", List(e.authorized_days)},
                           {"begin_date", DateToJson(e.begin_date)},
                           {"end_date", DateToJson(e.end_date)},
                           {"hot_user", e.hot_user}});
  }
  return Json{{"next_record", r.next}, {"entries", entries}};
}

void FromJson(const Json& j, GuardTourRecord& r) {
  CheckFields(j, "guard tour", {"record", "every_day", "round_times", "round_marks"});
  // "every_day": one list of round times for all seven days; "round_times" and "round_marks": one list
  // per day, Sunday first.
  if (j.contains("every_day"))
    for (auto& day : r.round_times) GetList(j, "every_day", day, INT16_MIN, INT16_MAX);
  for (std::string_view key : {"round_times", "round_marks"}) {
    auto it = j.find(key);
    if (it == j.end()) continue;
    if (!it->is_array() || it->size() > GuardTourRecord::kDays) Fail(key, "not an array of at most 7 lists");
    for (size_t d = 0; d < it->size(); ++d) {
      Json holder{{std::string(key), (*it)[d]}};
      if (key == "round_times")
        GetList(holder, key, r.round_times[d], INT16_MIN, INT16_MAX);
      else
        GetList(holder, key, r.round_marks[d], 0, 255);
    }
  }
}

Json ToJson(const GuardTourRecord& r) {
  Json times = Json::array(), marks = Json::array();
  for (int d = 0; d < GuardTourRecord::kDays; ++d) {
    times.push_back(List(r.round_times[d]));
    marks.push_back(List(r.round_marks[d]));
  }
  return Json{{"round_times", times}, {"round_marks", marks}};
}

}  // namespace duri::station_json
