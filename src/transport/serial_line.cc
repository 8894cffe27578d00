#include "transport/serial_line.h"

// Only the kernel's definitions here: <termios.h> declares a different struct termios.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace duri {
namespace {

struct RateCode {
  int rate;
  tcflag_t code;
};

constexpr RateCode kStandardRates[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

tcflag_t DataBitsFlag(int bits) {
  switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

void SetRate(termios2& t, int rate) {
  t.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
  t.c_cflag &= ~static_cast<tcflag_t>(CIBAUD);
  for (const RateCode& r : kStandardRates) {
    if (r.rate == rate) {
      t.c_cflag |= r.code;
      t.c_ispeed = t.c_ospeed = static_cast<speed_t>(rate);
      return;
    }
  }
  t.c_cflag |= BOTHER;
  t.c_ispeed = t.c_ospeed = static_cast<speed_t>(rate);
}

}  // namespace

int ApplyLineSettings(int fd, const LineSettings& s) {
  if (s.baud <= 0 || s.data_bits < 5 || s.data_bits > 8) return EINVAL;
  termios2 t{};
  if (ioctl(fd, TCGETS2, &t) != 0) return errno;
  // Binary mode: no translation of any byte, no echo, no signals.
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                       IXOFF | IXANY | INPCK | IGNPAR);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CREAD | CLOCAL | DataBitsFlag(s.data_bits);
  // One and a half stop bits exist only with five data bits, where a UART gives them for CSTOPB.
  if (s.stop_bits != 0) t.c_cflag |= CSTOPB;
  switch (s.parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  if (s.parity != 0) t.c_iflag |= s.parity_check ? INPCK : IGNPAR;
  if (s.out_cts_flow || s.rts == 2) t.c_cflag |= CRTSCTS;
  if (s.xon_xoff_out) t.c_iflag |= IXON;
  if (s.xon_xoff_in) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = s.xon_char;
  t.c_cc[VSTOP] = s.xoff_char;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  SetRate(t, s.baud);
  if (ioctl(fd, TCSETS2, &t) != 0) return errno;
  // Handshake DTR has no driver support here; it stays raised like enable. Toggle RTS likewise stays
  // raised: the line is never driven by a half-duplex transmitter on these receivers.
  return SetModemLines(fd, s.dtr != 0, s.rts == 1 || s.rts == 3);
}

int ReadLineSettings(int fd, LineSettings* s) {
  termios2 t{};
  if (ioctl(fd, TCGETS2, &t) != 0) return errno;
  s->baud = static_cast<int>(t.c_ospeed);
  switch (t.c_cflag & CSIZE) {
    case CS5: s->data_bits = 5; break;
    case CS6: s->data_bits = 6; break;
    case CS7: s->data_bits = 7; break;
    default: s->data_bits = 8; break;
  }
  s->stop_bits = (t.c_cflag & CSTOPB) ? 2 : 0;
  if (!(t.c_cflag & PARENB)) {
    s->parity = 0;
  } else if (t.c_cflag & CMSPAR) {
    s->parity = (t.c_cflag & PARODD) ? 3 : 4;
  } else {
    s->parity = (t.c_cflag & PARODD) ? 1 : 2;
  }
  s->out_cts_flow = (t.c_cflag & CRTSCTS) != 0;
  s->xon_xoff_out = (t.c_iflag & IXON) != 0;
  s->xon_xoff_in = (t.c_iflag & IXOFF) != 0;
  return 0;
}

int SetModemLines(int fd, bool dtr, bool rts) {
  int raise = (dtr ? TIOCM_DTR : 0) | (rts ? TIOCM_RTS : 0);
  int lower = (dtr ? 0 : TIOCM_DTR) | (rts ? 0 : TIOCM_RTS);
  if ((raise != 0 && ioctl(fd, TIOCMBIS, &raise) != 0) || (lower != 0 && ioctl(fd, TIOCMBIC, &lower) != 0)) {
    if (errno == ENOTTY || errno == EINVAL) return 0;
    return errno;
  }
  return 0;
}

int ReadLineCounters(int fd, LineCounters* c) {
  serial_icounter_struct ic{};
  if (ioctl(fd, TIOCGICOUNT, &ic) != 0) return errno;
  c->frame = static_cast<uint32_t>(ic.frame);
  c->parity = static_cast<uint32_t>(ic.parity);
  c->overrun = static_cast<uint32_t>(ic.overrun);
  c->brk = static_cast<uint32_t>(ic.brk);
  c->buf_overrun = static_cast<uint32_t>(ic.buf_overrun);
  return 0;
}

}  // namespace duri
