#include "accounts/chained_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "accounts/code_record.h"
#include "accounts/user_record.h"

namespace duri {
namespace {

// The bytes of a cleared block, written out by hand from the file layouts: zero head but for the
// reserved int32 at 13 and the next-block number at 17, both -1; then each cleared entry.
std::vector<uint8_t> ClearedImage(int size, int entry_size, const std::vector<std::pair<int, uint8_t>>& entry_bytes) {
  std::vector<uint8_t> b(static_cast<size_t>(size), 0);
  for (int i = 13; i < 21; ++i) b[i] = 0xFF;
  for (int e = 0; e < 10; ++e) {
    for (auto [offset, value] : entry_bytes) b[static_cast<size_t>(21 + e * entry_size + offset)] = value;
  }
  return b;
}

template <typename Record>
void ExpectLayout(const std::vector<uint8_t>& cleared, int entry_size) {
  ASSERT_EQ(Record::kSize, static_cast<int>(cleared.size()));
  Record r;
  std::vector<uint8_t> out(cleared.size(), 0xAA);
  r.Encode(out.data());
  EXPECT_EQ(out, cleared);

  // The head's reserved bytes survive a decode and encode, the chain number is read at 17, and the
  // block's last byte is the last entry's.
  std::vector<uint8_t> in = cleared;
  for (size_t i = 0; i < 17; ++i) in[i] = static_cast<uint8_t>(i * 7 + 3);
  in.back() = 0x5A;
  in[17] = 0x2A;
  in[18] = 0x01;
  in[19] = 0;
  in[20] = 0;
  r.Decode(in.data());
  EXPECT_EQ(r.next, 0x12A);
  std::vector<uint8_t> again(in.size());
  r.Encode(again.data());
  EXPECT_EQ(again, in);
  r.next = -1;
  r.Encode(again.data());
  EXPECT_EQ(again[17], 0xFF);
  EXPECT_EQ(again[20], 0xFF);
  EXPECT_EQ(Record::kEntriesOffset + Record::kEntryCount * entry_size, Record::kSize);
}

TEST(ChainedBlockTest, CodeAndUserBlocksKeepTheirByteLayouts) {
  // Code entry: reserved int32 at 152 and code value at 156 are -1, times at 144 and 146 are -1, type
  // at 149 and code option at 151 are 255.
  std::vector<std::pair<int, uint8_t>> code;
  for (int i : {144, 145, 146, 147, 149, 151, 152, 153, 154, 155, 156, 157, 158, 159}) code.emplace_back(i, 0xFF);
  ExpectLayout<CodeRecord>(ClearedImage(1621, 160, code), 160);
  // User entry: the seven day flags at 78 are 1.
  std::vector<std::pair<int, uint8_t>> user;
  for (int i = 78; i < 85; ++i) user.emplace_back(i, 1);
  ExpectLayout<UserRecord>(ClearedImage(2221, 220, user), 220);
}

}  // namespace
}  // namespace duri
