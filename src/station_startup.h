// Start-up of the station (FormCreate with InitTVR) and the alarm-printer choice, as the window runs
// them. The window copies the lists these fill into its controls.
#ifndef DURIDUVAZE_STATION_STARTUP_H_
#define DURIDUVAZE_STATION_STARTUP_H_

#include <string>
#include <vector>

#include "intake/periodic_work.h"
#include "intake/receiver_setup.h"
#include "platform/sound.h"
#include "station.h"
#include "store/lock_probe.h"

namespace duri {

// What start-up fills in the window.
struct StartupLists {
  ReceiverSetupControls setup;
  // "Printer(None)" (from the language table, in UTF-8) then the system's printers in its order.
  std::vector<std::string> printer_items;
  int printer_item = 0;
  bool sound_available = false;
};

// InitTVR: settings and language, local settings, printer list, port states and receiver
// configurations, port and receiver lists.
void InitTVR(Station& station, StartupLists& lists);

// The whole start-up after the window is made: InitTVR, PrepReceiverList for the first listed port,
// every port opened for its receiver, the settings reloaded with the Portuguese-variant mark, the
// language selected again, and the sound decided (a playback device and the sound file both present).
void FormCreate(Station& station, Sound& sound, StartupLists& lists);

// The start-up check of the data directory's byte-range locks, before any port opens. True when the
// station may run: the probe found working locks, or no_locks was given (the station then runs
// without them, and says so). Otherwise false: the refusal is shown in the window and written to the
// error log, and *message holds it for standard error.
bool CheckDataLocks(Station& station, bool no_locks, const LockProbe& probe, std::string* message);

// The printer list's choice: 0 no alarm printing, n the n-th system printer; saved in TorvaPort.Dta.
void PrinterAlarmeChange(Station& station, int item);

}  // namespace duri

#endif  // DURIDUVAZE_STATION_STARTUP_H_
