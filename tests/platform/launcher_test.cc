#include "platform/launcher.h"

#include <signal.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "support/recording_program.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::TempDir;
using testing::WaitForRecord;
using testing::WriteRecordingProgram;

TEST(PosixLauncherTest, ArgumentsArriveWholeWithoutAShellAndStdioOnDevNull) {
  TempDir dir;
  WriteRecordingProgram(dir.Join("prog"), dir.Join("record"));
  PosixLauncher launcher;
  std::vector<std::string> args = {"two words", "\"quoted\"", "$HOME;rm -rf x", "", "*"};
  std::vector<std::string> argv = {dir.Join("prog")};
  argv.insert(argv.end(), args.begin(), args.end());
  ASSERT_GT(launcher.Start(argv), 0);

  std::vector<std::string> expected = args;
  expected.insert(expected.end(), {"stdin=/dev/null", "stdout=/dev/null", "stderr=/dev/null"});
  EXPECT_EQ(WaitForRecord(dir.Join("record")), expected);
}

TEST(PosixLauncherTest, FinishedChildIsReaped) {
  TempDir dir;
  WriteRecordingProgram(dir.Join("prog"), dir.Join("record"));
  PosixLauncher launcher;
  int pid = launcher.Start({dir.Join("prog")});
  ASSERT_GT(pid, 0);
  ASSERT_FALSE(WaitForRecord(dir.Join("record")).empty());
  // A zombie still answers signal 0; a reaped child is gone.
  auto start = std::chrono::steady_clock::now();
  while (kill(pid, 0) == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  errno = 0;
  EXPECT_NE(kill(pid, 0), 0);
  EXPECT_EQ(errno, ESRCH);
}

TEST(PosixLauncherTest, MissingOrNonExecutableProgramIsNotStarted) {
  TempDir dir;
  dir.WriteFile("plain", "#!/bin/sh\n");
  PosixLauncher launcher;
  EXPECT_EQ(launcher.Start({dir.Join("missing")}), -1);
  EXPECT_EQ(launcher.Start({dir.Join("plain")}), -1);
  EXPECT_EQ(launcher.Start({}), -1);
}

}  // namespace
}  // namespace duri
