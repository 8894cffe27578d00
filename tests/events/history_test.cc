#include "events/history.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <thread>

#include "store/key_index.h"
#include "store/lock_file.h"
#include "store/shared_file.h"
#include "support/station_fixture.h"

namespace duri {
namespace {

EventRecord MakeEvent(DateRecord date, TimeRecord time, std::string_view account, std::string_view text) {
  EventRecord e;
  e.date = date;
  e.time = time;
  e.account = account;
  e.description = text;
  return e;
}

class HistoryTest : public testing::DataDirTest {
 protected:
  int32_t Store(EventRecord& e) {
    StackEntry entry;
    StoreEvent(data_, e, CommentBlock{}, entry);
    EXPECT_EQ(entry.record_number, e.history_rec_no);
    return entry.record_number;
  }
  std::vector<EventRecord> ReadMonth(const std::string& key) {
    std::string bytes = tmp_.ReadFile("ORBA/" + key + ".EVT/EVENT.MDC");
    std::vector<EventRecord> out(bytes.size() / EventRecord::kSize);
    for (size_t i = 0; i < out.size(); ++i)
      out[i].Decode(std::span<const uint8_t, EventRecord::kSize>(
          reinterpret_cast<const uint8_t*>(bytes.data()) + i * EventRecord::kSize, EventRecord::kSize));
    return out;
  }
  std::vector<std::string> ReadMdx(const std::string& key) {
    std::string bytes = tmp_.ReadFile("ORBA/" + key + ".EVT/EVENT.MDX");
    std::vector<std::string> out;
    for (size_t at = 0; at + 11 <= bytes.size(); at += 11)
      out.push_back(bytes.substr(at + 1, static_cast<uint8_t>(bytes[at])));
    return out;
  }
};

TEST_F(HistoryTest, FirstJanuaryEventAfterDecemberCreatesTheMonth) {
  EventRecord dec = MakeEvent({2026, 12, 15, 2}, {8, 0, 0, 0}, "1234", "dec");
  EventRecord jan = MakeEvent({2027, 1, 2, 6}, {9, 0, 0, 0}, "1234", "jan");
  EXPECT_EQ(Store(dec), 0);
  EXPECT_EQ(Store(jan), 0);
  EXPECT_EQ(tmp_.FileSize("ORBA/202701.EVT/EVENT.MDC"), 200);
  EXPECT_EQ(tmp_.FileSize("ORBA/202701.EVT/EVENT.MDX"), 11);
  EXPECT_EQ(ReadIndexKeys(data_, kPeriodIndexFile), (std::vector<std::string>{"202612", "202701"}));
  EXPECT_EQ(ReadMonth("202701")[0].description, "jan");
}

TEST_F(HistoryTest, RecordNumbersIndexAndUnknownAccount) {
  const char* accounts[] = {"1234", "", "ABCDEFGHIJ"};
  for (int i = 0; i < 3; ++i) {
    EventRecord e = MakeEvent({2026, 12, 8, 2}, {10, 0, 0, 0}, accounts[i], "x");
    EXPECT_EQ(Store(e), i);
  }
  EXPECT_EQ(ReadMdx("202612"), (std::vector<std::string>{"1234", "0", "ABCDEFGHIJ"}));
  std::vector<EventRecord> month = ReadMonth("202612");
  ASSERT_EQ(month.size(), 3u);
  EXPECT_EQ(month[1].account, "0");
  EXPECT_EQ(month[2].history_rec_no, 2);
}

TEST_F(HistoryTest, ExistingRecordNumberIsOverwritten) {
  EventRecord a = MakeEvent({2026, 12, 8, 2}, {}, "1", "first");
  EventRecord b = MakeEvent({2026, 12, 8, 2}, {}, "2", "second");
  Store(a);
  Store(b);
  a.description = "handled";
  StackEntry entry;
  entry.record_number = 0;
  StoreEvent(data_, a, CommentBlock{}, entry);
  std::vector<EventRecord> month = ReadMonth("202612");
  ASSERT_EQ(month.size(), 2u);
  EXPECT_EQ(month[0].description, "handled");
  EXPECT_EQ(ReadMdx("202612").size(), 2u);
}

TEST_F(HistoryTest, MissingOrShortIndexIsRebuiltBeforeTheNextEvent) {
  for (const char* damage : {"delete", "short", "long"}) {
    SCOPED_TRACE(damage);
    std::filesystem::remove_all(tmp_.Join("ORBA/202612.EVT"));
    for (const char* acct : {"11", "22", "33"}) {
      EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, acct, "x");
      Store(e);
    }
    std::string mdx = tmp_.Join("ORBA/202612.EVT/EVENT.MDX");
    if (std::string(damage) == "delete") {
      std::filesystem::remove(mdx);
    } else if (std::string(damage) == "long") {
      std::filesystem::resize_file(mdx, 11 * 5);  // two records no history write ever followed
    } else {
      std::filesystem::resize_file(mdx, 11 + 5);  // one record and a torn one
    }
    EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, "44", "x");
    EXPECT_EQ(Store(e), 3);
    EXPECT_EQ(ReadMdx("202612"), (std::vector<std::string>{"11", "22", "33", "44"}));
  }
}

