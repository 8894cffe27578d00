#include "store/shared_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <gtest/gtest.h>

#include "store/error_log.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

class SharedFileTest : public ::testing::Test {
 protected:
  testing::TempDir tmp;
  SystemClock clock;
  testing::RecordingView view;
  DataDir dir{tmp.path(), clock, view};
};

TEST_F(SharedFileTest, HostPathMatchesComponentsWithoutRegardToCase) {
  tmp.MakeDir("ORBA/202612.EVT");
  tmp.WriteFile("ORBA/202612.EVT/event.mdc", "x");
  EXPECT_EQ(dir.HostPath("\\ORBA\\202612.Evt\\EVENT.MDC"), tmp.Join("ORBA/202612.EVT/event.mdc"));
  EXPECT_EQ(dir.HostPath("C:\\TorvaCom.dta"), tmp.Join("TorvaCom.dta"));
  // A component that does not exist keeps the spelling given, so it is created that way.
  EXPECT_EQ(dir.HostPath("\\orba\\202701.Evt"), tmp.Join("ORBA/202701.Evt"));
  EXPECT_TRUE(DirectoryExists(dir, "\\ORBA\\202612.evt"));

  // Openers find the same files, the exact spelling winning, and create under the lookup's spelling.
  SharedFile f;
  ASSERT_EQ(OpenShared(dir, f, "\\orba\\202612.Evt\\EVENT.MDC", 1), kIoOk);
  EXPECT_EQ(f.path(), tmp.Join("ORBA/202612.EVT/event.mdc"));
  tmp.WriteFile("ORBA/202612.EVT/EVENT.MDC", "y");
  ASSERT_EQ(OpenForUpdate(dir, f, "\\ORBA\\202612.EVT\\EVENT.MDC", 1, false), kIoOk);
  EXPECT_EQ(f.path(), tmp.Join("ORBA/202612.EVT/EVENT.MDC"));
  ASSERT_EQ(OpenOrCreateForUpdate(dir, f, "\\orba\\NEW.DAT", 1), kIoOk);
  EXPECT_EQ(f.path(), tmp.Join("ORBA/NEW.DAT"));
  EXPECT_EQ(AppendTextLine(dir, "\\Orba\\202612.evt\\Log.txt", "x"), kIoOk);
  EXPECT_EQ(tmp.ReadFile("ORBA/202612.EVT/Log.txt"), "x\r\n");
  EXPECT_EQ(AppendTextLine(dir, "\\ORBA\\202612.EVT\\LOG.TXT", "y"), kIoOk);
  EXPECT_EQ(tmp.ReadFile("ORBA/202612.EVT/Log.txt"), "x\r\ny\r\n");
}

TEST_F(SharedFileTest, NamesThatWouldLeaveTheDataDirectoryAreRefused) {
  EXPECT_FALSE(dir.HostPath("\\ORBA\\..\\..\\etc\\passwd").has_value());
  EXPECT_FALSE(dir.HostPath("\\ORBA\\.\\x").has_value());
  EXPECT_FALSE(dir.HostPath(std::string_view("\\ORBA\\a\0b", 9)).has_value());
  const std::pair<const char*, bool> names[] = {{"1234", true}, {"12/34", false}, {"..", false},
                                                {".", false},   {"a\\b", false},  {"", false},
                                                {"E12.3", true}};
  for (auto [name, safe] : names) EXPECT_EQ(IsSafeFileComponent(name), safe) << name;
  SharedFile f;
  EXPECT_EQ(OpenShared(dir, f, "\\ORBA\\..\\secret", 1), kIoFileNotFound);
}

TEST_F(SharedFileTest, OpenResultsForMissingFileAndDirectory) {
  tmp.MakeDir("ORBA");
  SharedFile f;
  EXPECT_EQ(OpenShared(dir, f, "\\ORBA\\NONE.DAT", 10), kIoFileNotFound);
  EXPECT_EQ(OpenForUpdate(dir, f, "\\ORBA\\NODIR\\NONE.DAT", 10), kIoPathNotFound);
  EXPECT_FALSE(f.is_open());
}

TEST_F(SharedFileTest, RecordsReadAndWriteAtTheirNumbers) {
  tmp.MakeDir("ORBA");
  SharedFile f;
  ASSERT_EQ(CreateShared(dir, f, "\\ORBA\\REC.DAT", 4), kIoOk);
  const std::array<uint8_t, 4> a{1, 2, 3, 4}, b{5, 6, 7, 8};
  EXPECT_EQ(f.WriteRecord(2, b), kIoOk);
  EXPECT_EQ(f.WriteRecord(0, a), kIoOk);
  EXPECT_EQ(f.RecordCount(), 3);
  std::array<uint8_t, 4> got{};
  EXPECT_EQ(f.ReadRecord(2, got), kIoOk);
  EXPECT_EQ(got, b);
  EXPECT_EQ(f.ReadRecord(3, got), kIoReadPastEnd);
  EXPECT_THROW(f.CheckedReadRecord(3, got), IoError);
  EXPECT_THROW(f.CheckedWriteRecord(-1, a), IoError);
  CloseShared(dir, f);
  EXPECT_EQ(dir.last_io_result, kIoOk);
  EXPECT_EQ(tmp.FileSize("ORBA/REC.DAT"), 12);
}

