// The day and month names that date texts use, taken from the language table after every fill. Texts
// are in the table's code page.
#ifndef DURIDUVAZE_SETTINGS_DATE_NAMES_H_
#define DURIDUVAZE_SETTINGS_DATE_NAMES_H_

#include <array>
#include <string>

#include "settings/language_table.h"

namespace duri {

struct DateNames {
  // Index 0 = Sunday .. 6 = Saturday.
  std::array<std::string, 7> day_names{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> short_day_names{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::string month_name = "January";
  std::string long_month_name = "January";
};

// Copies the names from the table. An entry the table leaves empty keeps the name held, so that a
// table without date names never blanks the dates.
void CopyDateNames(const LanguageTable& table, DateNames& names);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_DATE_NAMES_H_
