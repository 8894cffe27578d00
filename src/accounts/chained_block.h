// The block layout that CODE.DAC and USERID.DAC share: a 21-byte head (a reserved text[10], two reserved
// bytes, a reserved int32 that is -1 when cleared, and the number of the next block of the area's chain
// at offset 17), then a fixed number of entries back to back. The head's reserved bytes are kept as read.
#ifndef DURIDUVAZE_ACCOUNTS_CHAINED_BLOCK_H_
#define DURIDUVAZE_ACCOUNTS_CHAINED_BLOCK_H_

#include <array>
#include <cstdint>
#include <cstring>

#include "store/coding.h"

namespace duri {

// Entry has kSize, Clear(), Encode(uint8_t*) and Decode(const uint8_t*).
template <typename Entry, int kCount>
struct ChainedBlock {
  static constexpr int kEntryCount = kCount;
  static constexpr int kReservedTextOffset = 0;  // text 10
  static constexpr int kReserved11Offset = 11;   // byte
  static constexpr int kReserved12Offset = 12;   // byte
  static constexpr int kReserved13Offset = 13;   // int32, -1
  static constexpr int kNextOffset = 17;         // int32
  static constexpr int kEntriesOffset = 21;      // kCount entries
  static constexpr int kSize = kEntriesOffset + kCount * Entry::kSize;

  int32_t next = -1;  // -1: end of chain
  std::array<Entry, kCount> entries{};
  std::array<uint8_t, kEntriesOffset> head{};  // the bytes before the entries, as read or cleared

  ChainedBlock() { Clear(); }

  void Clear() {
    head.fill(0);
    EncodeSigned32(&head[kReserved13Offset], -1);
    next = -1;
    for (auto& e : entries) e.Clear();
  }

  void Encode(uint8_t* dst) const {
    std::memcpy(dst, head.data(), kEntriesOffset);
    EncodeSigned32(dst + kNextOffset, next);
    for (int i = 0; i < kCount; ++i) entries[i].Encode(dst + kEntriesOffset + i * Entry::kSize);
  }

  void Decode(const uint8_t* src) {
    std::memcpy(head.data(), src, kEntriesOffset);
    next = DecodeSigned32(src + kNextOffset);
    for (int i = 0; i < kCount; ++i) entries[i].Decode(src + kEntriesOffset + i * Entry::kSize);
  }
};

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_CHAINED_BLOCK_H_
