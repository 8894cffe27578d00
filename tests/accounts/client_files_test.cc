#include "accounts/client_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <thread>

#include "account_fixture.h"
#include "accounts/account_files.h"
#include "store/lock_file.h"

namespace duri {
namespace {

using ClientFilesTest = testing::AccountFixture;

// An index file of the given account numbers, written directly (large files without client records).
std::string KeyFile(const std::vector<std::string>& accounts) {
  std::string bytes(accounts.size() * kAccountKeySize, '\0');
  for (size_t i = 0; i < accounts.size(); ++i) {
    bytes[i * kAccountKeySize] = static_cast<char>(accounts[i].size());
    bytes.replace(i * kAccountKeySize + 1, accounts[i].size(), accounts[i]);
  }
  return bytes;
}

TEST_F(ClientFilesTest, FindAccountPositionsAndFreeSlot) {
  Load(R"({"clients": [{"account_number": "55"}, {"account_number": "1"}, {"account_number": "55"},
                       {"record": 4, "account_number": "77"}, {"record": 6, "account_number": "99"}]})");
  struct {
    const char* account;
    int32_t position;
    int32_t free_slot;
  } cases[] = {
      {"55", 0, -1},   // listed twice: the first position; no empty record before it
      {"77", 4, 3},    // the first empty record (3) even though the account comes later
      {"99", 6, 3},
      {"5", -1, 3},    // absent: the first empty record
      {"", -1, 3},     // an empty account never matches an empty slot
      {"550", -1, 3},
  };
  for (const auto& c : cases) {
    int32_t free_slot = 99;
    EXPECT_EQ(FindAccount(dir_, c.account, &free_slot), c.position) << c.account;
    EXPECT_EQ(free_slot, c.free_slot) << c.account;
  }
}

TEST_F(ClientFilesTest, FreeSlotIsTheRecordCountOfAFullIndex) {
  Load(R"({"clients": [{"account_number": "1"}, {"account_number": "2"}]})");
  int32_t free_slot = 0;
  EXPECT_EQ(FindAccount(dir_, "3", &free_slot), -1);
  EXPECT_EQ(free_slot, 2);
  tmp_.WriteFile("ORBA/CLIENT.MDX", "");
  EXPECT_EQ(FindAccount(dir_, "3", &free_slot), -1);
  EXPECT_EQ(free_slot, 0);
}

TEST_F(ClientFilesTest, MissingIndexFindsNothing) {
  int32_t free_slot = 0;
  EXPECT_EQ(FindAccount(dir_, "1", &free_slot), -1);
  EXPECT_EQ(free_slot, -1);
}

TEST_F(ClientFilesTest, LookUpClientFoundAndNotFound) {
  Load(R"({"clients": [{"account_number": "1234567890", "name": "Ten",
                        "areas": [{"code_table_record_number": 4}]},
                       {"account_number": "42", "name": "Shop"}]})");
  ClientRecord c;
  int32_t n = 7;
  LookUpClient(dir_, "42", n, c);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(c.found, 1);
  EXPECT_EQ(c.name, "Shop");
  // Cut to the first 10 characters.
  LookUpClient(dir_, "12345678901", n, c);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(c.name, "Ten");
  EXPECT_EQ(c.areas[0].code_table, 4);
  // Not found: a cleared record carrying the account.
  LookUpClient(dir_, "43", n, c);
  EXPECT_EQ(n, -1);
  EXPECT_EQ(c.found, 0);
  EXPECT_EQ(c.account, "43");
  EXPECT_TRUE(c.name.empty());
  EXPECT_EQ(c.areas[0].code_table, -1);
}

TEST_F(ClientFilesTest, DashAsksForTheNextFreeAccount) {
  Load(R"({"clients": [{"account_number": "1F"}, {"account_number": "20"}, {"account_number": "FF"},
                       {"account_number": "XYZ"}]})");
  struct {
    const char* asked;
    const char* got;
  } cases[] = {
      {"-1F", "21"},    // 1F and 20 taken
      {"-22", "22"},    // free already
      {"-FF", "100"},
      {"-XYZ", "0"},    // taken and not hexadecimal: -1 + 1
      {"-QQ", "QQ"},    // free, kept as it is
      {"-fe", "fe"},    // lower-case hexadecimal counts; a free one is kept as written
  };
  for (const auto& c : cases) {
    ClientRecord record;
    record.found = 1;
    int32_t n = 5;
    LookUpClient(dir_, c.asked, n, record);
    EXPECT_EQ(record.account, c.got) << c.asked;
    EXPECT_EQ(record.found, 0);
    EXPECT_EQ(n, 5);  // left as it was
  }
}

TEST_F(ClientFilesTest, ReadClientSetsFoundAndAreaZero) {
  Load(R"({"clients": [{"account_number": "1"}]})");
  std::string bytes = Bytes("CLIENT.MDC");
  bytes[ClientRecord::kFoundOffset] = 0;
  bytes[ClientRecord::kCurrentAreaOffset] = 5;
  tmp_.WriteFile("ORBA/CLIENT.MDC", bytes);
  ClientRecord c;
  ASSERT_TRUE(ReadClient(dir_, 0, c));
  EXPECT_EQ(c.found, 1);
  EXPECT_EQ(c.current_area, 0);
  c.account = "kept";
  EXPECT_FALSE(ReadClient(dir_, 1, c));
  EXPECT_FALSE(ReadClient(dir_, -1, c));
  EXPECT_EQ(c.account, "kept");
}

