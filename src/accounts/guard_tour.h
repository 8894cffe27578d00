// Guard tour rounds: a round report (an event of type 3) answers a scheduled round of the account's
// guard-tour record when it arrives within five minutes before to four minutes after the round time
// and that round was not answered yet today; the round is then marked with the day of the month.
#ifndef DURIDUVAZE_ACCOUNTS_GUARD_TOUR_H_
#define DURIDUVAZE_ACCOUNTS_GUARD_TOUR_H_

#include <cstdint>

#include "store/data_dir.h"

namespace duri {

inline constexpr uint8_t kEventGuardRound = 3;
inline constexpr uint8_t kEventGuardRoundMissed = 30;

// Leaves event_type 3 and marks the round when the report answers one, else sets 30. The record is
// written back only when it was read: for an account without a readable guard-tour record
// (record_number becomes -1) nothing is written, so a round report never allocates or leaks a record
// of GUARDIAN.DAT or an entry of the operators' free list GUARDIAN.FL.
bool CheckGuardRound(DataDir& dir, int32_t& record_number, uint8_t& event_type);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_GUARD_TOUR_H_
