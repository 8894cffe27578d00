#include "intake/receiver_setup.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "receivers/receiver_catalogue.h"
#include "intake/receiver_file.h"
#include "station.h"
#include "support/pty.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::PseudoTerminal;
using testing::RecordingView;
using testing::TempDir;

// Remembers what the receiver side had received at the moment each memo text was shown.
class OrderView : public RecordingView {
 public:
  void ShowTraffic(int port, const std::string& text) override {
    RecordingView::ShowTraffic(port, text);
    shown.push_back(text + "|" + (pty ? pty->ReadNow() : ""));
  }
  PseudoTerminal* pty = nullptr;
  std::vector<std::string> shown;
};

class ReceiverSetupTest : public ::testing::Test {
 protected:
  ReceiverSetupTest() : station_(dir_.path(), clock_, view_) {
    station_.ports.SetDeviceDir(dir_.Join("no-dev"));
    station_.set_ui_thread(ui_);
  }

  PseudoTerminal& Attach(int n) {
    ptys_.push_back(std::make_unique<PseudoTerminal>());
    ptys_.back()->Link(dir_.path(), "COM" + std::to_string(n));
    return *ptys_.back();
  }
  // Selects port n in the port list as the operator would.
  void Select(int n) {
    controls_.port_items = {"COM" + std::to_string(n)};
    controls_.port_item = 0;
    PrepReceiverList(station_, controls_);
  }
  void Save(int type) {
    controls_.receiver = type;
    SaveReceiverSetup(station_, controls_);
  }

  EventLoopThread ui_;
  TempDir dir_;
  ManualClock clock_;
  OrderView view_;
  Station station_;
  std::vector<std::unique_ptr<PseudoTerminal>> ptys_;
  ReceiverSetupControls controls_;
};

TEST_F(ReceiverSetupTest, MissingFileMeansNoReceiverAnywhere) {
  ResetReceiverPorts(station_);
  FillReceiverLists(station_, controls_);
  EXPECT_EQ(controls_.receiver_items.size(), 22u);
  EXPECT_EQ(controls_.receiver_items[0], "(None)");
  EXPECT_EQ(controls_.receiver_items[19], "Calderium Enhaced");
  for (int n = 1; n <= kPortCount; ++n) {
    Select(n);
    EXPECT_EQ(controls_.receiver, 0);
    EXPECT_EQ(controls_.ofset, "0");
    EXPECT_FALSE(OpenReceiverPort(station_, n));
    EXPECT_EQ(station_.ports.Traffic(n), "Com" + std::to_string(n) + "Traffic");
  }
  EXPECT_FALSE(dir_.Exists("TorvaCom.dta"));
}

TEST_F(ReceiverSetupTest, SavingCreatesTheWholeFile) {
  Attach(3);
  Select(3);
  Save(kTypeCyber);
  EXPECT_EQ(dir_.FileSize("TorvaCom.dta"), 1760);
  std::string bytes = dir_.ReadFile("TorvaCom.dta");
  EXPECT_EQ(bytes[2 * 110], kTypeCyber);
  EXPECT_EQ(bytes[2 * 110 + 3], '0');
  EXPECT_EQ(bytes[2 * 110 + 106], 4);  // 1200 baud
  EXPECT_EQ(bytes[0], 0);
}

TEST_F(ReceiverSetupTest, ShortFileFillsOnlyTheLeadingRecords) {
  ReceiverConfigs configs;
  for (auto& c : configs) ResetReceiverConfig(c);
  configs[0].receiver_type = 7;
  configs[1].receiver_type = 9;
  configs[1].baud_rate_code = 7;
  configs[2].receiver_type = 12;
  configs[2].baud_rate_code = 9;
  ASSERT_EQ(SaveReceiverConfigs(station_.data, configs), 0);
  // Cut inside the third record: its first bytes come from the file, the rest keep the reset values.
  std::string bytes = dir_.ReadFile("TorvaCom.dta").substr(0, 2 * 110 + 50);
  dir_.WriteFile("TorvaCom.dta", bytes);
  ReceiverConfigs loaded;
  loaded[5].receiver_type = 3;
  ASSERT_EQ(LoadReceiverConfigs(station_.data, loaded), 0);
  EXPECT_EQ(loaded[0].receiver_type, 7);
  EXPECT_EQ(loaded[1].receiver_type, 9);
  EXPECT_EQ(loaded[1].baud_rate_code, 7);
  EXPECT_EQ(loaded[2].receiver_type, 12);
  EXPECT_EQ(loaded[2].baud_rate_code, 4);
  EXPECT_EQ(loaded[5].receiver_type, 0);
}

