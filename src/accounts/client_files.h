// Finding an account in the client files: the index CLIENT.MDX (one account number per client
// record, scanned in order), the client records of CLIENT.MDC, the sorted account list CLIENT.MDP
// (searched by bisection) and the inactive flags of CLI_BIN.MDA. The operators' application writes
// all four; this module only reads them.
#ifndef DURIDUVAZE_ACCOUNTS_CLIENT_FILES_H_
#define DURIDUVAZE_ACCOUNTS_CLIENT_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "accounts/client_record.h"
#include "store/data_dir.h"

namespace duri {

// The index scan reads this many index records at a time.
inline constexpr int32_t kIndexBlockRecords = 100000;

// The position of the first index record holding exactly `account`, or -1. *free_slot (when given)
// gets the first empty index record seen before the match, -1 when none was; at the end of an index
// without a match and without an empty record, the index's record count. The account is cut to 10
// characters. Waits first for a re-index
// and while another station holds the account-index lock "16". An empty account is never found.
int32_t FindAccount(DataDir& dir, std::string_view account, int32_t* free_slot = nullptr);

// Reads client `n` of CLIENT.MDC into `record` (current area 0, found flag 1). False, with the record
// untouched, when n is negative, past the end, or the file cannot be read.
bool ReadClient(DataDir& dir, int32_t n, ClientRecord& record);

// The lookup the intake and the code resolution use. `account` is cut to 10 characters. On return the
// record holds the client (found flag 1) or a cleared record carrying the account looked up (found
// flag 0), and record_number its index position or -1. An account beginning with "-" asks for the next
// free account number from the one after the dash: the cleared record carries it and record_number is
// left alone.
void LookUpClient(DataDir& dir, std::string_view account, int32_t& record_number, ClientRecord& record);

// Replaces `account` by the first account number, counting up in hexadecimal from it, that CLIENT.MDP
// does not hold. A text that is not hexadecimal counts as -1, so its successor is "0".
void NextFreeAccount(DataDir& dir, std::string& account);

// The inactive flag of client n (CLI_BIN.MDA); 0 when the file is missing or shorter.
uint8_t ClientInactiveFlag(DataDir& dir, int32_t n);

// Bisection in a file of 11-byte account numbers sorted in account order (CLIENT.MDP, and the other
// sorted indexes of the data directory). True when `key` is present; *position gets its record.
// Bounds are 32-bit, so files past 32,767 records are searched whole.
bool FindInAccountOrder(DataDir& dir, std::string_view file_name, std::string_view key, int32_t* position = nullptr);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_CLIENT_FILES_H_
