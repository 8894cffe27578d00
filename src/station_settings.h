// When the station loads its settings and selects its language: the two halves of start-up and the
// 15-second reload. The timer and the window that call these come with the window.
#ifndef DURIDUVAZE_STATION_SETTINGS_H_
#define DURIDUVAZE_STATION_SETTINGS_H_

#include "settings/language_texts.h"
#include "station.h"

namespace duri {

// Fills the language table by the company settings (the language code may be corrected or imposed by
// the station code), copies the date names and the lock refusal texts. Returns the table filled.
TableId SelectLanguage(Station& station);

// Start-up, first half: the company settings from "\ORBA\CIE.DTC", or from "\ORBA\TVCIE.DTA" when the
// first does not exist; the language; the local settings.
void LoadStartupSettings(Station& station);

// Start-up, once the ports are open: the company settings from "\ORBA\TVCIE.DTA" (the defaults when it is
// missing), the Portuguese-variant mark when the station code is not set, the language again.
void ReloadStartupSettings(Station& station);

// Every 15 seconds: "\ORBA\TVCIE.DTA" again and the language, so that a change made in the monitoring
// application shows within 15 seconds.
void ReloadSettings(Station& station);

}  // namespace duri

#endif  // DURIDUVAZE_STATION_SETTINGS_H_
