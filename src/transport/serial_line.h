// The device side of a serial port: line settings on a tty through termios2 (so that the rates a
// standard termios cannot name, 14400, 56000, 128000 and 256000, are set with BOTHER), modem lines and
// the driver's line-error counters. Kept apart from <termios.h>, whose struct clashes with the kernel's.
#ifndef DURIDUVAZE_TRANSPORT_SERIAL_LINE_H_
#define DURIDUVAZE_TRANSPORT_SERIAL_LINE_H_

#include <cstdint>

namespace duri {

struct LineSettings {
  int baud = 9600;
  int data_bits = 8;       // 5..8
  int stop_bits = 0;       // 0 one, 1 one and a half, 2 two
  int parity = 0;          // 0 none, 1 odd, 2 even, 3 mark, 4 space
  bool parity_check = false;
  int dtr = 0;             // 0 disable, 1 enable, 2 handshake
  int rts = 0;             // 0 disable, 1 enable, 2 handshake, 3 toggle
  bool out_cts_flow = false;
  bool xon_xoff_in = false;
  bool xon_xoff_out = false;
  uint8_t xon_char = 17;
  uint8_t xoff_char = 19;

  bool operator==(const LineSettings&) const = default;
};

// The driver's running counts of line errors (TIOCGICOUNT).
struct LineCounters {
  uint32_t frame = 0;
  uint32_t parity = 0;
  uint32_t overrun = 0;
  uint32_t brk = 0;
  uint32_t buf_overrun = 0;
};

// Raw binary mode with the given line settings, reads returning at once. 0 or an errno value.
int ApplyLineSettings(int fd, const LineSettings& settings);
// Baud rate, data bits, stop bits and parity as the device holds them now. 0 or an errno value.
int ReadLineSettings(int fd, LineSettings* settings);
// Sets or clears DTR and RTS. A device without modem lines (a pseudo-terminal) is not an error.
int SetModemLines(int fd, bool dtr, bool rts);
// ENOTTY or EINVAL when the driver keeps no counters (a pseudo-terminal).
int ReadLineCounters(int fd, LineCounters* counters);

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_SERIAL_LINE_H_
