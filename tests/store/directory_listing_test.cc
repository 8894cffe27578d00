#include "store/directory_listing.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/clock.h"
#include "platform/station_view.h"
#include "store/data_dir.h"
#include "store/file_cache.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

// Puts the modification time an hour back, as a directory or file nobody has touched lately.
void MakeOld(const std::string& path) {
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  timespec times[2] = {st.st_atim, st.st_mtim};
  times[1].tv_sec -= 3600;
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(DirectoryListingsTest, KeptWhileTheDirectoryIsUnchangedAndScannedAgainAfterAChange) {
  testing::TempDir tmp;
  tmp.WriteFile("EVENT.MDC", "x");
  tmp.WriteFile("event.mdc", "y");
  MakeOld(tmp.path());
  DirectoryListings listings;
  // The first entry of that name in the directory's order, whichever spelling it is.
  const std::string first = listings.Match(tmp.path(), "Event.Mdc");
  EXPECT_TRUE(first == "EVENT.MDC" || first == "event.mdc") << first;
  EXPECT_EQ(listings.Match(tmp.path(), "Event.Mdc"), first);
  EXPECT_EQ(listings.Match(tmp.path(), "missing.txt"), "missing.txt");
  EXPECT_EQ(listings.scans(), 1);

  // A new entry changes the directory: it is found at once.
  tmp.WriteFile("EventLog.txt", "z");
  EXPECT_EQ(listings.Match(tmp.path(), "EVENTLOG.TXT"), "EventLog.txt");
  EXPECT_EQ(listings.scans(), 2);
}

TEST(DirectoryListingsTest, ADirectoryChangedJustNowIsScannedEveryTime) {
  testing::TempDir tmp;
  tmp.WriteFile("PERIOD.INX", "");
  DirectoryListings listings;
  EXPECT_EQ(listings.Match(tmp.path(), "period.inx"), "PERIOD.INX");
  EXPECT_EQ(listings.Match(tmp.path(), "period.inx"), "PERIOD.INX");
  EXPECT_EQ(listings.scans(), 2);
  EXPECT_EQ(listings.Match(tmp.Join("no-such-dir"), "a"), "a");
}

TEST(DirectoryListingsTest, HostPathUsesTheKeptListing) {
  testing::TempDir tmp;
  tmp.MakeDir("ORBA/202612.EVT");
  MakeOld(tmp.Join("ORBA"));
  ManualClock clock;
  NullView view;
  DataDir dir(tmp.path(), clock, view);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(dir.HostPath("\\ORBA\\202612.Evt\\EventLog.txt"), tmp.Join("ORBA/202612.EVT/EventLog.txt"));
  EXPECT_EQ(dir.listings().scans(), 1 + 3);  // ORBA once; the month folder, new, each time
}

TEST(FileCacheTest, BuiltAgainWhenTheStampChanges) {
  testing::TempDir tmp;
  tmp.WriteFile("CLIENT.MDX", "abc");
  MakeOld(tmp.Join("CLIENT.MDX"));
  FileCache cache;
  const std::function<std::string(std::span<const uint8_t>)> build = [](std::span<const uint8_t> b) {
    return std::string(b.begin(), b.end());
  };
  auto read = [&] {
    FILE* f = std::fopen(tmp.Join("CLIENT.MDX").c_str(), "rb");
    auto value = cache.Get<std::string>("CLIENT.MDX", fileno(f), build);
    std::fclose(f);
    return value ? *value : std::string("(none)");
  };
  EXPECT_EQ(read(), "abc");
  EXPECT_EQ(read(), "abc");
  EXPECT_EQ(cache.reads(), 1);
  // Same size, new contents: the modification time tells.
  tmp.WriteFile("CLIENT.MDX", "xyz");
  EXPECT_EQ(read(), "xyz");
  EXPECT_EQ(read(), "xyz");  // changed just now: read again until it settles
  EXPECT_EQ(cache.reads(), 3);
  EXPECT_EQ(cache.Get<std::string>("x", -1, build), nullptr);
}

}  // namespace
}  // namespace duri
