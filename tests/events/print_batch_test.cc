#include "events/print_batch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <thread>

#include "platform/cups_printer.h"
#include "support/recording_printer.h"
#include "support/station_fixture.h"

namespace duri {
namespace {

EventRecord Numbered(int n) {
  EventRecord e;
  e.account = std::to_string(10000 + n);
  e.description = "    E130 > Burglary zone " + std::to_string(n);
  e.date = {2026, 12, 8, 2};
  e.time = {static_cast<uint16_t>(n / 60), static_cast<uint16_t>(n % 60), 5, 0};
  return e;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

class PrintBatchTest : public testing::DataDirTest {
 protected:
  testing::RecordingPrinter printer_;
};

TEST(PrintLineTest, Columns) {
  EventRecord e = Numbered(0);
  e.account = "12345";
  e.time = {4, 7, 9, 0};
  EXPECT_EQ(PrintLine(e), "  2026/12/08  04:07:09 12345        " + e.description.str() + "\r\n");
  e.account.Clear();
  e.date = {2026, 2, 30, 0};
  e.time = {24, 0, 0, 0};
  EXPECT_EQ(PrintLine(e), "     " + std::string(13, ' ') + e.description.str() + "\r\n");
}

TEST_F(PrintBatchTest, EightyFifthEventPrintsThePageOldestFirst) {
  for (int i = 1; i <= 84; ++i) DumpEvents(data_, printer_, 2, Numbered(i));
  EXPECT_TRUE(printer_.pages.empty());
  EXPECT_EQ(tmp_.FileSize("ORBA/EvtDump.dat"), kDumpSize);
  EXPECT_EQ(ReadDumpSlots(data_)[83].account, "10084");
  DumpEvents(data_, printer_, 2, Numbered(85));
  ASSERT_EQ(printer_.pages.size(), 1u);
  EXPECT_EQ(printer_.pages[0].printer, "Alarm");
  std::vector<std::string> lines = Lines(printer_.pages[0].text);
  ASSERT_EQ(lines.size(), 85u);
  for (int i = 1; i <= 85; ++i) EXPECT_EQ(lines[i - 1] + "\r\n", PrintLine(Numbered(i)));
  for (const EventRecord& slot : ReadDumpSlots(data_)) EXPECT_TRUE(slot.account.empty());
  // The next event starts a new page in slot 1.
  DumpEvents(data_, printer_, 2, Numbered(86));
  EXPECT_EQ(ReadDumpSlots(data_)[0].account, "10086");
}

TEST_F(PrintBatchTest, NoPrinterStopsCollectingAndKeepsTheBlock) {
  for (int i = 1; i <= 3; ++i) DumpEvents(data_, printer_, 1, Numbered(i));
  std::string before = tmp_.ReadFile("ORBA/EvtDump.dat");
  DumpEvents(data_, printer_, 0, Numbered(4));
  EXPECT_EQ(tmp_.ReadFile("ORBA/EvtDump.dat"), before);
  DumpEvents(data_, printer_, 1, Numbered(5));
  EXPECT_EQ(ReadDumpSlots(data_)[3].account, "10005");
}

TEST_F(PrintBatchTest, TrailerCarriedAndFreedSlotReused) {
  std::string block(kDumpSize, '\0');
  for (int i = 0; i < kDumpTrailerSize; ++i) block[kDumpSize - kDumpTrailerSize + i] = static_cast<char>(i * 7);
  // Slot 2 in use, slot 1 free: the free slot is taken first.
  std::array<uint8_t, EventRecord::kSize> used = Numbered(99).Encoded();
  block.replace(200, 200, reinterpret_cast<const char*>(used.data()), 200);
  tmp_.WriteFile("ORBA/EvtDump.dat", block);
  DumpEvents(data_, printer_, 1, Numbered(1));
  std::string after = tmp_.ReadFile("ORBA/EvtDump.dat");
  EXPECT_EQ(after.substr(kDumpSize - kDumpTrailerSize), block.substr(kDumpSize - kDumpTrailerSize));
  EXPECT_EQ(ReadDumpSlots(data_)[0].account, "10001");
  EXPECT_EQ(ReadDumpSlots(data_)[1].account, "10099");
}

TEST_F(PrintBatchTest, PageThatCannotPrintIsLogged) {
  struct Case {
    int printer;
    bool refuse;
    const char* logged;
  };
  for (const Case& c : {Case{3, false, "alarm printer 3 is not installed"}, Case{1, true, "Office: out of paper"}}) {
    printer_.refuse = c.refuse;
    for (int i = 1; i <= 85; ++i) DumpEvents(data_, printer_, c.printer, Numbered(i));
    EXPECT_NE(tmp_.ReadFile("ORBA/error.log").find(c.logged), std::string::npos) << c.logged;
    EXPECT_TRUE(ReadDumpSlots(data_)[84].account.empty());
  }
}

TEST_F(PrintBatchTest, MonthlyAccountMarks) {
  tmp_.MakeDir("ORBA/202612.EVT");
  MarkAccountMoved(data_, -1, "202612", 1);
  EXPECT_FALSE(tmp_.Exists("ORBA/202612.EVT/EVENT.MOV"));
  MarkAccountMoved(data_, 0, "202612", 1);
  MarkAccountMoved(data_, 999999, "202612", 1);
  std::string map = tmp_.ReadFile("ORBA/202612.EVT/EVENT.MOV");
  ASSERT_EQ(map.size(), static_cast<size_t>(kMovedFileSize));
  EXPECT_EQ(map[0], 1);
  EXPECT_EQ(map[1], 0);
  EXPECT_EQ(map[999999], 1);
  MarkAccountMoved(data_, 0, "202612", 0);
  EXPECT_EQ(tmp_.ReadFile("ORBA/202612.EVT/EVENT.MOV")[0], 0);
}

// A real CUPS scheduler, started by tests/scripts/start-test-cupsd.sh on a private socket, with a
// text-only printer whose file: device receives the page.
class CupsPrintTest : public testing::DataDirTest {
 protected:
  void SetUp() override {
    const char* source = std::getenv("DURIDUVAZE_SOURCE_DIR");
    std::string script = std::string(source ? source : ".") + "/tests/scripts/start-test-cupsd.sh";
    chmod(tmp_.path().c_str(), 0755);  // the filters run as the scheduler's user
    cups_dir_ = tmp_.Join("cups");
    std::string command = "'" + script + "' '" + cups_dir_ + "' 2>&1";
    FILE* out = popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string text;
    char buf[512];
    while (fgets(buf, sizeof buf, out)) text += buf;
    int status = pclose(out);
    if (status != 0) GTEST_SKIP() << "no CUPS scheduler could start here: " << text;
    pid_ = std::stoi(text);
  }
  void TearDown() override {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 200 && kill(pid_, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  std::string cups_dir_;
  int pid_ = 0;
};

TEST_F(CupsPrintTest, FullPageArrivesOnTheAlarmPrinter) {
  CupsPrinter printer(cups_dir_ + "/cups.sock");
  std::vector<std::string> names = printer.PrinterNames();
  ASSERT_EQ(names, std::vector<std::string>{"AlarmFile"});
  for (int i = 1; i <= 85; ++i) DumpEvents(data_, printer, 1, Numbered(i));
  EXPECT_FALSE(tmp_.Exists("ORBA/error.log")) << tmp_.ReadFile("ORBA/error.log");
  // The job is printed after the scheduler has run its filter: wait for the last line to arrive.
  const std::string output = cups_dir_ + "/out/alarm.prn";
  const std::string last = PrintLine(Numbered(85)).substr(2, 40);
  std::string text;
  for (int i = 0; i < 1000 && text.find(last) == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (tmp_.Exists("cups/out/alarm.prn")) text = tmp_.ReadFile("cups/out/alarm.prn");
  }
  size_t at = 0;
  for (int i = 1; i <= 85; ++i) {
    std::string line = PrintLine(Numbered(i));
    line = line.substr(2, line.size() - 4);  // the printer's margin replaces the leading blanks
    size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << "line " << i << " missing or out of order:\n" << text;
    at = found + line.size();
  }
}

}  // namespace
}  // namespace duri
