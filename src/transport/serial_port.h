// TSerialPort: one serial port of the station (ComPort1 .. ComPort16). It owns the tty, applies the line
// settings, and runs an event thread that raises OnRxChar on the user-interface thread whenever bytes
// are waiting. The station opens and closes ports, changes their settings, reads what has arrived and
// writes acknowledgement characters; nothing else of it is used.
//
// On Linux: termios2 for the line (non-standard rates through BOTHER), TIOCEXCL plus an flock for the
// exclusive open (TIOCEXCL alone does not stop a privileged process), FIONREAD for the waiting count,
// TIOCGICOUNT deltas for the line errors (a pseudo-terminal has no counters: always a clean line), and
// poll() on the tty and an eventfd in place of the overlapped event wait.
//
// Every failure of the system raises SerialPortError with one of the fixed texts below followed by
// " (system error code: N)". Properties, Open and Close belong to the user-interface thread; ReadStr,
// WriteStr, InputCount and LastErrors may come from any thread (a reader pass writes its
// acknowledgement itself) and are serialised on the port's own handle lock.
#ifndef DURIDUVAZE_TRANSPORT_SERIAL_PORT_H_
#define DURIDUVAZE_TRANSPORT_SERIAL_PORT_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "platform/ui_thread.h"
#include "transport/port_link.h"
#include "transport/serial_line.h"

namespace duri {

// In the order of their ordinals, which "C:\TorvaCom.dta" stores.
enum class TBaudRate : uint8_t {
  brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000,
  br57600, br115200, br128000, br256000,
};
inline constexpr int kBaudRateCount = 16;
enum class TDataBits : uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum class TStopBits : uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum class TParityBits : uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum class TDTRFlowControl : uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum class TRTSFlowControl : uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum class TSyncMethod : uint8_t { smThreadSync, smWindowSync, smNone };
// The "Flow control" choice of the setup dialog; fcCustom is any other combination.
enum class TFlowChoice : uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };

// The number of a baud-rate ordinal (0 for brCustom).
int BaudRateValue(TBaudRate rate);

using TSerialEvents = uint16_t;
inline constexpr TSerialEvents evRxChar = 1 << 0;
inline constexpr TSerialEvents evTxEmpty = 1 << 1;
inline constexpr TSerialEvents evRxFlag = 1 << 2;
inline constexpr TSerialEvents evRing = 1 << 3;
inline constexpr TSerialEvents evBreak = 1 << 4;
inline constexpr TSerialEvents evCTS = 1 << 5;
inline constexpr TSerialEvents evDSR = 1 << 6;
inline constexpr TSerialEvents evError = 1 << 7;
inline constexpr TSerialEvents evRLSD = 1 << 8;
inline constexpr TSerialEvents evRx80Full = 1 << 9;
inline constexpr TSerialEvents kAllSerialEvents = (1 << 10) - 1;

// The failure texts; each is followed by " (system error code: N)".
inline constexpr char kErrOpen[] = "Unable to open com port";
inline constexpr char kErrWrite[] = "Port write failed";
inline constexpr char kErrRead[] = "Port read failed";
inline constexpr char kErrAsyncParam[] = "Invalid asynchronous parameter";
inline constexpr char kErrPurge[] = "Port purge failed";
inline constexpr char kErrAsyncStatus[] = "Unable to get asynchronous status";
inline constexpr char kErrSetState[] = "Unable to apply line settings";
inline constexpr char kErrTimeouts[] = "Unable to apply time-outs";
inline constexpr char kErrSetup[] = "Unable to set queue sizes";
inline constexpr char kErrClearComm[] = "Unable to read line errors";
inline constexpr char kErrModemStatus[] = "Unable to read modem status";
inline constexpr char kErrConnected[] = "Cannot set property while connected";

class SerialPortError : public LinkError {
 public:
  using LinkError::LinkError;
};

struct TParity {
  TParityBits Bits = TParityBits::prNone;
  bool Check = false;
  bool Replace = false;  // replacement of bad characters: kept, not supported by the tty layer
  char ReplaceChar = 0;
};

struct TFlowControl {
  TDTRFlowControl ControlDTR = TDTRFlowControl::dtrDisable;
  TRTSFlowControl ControlRTS = TRTSFlowControl::rtsDisable;
  bool OutCTSFlow = false;
  bool OutDSRFlow = false;
  bool XonXoffIn = false;
  bool XonXoffOut = false;
  bool DSRSensitivity = false;
  bool TxContinueOnXoff = false;
  char XonChar = 17;
  char XoffChar = 19;
};

struct TBuffer {
  int InputSize = 1024;
  int OutputSize = 1024;
};

// Milliseconds; ReadInterval -1 with both read totals 0 makes a read return at once with what waits.
struct TTimeouts {
  int ReadInterval = -1;
  int ReadTotalMultiplier = 0;
  int ReadTotalConstant = 0;
  int WriteTotalMultiplier = 100;
  int WriteTotalConstant = 1000;
};

// The six values of the setup dialog, applied together.
struct SerialSetupValues {
  std::string port;
  TBaudRate baud_rate = TBaudRate::br9600;
  TDataBits data_bits = TDataBits::dbEight;
  TStopBits stop_bits = TStopBits::sbOneStopBit;
  TParityBits parity = TParityBits::prNone;
  TFlowChoice flow = TFlowChoice::fcNone;
};

class TSerialPort : public PortLink {
 public:
  // root: the station directory whose ports/ folder names the COMn devices. dev_dir: where the system's
  // UARTs are (tests give a folder without any).
  explicit TSerialPort(std::string root, std::string dev_dir = "/dev");
  ~TSerialPort() override;
  TSerialPort(const TSerialPort&) = delete;
  TSerialPort& operator=(const TSerialPort&) = delete;

