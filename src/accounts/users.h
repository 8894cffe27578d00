// Users and opening authorization: the user named in an opening, closing or guard round is looked up
// in the area's user table (USERID.DAC), named in the event's description, and an opening by a hot user
// or outside the user's permitted days or dates is reclassified.
#ifndef DURIDUVAZE_ACCOUNTS_USERS_H_
#define DURIDUVAZE_ACCOUNTS_USERS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "accounts/client_record.h"
#include "accounts/user_record.h"
#include "store/data_dir.h"
#include "store/dates.h"

namespace duri {

inline constexpr uint8_t kEventHotUserOpening = 28;
inline constexpr uint8_t kEventHotUserOther = 29;
inline constexpr uint8_t kEventUnauthorizedOpening = 32;

// The texts the check adds, from the active language table; English by default.
struct UserCheckTexts {
  std::string by = "By";
  std::string hot_user = "(Hot User)";
  std::string unauthorized = "(Unauthorized)";
  std::string unscheduled = "(Unscheduled)";
};

// The user number of an event code: a 7-character code (E123005) carries it in its last three.
std::string UserNumberOf(std::string_view event_code);

// Finds the first entry of the user table chain of the client's current area whose in/out codes name
// the event code's user number. A chain whose next-record numbers come back to a record already read
// ends there.
bool FindUser(DataDir& dir, const ClientRecord& client, std::string_view event_code, UserEntry* user);

// True when an opening by this user on date `today`, day of week `day_of_week`, is not authorized: on a
// day whose authorized-day flag is 0, or inside the user's begin to end period.
bool UnauthorizedOpening(const UserEntry& user, const DateRecord& today, int day_of_week);

// Appends the user's name to the description and reclassifies hot users' events and unauthorized
// openings, then marks events outside schedule (types 12, 13, 30) "(Unscheduled)". day_of_week is the
// one the schedule check left, else today's. The description is cut to 100 characters.
void CheckUser(DataDir& dir, const ClientRecord& client, std::string_view event_code, std::string& description,
               uint8_t& event_type, int day_of_week, const UserCheckTexts& texts = UserCheckTexts());

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_USERS_H_
