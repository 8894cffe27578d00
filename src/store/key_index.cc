#include "store/key_index.h"

#include <unistd.h>

#include <algorithm>

#include "store/io_result.h"
#include "store/shared_file.h"
#include "store/short_string.h"
#include "store/text.h"

namespace duri {
namespace {

// Keys are copied in blocks of this many records.
constexpr int kBlockRecords = 50;

std::string Decoded(const uint8_t* record) {
  ShortString<10> key;
  key.Decode(record);
  return key.str();
}

std::vector<uint8_t> ReadAll(const SharedFile& file) {
  std::vector<uint8_t> bytes(static_cast<size_t>(file.RecordCount()) * kIndexKeySize);
  file.CheckedReadAt(0, bytes);
  return bytes;
}

// Writes records through the work file and back over the index from its start, in blocks.
void CopyThroughWorkFile(DataDir& dir, SharedFile& index, std::string_view index_file,
                         const std::vector<uint8_t>& records) {
  const std::string work_name = IndexWorkFileName(dir, index_file);
  SharedFile work;
  int r = CreateShared(dir, work, work_name, kIndexKeySize);
  if (r != kIoOk) throw IoError(r, "cannot create work file " + work_name);
  const size_t block = static_cast<size_t>(kBlockRecords) * kIndexKeySize;
  for (size_t at = 0; at < records.size(); at += block) {
    size_t n = std::min(block, records.size() - at);
    work.CheckedWriteAt(static_cast<int64_t>(at), std::span(records.data() + at, n));
  }
  std::vector<uint8_t> buf(block);
  for (size_t at = 0; at < records.size(); at += block) {
    size_t n = std::min(block, records.size() - at);
    work.CheckedReadAt(static_cast<int64_t>(at), std::span(buf.data(), n));
    index.CheckedWriteAt(static_cast<int64_t>(at), std::span<const uint8_t>(buf.data(), n));
  }
  CloseShared(dir, work);
  // A work file left behind is named after this station and process, and emptied by the next update.
  (void)DeleteSharedFile(dir, work_name);
}

}  // namespace

std::string IndexWorkFileName(DataDir& dir, std::string_view index_file) {
  std::string name(index_file.substr(index_file.find_last_of("\\/") + 1));
  std::string owner = dir.ComputerName();
  for (char& c : owner)
    if (c == '/' || c == '\\' || c == '\0' || c == ' ') c = '_';
  return "\\ORBA\\tmpgrp0-" + owner + "-" + std::to_string(getpid()) + "-" + name + ".tmp";
}

void InsertPeriod(DataDir& dir, std::string_view index_file, std::string_view key) {
  const std::string k(key.substr(0, 10));
  SharedFile index;
  int r = OpenOrCreateForUpdate(dir, index, index_file, kIndexKeySize);
  if (r != kIoOk) throw IoError(r, "cannot open index " + std::string(index_file));
  std::vector<uint8_t> records = ReadAll(index);
  const size_t count = records.size() / kIndexKeySize;
  size_t pos = count;
  for (size_t i = 0; i < count; ++i) {
    int order = CompareKeys(k, Decoded(records.data() + i * kIndexKeySize));
    if (order == 2) {
      CloseShared(dir, index);
      return;
    }
    if (order == 1) {
      pos = i;
      break;
    }
  }
  uint8_t encoded[kIndexKeySize];
  ShortString<10>(k).Encode(encoded);
  records.insert(records.begin() + static_cast<std::ptrdiff_t>(pos * kIndexKeySize), encoded,
                 encoded + kIndexKeySize);
  CopyThroughWorkFile(dir, index, index_file, records);
  CloseShared(dir, index);
}

void RemoveIndexKey(DataDir& dir, std::string_view index_file, std::string_view key) {
  const std::string k(key.substr(0, 10));
  SharedFile index;
  if (OpenForUpdate(dir, index, index_file, kIndexKeySize, true) != kIoOk) {
    CloseShared(dir, index);
    return;
  }
  std::vector<uint8_t> records = ReadAll(index);
  const size_t count = records.size() / kIndexKeySize;
  for (size_t i = 0; i < count; ++i) {
    if (Decoded(records.data() + i * kIndexKeySize) != k) continue;
    auto at = records.begin() + static_cast<std::ptrdiff_t>(i * kIndexKeySize);
    records.erase(at, at + kIndexKeySize);
    CopyThroughWorkFile(dir, index, index_file, records);
    if (int r = index.Truncate(static_cast<int64_t>(records.size())); r != kIoOk)
      throw IoError(r, "cannot cut index " + std::string(index_file));
    break;
  }
  CloseShared(dir, index);
}

std::vector<std::string> ReadIndexKeys(DataDir& dir, std::string_view index_file) {
  std::vector<std::string> keys;
  SharedFile index;
  if (OpenShared(dir, index, index_file, kIndexKeySize) == kIoOk) {
    std::vector<uint8_t> bytes(static_cast<size_t>(index.RecordCount()) * kIndexKeySize);
    if (index.ReadAt(0, bytes) == kIoOk)
      for (size_t at = 0; at < bytes.size(); at += kIndexKeySize) keys.push_back(Decoded(bytes.data() + at));
  }
  CloseShared(dir, index);
  return keys;
}

}  // namespace duri
