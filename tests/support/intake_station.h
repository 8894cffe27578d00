// A station built from a JSON description with the station loader, its event intake installed, on a
// manual clock: the intake tests post event lines and read back the real history, stack and files.
#ifndef DURIDUVAZE_TESTS_SUPPORT_INTAKE_STATION_H_
#define DURIDUVAZE_TESTS_SUPPORT_INTAKE_STATION_H_

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "events/event_record.h"
#include "events/notify_event.h"
#include "events/stack.h"
#include "platform/clock.h"
#include "platform/ui_thread.h"
#include "station.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri::testing {

class IntakeStationTest : public ::testing::Test {
 protected:
  IntakeStationTest();

  // Writes the station's files from the description, loads its settings and language and installs the
  // intake; notifications are recorded in notified_ instead of being sent.
  void Load(const nlohmann::json& description);
  // One AddEvent call on the clock's date and time.
  void Post(std::string_view text, std::string_view extra = "");
  // The records of the month's history, in record order.
  std::vector<EventRecord> History(std::string_view period = "202612");
  // The stack entries in use, in slot order.
  std::vector<StackEntry> Stacked();
  // Writes a file under ORBA with the given bytes.
  void WriteOrbaFile(const std::string& name, const std::string& bytes);
  bool OrbaFileExists(const std::string& name);
  // A suspension file: a text-20 code pattern, 21 bytes.
  void WriteSuspension(const std::string& name, std::string_view pattern);

  TempDir tmp_;
  ManualClock clock_;
  RecordingView view_;
  // The user-interface thread for tests that open ports; it outlives the station.
  EventLoopThread ui_;
  Station station_;
  std::vector<EventRecord> notified_;
  std::vector<std::string> notified_accounts_;
};

// "\r" after each line.
std::string Lines(std::initializer_list<std::string_view> lines);

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_INTAKE_STATION_H_
