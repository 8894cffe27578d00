#include "transport/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "transport/serial_names.h"

namespace duri {
namespace {

constexpr int kBaudValues[kBaudRateCount] = {0,     110,   300,   600,    1200,   2400,   4800,   9600,
                                             14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Milliseconds left until deadline (-1 for none), at least 0.
int Remaining(int64_t deadline) {
  if (deadline < 0) return -1;
  int64_t left = deadline - NowMs();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

void TSerialPort::SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler on_state) {
  ui_ = ui;
  on_line_change_ = std::move(on_state);
  if (on_receive) {
    OnRxChar = [handler = std::move(on_receive)](TSerialPort&, int count) { handler(count); };
  } else {
    OnRxChar = nullptr;
  }
}

int BaudRateValue(TBaudRate rate) {
  int i = static_cast<int>(rate);
  return i >= 0 && i < kBaudRateCount ? kBaudValues[i] : 0;
}

TSerialPort::TSerialPort(std::string root, std::string dev_dir)
    : root_(std::move(root)), dev_dir_(std::move(dev_dir)) {}

TSerialPort::~TSerialPort() { Close(); }

std::string TSerialPort::DevicePath() const { return SerialDevicePath(root_, port_, dev_dir_); }

LineSettings TSerialPort::WantedSettings() const {
  LineSettings s;
  s.baud = baud_rate_ == TBaudRate::brCustom ? custom_baud_rate_ : BaudRateValue(baud_rate_);
  s.data_bits = 5 + static_cast<int>(data_bits_);
  s.stop_bits = static_cast<int>(stop_bits_);
  s.parity = static_cast<int>(parity_.Bits);
  s.parity_check = parity_.Check;
  s.dtr = static_cast<int>(flow_.ControlDTR);
  s.rts = static_cast<int>(flow_.ControlRTS);
  s.out_cts_flow = flow_.OutCTSFlow;
  s.xon_xoff_in = flow_.XonXoffIn;
  s.xon_xoff_out = flow_.XonXoffOut;
  s.xon_char = static_cast<uint8_t>(flow_.XonChar);
  s.xoff_char = static_cast<uint8_t>(flow_.XoffChar);
  return s;
}

void TSerialPort::ApplySettings() {
  if (!Connected()) return;
  std::lock_guard<std::mutex> lock(io_mu_);
  LineSettings wanted = WantedSettings();
  if (int err = ApplyLineSettings(fd_, wanted)) throw SerialPortError(kErrSetState, err);
  applied_ = wanted;
}

void TSerialPort::SetPort(const std::string& name) {
  if (name == port_) return;
  bool was_open = Connected();
  Close();
  port_ = name;
  if (was_open) Open();
}

void TSerialPort::SetBaudRate(TBaudRate rate) {
  baud_rate_ = rate;
  ApplySettings();
}

void TSerialPort::SetCustomBaudRate(int rate) {
  custom_baud_rate_ = rate;
  if (baud_rate_ == TBaudRate::brCustom) ApplySettings();
}

void TSerialPort::SetDataBits(TDataBits bits) {
  data_bits_ = bits;
  ApplySettings();
}

void TSerialPort::SetStopBits(TStopBits bits) {
  stop_bits_ = bits;
  ApplySettings();
}

void TSerialPort::SetParity(const TParity& parity) {
  parity_ = parity;
  ApplySettings();
}

void TSerialPort::SetParityBits(TParityBits bits) {
  parity_.Bits = bits;
  ApplySettings();
}

void TSerialPort::SetFlowControl(const TFlowControl& flow) {
  flow_ = flow;
  ApplySettings();
}

void TSerialPort::SetControlRTS(TRTSFlowControl rts) {
  flow_.ControlRTS = rts;
  ApplySettings();
}

void TSerialPort::SetControlDTR(TDTRFlowControl dtr) {
  flow_.ControlDTR = dtr;
  ApplySettings();
}

void TSerialPort::SetBuffer(const TBuffer& buffer) {
  if (buffer.InputSize <= 0 || buffer.OutputSize <= 0) throw SerialPortError(kErrSetup, EINVAL);
  buffer_ = buffer;
}

void TSerialPort::SetTimeouts(const TTimeouts& t) {
  if (t.ReadInterval < -1 || t.ReadTotalMultiplier < 0 || t.ReadTotalConstant < 0 ||
      t.WriteTotalMultiplier < 0 || t.WriteTotalConstant < 0) {
    throw SerialPortError(kErrTimeouts, EINVAL);
  }
  timeouts_ = t;
}

void TSerialPort::SetEvents(TSerialEvents events) { events_ = events & kAllSerialEvents; }

void TSerialPort::SetSyncMethod(TSyncMethod method) {
  if (Connected()) throw SerialPortError(kErrConnected, 0);
  sync_method_ = method;
}

void TSerialPort::Open() {
  if (Connected()) return;
  std::string path = DevicePath();
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw SerialPortError(kErrOpen, errno);
  auto fail = [fd](const char* text, int err) {
    close(fd);
    throw SerialPortError(text, err);
  };
  // Exclusive: TIOCEXCL refuses later opens of the tty by others; the flock also refuses them to a
  // privileged process and to a second port object of this station.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) fail(kErrOpen, errno == EWOULDBLOCK ? EBUSY : errno);
  if (ioctl(fd, TIOCEXCL) != 0) fail(kErrOpen, errno);
  // The tty layer sizes its own queues; only sizes it could not take are refused.
  if (buffer_.InputSize <= 0 || buffer_.OutputSize <= 0) fail(kErrSetup, EINVAL);
  LineSettings wanted = WantedSettings();
  if (int err = ApplyLineSettings(fd, wanted)) fail(kErrSetState, err);
  // Time-outs are kept by ReadStr and WriteStr themselves; nothing to hand to the driver.
  {
    std::lock_guard<std::mutex> lock(io_mu_);
    applied_ = wanted;
    error_base_ = LineCounters{};
    ReadLineCounters(fd, &error_base_);
    fd_ = fd;
  }
  if (events_ != 0) StartEventThread();
}

void TSerialPort::Close() {
  if (!Connected()) return;
  StopEventThread();
  std::lock_guard<std::mutex> lock(io_mu_);
  // The purge may fail on a line that has hung up; the handle is closed all the same.
  tcflush(fd_, TCIOFLUSH);
  close(fd_);
  fd_ = -1;
}

void TSerialPort::PurgeQueues() {
  std::lock_guard<std::mutex> lock(io_mu_);
  if (fd_ < 0) throw SerialPortError(kErrPurge, EBADF);
  if (tcflush(fd_, TCIOFLUSH) != 0) throw SerialPortError(kErrPurge, errno);
}

int TSerialPort::InputCount() {
  std::lock_guard<std::mutex> lock(io_mu_);
  if (fd_ < 0) throw SerialPortError(kErrClearComm, EBADF);
  int count = 0;
  if (ioctl(fd_, FIONREAD, &count) != 0) throw SerialPortError(kErrClearComm, errno);
  return count;
}

int TSerialPort::ReadStr(std::string& text, int count) {
  text.clear();
  if (count <= 0) return 0;
  std::lock_guard<std::mutex> lock(io_mu_);
  if (fd_ < 0) throw SerialPortError(kErrRead, EBADF);
  const TTimeouts& t = timeouts_;
  const int total = t.ReadTotalMultiplier * count + t.ReadTotalConstant;
  const bool at_once = t.ReadInterval == -1 && total == 0;
  const int64_t deadline = total > 0 ? NowMs() + total : -1;
  text.resize(static_cast<size_t>(count));
  size_t got = 0;
  while (got < static_cast<size_t>(count)) {
    ssize_t n = read(fd_, text.data() + got, static_cast<size_t>(count) - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
      if (t.ReadInterval == -1) break;  // what waits, no more
      continue;
    }
    if (n == 0) break;  // the line hung up
    if (errno == EINTR) continue;
    if (errno != EAGAIN) {
      text.resize(got);
      throw SerialPortError(kErrRead, errno);
    }
    if (at_once) break;
    int timeout = Remaining(deadline);
    if (got > 0 && t.ReadInterval > 0 && (timeout < 0 || timeout > t.ReadInterval)) timeout = t.ReadInterval;
    if (timeout == 0) break;
    pollfd p{fd_, POLLIN, 0};
    int r = poll(&p, 1, timeout);
    if (r == 0) break;
    if (r < 0 && errno != EINTR) {
      text.resize(got);
      throw SerialPortError(kErrRead, errno);
    }
  }
  text.resize(got);
  if (got > 0) WakeEventThreadLocked();
  return static_cast<int>(got);
}

int TSerialPort::WriteStr(std::string_view text) {
  if (text.empty()) return 0;
  std::lock_guard<std::mutex> lock(io_mu_);
  if (fd_ < 0) throw SerialPortError(kErrWrite, EBADF);
  const int64_t total = static_cast<int64_t>(timeouts_.WriteTotalMultiplier) * static_cast<int64_t>(text.size()) +
                        timeouts_.WriteTotalConstant;
  const int64_t deadline = total > 0 ? NowMs() + total : -1;
  size_t sent = 0;
  while (sent < text.size()) {
    ssize_t n = write(fd_, text.data() + sent, text.size() - sent);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) throw SerialPortError(kErrWrite, errno);
    // Output queue full: wait for room until the write time-out, then report what went out.
    int timeout = Remaining(deadline);
    if (timeout == 0) break;
    pollfd p{fd_, POLLOUT, 0};
    int r = poll(&p, 1, timeout);
    if (r == 0) break;
    if (r < 0 && errno != EINTR) throw SerialPortError(kErrWrite, errno);
    if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & POLLOUT)) {
      throw SerialPortError(kErrWrite, EIO);
    }
  }
  return static_cast<int>(sent);
}

