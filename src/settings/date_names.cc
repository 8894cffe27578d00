#include "settings/date_names.h"

#include "settings/language_entries.h"

namespace duri {
namespace {

void CopyIfFilled(const LanguageTable& table, int entry, std::string& name) {
  std::string text = table.Entry(entry);
  if (!text.empty()) name = std::move(text);
}

}  // namespace

void CopyDateNames(const LanguageTable& table, DateNames& names) {
  for (int i = 0; i < 7; ++i) {
    CopyIfFilled(table, kEntryDayNames + kDayNameStride * i, names.day_names[static_cast<size_t>(i)]);
    CopyIfFilled(table, kEntryShortDayNames + kShortDayNameStride * i,
                 names.short_day_names[static_cast<size_t>(i)]);
  }
  CopyIfFilled(table, kEntryMonthName, names.month_name);
  CopyIfFilled(table, kEntryLongMonthName, names.long_month_name);
}

}  // namespace duri