// The whole index of a month is rebuilt in blocks; every record keeps its own account across them.
TEST_F(HistoryTest, WholeIndexIsRebuiltAcrossBlocks) {
  EventRecord first = MakeEvent({2026, 12, 8, 2}, {}, "0", "x");
  Store(first);
  constexpr int kRecords = 9000;
  std::string mdc;
  for (int n = 0; n < kRecords; ++n) {
    const auto bytes = MakeEvent({2026, 12, 8, 2}, {}, std::to_string(n), "x").Encoded();
    mdc.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  tmp_.WriteFile("ORBA/202612.EVT/EVENT.MDC", mdc);
  std::filesystem::remove(tmp_.Join("ORBA/202612.EVT/EVENT.MDX"));
  EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, "last", "x");
  EXPECT_EQ(Store(e), kRecords);
  const std::vector<std::string> keys = ReadMdx("202612");
  ASSERT_EQ(keys.size(), static_cast<size_t>(kRecords + 1));
  for (int n : {0, 4095, 4096, 8191, 8192, kRecords - 1}) EXPECT_EQ(keys[static_cast<size_t>(n)], std::to_string(n));
  EXPECT_EQ(keys.back(), "last");
}

// A damaged month is refused at once, the event failing (no acknowledgement), rather than rebuilding
// an index over gigabytes while the receiver waits.
TEST_F(HistoryTest, DamagedMonthHistoryIsRefusedAtOnce) {
  const struct {
    int64_t size;
    const char* says;
  } cases[] = {{201, "not a whole number of 200-byte records"},
               {kLargestMonthHistory + EventRecord::kSize, "more than a month's history can"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    std::filesystem::remove_all(tmp_.Join("ORBA/202612.EVT"));
    EventRecord first = MakeEvent({2026, 12, 8, 2}, {}, "11", "x");
    Store(first);
    std::filesystem::resize_file(tmp_.Join("ORBA/202612.EVT/EVENT.MDC"), static_cast<uintmax_t>(c.size));  // sparse
    EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, "22", "x");
    StackEntry entry;
    try {
      StoreEvent(data_, e, CommentBlock{}, entry);
      ADD_FAILURE() << "stored";
    } catch (const IoError& error) {
      EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
    }
    EXPECT_EQ(tmp_.FileSize("ORBA/202612.EVT/EVENT.MDX"), 11);
  }
}

TEST_F(HistoryTest, CommentsAppendedAndReferenced) {
  CommentBlock c;
  c.lines[0] = "called the keyholder";
  int32_t first = -1, second = -1;
  // Checked like the rest of the history: a comment file that cannot be made ends the event.
  EXPECT_THROW(StoreComments(data_, c, "202612", first), IoError);
  tmp_.MakeDir("ORBA/202612.EVT");
  first = -1;
  StoreComments(data_, c, "202612", first);
  StoreComments(data_, c, "202612", second);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(tmp_.FileSize("ORBA/202612.EVT/COMMENT.MDC"), 2 * 730);
  int32_t untouched = -1;
  StoreComments(data_, CommentBlock{}, "202612", untouched);
  EXPECT_EQ(untouched, -1);
}

TEST_F(HistoryTest, LastHundredNewestFirst) {
  for (int i = 1; i <= 101; ++i) {
    EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, "1", "E" + std::to_string(i));
    PushLast100(data_, e);
  }
  EXPECT_EQ(tmp_.FileSize("ORBA/100EVT.DAT"), 20000);
  auto last = ReadLast100(data_);
  EXPECT_EQ(last[0].description, "E101");
  EXPECT_EQ(last[99].description, "E2");
}

TEST_F(HistoryTest, ShortLastHundredFileIsRebuilt) {
  tmp_.WriteFile("ORBA/100EVT.DAT", std::string(5000, 'x'));
  EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, "1", "new");
  PushLast100(data_, e);
  EXPECT_EQ(tmp_.FileSize("ORBA/100EVT.DAT"), 20000);
  auto last = ReadLast100(data_);
  EXPECT_EQ(last[0].description, "new");
  EXPECT_EQ(last[1].Encoded(), EventRecord{}.Encoded());
}

