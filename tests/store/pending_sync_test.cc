#include "store/pending_sync.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "store/io_result.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::TempDir;

TEST(PendingSyncTest, FlushReportsFailuresOnceAndKeepsNothingAfterASuccess) {
  TempDir tmp;
  tmp.WriteFile("ORBA/EVENT.MDC", std::string(200, 'x'));
  PendingSync sync;
  EXPECT_TRUE(sync.empty());
  sync.Note(tmp.Join("ORBA/EVENT.MDC"));
  sync.Note(tmp.Join("ORBA/EVENT.MDC"));
  sync.Note(tmp.Join("ORBA"));  // a new folder's entries
  EXPECT_FALSE(sync.empty());
  EXPECT_EQ(sync.Flush(), kIoOk);
  EXPECT_TRUE(sync.empty());

  // A write that failed makes the next flush fail, even with nothing to flush; a reset forgets it.
  sync.NoteFailure(kIoDiskFull);
  sync.NoteFailure(kIoAccessDenied);
  EXPECT_EQ(sync.Flush(), kIoDiskFull);
  EXPECT_EQ(sync.Flush(), kIoOk);
  sync.NoteFailure(kIoDiskFull);
  sync.ResetFailure();
  EXPECT_EQ(sync.Flush(), kIoOk);

  // A written file that vanished before its flush is not known to be stored.
  sync.Note(tmp.Join("ORBA/GONE.MDC"));
  EXPECT_EQ(sync.Flush(), kIoFileNotFound);
  EXPECT_TRUE(sync.empty());
}

TEST(PendingSyncTest, AFlushServesEveryTicketGivenBeforeItAndAFailureOnlyThose) {
  TempDir tmp;
  tmp.WriteFile("ORBA/EVENT.MDC", std::string(200, 'x'));
  PendingSync sync;
  sync.Note(tmp.Join("ORBA/EVENT.MDC"));
  const uint64_t first = sync.Ticket();
  const uint64_t second = sync.Ticket();
  EXPECT_EQ(sync.FlushThrough(second), kIoOk);
  EXPECT_TRUE(sync.empty());
  EXPECT_EQ(sync.FlushThrough(first), kIoOk);  // served by the same flush, nothing left to wait for

  // A pass whose failed flush was run by another waiter learns of it however many flushes, failed
  // or not, ended before it looked.
  sync.Note(tmp.Join("ORBA/GONE.MDC"));
  const uint64_t lost = sync.Ticket();
  EXPECT_EQ(sync.FlushThrough(sync.Ticket()), kIoFileNotFound);
  for (int i = 0; i < 200; ++i) {
    sync.Note(tmp.Join(i % 2 ? "ORBA/GONE.MDC" : "ORBA/EVENT.MDC"));
    EXPECT_EQ(sync.FlushThrough(sync.Ticket()), i % 2 ? kIoFileNotFound : kIoOk);
  }
  EXPECT_EQ(sync.FlushThrough(lost), kIoFileNotFound);
  // Answered once: asked again, it is no longer known to be stored.
  EXPECT_NE(sync.FlushThrough(lost), kIoOk);
  EXPECT_NE(sync.FlushThrough(first), kIoOk);

  // Passes of sixteen ports at once: each waits for a flush that began after its own ticket.
  std::vector<std::thread> passes;
  std::vector<int> results(16, -1);
  for (int p = 0; p < 16; ++p) {
    tmp.WriteFile("ORBA/P" + std::to_string(p), "x");
    passes.emplace_back([&, p] {
      sync.Note(tmp.Join("ORBA/P" + std::to_string(p)));
      results[static_cast<size_t>(p)] = sync.FlushThrough(sync.Ticket());
    });
  }
  for (std::thread& t : passes) t.join();
  EXPECT_EQ(results, std::vector<int>(16, kIoOk));
  EXPECT_TRUE(sync.empty());
}

}  // namespace
}  // namespace duri
