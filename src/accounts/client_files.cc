#include "accounts/client_files.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "accounts/account_files.h"
#include "store/file_cache.h"
#include "store/lock_file.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

// The bisection over an open file of sorted account numbers.
bool Bisect(const SharedFile& file, std::string_view key, int32_t* position) {
  int32_t low = 0;
  int32_t high = file.RecordCount() - 1;
  uint8_t buf[kAccountKeySize];
  while (low <= high) {
    int32_t step = (high - low + 1) / 2;
    if (file.ReadRecord(low + step, buf) != kIoOk) return false;
    ShortString<kAccountCapacity> found;
    found.Decode(buf);
    int order = CompareKeys(found.view(), key);
    if (order == 2) {
      if (position) *position = low + step;
      return true;
    }
    if (order == 1)
      low += step;
    else
      high -= step;
    // With a step of 0 the record at the low bound was the last one to look at.
    if (step == 0) break;
  }
  return false;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The account read as a hexadecimal number; -1 when it is not one (or is empty).
int64_t HexValue(std::string_view text) {
  if (text.empty()) return -1;
  int64_t value = 0;
  for (char c : text) {
    if (!IsHexDigit(c)) return -1;
    int d = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * 16 + d;
  }
  return value;
}

std::string HexText(int64_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value > 0);
  return text.substr(0, kAccountCapacity);
}

// CLIENT.MDX as a table: each account's first record, the first free slot and the record count.
struct AccountIndex {
  std::unordered_map<std::string, int32_t> first_record;
  int32_t first_free = -1;
  int32_t records = 0;
};

AccountIndex IndexAccounts(std::span<const uint8_t> bytes) {
  AccountIndex index;
  index.records = static_cast<int32_t>(bytes.size() / kAccountKeySize);
  index.first_record.reserve(static_cast<size_t>(index.records));
  for (int32_t n = 0; n < index.records; ++n) {
    const uint8_t* rec = &bytes[static_cast<size_t>(n) * kAccountKeySize];
    if (rec[0] == 0) {
      if (index.first_free < 0) index.first_free = n;
      continue;  // an empty slot: never the account, even an empty one
    }
    // A length past the field's capacity matches no account.
    if (rec[0] > kAccountCapacity) continue;
    index.first_record.try_emplace(std::string(reinterpret_cast<const char*>(rec + 1), rec[0]), n);
  }
  return index;
}

// The index read block by block: while it may still be changing, or when it cannot be read whole.
int32_t ScanIndex(const SharedFile& file, std::string_view account, int32_t* free_slot) {
  const int32_t count = file.RecordCount();
  std::vector<uint8_t> block(static_cast<size_t>(kIndexBlockRecords) * kAccountKeySize);
  int32_t found = -1;
  int32_t first_free = -1;
  for (int32_t start = 0; start < count && found < 0; start += kIndexBlockRecords) {
    int32_t n = std::min(kIndexBlockRecords, count - start);
    std::span<uint8_t> part(block.data(), static_cast<size_t>(n) * kAccountKeySize);
    if (file.ReadRecord(start, part) != kIoOk) break;
    for (int32_t i = 0; i < n; ++i) {
      const uint8_t* rec = &block[static_cast<size_t>(i) * kAccountKeySize];
      if (rec[0] == 0) {
        if (first_free < 0) first_free = start + i;
        continue;  // an empty slot: never the account, even an empty one
      }
      if (rec[0] == account.size() && std::equal(account.begin(), account.end(), rec + 1)) {
        found = start + i;
        break;
      }
    }
  }
  if (found < 0 && first_free < 0) first_free = count;
  *free_slot = first_free;
  return found;
}

}  // namespace