TEST_F(HistoryTest, EventOfOldMonthLogsInTodaysMonth) {
  clock_.Set(2027, 1, 1, 0, 0, 0);
  EventRecord e = MakeEvent({2026, 12, 31, 4}, {23, 59, 0, 0}, "1234", "late\tevent");
  Store(e);
  AppendEventLog(data_, e.description.view(), kEventLogName);
  EXPECT_EQ(ReadMonth("202612").size(), 1u);
  EXPECT_FALSE(tmp_.Exists("ORBA/202701.EVT/EVENT.MDC"));
  EXPECT_EQ(tmp_.ReadFile("ORBA/202701.EVT/EventLog.txt"), "2027/01/01 00:00:00 late*event\r\n");
  EXPECT_EQ(data_.last_io_result, 0);
}

TEST_F(HistoryTest, PeriodIndexSortedWithoutDuplicatesAndNoWorkFileLeft) {
  for (const char* key : {"202612", "99", "202601", "100", "202612", "A"})
    InsertPeriod(data_, kPeriodIndexFile, key);
  EXPECT_EQ(ReadIndexKeys(data_, kPeriodIndexFile),
            (std::vector<std::string>{"A", "99", "100", "202601", "202612"}));
  RemoveIndexKey(data_, kPeriodIndexFile, "100");
  RemoveIndexKey(data_, kPeriodIndexFile, "absent");
  EXPECT_EQ(ReadIndexKeys(data_, kPeriodIndexFile), (std::vector<std::string>{"A", "99", "202601", "202612"}));
  EXPECT_EQ(tmp_.FileSize("ORBA/PERIOD.INX"), 4 * 11);
  for (const auto& entry : std::filesystem::directory_iterator(tmp_.Join("ORBA")))
    EXPECT_EQ(entry.path().filename().string().find("tmpgrp"), std::string::npos) << entry.path();
}

TEST_F(HistoryTest, WorkFilesDifferByIndexAndProcess) {
  std::string period = IndexWorkFileName(data_, kPeriodIndexFile);
  std::string armed = IndexWorkFileName(data_, "\\ORBA\\Armed.Inx");
  EXPECT_NE(period, armed);
  EXPECT_NE(period.find(std::to_string(getpid())), std::string::npos);
  data_.computer_name_override = "OTHER";
  EXPECT_NE(IndexWorkFileName(data_, kPeriodIndexFile), period);
}

TEST_F(HistoryTest, MonthLockHeldElsewhereDelaysTheWrite) {
  data_.computer_name_override = "OTHER";
  ASSERT_TRUE(AcquireLock(data_, kGeneralLock, "202612", false));
  data_.computer_name_override = "HERE";
  std::thread writer([&] {
    EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, "1", "waited");
    Store(e);
  });
  // The wait is shown once ten seconds (of the manual clock) have passed.
  while (view_.debug.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(tmp_.Exists("ORBA/202612.EVT/EVENT.MDC"));
  ReleaseLock(data_, kGeneralLock, "202612");
  writer.join();
  EXPECT_EQ(ReadMonth("202612").size(), 1u);
}

// Two station processes append to one month at the same time: every event gets its own record number
// and the index stays in step.
TEST_F(HistoryTest, TwoProcessesAppendToOneMonth) {
  constexpr int kPerProcess = 2000;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      SystemClock clock;
      NullView view;
      DataDir dir(tmp_.path(), clock, view);
      int failures = 0;
      for (int i = 0; i < kPerProcess; ++i) {
        EventRecord e = MakeEvent({2026, 12, 8, 2}, {}, std::to_string(c + 1), "P" + std::to_string(c) + "-" +
                                                                                   std::to_string(i));
        StackEntry entry;
        try {
          StoreEvent(dir, e, CommentBlock{}, entry);
        } catch (const IoError&) {
          ++failures;
        }
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::vector<EventRecord> month = ReadMonth("202612");
  std::vector<std::string> mdx = ReadMdx("202612");
  ASSERT_EQ(month.size(), 2u * kPerProcess);
  ASSERT_EQ(mdx.size(), month.size());
  std::set<std::string> texts;
  int next_of[2] = {0, 0};
  for (size_t n = 0; n < month.size(); ++n) {
    EXPECT_EQ(month[n].history_rec_no, static_cast<int32_t>(n));
    EXPECT_EQ(mdx[n], month[n].account.view());
    texts.insert(month[n].description.str());
    // Each process's events keep their own order.
    int c = month[n].account.view() == "1" ? 0 : 1;
    EXPECT_EQ(month[n].description.view(), "P" + std::to_string(c) + "-" + std::to_string(next_of[c]++));
  }
  EXPECT_EQ(texts.size(), 2u * kPerProcess);
  EXPECT_EQ(ReadIndexKeys(data_, kPeriodIndexFile), std::vector<std::string>{"202612"});
}

}  // namespace
}  // namespace duri