  // Where OnRxChar runs for smThreadSync and smWindowSync. Without one no receive event is raised.
  void set_ui_thread(UiThread* ui) { ui_ = ui; }
  // Raised with the number of bytes waiting, never with 0.
  std::function<void(TSerialPort& sender, int count)> OnRxChar;

  const std::string& Port() const { return port_; }
  void SetPort(const std::string& name);
  TBaudRate BaudRate() const { return baud_rate_; }
  void SetBaudRate(TBaudRate rate);
  int CustomBaudRate() const { return custom_baud_rate_; }
  void SetCustomBaudRate(int rate);
  TDataBits DataBits() const { return data_bits_; }
  void SetDataBits(TDataBits bits);
  TStopBits StopBits() const { return stop_bits_; }
  void SetStopBits(TStopBits bits);
  const TParity& Parity() const { return parity_; }
  void SetParity(const TParity& parity);
  void SetParityBits(TParityBits bits);
  const TFlowControl& FlowControl() const { return flow_; }
  void SetFlowControl(const TFlowControl& flow);
  void SetControlRTS(TRTSFlowControl rts);
  void SetControlDTR(TDTRFlowControl dtr);
  const TBuffer& Buffer() const { return buffer_; }
  void SetBuffer(const TBuffer& buffer);
  const TTimeouts& Timeouts() const { return timeouts_; }
  void SetTimeouts(const TTimeouts& timeouts);
  TSerialEvents Events() const { return events_; }
  void SetEvents(TSerialEvents events);  // takes effect at the next Open
  TSyncMethod SyncMethod() const { return sync_method_; }
  void SetSyncMethod(TSyncMethod method);
  bool Connected() const override { return fd_ >= 0; }
  // Steady-clock milliseconds at which the event thread last went round its loop (at least once a
  // second while it is not stuck in a receive handler); 0 when no event thread runs.
  int64_t EventThreadSeenMs() const { return event_seen_ms_; }

  // PortLink: the port's name; set_ui_thread and OnRxChar from the handlers. The state handler hears,
  // on the user-interface thread, when the open line hangs up or fails (a USB adapter pulled out, the
  // other side of a pseudo-terminal closed) and when it answers again.
  std::string LinkName() const override { return port_; }
  void SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler on_state) override;

  void Open() override;
  void Close() override;
  // Bytes waiting in the driver's receive queue. The line-error counts are left for LastErrors, so
  // that the errors of the bytes about to be read are still seen when their terminator is framed.
  int InputCount() override;
  int ReadStr(std::string& text, int count) override;
  int WriteStr(std::string_view text) override;
  // The line errors counted by the driver since the last call (or since Open), read and cleared.
  LineErrors LastErrors() override;
  // The event thread looks again at once and raises the receive event when bytes wait.
  void ReaderReady() override;
  // Drops what waits in both queues.
  void PurgeQueues();

  SerialSetupValues SetupValues() const;
  // Stores all six, then re-applies the line once (reopening when the port name changed).
  void ApplySetupValues(const SerialSetupValues& values);

  // What was last applied to the device; a pseudo-terminal keeps only part of it on its side.
  const LineSettings& applied_settings() const { return applied_; }
  std::string DevicePath() const;
  // Where the system's UARTs are looked for when no ports/ entry names the port.
  void set_dev_dir(std::string dev_dir) { dev_dir_ = std::move(dev_dir); }
  // Stands in for the driver's error counters, which a pseudo-terminal does not have.
  void SetLineErrorSourceForTesting(std::function<LineErrors()> source) { line_error_source_ = std::move(source); }

 private:
  struct EventLink;

  LineSettings WantedSettings() const;
  void ApplySettings();  // when open
  LineErrors TakeErrorsLocked();
  void StartEventThread();
  void StopEventThread();
  void EventLoop(std::shared_ptr<EventLink> link, int fd, int stop_fd, int wake_fd);
  // A read took bytes (or the reader is ready for more): the event thread looks again at once and
  // takes what waits as new. io_mu_ held.
  void WakeEventThreadLocked();
  bool RaiseRxChar(const std::shared_ptr<EventLink>& link, int count);
  static void RaiseLineChange(const std::shared_ptr<EventLink>& link, LinkChange change);

  std::string root_;
  std::string dev_dir_;
  UiThread* ui_ = nullptr;
  LinkStateHandler on_line_change_;

  std::string port_ = "COM1";
  TBaudRate baud_rate_ = TBaudRate::br9600;
  int custom_baud_rate_ = 9600;
  TDataBits data_bits_ = TDataBits::dbEight;
  TStopBits stop_bits_ = TStopBits::sbOneStopBit;
  TParity parity_;
  TFlowControl flow_;
  TBuffer buffer_;
  TTimeouts timeouts_;
  TSerialEvents events_ = kAllSerialEvents;
  TSyncMethod sync_method_ = TSyncMethod::smThreadSync;

  std::mutex io_mu_;  // the handle, against Close while a reader pass writes
  std::atomic<int> fd_{-1};
  LineSettings applied_;
  LineCounters error_base_;
  std::function<LineErrors()> line_error_source_;

  int stop_fd_ = -1;
  int wake_fd_ = -1;                      // ReadStr took bytes: the event thread looks again at once
  std::atomic<uint64_t> reads_{0};        // ReadStr calls that took bytes
  std::atomic<int64_t> event_seen_ms_{0};
  std::shared_ptr<EventLink> link_;
  std::thread event_thread_;
};

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_SERIAL_PORT_H_
