// Automatic-test supervision: each automatic test received stamps the station's date and time into
// the account's record of AUTOTEST.DAT, where the operators' application compares it with the
// account's test interval.
#ifndef DURIDUVAZE_ACCOUNTS_AUTO_TEST_H_
#define DURIDUVAZE_ACCOUNTS_AUTO_TEST_H_

#include <cstdint>
#include <string>

#include "store/data_dir.h"

namespace duri {

// The event description's capacity.
inline constexpr size_t kDescriptionCapacity = 100;

// n < 0 (no automatic-test record): appends " *** AUTO TEST POINTER = " and n to the description, so
// the operator sees the record is missing. Otherwise stamps the clock's packed date and time into
// record n when the file holds it; nothing happens when it does not.
void StampAutoTest(DataDir& dir, int32_t n, std::string& description);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_AUTO_TEST_H_