// A record no setup could write is told once, in the window and error.log, and its port stays closed.
TEST_F(ReceiverSetupTest, DamagedRecordsAreToldOnceAndTheirPortsStayClosed) {
  dir_.MakeDir("ORBA");
  ReceiverConfigs configs;
  configs[0].receiver_type = 7;
  configs[2].receiver_type = 7;
  configs[9].receiver_type = 7;
  ASSERT_EQ(SaveReceiverConfigs(station_.data, configs), 0);
  std::string bytes = dir_.ReadFile("TorvaCom.dta");
  bytes[2 * 110 + ReceiverConfig::kTypeOffset] = static_cast<char>(143);
  bytes[9 * 110 + ReceiverConfig::kStopBitsOffset] = 7;
  bytes[15 * 110 + ReceiverConfig::kTypeOffset] = static_cast<char>(255);
  dir_.WriteFile("TorvaCom.dta", bytes);
  ui_.Synchronize([&] { ResetReceiverPorts(station_); });
  EXPECT_EQ(station_.ports.Config(1).receiver_type, 7);
  for (int port : {3, 10, 16}) EXPECT_EQ(station_.ports.Config(port).receiver_type, 0) << port;
  const std::string told =
      "C:\\TorvaCom.dta is damaged: COM3 (receiver type 143), COM10 (stop bits code 7), COM16 (receiver type "
      "255); these ports stay closed until their setup is saved again.";
  EXPECT_EQ(view_.Messages(), std::vector<std::string>{"TorvaCom|" + told});
  EXPECT_NE(dir_.ReadFile("ORBA/error.log").find(told), std::string::npos);
}

TEST_F(ReceiverSetupTest, OddParitySavedComesBackAsNone) {
  Attach(2);
  Select(2);
  TParity odd;
  odd.Bits = TParityBits::prOdd;
  station_.ports.Port(2).SetParity(odd);
  Save(kTypeCyber);
  ReceiverConfigs loaded;
  LoadReceiverConfigs(station_.data, loaded);
  EXPECT_EQ(loaded[1].even_parity, 0);
  station_.ports.Port(2).SetParityBits(TParityBits::prEven);
  Save(kTypeCyber);
  LoadReceiverConfigs(station_.data, loaded);
  EXPECT_EQ(loaded[1].even_parity, 1);
}

