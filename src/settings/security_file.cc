#include "settings/security_file.h"

#include <vector>

#include "store/coding.h"
#include "store/error_log.h"
#include "store/shared_file.h"

namespace duri {
namespace {

uint8_t Shift(int index) { return static_cast<uint8_t>(index + 100); }

template <int N>
void EncodeScrambled(const ShortString<N>& text, uint8_t* dst, int index) {
  text.Encode(dst);
  for (int i = 1; i <= text.length(); ++i) dst[i] = static_cast<uint8_t>(dst[i] + Shift(index));
}

template <int N>
void DecodeScrambled(ShortString<N>& text, const uint8_t* src, int index) {
  uint8_t plain[N + 1];
  plain[0] = src[0];
  for (int i = 1; i <= N; ++i) plain[i] = static_cast<uint8_t>(src[i] - Shift(index));
  text.Decode(plain);
}

}  // namespace

void OperatorRecord::Encode(uint8_t* dst, int index) const {
  dst[kInUseOffset] = in_use;
  EncodeScrambled(name, dst + kNameOffset, index);
  EncodeSigned16(dst + kNumberOffset, number);
  EncodeScrambled(password, dst + kPasswordOffset, index);
  dst[kLevelOffset] = static_cast<uint8_t>(level);
}

void OperatorRecord::Decode(const uint8_t* src, int index) {
  in_use = src[kInUseOffset];
  DecodeScrambled(name, src + kNameOffset, index);
  number = DecodeSigned16(src + kNumberOffset);
  DecodeScrambled(password, src + kPasswordOffset, index);
  level = static_cast<char>(src[kLevelOffset]);
}

void SecurityBlock::Clear() {
  operators.fill(OperatorRecord{});
  entries.fill(0);
  for (int i = 0; i < kEntries; ++i) entries[static_cast<size_t>(i * kEntrySize)] = 1;
}

void SecurityBlock::SetDefaultOperator() {
  OperatorRecord& op = operators[0];
  op.in_use = 1;
  op.name = "Torvane";
  op.number = 1;
  op.password = "KESTRAL";
  op.level = 'A';
}

void SecurityBlock::Encode(uint8_t* dst) const {
  for (int i = 0; i < kOperators; ++i) operators[static_cast<size_t>(i)].Encode(dst + i * OperatorRecord::kSize, i);
  std::copy(entries.begin(), entries.end(), dst + kEntriesOffset);
}

void SecurityBlock::Decode(const uint8_t* src) {
  for (int i = 0; i < kOperators; ++i) operators[static_cast<size_t>(i)].Decode(src + i * OperatorRecord::kSize, i);
  std::copy(src + kEntriesOffset, src + kSize, entries.begin());
}

SecurityBlock ReadSecurityFile(DataDir& dir) {
  SecurityBlock block;
  block.Clear();
  SharedFile file;
  int r = OpenShared(dir, file, kSecurityFile, SecurityBlock::kSize);
  if (r == kIoFileNotFound) {
    CloseShared(dir, file);
    block.SetDefaultOperator();
    WriteSecurityFile(dir, block);
    return block;
  }
  if (r != kIoOk) {
    CloseShared(dir, file);
    LogError(dir, "SECURITE.Mda cannot be opened (result " + std::to_string(r) + ")");
    return block;
  }
  std::vector<uint8_t> raw(SecurityBlock::kSize);
  if (file.ReadRecord(0, raw) == kIoOk) block.Decode(raw.data());
  CloseShared(dir, file);
  return block;
}

int WriteSecurityFile(DataDir& dir, const SecurityBlock& block) {
  std::vector<uint8_t> raw(SecurityBlock::kSize);
  block.Encode(raw.data());
  SharedFile file;
  int r = OpenOrCreateForUpdate(dir, file, kSecurityFile, SecurityBlock::kSize);
  if (r == kIoOk) r = file.WriteRecord(0, raw);
  CloseShared(dir, file);
  return r;
}

}  // namespace duri
