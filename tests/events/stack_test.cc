#include "events/stack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "events/stack_backlog.h"
#include "support/station_fixture.h"

namespace duri {
namespace {

StackEntry Entry(int32_t record, int32_t account, char priority, uint32_t stamp = 0x5B080000) {
  StackEntry e;
  e.record_number = record;
  e.account_rec_no = account;
  e.time_stamp = stamp;
  e.level = 0;
  e.priority = priority;
  return e;
}

class StackTest : public testing::DataDirTest {
 protected:
  StackTable FileTable() {
    StackTable t;
    ReadStack(data_, t);
    return t;
  }
  void WriteTable(const StackTable& t) {
    SharedFile f;
    StackTable ignored;
    OpenStackForUpdate(data_, f, ignored);
    WriteStack(data_, f, t);
  }
};

TEST(StackEntryTest, FreeSlotAndEventLayout) {
  uint8_t b[StackEntry::kSize];
  StackEntry{}.Encode(b);
  const uint8_t free_slot[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, ' '};
  EXPECT_EQ(0, memcmp(b, free_slot, sizeof b));

  EventRecord ev;
  ev.history_rec_no = 258;
  ev.account_rec_no = 3;
  ev.date = {2026, 12, 8, 2};
  ev.time = {4, 7, 9, 0};
  ev.code_level = 2;
  ev.priority = 5;
  StackEntry e = MakeStackEntry(ev);
  e.Encode(b);
  const uint8_t expected[] = {2, 1, 0, 0, 3, 0, 0, 0, 0xE2, 0x20, 0x88, 0x5D, 3, '5'};
  EXPECT_EQ(0, memcmp(b, expected, sizeof b));
  ev.code_level = 0;
  EXPECT_EQ(MakeStackEntry(ev).level, 0);
  StackEntry d;
  d.Decode(b);
  EXPECT_EQ(d, e);
}

TEST_F(StackTest, WrongSizeReadsEmptyAndIsRewrittenWhole) {
  for (int size : {2449, 2451, 0}) {
    SCOPED_TRACE(size);
    tmp_.WriteFile("ORBA/EVT.STK", std::string(size, '\x01'));
    StackTable t = FileTable();
    for (const StackEntry& e : t) EXPECT_EQ(e, StackEntry{});
    EXPECT_FALSE(HasPendingEvents(data_));
    StackBacklog backlog;
    EXPECT_EQ(StackEvent(data_, backlog, Entry(7, 1, '5'), true, false), StackInsert::kInserted);
    EXPECT_EQ(tmp_.FileSize("ORBA/EVT.STK"), 2450);
    t = FileTable();
    EXPECT_EQ(t[0], Entry(7, 1, '5'));
    EXPECT_EQ(t[1], StackEntry{});
  }
}

TEST_F(StackTest, MissingFileIsCreated) {
  StackBacklog backlog;
  StackEvent(data_, backlog, Entry(0, -1, '9'), false, false);
  EXPECT_EQ(FileTable()[0], Entry(0, -1, '9'));
  EXPECT_TRUE(HasPendingEvents(data_));
}

TEST(InsertEntryTest, FirstSlotWhoseNumberIsExactlyMinusOne) {
  StackTable t;
  t[0].record_number = -1;
  t[1] = Entry(5, 1, '1');
  EXPECT_EQ(InsertEntry(Entry(9, 2, '2'), t, true, false), StackInsert::kInserted);
  EXPECT_EQ(t[0].record_number, 9);

  StackTable u;
  u[0].record_number = -2;  // not free: only -1 marks a free slot
  u[1] = Entry(5, 1, '1');
  InsertEntry(Entry(9, 2, '2'), u, true, false);
  EXPECT_EQ(u[2].record_number, 9);
}

TEST(InsertEntryTest, DuplicateRule) {
  struct Case {
    char held;
    bool duplicate_test;
    bool refuse;
    StackInsert result;
    char stored;  // priority of the new entry, 0 when not stored
  };
  const Case cases[] = {
      {'3', true, true, StackInsert::kInserted, '5'},
      {'5', true, true, StackInsert::kRefusedDuplicate, 0},
      {'5', true, false, StackInsert::kInserted, '0'},
      {'5', false, true, StackInsert::kInserted, '5'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.held) + (c.duplicate_test ? " test" : "") + (c.refuse ? " refuse" : ""));
    StackTable t;
    t[0] = Entry(1, 42, c.held);
    EXPECT_EQ(InsertEntry(Entry(2, 42, '5'), t, c.duplicate_test, c.refuse), c.result);
    if (c.stored) {
      EXPECT_EQ(t[1].record_number, 2);
      EXPECT_EQ(t[1].priority, c.stored);
    } else {
      EXPECT_EQ(t[1], StackEntry{});
    }
  }
  // Another account with the same priority is no duplicate.
  StackTable t;
  t[0] = Entry(1, 42, '5');
  EXPECT_EQ(InsertEntry(Entry(2, 43, '5'), t, true, true), StackInsert::kInserted);
}

TEST_F(StackTest, PendingNeedsARecordAndANonZeroStamp) {
  StackTable t;
  t[3] = Entry(4, 1, '5', 0);  // zero stamp: year 1980
  WriteTable(t);
  EXPECT_FALSE(HasPendingEvents(data_));
  t[4] = Entry(-1, 1, '5', 0x5B080000);  // free slot with a stamp
  WriteTable(t);
  EXPECT_FALSE(HasPendingEvents(data_));
  t[5] = Entry(0, 1, '5', 1u << 25);  // 1981
  WriteTable(t);
  EXPECT_TRUE(HasPendingEvents(data_));
}

TEST_F(StackTest, FullStackKeepsRefusedEntriesAndPlacesThemAsSlotsFree) {
  StackTable full;
  for (int i = 0; i < kStackEntries; ++i) full[i] = Entry(i, i, '5');
  WriteTable(full);
  StackBacklog backlog;
  EXPECT_EQ(StackEvent(data_, backlog, Entry(1000, 500, '5'), true, false), StackInsert::kFull);
  EXPECT_EQ(StackEvent(data_, backlog, Entry(1001, 501, '5'), true, false), StackInsert::kFull);
  EXPECT_EQ(ReadStackBacklog(data_), (std::vector<StackEntry>{Entry(1000, 500, '5'), Entry(1001, 501, '5')}));
  EXPECT_EQ(view_.stack_backlog, 2);
  // One 16-byte record each: state, reserved, the entry as on the stack.
  const std::string bkl = tmp_.ReadFile("ORBA/EVT.BKL");
  ASSERT_EQ(bkl.size(), 32u);
  uint8_t entry_bytes[StackEntry::kSize];
  Entry(1001, 501, '5').Encode(entry_bytes);
  EXPECT_EQ(bkl.substr(16, 2), std::string("W\0", 2));
  EXPECT_EQ(bkl.substr(18), std::string(reinterpret_cast<const char*>(entry_bytes), StackEntry::kSize));
  EXPECT_EQ(FileTable(), full);  // the file keeps its 175 entries
  std::string log = tmp_.ReadFile("ORBA/error.log");
  EXPECT_NE(log.find("Pending stack full: event 1000"), std::string::npos);
  EXPECT_NE(log.find("event 1001"), std::string::npos);

  // Nothing freed: the tick places nothing.
  EXPECT_EQ(RetryStackBacklog(data_, backlog), 0);
  // The operators handle the events in slots 10 and 20; the tick places the oldest waiting entry first.
  full[10].Clear();
  full[20].Clear();
  WriteTable(full);
  EXPECT_EQ(RetryStackBacklog(data_, backlog), 2);
  StackTable t = FileTable();
  EXPECT_EQ(t[10].record_number, 1000);
  EXPECT_EQ(t[20].record_number, 1001);
  EXPECT_TRUE(ReadStackBacklog(data_).empty());
  EXPECT_EQ(tmp_.FileSize("ORBA/EVT.BKL"), 0);  // cut once nothing waits
  EXPECT_EQ(view_.stack_backlog, 0);
}

TEST_F(StackTest, WaitingEntriesGoBeforeANewOne) {
  StackTable full;
  for (int i = 0; i < kStackEntries; ++i) full[i] = Entry(i, i, '5');
  WriteTable(full);
  StackBacklog backlog;
  StackEvent(data_, backlog, Entry(1000, 500, '5'), true, false);
  full[7].Clear();
  WriteTable(full);
  // One slot free: the waiting entry takes it and the new one waits in its turn.
  EXPECT_EQ(StackEvent(data_, backlog, Entry(1001, 7, '5'), true, false), StackInsert::kFull);
  EXPECT_EQ(FileTable()[7].record_number, 1000);
  EXPECT_EQ(ReadStackBacklog(data_), std::vector<StackEntry>{Entry(1001, 7, '5')});
  // A refused duplicate never waits.
  EXPECT_EQ(StackEvent(data_, backlog, Entry(1002, 3, '5'), true, true), StackInsert::kRefusedDuplicate);
  EXPECT_EQ(ReadStackBacklog(data_).size(), 1u);
  // A crash after the stack took the waiting entry but before its record was marked: the next drain
  // finds it on the stack and does not place it twice.
  full[7] = Entry(1001, 7, '5');
  WriteTable(full);
  EXPECT_EQ(RetryStackBacklog(data_, backlog), 1);
  EXPECT_EQ(FileTable(), full);
  EXPECT_TRUE(ReadStackBacklog(data_).empty());
}

TEST_F(StackTest, DamagedStackIsReportedOnceKeptAsFoundAndMended) {
  struct Case {
    const char* name;
    std::string bytes;
    int kept_slot;  // a good entry that stays where it was, or -1
  };
  StackTable good;
  good[3] = Entry(40, 2, '4');
  std::string zeros(kStackFileSize, '\0');  // every slot "in use" with priority NUL: reads as full
  std::string mixed(kStackFileSize, '\0');
  good[3].Encode(reinterpret_cast<uint8_t*>(mixed.data()) + 3 * StackEntry::kSize);
  for (const Case& c : {Case{"all zero", zeros, -1}, Case{"one good entry", mixed, 3},
                        Case{"2451 bytes", std::string(2451, '\x07'), -1}}) {
    SCOPED_TRACE(c.name);
    tmp_.WriteFile("ORBA/error.log", "");
    tmp_.WriteFile("ORBA/EVT.STK", c.bytes);
    StackBacklog backlog;
    EXPECT_EQ(StackEvent(data_, backlog, Entry(1000, 500, '5'), false, false), StackInsert::kInserted);
    StackTable t = FileTable();
    EXPECT_TRUE(ReadStackBacklog(data_).empty());
    EXPECT_EQ(std::count(t.begin(), t.end(), Entry(1000, 500, '5')), 1);
    if (c.kept_slot >= 0) {
      EXPECT_EQ(t[c.kept_slot], good[3]);
    }
    EXPECT_EQ(std::count_if(t.begin(), t.end(), [](const StackEntry& e) { return e.in_use(); }),
              c.kept_slot >= 0 ? 2 : 1);
    EXPECT_EQ(tmp_.ReadFile("ORBA/EVT20261208103000.BAD"), c.bytes);
    // The mended stack is not reported again.
    StackEvent(data_, backlog, Entry(1001, 501, '5'), false, false);
    const std::string log = tmp_.ReadFile("ORBA/error.log");
    size_t reports = 0;
    for (size_t at = log.find("damaged"); at != std::string::npos; at = log.find("damaged", at + 1)) ++reports;
    EXPECT_EQ(reports, 1u) << log;
    ASSERT_FALSE(view_.Messages().empty());
    EXPECT_NE(view_.Messages().back().find("EVT.STK damaged"), std::string::npos);
  }
}

}  // namespace
}  // namespace duri
