// Opening and closing schedules: reading an area's schedule from CEDULE.CTN, and judging an opening or
// closing against it. The check marks in the schedule which period of which day was opened or closed,
// so that the operators' application can report late openings and closings, and writes it back.
#ifndef DURIDUVAZE_ACCOUNTS_SCHEDULE_H_
#define DURIDUVAZE_ACCOUNTS_SCHEDULE_H_

#include <cstdint>

#include "accounts/schedule_record.h"
#include "store/data_dir.h"

namespace duri {

// Event types the schedule check leaves.
inline constexpr uint8_t kEventOpening = 4;
inline constexpr uint8_t kEventClosing = 5;
inline constexpr uint8_t kEventOpeningOutside = 12;
inline constexpr uint8_t kEventClosingOutside = 13;

// Clears the record (default_delay: the company settings' default opening and closing delay) and
// reads record n when n is not negative and below the file's record count.
void ReadSchedule(DataDir& dir, int32_t n, ScheduleRecord& record, int16_t default_delay);
// A name and at least one period both defined and active.
bool ScheduleActive(const ScheduleRecord& record);
// Writes the record at n (read/write, others denied write). False when the file cannot be opened or
// written.
bool WriteSchedule(DataDir& dir, int32_t n, const ScheduleRecord& record);

// Judges an opening (type 4 or 12) or a closing (5 or 13) at the clock's time against an active
// schedule read from record n, marks the schedule and writes it back. day_of_week gets the day of the
// last day examined (the user check uses it).
void CheckSchedule(DataDir& dir, int32_t n, ScheduleRecord& record, bool opening, int& day_of_week,
                   uint8_t& event_type);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_SCHEDULE_H_
