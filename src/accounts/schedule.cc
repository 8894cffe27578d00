#include "accounts/schedule.h"

#include <cstdlib>
#include <vector>

#include "accounts/account_files.h"
#include "store/dates.h"
#include "store/shared_file.h"

namespace duri {
namespace {

// Each pass looks at one day's block with the time seen from that day: yesterday's with now + 2400
// (an event after midnight for a period of the evening before), today's with now, tomorrow's with
// now - 2400.
constexpr int kPasses = 3;
constexpr int kLookAheadDays = 7;
// The opening window starts this many minutes before the opening delay.
constexpr int kOpeningMargin = 3;

// A window bound. A period without an opening or closing time has no window; its bounds stand where
// the stored -1 puts them for every computed time but -1 itself, which tomorrow's pass computes at
// 23:59 and which must not fall inside a window that does not exist.
struct Bound {
  int value = -1;
  bool present = false;
};

bool AtOrAfter(int now, Bound start) { return start.present ? now >= start.value : now > -1; }
bool AtOrBefore(int now, Bound end) { return end.present ? now <= end.value : now < -1; }
bool Within(Bound start, int now, Bound end) { return AtOrAfter(now, start) && AtOrBefore(now, end); }

struct Windows {
  int c;  // the closing time as stored
  Bound os, oe, cs, ce;
};

Windows PeriodWindows(const ScheduleRecord& r, const ScheduleDay& d, int k) {
  Windows w;
  w.c = d.closing_time[k];
  int o = d.opening_time[k];
  if (o >= 0) {
    int delay = d.opening_delay[k] > 0 ? d.opening_delay[k] : r.opening_delay;
    w.os = {SubHHMM(o, delay, kOpeningMargin), true};
    w.oe = {AddHHMM(o, r.late_opening_delay, 0), true};
  }
  if (w.c >= 0) {
    int delay = d.closing_delay[k] > 0 ? d.closing_delay[k] : r.closing_delay;
    w.cs = {w.c, true};
    w.ce = {AddHHMM(w.c, delay, 0), true};
  }
  return w;
}

struct Marks {
  int16_t& opening;
  int16_t& closing;
};

bool OpeningCheck(const Windows& w, int now, int pass, int today, bool normal, Marks m, uint8_t& type) {
  type = kEventOpeningOutside;
  bool decided = false;
  if ((Within(w.os, now, w.oe) && std::abs(m.opening) != today) || (Within(w.os, now, w.ce) && normal)) {
    type = kEventOpening;
    m.opening = static_cast<int16_t>(today);
    decided = true;
  }
  if (pass == kPasses) return decided;
  if (w.c <= w.oe.value && AtOrBefore(now, w.ce)) {
    m.closing = 0;
    return true;
  }
  if (AtOrBefore(now, w.oe)) {
    m.closing = 0;
    m.opening = static_cast<int16_t>(today);
    return true;
  }
  if (AtOrBefore(now, w.ce)) {
    m.closing = 0;
    return true;
  }
  return decided;
}

bool ClosingCheck(const Windows& w, int now, int pass, int today, bool normal, Marks m, uint8_t& type) {
  type = kEventClosingOutside;
  if ((Within(w.cs, now, w.ce) && std::abs(m.closing) != today) || (Within(w.os, now, w.ce) && normal)) {
    type = kEventClosing;
    m.closing = static_cast<int16_t>(today);
    return true;
  }
  if (pass == kPasses) return false;
  if (w.c <= w.oe.value && AtOrBefore(now, w.ce)) {
    m.closing = static_cast<int16_t>(today);
    return true;
  }
  if (AtOrBefore(now, w.oe)) {
    // The opening of a period that has not begun yet: the mark is cleared, or set aside by negating it.
    m.opening = normal ? int16_t{0} : static_cast<int16_t>(-m.opening);
    return true;
  }
  if (AtOrBefore(now, w.ce)) {
    m.closing = static_cast<int16_t>(today);
    return true;
  }
  return false;
}

bool PeriodInUse(const ScheduleRecord& r, int k) { return r.defined[k] != 0 && r.active[k] != 0; }

// No period answered around today: the first period of the coming days settles the event.
void LookAhead(ScheduleRecord& r, DateRecord day, bool opening, bool normal, int& day_of_week, uint8_t& type) {
  for (int i = 0; i < kLookAheadDays; ++i) {
    AddDays(day, 1);
    day_of_week = day.day_of_week;
    const int16_t mark = static_cast<int16_t>(day.month * 100 + day.day);
    ScheduleDay& block = r.days[day.day_of_week % ScheduleRecord::kDays];
    for (int k = 0; k < ScheduleRecord::kPeriods; ++k) {
      if (!PeriodInUse(r, k)) continue;
      Windows w = PeriodWindows(r, block, k);
      bool closing_first = (w.ce.value < w.oe.value && w.c >= 0) || (w.oe.value == -1 && w.c >= 0);
      type = opening ? kEventOpeningOutside : kEventClosingOutside;
      if (closing_first) {
        block.closing_mark[k] = opening ? int16_t{0} : mark;
        if (normal) type = opening ? kEventOpening : kEventClosing;
        return;
      }
      if (w.oe.value >= 0) {
        block.opening_mark[k] = opening ? mark : int16_t{0};
        return;
      }
    }
  }
}

}  // namespace

void ReadSchedule(DataDir& dir, int32_t n, ScheduleRecord& record, int16_t default_delay) {
  record.Clear(default_delay);
  if (n < 0) return;
  SharedFile file;
  // A record past the end (or cut short) reads as kIoReadPastEnd: no need to size the file first.
  if (OpenShared(dir, file, kScheduleFile, ScheduleRecord::kSize) == kIoOk) {
    std::vector<uint8_t> buf(ScheduleRecord::kSize);
    if (file.ReadRecord(n, buf) == kIoOk) record.Decode(buf.data());
  }
  CloseShared(dir, file);
}

bool ScheduleActive(const ScheduleRecord& record) {
  if (record.name.empty()) return false;
  for (int k = 0; k < ScheduleRecord::kPeriods; ++k)
    if (PeriodInUse(record, k)) return true;
  return false;
}

bool WriteSchedule(DataDir& dir, int32_t n, const ScheduleRecord& record) {
  if (n < 0) return false;
  SharedFile file;
  bool written = false;
  if (OpenForUpdate(dir, file, kScheduleFile, ScheduleRecord::kSize) == kIoOk) {
    std::vector<uint8_t> buf(ScheduleRecord::kSize);
    record.Encode(buf.data());
    written = file.WriteRecord(n, buf) == kIoOk;
  }
  CloseShared(dir, file);
  return written;
}

void CheckSchedule(DataDir& dir, int32_t n, ScheduleRecord& record, bool opening, int& day_of_week,
                   uint8_t& event_type) {
  const LocalDateTime clock_now = dir.clock().Now();
  const int now = TimeToHHMM(clock_now.time);
  const int today = clock_now.date.month * 100 + clock_now.date.day;
  const int d = clock_now.date.day_of_week % ScheduleRecord::kDays;
  const bool normal = record.normal_oc != 0;
  const struct {
    int day;
    int now;
  } passes[kPasses] = {{(d + 6) % 7, AddHHMM(now, 2400, 0)}, {d, now}, {(d + 1) % 7, SubHHMM(now, 2400, 0)}};

  bool decided = false;
  for (int p = 0; p < kPasses && !decided; ++p) {
    day_of_week = passes[p].day;
    ScheduleDay& block = record.days[passes[p].day];
    for (int k = 0; k < ScheduleRecord::kPeriods && !decided; ++k) {
      if (!PeriodInUse(record, k)) continue;
      Windows w = PeriodWindows(record, block, k);
      Marks marks{block.opening_mark[k], block.closing_mark[k]};
      decided = opening ? OpeningCheck(w, passes[p].now, p + 1, today, normal, marks, event_type)
                        : ClosingCheck(w, passes[p].now, p + 1, today, normal, marks, event_type);
    }
  }
  if (!decided) LookAhead(record, clock_now.date, opening, normal, day_of_week, event_type);
  WriteSchedule(dir, n, record);
}

}  // namespace duri