TEST_F(ClientFilesTest, InactiveFlags) {
  EXPECT_EQ(ClientInactiveFlag(dir_, 0), 0);  // no file
  Load(R"({"clients": [{"account_number": "1"}, {"account_number": "2", "inactive_flag": 1}]})");
  EXPECT_EQ(ClientInactiveFlag(dir_, 0), 0);
  EXPECT_EQ(ClientInactiveFlag(dir_, 1), 1);
  EXPECT_EQ(ClientInactiveFlag(dir_, 2), 0);
  EXPECT_EQ(ClientInactiveFlag(dir_, -1), 0);
}

TEST_F(ClientFilesTest, IndexOfMoreThanOneBlock) {
  // 100,050 index records: the scan reads them in blocks of 100,000.
  std::vector<std::string> accounts;
  for (int i = 0; i < 100050; ++i) accounts.push_back(std::to_string(i + 1));
  accounts[100020] = "";
  tmp_.MakeDir("ORBA");
  tmp_.WriteFile("ORBA/CLIENT.MDX", KeyFile(accounts));
  int32_t free_slot = 0;
  EXPECT_EQ(FindAccount(dir_, "1", &free_slot), 0);
  EXPECT_EQ(FindAccount(dir_, "100000", &free_slot), 99999);
  EXPECT_EQ(free_slot, -1);
  EXPECT_EQ(FindAccount(dir_, "100001", &free_slot), 100000);
  EXPECT_EQ(FindAccount(dir_, "100050", &free_slot), 100049);
  EXPECT_EQ(free_slot, 100020);
  EXPECT_EQ(FindAccount(dir_, "100051", &free_slot), -1);
  EXPECT_EQ(free_slot, 100020);
}

TEST_F(ClientFilesTest, BisectionPastThe16BitLimit) {
  // 50,000 accounts in account order: decimal numbers without leading zeros sort as numbers.
  std::vector<std::string> accounts;
  for (int i = 1; i <= 50000; ++i) accounts.push_back(std::to_string(i));
  tmp_.MakeDir("ORBA");
  tmp_.WriteFile("ORBA/CLIENT.MDP", KeyFile(accounts));
  for (int i = 1; i <= 50000; i += 331) {
    int32_t position = -1;
    ASSERT_TRUE(FindInAccountOrder(dir_, kAccountOrderFile, std::to_string(i), &position)) << i;
    EXPECT_EQ(position, i - 1);
  }
  for (int i : {32767, 32768, 32769, 49999, 50000}) {
    int32_t position = -1;
    EXPECT_TRUE(FindInAccountOrder(dir_, kAccountOrderFile, std::to_string(i), &position)) << i;
    EXPECT_EQ(position, i - 1);
  }
  for (const char* absent : {"0", "50001", "", "1A", "99999999999"})
    EXPECT_FALSE(FindInAccountOrder(dir_, kAccountOrderFile, absent)) << absent;
  EXPECT_FALSE(FindInAccountOrder(dir_, "\\ORBA\\NONE.MDP", "1"));
}

// Notes, from any thread, that a lock wait was shown.
class WaitWatchView : public NullView {
 public:
  void ShowDebug(const std::string& text) override {
    if (text.find("Waiting for lock 16") != std::string::npos) waiting = true;
  }
  std::atomic<bool> waiting{false};
};

TEST_F(ClientFilesTest, FindAccountWaitsWhileAnotherStationRebuildsTheIndex) {
  Load(R"({"clients": [{"account_number": "1"}]})");
  WaitWatchView watch;
  DataDir here(tmp_.path(), clock_, watch), other(tmp_.path(), clock_, watch);
  here.computer_name_override = "HERE";
  other.computer_name_override = "OTHER";
  ASSERT_TRUE(AcquireLock(other, kGeneralLock, kAccountIndexKey, false));
  std::atomic<int32_t> found{-2};
  std::thread lookup([&] { found = FindAccount(here, "1"); });
  // The wait is shown after ten seconds of the manual clock, which its pauses advance.
  while (!watch.waiting) std::this_thread::yield();
  EXPECT_EQ(found, -2);
  ReleaseLock(other, kGeneralLock, kAccountIndexKey);
  lookup.join();
  EXPECT_EQ(found, 0);
}

// Puts the file's modification time an hour back, as an index nobody has changed lately.
void MakeOld(const std::string& path, int seconds_back) {
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  timespec times[2] = {st.st_atim, st.st_mtim};
  times[1].tv_sec -= seconds_back;
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(ClientFilesTest, FindAccountKeepsAnUnchangedIndexAndSeesEveryChange) {
  tmp_.WriteFile("ORBA/CLIENT.MDX", KeyFile({"10", "", "20", "10"}));
  MakeOld(tmp_.Join("ORBA/CLIENT.MDX"), 3600);
  struct {
    const char* account;
    int32_t position;
    int32_t free_slot;
  } cases[] = {{"10", 0, -1}, {"20", 2, 1}, {"30", -1, 1}, {"", -1, 1}};
  for (int round = 0; round < 2; ++round) {
    for (const auto& c : cases) {
      int32_t free_slot = 99;
      EXPECT_EQ(FindAccount(dir_, c.account, &free_slot), c.position) << c.account;
      EXPECT_EQ(free_slot, c.free_slot) << c.account;
    }
  }
  EXPECT_EQ(dir_.file_cache().reads(), 1);

  // The operators' application replaces an account: same size, another modification time.
  tmp_.WriteFile("ORBA/CLIENT.MDX", KeyFile({"10", "", "30", "10"}));
  MakeOld(tmp_.Join("ORBA/CLIENT.MDX"), 1800);
  EXPECT_EQ(FindAccount(dir_, "20"), -1);
  EXPECT_EQ(FindAccount(dir_, "30"), 2);
  EXPECT_EQ(dir_.file_cache().reads(), 2);
}

}  // namespace
}  // namespace duri
