// The station's DC-09 panel accounts: the AES key of each and its supervision interval. They live in
// the station-local text file "dc09-accounts" beside TorvaCom.dta, one account a line:
//
//   # account  key (32, 48 or 64 hex digits, or -)  supervision interval in seconds (0: none)
//   1234       000102030405060708090A0B0C0D0E0F      90
//   00C0FFEE   -                                     0
//
// Blank lines and lines starting with '#' are skipped. The file holds keys, so it must belong to the
// user the station runs as and give no right to anyone else (mode 0600 or 0400); any other file is
// refused whole, as is a file with a malformed line: a half-read key table would turn away panels
// silently. A missing file is an empty table (plain messages only, no supervision).
#ifndef DURIDUVAZE_TRANSPORT_DC09_ACCOUNTS_H_
#define DURIDUVAZE_TRANSPORT_DC09_ACCOUNTS_H_

#include <map>
#include <string>

#include "transport/dc09_cipher.h"

namespace duri::dc09 {

inline constexpr char kAccountsFileName[] = "dc09-accounts";

struct AccountEntry {
  bool has_key = false;
  Key key;
  int supervision_seconds = 0;
};

// Upper-case account digits to their entry.
using AccountTable = std::map<std::string, AccountEntry>;

// Reads text into table. False with why (naming the line) on the first malformed line.
bool ParseAccounts(const std::string& text, AccountTable& table, std::string& why);

// Loads path with the rights check above. False with why when refused or unreadable.
bool LoadAccounts(const std::string& path, AccountTable& table, std::string& why);

}  // namespace duri::dc09

#endif  // DURIDUVAZE_TRANSPORT_DC09_ACCOUNTS_H_