LineErrors TSerialPort::LastErrors() {
  std::lock_guard<std::mutex> lock(io_mu_);
  if (line_error_source_) return line_error_source_();
  if (fd_ < 0) throw SerialPortError(kErrClearComm, EBADF);
  return TakeErrorsLocked();
}

LineErrors TSerialPort::TakeErrorsLocked() {
  LineCounters now;
  if (int err = ReadLineCounters(fd_, &now)) {
    if (err == ENOTTY || err == EINVAL) return 0;  // no counters: a clean line
    throw SerialPortError(kErrClearComm, err);
  }
  LineErrors set = 0;
  if (now.frame != error_base_.frame) set |= kFramingError;
  if (parity_.Check && now.parity != error_base_.parity) set |= kParityError;
  if (now.overrun != error_base_.overrun) set |= kOverrunError;
  if (now.brk != error_base_.brk) set |= kBreakError;
  if (now.buf_overrun != error_base_.buf_overrun) set |= kRxOverflowError;
  error_base_ = now;
  return set;
}

SerialSetupValues TSerialPort::SetupValues() const {
  SerialSetupValues v;
  v.port = port_;
  v.baud_rate = baud_rate_;
  v.data_bits = data_bits_;
  v.stop_bits = stop_bits_;
  v.parity = parity_.Bits;
  const bool rts_hs = flow_.ControlRTS == TRTSFlowControl::rtsHandshake;
  if (flow_.OutCTSFlow && rts_hs && !flow_.XonXoffIn && !flow_.XonXoffOut) {
    v.flow = TFlowChoice::fcHardware;
  } else if (!flow_.OutCTSFlow && !rts_hs && flow_.XonXoffIn && flow_.XonXoffOut) {
    v.flow = TFlowChoice::fcSoftware;
  } else if (!flow_.OutCTSFlow && !rts_hs && !flow_.XonXoffIn && !flow_.XonXoffOut) {
    v.flow = TFlowChoice::fcNone;
  } else {
    v.flow = TFlowChoice::fcCustom;
  }
  return v;
}

void TSerialPort::ApplySetupValues(const SerialSetupValues& v) {
  baud_rate_ = v.baud_rate;
  data_bits_ = v.data_bits;
  stop_bits_ = v.stop_bits;
  parity_.Bits = v.parity;
  switch (v.flow) {
    case TFlowChoice::fcHardware:
      flow_.OutCTSFlow = true;
      flow_.ControlRTS = TRTSFlowControl::rtsHandshake;
      flow_.XonXoffIn = flow_.XonXoffOut = false;
      break;
    case TFlowChoice::fcSoftware:
    case TFlowChoice::fcNone:
      flow_.OutCTSFlow = false;
      if (flow_.ControlRTS == TRTSFlowControl::rtsHandshake) flow_.ControlRTS = TRTSFlowControl::rtsDisable;
      flow_.XonXoffIn = flow_.XonXoffOut = v.flow == TFlowChoice::fcSoftware;
      break;
    case TFlowChoice::fcCustom:
      break;
  }
  if (v.port != port_ && Connected()) {
    Close();
    port_ = v.port;
    Open();
  } else {
    port_ = v.port;
    ApplySettings();
  }
}

}  // namespace duri
