#include "settings/language_entries.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "settings/language_table.h"

namespace duri {
namespace {

struct Span {
  int first;
  int last;
  int what;
};

// Every entry (length byte and capacity) and every slot reference must own its bytes: a text written
// into one must never run into another.
TEST(LanguageEntriesTest, EntriesAndSlotsNeverOverlap) {
  std::vector<Span> spans;
  for (const ModuleEntry& e : kModuleEntries) {
    ASSERT_GT(e.capacity, 0) << e.offset;
    ASSERT_LE(e.capacity, 255) << e.offset;
    spans.push_back({e.offset, e.offset + e.capacity, e.offset});
  }
  for (int slot : kModuleSlots) spans.push_back({4 * slot, 4 * slot + 3, -slot});
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.first < b.first; });
  for (size_t i = 0; i < spans.size(); ++i) {
    EXPECT_GE(spans[i].first, 0);
    EXPECT_LT(spans[i].last, LanguageTable::kSize) << spans[i].what;
    if (i > 0) {
      EXPECT_GT(spans[i].first, spans[i - 1].last) << spans[i - 1].what << " runs into " << spans[i].what;
    }
  }
}

TEST(LanguageEntriesTest, CapacityOfKnownAndUnknownOffsets) {
  EXPECT_EQ(EntryCapacity(kEntrySetupLocked), 65);
  EXPECT_EQ(EntryCapacity(kEntryGuardRoundNotReceived), 40);
  EXPECT_EQ(EntryCapacity(kEntryLongMonthName), 66);
  EXPECT_EQ(EntryCapacity(12345), 0);
}

}  // namespace
}  // namespace duri