TEST_F(ReceiverSetupTest, OpeningAppliesWhatEachReceiverModelNeeds) {
  const struct {
    int type;
    uint8_t terminator;
    uint8_t ack;
    bool supervised;
    std::string command;
  } cases[] = {
      {1, 13, 6, true, ""},   {3, 20, 6, false, ""},  {4, 13, 6, true, "S"},  {5, 20, 6, true, ""},
      {6, 20, 6, false, ""},  {7, 20, 6, true, ""},   {8, 13, 6, true, "S"},  {9, 4, 6, false, ""},
      {10, 13, 6, false, ""}, {11, 13, 6, false, ""}, {12, 13, 6, true, ""},  {13, 4, 6, false, ""},
      {14, 13, 6, false, ""}, {15, 4, 6, false, ""},  {16, 13, 'A', false, ""},
      {17, 13, 6, false, "ATQ1M0S0=1S7=10\r"},        {18, 20, 6, true, ""},  {19, 13, 6, true, ""},
      {20, 20, 6, false, ""}, {21, 20, 6, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    PseudoTerminal& pty = Attach(10);
    station_.ports.Port(10).Close();
    ResetPortState(station_.ports.State(10));
    station_.ports.Config(10).receiver_type = static_cast<uint8_t>(c.type);
    ASSERT_TRUE(OpenReceiverPort(station_, 10));
    const PortState& s = station_.ports.State(10);
    EXPECT_EQ(s.terminator, c.terminator);
    EXPECT_EQ(s.acknowledgement, c.ack);
    EXPECT_EQ(s.link_alarm, c.supervised ? 0 : 1);
    EXPECT_EQ(s.link_activity, 0);
    EXPECT_EQ(station_.ports.Traffic(10), "Open COM10");
    EXPECT_EQ(c.command.empty() ? pty.ReadNow() : pty.Read(), c.command);
  }
}

TEST_F(ReceiverSetupTest, QuickAlertKeepsTheRecordButRunsSevenBitsTwoStopsRtsOn) {
  Attach(4);
  Select(4);
  ASSERT_EQ(station_.ports.Port(4).DataBits(), TDataBits::dbEight);
  ASSERT_EQ(station_.ports.Port(4).StopBits(), TStopBits::sbOneStopBit);
  Save(kTypeQuickAlert);
  const ReceiverConfig& config = station_.ports.Config(4);
  EXPECT_EQ(config.data_bits_code, 3);
  EXPECT_EQ(config.stop_bits_code, 0);
  TSerialPort& port = station_.ports.Port(4);
  ASSERT_TRUE(port.Connected());
  EXPECT_EQ(port.applied_settings().data_bits, 7);
  EXPECT_EQ(port.applied_settings().stop_bits, 2);
  EXPECT_EQ(port.applied_settings().rts, 1);
  LineSettings device;
  ASSERT_EQ(ReadLineSettings(ptys_.back()->slave_fd(), &device), 0);
  EXPECT_EQ(device.stop_bits, 2);
  EXPECT_EQ(station_.ports.State(4).terminator, 4);
}

TEST_F(ReceiverSetupTest, UniversalSendsTheModemStringAfterTheMemoSaysOpen) {
  PseudoTerminal& pty = Attach(5);
  view_.pty = &pty;
  Select(5);
  Save(kTypeUniversal);
  view_.pty = nullptr;
  ASSERT_EQ(view_.shown.size(), 1u);
  EXPECT_EQ(view_.shown[0], "Open COM5|");  // nothing on the line yet when the memo changed
  EXPECT_EQ(pty.Read(), "ATQ1M0S0=1S7=10\r");
}

TEST_F(ReceiverSetupTest, MissingDeviceShowsNotAvailableAndKeepsTheRecord) {
  Select(16);
  Save(7);
  EXPECT_EQ(station_.ports.Traffic(16), "COM16 Not Available");
  EXPECT_FALSE(station_.ports.Port(16).Connected());
  EXPECT_EQ(station_.ports.Config(16).receiver_type, 7);
  ReceiverConfigs loaded;
  LoadReceiverConfigs(station_.data, loaded);
  EXPECT_EQ(loaded[15].receiver_type, 7);
}

TEST_F(ReceiverSetupTest, SavingNoneClosesThePortAndResetsItsLine) {
  Attach(6);
  Select(6);
  station_.ports.Port(6).SetBaudRate(TBaudRate::br9600);
  controls_.receiver_number = true;
  Save(5);
  ASSERT_TRUE(station_.ports.Port(6).Connected());
  EXPECT_EQ(station_.ports.Config(6).baud_rate_code, 7);
  const std::string memo = station_.ports.Traffic(6);
  Save(0);
  Save(0);  // closing a closed port is ignored
  TSerialPort& port = station_.ports.Port(6);
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.BaudRate(), TBaudRate::br1200);
  EXPECT_EQ(port.Parity().Bits, TParityBits::prNone);
  EXPECT_FALSE(controls_.receiver_number);
  EXPECT_EQ(station_.ports.Traffic(6), memo);
  EXPECT_EQ(station_.ports.Config(6).receiver_type, 0);
}

