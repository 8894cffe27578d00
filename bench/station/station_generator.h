// Builds a large station for the intake benchmarks: accounts with two areas, each account with its own
// chain of three code table records, a schedule and a user table, and one month's history of a given
// number of records. The station is built once under a directory and reused while its marker file says
// it was built with the same sizes.
#ifndef DURIDUVAZE_BENCH_STATION_STATION_GENERATOR_H_
#define DURIDUVAZE_BENCH_STATION_STATION_GENERATOR_H_

#include <string>
#include <vector>

#include "store/data_dir.h"

namespace duri::bench {

struct StationShape {
  int accounts = 100000;
  int history_records = 1000000;
  // The month of the history, and of the events the benchmarks post.
  int year = 2026;
  int month = 12;
};

// The account number of account i (0-based): 1000 to 5999 for the first 5,000 (accounts the simulated
// receivers send), then 6 digits from 105000.
std::string AccountNumber(int i);
// The codes every account's chain knows, found in the chain's last record.
const std::vector<std::string>& KnownCodes();

// Builds (or reuses) the station under root; then cuts the month's history back to its generated size,
// so that every run starts from the same station. False with *error when a file cannot be written.
bool PrepareStation(const std::string& root, const StationShape& shape, std::string* error);

// The event lines the benchmarks post, one CR-ended line each: a quarter on unknown accounts, a quarter
// on unknown codes of known accounts, half on known codes. The same seed gives the same lines.
std::vector<std::string> EventLines(const StationShape& shape, int count, unsigned seed);

}  // namespace duri::bench

#endif  // DURIDUVAZE_BENCH_STATION_STATION_GENERATOR_H_
