#include "transport/serial_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "support/pty.h"
#include "support/temp_dir.h"
#include "transport/serial_names.h"

namespace duri {
namespace {

using testing::PseudoTerminal;
using testing::TempDir;
using testing::WaitFor;

class SerialPortTest : public ::testing::Test {
 protected:
  SerialPortTest() : port_(dir_.path(), dir_.Join("no-dev")) {
    pty_.Link(dir_.path(), "COM3");
    port_.SetPort("COM3");
    port_.set_ui_thread(&ui_);
  }

  LineSettings DeviceSettings() {
    LineSettings s;
    EXPECT_EQ(ReadLineSettings(pty_.slave_fd(), &s), 0);
    return s;
  }

  EventLoopThread ui_;
  TempDir dir_;
  PseudoTerminal pty_;
  TSerialPort port_;
};

TEST_F(SerialPortTest, DefaultsOfANewPortObject) {
  TSerialPort fresh(dir_.path());
  EXPECT_EQ(fresh.Port(), "COM1");
  EXPECT_EQ(fresh.BaudRate(), TBaudRate::br9600);
  EXPECT_EQ(fresh.CustomBaudRate(), 9600);
  EXPECT_EQ(fresh.DataBits(), TDataBits::dbEight);
  EXPECT_EQ(fresh.StopBits(), TStopBits::sbOneStopBit);
  EXPECT_EQ(fresh.Parity().Bits, TParityBits::prNone);
  EXPECT_EQ(fresh.FlowControl().ControlDTR, TDTRFlowControl::dtrDisable);
  EXPECT_EQ(fresh.FlowControl().ControlRTS, TRTSFlowControl::rtsDisable);
  EXPECT_EQ(fresh.FlowControl().XonChar, 17);
  EXPECT_EQ(fresh.FlowControl().XoffChar, 19);
  EXPECT_EQ(fresh.Buffer().InputSize, 1024);
  EXPECT_EQ(fresh.Timeouts().ReadInterval, -1);
  EXPECT_EQ(fresh.Timeouts().WriteTotalMultiplier, 100);
  EXPECT_EQ(fresh.Timeouts().WriteTotalConstant, 1000);
  EXPECT_EQ(fresh.Events(), kAllSerialEvents);
  EXPECT_EQ(fresh.SyncMethod(), TSyncMethod::smThreadSync);
  EXPECT_FALSE(fresh.Connected());
}

TEST_F(SerialPortTest, OpeningAMissingPortFailsWithTheSystemErrorNumber) {
  port_.SetPort("COM9");
  try {
    port_.Open();
    FAIL() << "opened a port that does not exist";
  } catch (const SerialPortError& e) {
    EXPECT_STREQ(e.what(), "Unable to open com port (system error code: 2)");
  }
  EXPECT_FALSE(port_.Connected());
}

TEST_F(SerialPortTest, OpenIsExclusive) {
  port_.Open();
  TSerialPort second(dir_.path(), dir_.Join("no-dev"));
  second.SetPort("COM3");
  try {
    second.Open();
    FAIL() << "a second open of the same device succeeded";
  } catch (const SerialPortError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Unable to open com port (system error code: ", 0), 0u) << e.what();
  }
  EXPECT_FALSE(second.Connected());
  port_.Close();
  EXPECT_NO_THROW(second.Open());
}

TEST_F(SerialPortTest, AllSixteenRatesReachTheDevice) {
  port_.Open();
  for (int code = 1; code < kBaudRateCount; ++code) {
    port_.SetBaudRate(static_cast<TBaudRate>(code));
    EXPECT_EQ(DeviceSettings().baud, BaudRateValue(static_cast<TBaudRate>(code))) << "code " << code;
    EXPECT_EQ(port_.applied_settings().baud, BaudRateValue(static_cast<TBaudRate>(code)));
  }
  port_.SetCustomBaudRate(31250);
  port_.SetBaudRate(TBaudRate::brCustom);
  EXPECT_EQ(DeviceSettings().baud, 31250);
}

TEST_F(SerialPortTest, SettersReapplyToAnOpenPortAtOnce) {
  port_.SetBaudRate(TBaudRate::br1200);
  port_.Open();
  EXPECT_EQ(DeviceSettings().baud, 1200);
  port_.SetStopBits(TStopBits::sbTwoStopBits);
  port_.SetDataBits(TDataBits::dbSeven);
  port_.SetParityBits(TParityBits::prEven);
  port_.SetControlRTS(TRTSFlowControl::rtsEnable);
  EXPECT_TRUE(port_.Connected());
  EXPECT_EQ(DeviceSettings().stop_bits, 2);
  // A pseudo-terminal keeps 8 data bits and no parity on its side; the port object records what it set.
  EXPECT_EQ(port_.applied_settings().data_bits, 7);
  EXPECT_EQ(port_.applied_settings().parity, 2);
  EXPECT_EQ(port_.applied_settings().rts, 1);
  EXPECT_EQ(port_.applied_settings().stop_bits, 2);
}

TEST_F(SerialPortTest, ChangingThePortNameReopensUnderTheNewName) {
  PseudoTerminal other;
  other.Link(dir_.path(), "COM4");
  port_.Open();
  port_.SetPort("COM4");
  EXPECT_TRUE(port_.Connected());
  port_.WriteStr("x");
  EXPECT_EQ(other.Read(), "x");
  EXPECT_EQ(pty_.ReadNow(), "");
}

TEST_F(SerialPortTest, SetupValuesAreAppliedTogether) {
  PseudoTerminal other;
  other.Link(dir_.path(), "COM5");
  port_.Open();
  SerialSetupValues v = port_.SetupValues();
  EXPECT_EQ(v.flow, TFlowChoice::fcNone);
  v.port = "COM5";
  v.baud_rate = TBaudRate::br56000;
  v.stop_bits = TStopBits::sbTwoStopBits;
  v.parity = TParityBits::prOdd;
  v.flow = TFlowChoice::fcHardware;
  port_.ApplySetupValues(v);
  EXPECT_TRUE(port_.Connected());
  EXPECT_EQ(port_.Port(), "COM5");
  LineSettings device;
  ASSERT_EQ(ReadLineSettings(other.slave_fd(), &device), 0);
  EXPECT_EQ(device.baud, 56000);
  EXPECT_EQ(device.stop_bits, 2);
  EXPECT_TRUE(device.out_cts_flow);
  EXPECT_EQ(port_.applied_settings().parity, 1);
  EXPECT_EQ(port_.FlowControl().ControlRTS, TRTSFlowControl::rtsHandshake);
  EXPECT_EQ(port_.SetupValues().flow, TFlowChoice::fcHardware);
}

TEST_F(SerialPortTest, ReadAndWriteThroughTheLine) {
  port_.SetEvents(0);
  port_.Open();
  std::string text = "untouched";
  EXPECT_EQ(port_.ReadStr(text, 0), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(port_.InputCount(), 0);
  pty_.Write(std::string("12\r\0\xff", 5));
  ASSERT_TRUE(WaitFor([&] { return port_.InputCount() == 5; }));
  EXPECT_EQ(port_.ReadStr(text, 3), 3);
  EXPECT_EQ(text, "12\r");  // binary mode: CR stays CR
  EXPECT_EQ(port_.ReadStr(text, 100), 2);
  EXPECT_EQ(text, std::string("\0\xff", 2));
  EXPECT_EQ(port_.ReadStr(text, 100), 0);
  EXPECT_EQ(port_.WriteStr(""), 0);
  EXPECT_EQ(port_.WriteStr(std::string("\x06\n", 2)), 2);
  EXPECT_EQ(pty_.Read(), std::string("\x06\n", 2));
  EXPECT_EQ(port_.LastErrors(), 0);  // a pseudo-terminal has no error counters: a clean line
}

TEST_F(SerialPortTest, ClosedPortOperationsFailWithTheirTexts) {
  std::string text;
  EXPECT_THROW(port_.WriteStr("x"), SerialPortError);
  EXPECT_THROW(port_.ReadStr(text, 1), SerialPortError);
  EXPECT_THROW(port_.InputCount(), SerialPortError);
  EXPECT_NO_THROW(port_.Close());
  port_.Open();
  try {
    port_.SetSyncMethod(TSyncMethod::smNone);
    FAIL();
  } catch (const SerialPortError& e) {
    EXPECT_STREQ(e.what(), "Cannot set property while connected");
  }
}

TEST_F(SerialPortTest, ReceiveEventRunsOnTheUiThreadWithTheWaitingCount) {
  std::mutex mu;
  std::vector<int> counts;
  std::atomic<bool> on_ui{true};
  port_.OnRxChar = [&](TSerialPort& sender, int count) {
    if (!ui_.IsCurrent()) on_ui = false;
    std::string bytes;
    sender.ReadStr(bytes, count);
    std::lock_guard<std::mutex> l(mu);
    counts.push_back(count);
  };
  port_.Open();
  pty_.Write("abc");
  ASSERT_TRUE(WaitFor([&] {
    std::lock_guard<std::mutex> l(mu);
    return !counts.empty();
  }));
  port_.Close();
  ui_.Drain();
  EXPECT_TRUE(on_ui);
  std::lock_guard<std::mutex> l(mu);
  for (int c : counts) EXPECT_GT(c, 0);
}

TEST_F(SerialPortTest, UnreadBytesRaiseTheEventAgain) {
  // A handler that reads nothing the first time: the bytes must not wait for the receiver's next byte.
  std::atomic<int> calls{0};
  std::atomic<int> read_total{0};
  port_.OnRxChar = [&](TSerialPort& sender, int count) {
    if (calls++ == 0) return;
    std::string bytes;
    read_total += sender.ReadStr(bytes, count);
  };
  port_.Open();
  pty_.Write("xyz");
  ASSERT_TRUE(WaitFor([&] { return read_total == 3; }));
  EXPECT_GE(calls, 2);
}

TEST_F(SerialPortTest, CloseDoesNotWaitForAHandlerQueuedBehindIt) {
  // Close on the user-interface thread while the event thread waits for that same thread.
  std::atomic<int> calls{0};
  port_.OnRxChar = [&](TSerialPort&, int) { ++calls; };
  port_.Open();
  ui_.Synchronize([&] {
    pty_.Write("q");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // let the event thread queue its call
    port_.Close();
  });
  ui_.Drain();
  EXPECT_FALSE(port_.Connected());
  EXPECT_EQ(calls, 0);  // the call queued before Close found the port closed
}

TEST_F(SerialPortTest, HungUpLineNeitherSpinsNorBlocksClose) {
  std::atomic<int> calls{0};
  port_.OnRxChar = [&](TSerialPort&, int) { ++calls; };
  port_.Open();
  pty_.CloseMaster();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(calls, 0);
  EXPECT_THROW(port_.WriteStr("x"), SerialPortError);
  port_.Close();
  EXPECT_FALSE(port_.Connected());
}

TEST(SerialNamesTest, EnumerationListsTheComLinksToDevicesSorted) {
  TempDir dir;
  PseudoTerminal a, b, c;
  a.Link(dir.path(), "COM1");
  b.Link(dir.path(), "COM10");
  c.Link(dir.path(), "COM2");
  std::filesystem::create_symlink(dir.Join("missing"), dir.Join("ports/COM7"));
  dir.WriteFile("ports/COM8", "a plain file");
  dir.WriteFile("ports/notes", "");
  dir.MakeDir("dev");
  EXPECT_EQ(EnumerateSerialPorts(dir.path(), dir.Join("dev")),
            (std::vector<std::string>{"COM1", "COM10", "COM2"}));
  EXPECT_EQ(SerialDevicePath(dir.path(), "COM10", dir.Join("dev")), dir.Join("ports/COM10"));
  EXPECT_EQ(SerialDevicePath(dir.path(), "/dev/null", dir.Join("dev")), "/dev/null");
  EXPECT_EQ(ComPortNumber("COM12"), 12);
  EXPECT_EQ(ComPortNumber("COMX"), 0);
  EXPECT_EQ(ComPortNumber("LPT1"), 0);
}

}  // namespace
}  // namespace duri