TEST_F(ReceiverSetupTest, PrefixOutsideHexIsStoredAsZeroWithABeep) {
  Attach(7);
  Select(7);
  const struct {
    std::string typed;
    char stored;
    bool beep;
  } cases[] = {{"G", '0', true}, {"g", '0', true}, {"", '0', true}, {"b", 'B', false}, {"9", '9', false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    int beeps = view_.beeps;
    controls_.ofset = c.typed;
    controls_.focus_ofset = false;
    controls_.line_number = true;
    Save(1);
    EXPECT_EQ(station_.ports.Config(7).prefix, c.stored);
    EXPECT_EQ(view_.beeps - beeps, c.beep ? 1 : 0);
    EXPECT_EQ(controls_.focus_ofset, c.beep);
    EXPECT_EQ(station_.ports.Config(7).line_number, 1);  // the save goes on
  }
}

TEST_F(ReceiverSetupTest, SelectingAPortShowsItsRecordAndAppliesItsLine) {
  ReceiverConfigs configs;
  for (auto& c : configs) ResetReceiverConfig(c);
  ReceiverConfig& c12 = configs[11];
  c12.receiver_type = 21;
  c12.receiver_number = 1;
  c12.show_heartbeat = 1;
  c12.prefix = 'C';
  c12.baud_rate_code = 7;
  c12.data_bits_code = 2;
  c12.stop_bits_code = 2;
  c12.even_parity = 1;
  SaveReceiverConfigs(station_.data, configs);
  ResetReceiverPorts(station_);
  controls_.port_items = {"COM1", "COM12", "COM2"};
  controls_.port_item = 1;
  controls_.compress_cid = true;
  PrepReceiverList(station_, controls_);
  EXPECT_EQ(station_.ports.selected_port, 12);
  EXPECT_EQ(controls_.receiver, 21);
  EXPECT_TRUE(controls_.receiver_number);
  EXPECT_FALSE(controls_.line_number);
  EXPECT_FALSE(controls_.compress_cid);
  EXPECT_TRUE(controls_.show_heartbeat);
  EXPECT_EQ(controls_.ofset, "C");
  TSerialPort& port = station_.ports.Port(12);
  EXPECT_EQ(port.Port(), "COM12");
  EXPECT_EQ(port.BaudRate(), TBaudRate::br9600);
  EXPECT_EQ(port.DataBits(), TDataBits::dbSeven);
  EXPECT_EQ(port.StopBits(), TStopBits::sbTwoStopBits);
  EXPECT_EQ(port.Parity().Bits, TParityBits::prEven);
}

TEST(PortListTest, ListsComOneToSixteenSortedAsText) {
  const struct {
    std::vector<std::string> devices;
    std::vector<std::string> items;
  } cases[] = {
      {{"COM1", "COM2", "COM10"}, {"COM1", "COM10", "COM2"}},
      {{"COM10"}, {"COM10"}},  // COM1 is not listed because of COM10
      {{"COM17", "LPT1"}, {}},
      {{}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(PortListFromDevices(c.devices), c.items);
}

TEST_F(ReceiverSetupTest, EmptyPortListLeavesTheSetupAlone) {
  FillReceiverLists(station_, controls_);
  ASSERT_TRUE(controls_.port_items.empty());
  EXPECT_EQ(controls_.port_item, -1);
  PrepReceiverList(station_, controls_);
  SaveReceiverSetup(station_, controls_);
  EXPECT_EQ(station_.ports.selected_port, 0);
  EXPECT_FALSE(dir_.Exists("TorvaCom.dta"));
}

}  // namespace
}  // namespace duri

namespace duri {
namespace {

TEST_F(ReceiverSetupTest, FailedSaveIsToldAndThePortStillOpens) {
  dir_.MakeDir("TorvaCom.dta");  // a folder where the file belongs: the save cannot write it
  Attach(9);
  Select(9);
  Save(kTypeCyber);
  ASSERT_FALSE(view_.debug.empty());
  EXPECT_EQ(view_.debug.back().rfind("C:\\TorvaCom.dta (", 0), 0u) << view_.debug.back();
  EXPECT_TRUE(station_.ports.Port(9).Connected());
}

}  // namespace
}  // namespace duri

namespace duri {
namespace {

TEST_F(ReceiverSetupTest, StartUpOpensEveryPortWithItsStoredLine) {
  ReceiverConfigs configs;
  for (auto& c : configs) ResetReceiverConfig(c);
  configs[1].receiver_type = 7;
  configs[1].baud_rate_code = 7;  // 9600
  configs[2].receiver_type = 16;
  configs[2].baud_rate_code = 11;  // 56000
  configs[2].even_parity = 1;
  SaveReceiverConfigs(station_.data, configs);
  PseudoTerminal& com2 = Attach(2);
  PseudoTerminal& com3 = Attach(3);
  ResetReceiverPorts(station_);
  OpenReceiverPorts(station_);
  LineSettings device;
  ASSERT_EQ(ReadLineSettings(com2.slave_fd(), &device), 0);
  EXPECT_EQ(device.baud, 9600);
  ASSERT_EQ(ReadLineSettings(com3.slave_fd(), &device), 0);
  EXPECT_EQ(device.baud, 56000);
  EXPECT_EQ(station_.ports.Port(3).applied_settings().parity, 2);
  EXPECT_EQ(station_.ports.Traffic(2), "Open COM2");
  EXPECT_EQ(station_.ports.Traffic(3), "Open COM3");
  EXPECT_EQ(station_.ports.Traffic(1), "Com1Traffic");  // no receiver: untouched
  EXPECT_EQ(station_.ports.Traffic(4), "Com4Traffic");
  EXPECT_FALSE(station_.ports.Port(1).Connected());
}

}  // namespace
}  // namespace duri
