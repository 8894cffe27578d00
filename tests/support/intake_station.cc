#include "support/intake_station.h"

#include <fstream>
#include <iterator>

#include "station_json/station_loader.h"
#include "events/add_event.h"
#include "station_settings.h"

namespace duri::testing {

IntakeStationTest::IntakeStationTest() : station_(tmp_.path(), clock_, view_) {
  tmp_.MakeDir("ORBA");
  clock_.Set(2026, 12, 8, 10, 30, 0);  // a Tuesday
}

void IntakeStationTest::Load(const nlohmann::json& description) {
  std::string error;
  ASSERT_TRUE(LoadStation(station_.data, description, &error)) << error;
  LoadStartupSettings(station_);
  InstallEventIntake(station_);
  station_.notify_event = [this](const NotifyAccount& account, const EventRecord& event) {
    notified_.push_back(event);
    notified_accounts_.push_back(account.account.str());
  };
}

void IntakeStationTest::Post(std::string_view text, std::string_view extra) {
  const LocalDateTime now = clock_.Now();
  AddEvent(station_.event_context(), now.date, now.time, text, extra, StackEntry{}, 1);
}

std::vector<EventRecord> IntakeStationTest::History(std::string_view period) {
  std::vector<EventRecord> records;
  auto path = station_.data.HostPath("\\ORBA\\" + std::string(period) + ".EVT\\EVENT.MDC");
  if (!path) return records;
  std::ifstream in(*path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (size_t at = 0; at + EventRecord::kSize <= bytes.size(); at += EventRecord::kSize) {
    EventRecord r;
    r.Decode(std::span<const uint8_t, EventRecord::kSize>(
        reinterpret_cast<const uint8_t*>(bytes.data() + at), EventRecord::kSize));
    records.push_back(r);
  }
  return records;
}

std::vector<StackEntry> IntakeStationTest::Stacked() {
  StackTable table;
  ReadStack(station_.data, table);
  std::vector<StackEntry> used;
  for (const StackEntry& e : table) {
    if (e.in_use()) used.push_back(e);
  }
  return used;
}

void IntakeStationTest::WriteOrbaFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(tmp_.Join("ORBA/" + name), std::ios::binary);
  out << bytes;
}

bool IntakeStationTest::OrbaFileExists(const std::string& name) {
  std::ifstream in(tmp_.Join("ORBA/" + name));
  return in.good();
}

void IntakeStationTest::WriteSuspension(const std::string& name, std::string_view pattern) {
  std::string bytes(21, '\0');
  bytes[0] = static_cast<char>(pattern.size());
  bytes.replace(1, pattern.size(), pattern);
  WriteOrbaFile(name, bytes);
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view l : lines) text += std::string(l) + "\r";
  return text;
}

}  // namespace duri::testing