int32_t FindAccount(DataDir& dir, std::string_view account, int32_t* free_slot) {
  if (free_slot) *free_slot = -1;
  account = account.substr(0, kAccountCapacity);
  WaitForReindex(dir);
  WaitUntilFree(dir, kGeneralLock, kAccountIndexKey);
  SharedFile file;
  if (OpenShared(dir, file, kClientIndexFile, kAccountKeySize) != kIoOk) {
    CloseShared(dir, file);
    return -1;
  }
  int32_t found = -1;
  int32_t first_free = -1;
  // Building the table costs some forty scans: an index changed within the settling time, which would
  // be read again at every event until it settles, is scanned instead.
  const std::optional<FileStamp> stamp = StampOfDescriptor(file.fd());
  const std::function<AccountIndex(std::span<const uint8_t>)> build = IndexAccounts;
  std::shared_ptr<const AccountIndex> index;
  if (stamp && IsSettled(*stamp)) index = dir.file_cache().Get<AccountIndex>(file.path(), file.fd(), *stamp, build);
  if (index) {
    auto it = index->first_record.find(std::string(account));
    found = it == index->first_record.end() ? -1 : it->second;
    // As the scan would have seen it: the first free slot before the account's record.
    first_free = found < 0 || index->first_free < found ? index->first_free : -1;
    if (found < 0 && first_free < 0) first_free = index->records;
  } else {
    found = ScanIndex(file, account, &first_free);
  }
  CloseShared(dir, file);
  if (free_slot) *free_slot = first_free;
  return found;
}

bool ReadClient(DataDir& dir, int32_t n, ClientRecord& record) {
  if (n < 0) return false;
  SharedFile file;
  bool read = false;
  // A record past the end (or cut short) reads as kIoReadPastEnd: no need to size the file first.
  if (OpenShared(dir, file, kClientFile, ClientRecord::kSize) == kIoOk) {
    std::vector<uint8_t> buf(ClientRecord::kSize);
    if (file.ReadRecord(n, buf) == kIoOk) {
      record.Decode(buf.data());
      record.current_area = 0;
      record.found = 1;
      read = true;
    }
  }
  CloseShared(dir, file);
  return read;
}

void LookUpClient(DataDir& dir, std::string_view account, int32_t& record_number, ClientRecord& record) {
  std::string key(account.substr(0, kAccountCapacity));
  if (!key.empty() && key[0] == '-') {
    key.erase(0, 1);
    record.Clear();
    NextFreeAccount(dir, key);
    record.account = key;
    return;
  }
  record_number = FindAccount(dir, key);
  record.Clear();
  if (record_number < 0 || !ReadClient(dir, record_number, record)) record.account = key;
}

void NextFreeAccount(DataDir& dir, std::string& account) {
  SharedFile file;
  if (OpenShared(dir, file, kAccountOrderFile, kAccountKeySize) != kIoOk) {
    CloseShared(dir, file);
    return;
  }
  // Each number tried is one more than the last, so among count + 1 tries one is free; the bound only
  // guards against a file that changes under the search.
  int64_t tries = static_cast<int64_t>(file.RecordCount()) + 1;
  std::string key = account.substr(0, kAccountCapacity);
  while (tries-- > 0 && Bisect(file, key, nullptr)) key = HexText(HexValue(key) + 1);
  account = key;
  CloseShared(dir, file);
}

uint8_t ClientInactiveFlag(DataDir& dir, int32_t n) {
  uint8_t flag = 0;
  SharedFile file;
  if (n >= 0 && OpenForUpdate(dir, file, kInactiveFlagFile, 1) == kIoOk && n < file.RecordCount()) {
    uint8_t buf[1];
    if (file.ReadRecord(n, buf) == kIoOk) flag = buf[0];
  }
  CloseShared(dir, file);
  return flag;
}

bool FindInAccountOrder(DataDir& dir, std::string_view file_name, std::string_view key, int32_t* position) {
  SharedFile file;
  bool found = OpenShared(dir, file, file_name, kAccountKeySize) == kIoOk && Bisect(file, key, position);
  CloseShared(dir, file);
  return found;
}

}  // namespace duri
