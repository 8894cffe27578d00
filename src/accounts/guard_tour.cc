#include "accounts/guard_tour.h"

#include <vector>

#include "accounts/account_files.h"
#include "accounts/guard_tour_record.h"
#include "store/dates.h"
#include "store/shared_file.h"

namespace duri {
namespace {

constexpr int kMinutesBefore = 5;
constexpr int kMinutesAfter = 4;
constexpr int kNoRound = -1;

bool ReadGuardTour(DataDir& dir, int32_t n, GuardTourRecord& record) {
  if (n < 0) return false;
  SharedFile file;
  bool read = false;
  if (OpenShared(dir, file, kGuardTourFile, GuardTourRecord::kSize) == kIoOk && n < file.RecordCount()) {
    std::vector<uint8_t> buf(GuardTourRecord::kSize);
    if (file.ReadRecord(n, buf) == kIoOk) {
      record.Decode(buf.data());
      read = true;
    }
  }
  CloseShared(dir, file);
  return read;
}

void WriteGuardTour(DataDir& dir, int32_t n, const GuardTourRecord& record) {
  SharedFile file;
  if (OpenForUpdate(dir, file, kGuardTourFile, GuardTourRecord::kSize) == kIoOk) {
    std::vector<uint8_t> buf(GuardTourRecord::kSize);
    record.Encode(buf.data());
    // A failed write shows when the round is next checked: its time is still the old one.
    (void)file.WriteRecord(n, buf);
  }
  CloseShared(dir, file);
}

}  // namespace

bool CheckGuardRound(DataDir& dir, int32_t& record_number, uint8_t& event_type) {
  GuardTourRecord record;
  if (!ReadGuardTour(dir, record_number, record)) {
    record.Clear();
    record_number = -1;
  }
  const LocalDateTime clock_now = dir.clock().Now();
  const int now = TimeToHHMM(clock_now.time);
  const int d = clock_now.date.day_of_week % GuardTourRecord::kDays;
  const uint8_t month_day = static_cast<uint8_t>(clock_now.date.day);
  // Yesterday's rounds seen from after midnight, today's, and tomorrow's seen from before midnight.
  const struct {
    int day;
    int now;
  } passes[] = {{(d + 6) % 7, AddHHMM(now, 2400, 0)}, {d, now}, {(d + 1) % 7, SubHHMM(now, 2400, 0)}};

  bool answered = false;
  for (const auto& pass : passes) {
    auto& times = record.round_times[pass.day];
    auto& marks = record.round_marks[pass.day];
    for (int k = 0; k < GuardTourRecord::kRounds && !answered; ++k) {
      event_type = kEventGuardRoundMissed;
      if (times[k] == kNoRound) continue;
      int from = SubHHMM(times[k], kMinutesBefore, 0);
      int to = AddHHMM(times[k], kMinutesAfter, 0);
      if (pass.now >= from && pass.now <= to && marks[k] != month_day) {
        event_type = kEventGuardRound;
        marks[k] = month_day;
        answered = true;
      }
    }
    if (answered) break;
  }
  if (record_number >= 0) WriteGuardTour(dir, record_number, record);
  return answered;
}

}  // namespace duri
