#include "station_startup.h"

#include <optional>

#include "settings/language_entries.h"
#include "station_settings.h"
#include "store/error_log.h"
#include "store/shared_file.h"

namespace duri {

void InitTVR(Station& station, StartupLists& lists) {
  LoadStartupSettings(station);
  lists.printer_items.clear();
  lists.printer_items.push_back(station.language.EntryUtf8(kEntryPrinterNone));
  for (const std::string& name : station.printer().PrinterNames()) lists.printer_items.push_back(name);
  const int stored = station.local_settings.alarm_printer;
  lists.printer_item = stored >= 0 && stored < static_cast<int>(lists.printer_items.size()) ? stored : 0;
  ResetReceiverPorts(station);
  FillReceiverLists(station, lists.setup);
}

void FormCreate(Station& station, Sound& sound, StartupLists& lists) {
  InitTVR(station, lists);
  PrepReceiverList(station, lists.setup);
  for (int port = 1; port <= kPortCount; ++port) OpenReceiverPort(station, port);
  ReloadStartupSettings(station);
  lists.sound_available = sound.PlaybackDeviceCount() > 0 && FileExists(station.data, kNotifySound);
}

void PrinterAlarmeChange(Station& station, int item) {
  station.local_settings.alarm_printer = static_cast<uint8_t>(item < 0 ? 0 : item);
  SaveLocalSettings(station.data, station.local_settings);
}

bool CheckDataLocks(Station& station, bool no_locks, const LockProbe& probe, std::string* message) {
  std::optional<std::string> orba = station.data.HostPath("\\ORBA");
  const std::string directory = orba && DirectoryExists(station.data, "\\ORBA") ? *orba : station.data.root();
  const std::string problem = probe(directory);
  if (problem.empty()) return true;
  std::string text = "The data directory " + directory + " cannot be shared safely: " + problem + ". ";
  text += no_locks ? "Running without locks (--no-locks): two stations may write one record at once."
                   : "The station does not run; mount it with byte-range locks, or start with --no-locks.";
  LogError(station.data, text);
  station.view().ShowMessage("locks", text);
  if (message != nullptr) *message = text;
  return no_locks;
}

}  // namespace duri