// Two processes: while one holds the file for update, the other's OpenForUpdate keeps retrying and gets it
// only after the first closes; OpenShared succeeds at once meanwhile.
TEST_F(SharedFileTest, UpdateWaitsForAnotherProcessWhileReadersGoOn) {
  tmp.MakeDir("ORBA");
  tmp.WriteFile("ORBA/SHARED.DAT", "A");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SharedFile held;
    if (OpenForUpdate(dir, held, "\\ORBA\\SHARED.DAT", 1) != kIoOk) _exit(1);
    if (write(ready[1], "r", 1) != 1) _exit(2);
    usleep(400 * 1000);
    const uint8_t mark = 'B';
    if (held.WriteAt(0, std::span<const uint8_t>(&mark, 1)) != kIoOk) _exit(3);
    _exit(0);  // closing by exit releases the lock
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);

  SharedFile reader;
  EXPECT_EQ(OpenShared(dir, reader, "\\ORBA\\SHARED.DAT", 1), kIoOk);
  CloseShared(dir, reader);
  SharedFile no_retry;
  EXPECT_EQ(OpenForUpdate(dir, no_retry, "\\ORBA\\SHARED.DAT", 1, false), kIoSharingViolation);

  SharedFile writer;
  ASSERT_EQ(OpenForUpdate(dir, writer, "\\ORBA\\SHARED.DAT", 1), kIoOk);
  // Only got after the holder wrote its mark and ended.
  std::array<uint8_t, 1> byte{};
  ASSERT_EQ(writer.ReadAt(0, byte), kIoOk);
  EXPECT_EQ(byte[0], 'B');
  CloseShared(dir, writer);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  close(ready[0]);
  close(ready[1]);
}

TEST_F(SharedFileTest, DenyNoneHandlesShareButExcludeUpdate) {
  tmp.MakeDir("ORBA");
  tmp.WriteFile("ORBA/H.DAT", "abc");
  SharedFile h1, h2, upd;
  EXPECT_EQ(OpenSharedHandle(dir, h1, "\\ORBA\\H.DAT"), kIoOk);
  EXPECT_EQ(OpenSharedHandle(dir, h2, "\\ORBA\\H.DAT"), kIoOk);
  EXPECT_GE(h1.fd(), 0);
  EXPECT_GE(h2.fd(), 0);
  EXPECT_EQ(OpenForUpdate(dir, upd, "\\ORBA\\H.DAT", 1, false), kIoSharingViolation);
  SharedFile none;
  EXPECT_EQ(OpenSharedHandle(dir, none, "\\ORBA\\MISSING.DAT"), kIoFileNotFound);
  EXPECT_FALSE(none.is_open());
  EXPECT_FALSE(FileExists(dir, "\\ORBA\\MISSING.DAT"));
}

TEST_F(SharedFileTest, TextLinesEndWithCrLf) {
  tmp.MakeDir("ORBA");
  EXPECT_EQ(AppendTextLine(dir, "\\ORBA\\log.txt", "one"), kIoOk);
  (void)LogReceiverReport(dir, "two");
  EXPECT_EQ(AppendTextLine(dir, "\\ORBA\\log.txt", "three"), kIoOk);
  ManualClock manual;
  manual.Set(2026, 12, 8, 4, 7, 9);
  DataDir stamped{tmp.path(), manual, view};
  EXPECT_EQ(LogError(stamped, "bad\r\nline (result 5)"), kIoOk);
  EXPECT_EQ(tmp.ReadFile("ORBA/log.txt"), "one\r\nthree\r\n");
  // A receiver's report goes as it came; the station's own lines carry date and time, one line each.
  EXPECT_EQ(tmp.ReadFile("ORBA/error.log"), "two\r\n2026/12/08 04:07:09 bad**line (result 5)\r\n");
  EXPECT_EQ(AppendTextLine(dir, "\\ORBA\\NODIR\\log.txt", "x"), kIoPathNotFound);
  EXPECT_EQ(dir.last_io_result, kIoPathNotFound);
}

// Access denied is a permission problem on Linux: retried for ten seconds, then returned, so that it never
// freezes the station. An immutable file denies writing even to root.
TEST(SharedFileAccessTest, AccessDeniedIsRetriedForTenSecondsThenReturned) {
  testing::TempDir tmp;
  ManualClock clock;
  NullView view;
  DataDir dir(tmp.path(), clock, view);
  tmp.MakeDir("ORBA");
  tmp.WriteFile("ORBA/LOCKED.DAT", "x");
  int fd = open(tmp.Join("ORBA/LOCKED.DAT").c_str(), O_RDONLY);
  int flags = 0;
  if (fd < 0 || ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) GTEST_SKIP() << "no file flags here";
  int immutable = flags | FS_IMMUTABLE_FL;
  if (ioctl(fd, FS_IOC_SETFLAGS, &immutable) != 0) {
    close(fd);
    GTEST_SKIP() << "cannot make a file immutable here (needs root and ext4-like file system)";
  }
  const int64_t start = clock.MonotonicMs();
  SharedFile f;
  EXPECT_EQ(OpenForUpdate(dir, f, "\\ORBA\\LOCKED.DAT", 1), kIoAccessDenied);
  const int64_t waited = clock.MonotonicMs() - start;
  EXPECT_GE(waited, 10000);
  EXPECT_LT(waited, 10100);
  ioctl(fd, FS_IOC_SETFLAGS, &flags);
  close(fd);
}

}  // namespace
}  // namespace duri
