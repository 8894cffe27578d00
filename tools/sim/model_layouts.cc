// Receiver layouts, one function per family. Samples below end where the terminator follows.
//
//   Sur-Gard format (5, 6, 7; 21 has three line digits):  5011 181234E13001005HH:MM:SS DD/MM/YY
//   Radionics 6600 (18):                                    a011 123418E13001005HH:MM:SS MM/DD
//   Calderium, QRX (1, 2):                                  HH:MM  MM/DD/YY  111234 18 E130 01 005
//   Ademco 685 (4) and FBI CP220 (8):                       <LF>11 1234 18 E130 01 C005
//   Silent Knight (11, 12): a stamp head, the account up to a quote, then quote-separated fields.
//   Quick Alert (9): a printed report of NUL-ended lines.
#include "model_layouts.h"

#include <string>

namespace duri::sim::layouts {
namespace {

const std::string kReceiverDigits = "01";
constexpr char kQuote = '"';
constexpr char kEnq = 5;
constexpr char kSoh = 1;

std::string Two(int v) { return Digits(v, 2); }

bool IsSurGard(int type) { return type == 5 || type == 6 || type == 7 || type == 21; }

// Qualifier, event code, group and zone or user: E13001005.
std::string ContactIdBody(const SimEvent& e) {
  return std::string(1, e.qualifier) + e.code + Two(e.area) + Digits(e.zone, 3);
}

// An SIA block in the receivers' brackets: [#1234|Nri1/BA01].
std::string SiaBlock(const std::string& account, const SimEvent& e) {
  std::string items = e.area > 0 ? "ri" + std::to_string(e.area) + "/" : "";
  return "[#" + account + "|N" + items + e.code + Two(e.zone) + "]";
}

std::string SurGardStamp(const LocalDateTime& t) {
  return Two(t.time.hour) + ":" + Two(t.time.minute) + ":" + Two(t.time.second) + " " + Two(t.date.day) + "/" +
         Two(t.date.month) + "/" + Two(t.date.year % 100);
}

std::string SurGardEvent(int type, const SimEvent& e) {
  const std::string head = kReceiverDigits + (type == 21 ? "001" : "1");
  const std::string account = Account(type, e);
  switch (e.kind) {
    case CodeKind::kContactId:
      return "5" + head + " 18" + account + ContactIdBody(e) + SurGardStamp(e.stamp);
    case CodeKind::kSia:
      return "S" + head + SiaBlock(account, e);
    case CodeKind::kPulse: {
      // Column 16 (after the type character) holds the area; the body is 20 columns before the stamp.
      char area = e.area > 0 ? static_cast<char>('0' + e.area) : ' ';
      return "1" + head + "      " + account + "  " + area + PulseCode(type, e) + " " + SurGardStamp(e.stamp);
    }
  }
  return {};
}

std::string Radionics6600Event(const SimEvent& e) {
  const std::string account = Account(18, e);
  // The 14-column stamp block after the 20-column body; the station drops it.
  const std::string stamp = Two(e.stamp.time.hour) + ":" + Two(e.stamp.time.minute) + ":" +
                            Two(e.stamp.time.second) + " " + Two(e.stamp.date.month) + "/" + Two(e.stamp.date.day);
  switch (e.kind) {
    case CodeKind::kContactId:
      return "a" + kReceiverDigits + "1 " + account + "18" + ContactIdBody(e) + stamp;
    case CodeKind::kSia:
      return "S" + kReceiverDigits + "1" + SiaBlock(account, e);
    case CodeKind::kPulse:
      return "1" + kReceiverDigits + "1      " + account + "  " + PulseCode(18, e) + "  " + stamp;
  }
  return {};
}

std::string CalderiumStamp(int type, const LocalDateTime& t) {
  std::string s = Two(t.time.hour) + ":" + Two(t.time.minute) + "  " + Two(t.date.month) + "/" + Two(t.date.day);
  // The Enhanced model adds seconds and hundredths, which the station skips; the others send the year.
  if (type == 19) return s + " " + Two(t.time.second) + " 00";
  return s + "/" + Two(t.date.year % 100) + "  ";
}

// The bodies shared by the Calderium family and the Ademco 685: receiver digit 1, line digit 1.
std::string SingleDigitBody(int type, const SimEvent& e, const std::string& zone_mark) {
  const std::string account = Account(type, e);
  switch (e.kind) {
    case CodeKind::kContactId:
      return "11 " + account + " 18 " + e.qualifier + e.code + " " + Two(e.area) + " " + zone_mark +
             Digits(e.zone, 3);
    case CodeKind::kSia:
      return "11" + SiaBlock(account, e);
    case CodeKind::kPulse:
      return "11 " + account + " " + PulseCode(type, e);
  }
  return {};
}

std::string L(const std::string& s) { return s + '\r' + '\0'; }

std::string QuickAlertEvent(const SimEvent& e) {
  std::string code = PulseCode(9, e);
  if (e.kind == CodeKind::kContactId) {
    code = std::string(e.qualifier == 'E' ? "1" : "3") + e.code + " G" + Two(e.area) + " ZN" + Digits(e.zone, 3);
  }
  return L("\r\nQUICK ALERT") + L("RCVR 1 LINE 1 ACCOUNT " + Account(9, e) + " ") + L("CODE " + code);
}

// Month, day, two columns, the quote at column 7, hour and minute, two columns.
std::string SilentKnightHead(const LocalDateTime& t) {
  return Two(t.date.month) + Two(t.date.day) + "00" + kQuote + Two(t.time.hour) + Two(t.time.minute) + "00";
}

std::string SilentKnightField(int type, const SimEvent& e) {
  if (e.kind == CodeKind::kContactId) {
    return std::string("E1") + (e.qualifier == 'E' ? '1' : '3') + e.code + Two(e.area) + Digits(e.zone, 3);
  }
  return PulseCode(type, e);
}

std::string SilentKnightEvent(int type, const SimEvent& e) {
  std::string head = SilentKnightHead(e.stamp);
  // SK9000: line digit and a pad before the account. SK9500: receiver digits at 15-16, three pads,
  // two line digits, a pad and ENQ before the account. The last field ends with the check character.
  if (type == 11) head += "10";
  if (type == 12) head += "e" + kReceiverDigits + "000000" + "000" + "01" + "0" + kEnq;
  return head + Account(type, e) + kQuote + SilentKnightField(type, e) + "K";
}

std::string CyberEvent(const SimEvent& e) {
  const LocalDateTime& t = e.stamp;
  if (e.kind == CodeKind::kContactId) {
    // Group report kind 3: receiver digit, five account digits, event, group, zone, line digit.
    return "Gx31" + Account(16, e) + e.qualifier + e.code + Two(e.area) + Digits(e.zone, 3) + "1" + "0000000000";
  }
  return "xx" + Account(16, e).substr(1) + PulseCode(16, e) + "...." + Two(t.date.day) + Two(t.date.month) +
         Two(t.date.year % 100) + Two(t.time.hour) + Two(t.time.minute) + Two(t.time.second) + ".";
}

std::string OtherEvent(int type, const SimEvent& e) {
  const std::string account = Account(type, e);
  const std::string code =
      e.kind == CodeKind::kContactId ? std::string(1, e.qualifier) + e.code + Digits(e.zone, 3) : PulseCode(type, e);
  switch (type) {
    case 3:  // Sescoa 3000R: an event list report of one line
      return "\x02" "AL " + Two(e.stamp.time.hour) + ":" + Two(e.stamp.time.minute) + " " +
             Two(e.stamp.date.month) + "/" + Two(e.stamp.date.day) + "   " + "11   " + account + " " + code + "\r";
    case 8:  // FBI CP220
      if (e.kind == CodeKind::kContactId) {
        return "X11 " + account + " 18 " + e.qualifier + e.code + " " + Two(e.area) + " 1 " + Digits(e.zone, 3);
      }
      return "11 " + account + " " + code;
    case 10:  // Secutron Digitel
      return "10 X" + kReceiverDigits + "1" + account + code;
    case 13: {  // Adcor: the code's first character in column 25, its second in column 13
      std::string columns = "#R 2 L" + account + " x" + code[1] + "00000000000" + code[0];
      return columns + "FFFFFFF";
    }
    case 14:  // RDC
      return account + code;
    case 15:  // FSK
      return "L" + account + code + "XX";
    case 17:  // Universal, printer form
      return Two(e.stamp.date.month) + "/" + Two(e.stamp.date.day) + " " + Two(e.stamp.time.hour) + ":" +
             Two(e.stamp.time.minute) + " " + account + " " + code + "@";
    case 20:  // Radionics 6000
      return account + code;
    default:
      return {};
  }
}

}  // namespace

std::string Digits(int v, int width) {
  std::string s = std::to_string(v < 0 ? 0 : v);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

std::string Account(int type, const SimEvent& e) {
  int width = type == 10 ? 3 : type == 15 || type == 16 ? 5 : 4;
  std::string s = e.account;
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

std::string PulseCode(int type, const SimEvent& e) {
  int width = type == 10 ? 3 : type == 15 ? 4 : 2;
  std::string s = e.code;
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

std::string EventBody(int type, const SimEvent& e) {
  if (IsSurGard(type)) return SurGardEvent(type, e);
  switch (type) {
    case 18:
      return Radionics6600Event(e);
    case 1: case 2: case 19:
      return CalderiumStamp(type, e.stamp) + SingleDigitBody(type, e, "");
    case 4:
      return "\n" + SingleDigitBody(type, e, "C");
    case 9:
      return QuickAlertEvent(e);
    case 11: case 12:
      return SilentKnightEvent(type, e);
    case 16:
      return CyberEvent(e);
    default:
      return OtherEvent(type, e);
  }
}

std::string HeartbeatBody(int type, const LocalDateTime& now) {
  if (IsSurGard(type)) return "1" + kReceiverDigits + (type == 21 ? "001" : "1") + "           @    ";
  switch (type) {
    case 18:
      return "1" + kReceiverDigits + "1           @    ";
    case 1: case 2: case 19:
      return CalderiumStamp(type, now) + "11 @";
    case 3:  // too short for a report
      return "\x02" "HB";
    case 4:
      return "\n11 @";
    case 8:
      return "11 @";
    case 9:
      return L("\r\nQUICK ALERT");
    case 10:
      return "10";
    case 11: case 12:  // too short for a report
      return SilentKnightHead(now).substr(0, 8);
    case 13:
      return "#R 2 L0000";
    case 14:
      return "";
    case 15:
      return "L 00000 0000 XX 0000";
    case 16:
      return "G0";
    case 17:
      return "OK";
    default:  // Radionics 6000: every message is an event, so it has no link test
      return "";
  }
}

std::string StatusBody(int type, const LocalDateTime& now) {
  switch (type) {
    case 4:  // lines and receiver normal; the last column is a check character
      return "\n11 RCVA 0000";
    case 8:
      return "11RCVA 00";
    case 11:  // battery restored
      return std::string(1, kSoh) + SilentKnightHead(now) + "z01K";
    default:
      return "";
  }
}

}  // namespace duri::sim::layouts
