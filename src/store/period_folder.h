// The month folders of the shared database, where a month's history, its index, comments, action log
// and event logs live: "\ORBA\" + period key (PeriodKey) + ".EVT".
#ifndef DURIDUVAZE_STORE_PERIOD_FOLDER_H_
#define DURIDUVAZE_STORE_PERIOD_FOLDER_H_

#include <string>
#include <string_view>

namespace duri {

// "\ORBA\" + key + ".EVT"
inline std::string MonthFolder(std::string_view period_key) { return "\\ORBA\\" + std::string(period_key) + ".EVT"; }

// "\ORBA\" + key + ".EVT\"
inline std::string PeriodDirectory(std::string_view period_key) { return MonthFolder(period_key) + "\\"; }

}  // namespace duri

#endif  // DURIDUVAZE_STORE_PERIOD_FOLDER_H_
