#include "store/pending_sync.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace duri
