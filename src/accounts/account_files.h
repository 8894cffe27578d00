// Names of the account-side files of the shared data directory.
#ifndef DURIDUVAZE_ACCOUNTS_ACCOUNT_FILES_H_
#define DURIDUVAZE_ACCOUNTS_ACCOUNT_FILES_H_

#include <string_view>

namespace duri {

inline constexpr std::string_view kClientFile = "\\ORBA\\CLIENT.MDC";
inline constexpr std::string_view kClientIndexFile = "\\ORBA\\CLIENT.MDX";
inline constexpr std::string_view kAccountOrderFile = "\\ORBA\\CLIENT.MDP";
inline constexpr std::string_view kInactiveFlagFile = "\\ORBA\\CLI_BIN.MDA";
inline constexpr std::string_view kCodeFile = "\\ORBA\\CODE.DAC";
inline constexpr std::string_view kScheduleFile = "\\ORBA\\CEDULE.CTN";
inline constexpr std::string_view kAutoTestFile = "\\ORBA\\AUTOTEST.DAT";
inline constexpr std::string_view kNotifyFile = "\\ORBA\\PAGER.DAT";
inline constexpr std::string_view kGuardTourFile = "\\ORBA\\GUARDIAN.DAT";
inline constexpr std::string_view kGuardTourFreeList = "\\ORBA\\GUARDIAN.FL";
inline constexpr std::string_view kUserFile = "\\ORBA\\USERID.DAC";

// An account number as the index files hold it: a length byte and at most 10 characters.
inline constexpr int kAccountKeySize = 11;
inline constexpr int kAccountCapacity = 10;

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_ACCOUNT_FILES_H_
