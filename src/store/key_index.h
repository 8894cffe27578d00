// Sorted index files of 11-byte keys (string[10]): PERIOD.INX lists the months that have a history,
// Armed.Inx the groups that have an armed-status file. Keys are kept in ascending order: a shorter key
// first, keys of equal length by character codes, no duplicates.
//
// An update copies the index through a work file and back over the index, as the operators'
// application does. The original used one work file name, "\ORBA\tmpgrp0.tmp", for every station and
// both indexes, so two updates at once could copy each other's keys back; the work file here is named
// after the computer, the process and the index.
#ifndef DURIDUVAZE_STORE_KEY_INDEX_H_
#define DURIDUVAZE_STORE_KEY_INDEX_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/data_dir.h"

namespace duri {

inline constexpr int kIndexKeySize = 11;

// "\ORBA\tmpgrp0-<computer>-<process>-<index name>.tmp"
std::string IndexWorkFileName(DataDir& dir, std::string_view index_file);

// Sorted insertion of key (cut to 10 characters); the index is created when missing and a key already
// present is not inserted twice. Checked: a failed read or write raises IoError.
void InsertPeriod(DataDir& dir, std::string_view index_file, std::string_view key);

// Removes key from the index; nothing happens when the index or the key is missing. Checked as
// InsertPeriod.
void RemoveIndexKey(DataDir& dir, std::string_view index_file, std::string_view key);

// The keys of an index in file order; empty when it cannot be read.
std::vector<std::string> ReadIndexKeys(DataDir& dir, std::string_view index_file);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_KEY_INDEX_H_
