#include "transport/dc09_frame.h"

#include <cstdio>
#include <ctime>

namespace duri::dc09 {
namespace {

constexpr uint16_t kReflectedPolynomial = 0xA001;  // 0x8005 with its bits reversed
constexpr size_t kCrcDigits = 4;
constexpr size_t kLengthDigits = 4;
constexpr size_t kMaxReceiverDigits = 6;
constexpr size_t kMinAccountDigits = 3;
constexpr size_t kMaxAccountDigits = 16;
constexpr size_t kStampSize = 19;  // HH:MM:SS,MM-DD-YYYY
constexpr char kStampMark = '_';

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of a run of hex digits, -1 when one is not hex.
long HexNumber(std::string_view digits) {
  long value = 0;
  for (char c : digits) {
    const int v = HexValue(c);
    if (v < 0) return -1;
    value = value * 16 + v;
  }
  return value;
}

// A bad frame: drop up to the next LF after its start, where the next frame may begin.
Cut Resync(std::string_view stream, CutResult why) {
  const size_t next = stream.find(kFrameStart, 1);
  return Cut{why, next == std::string_view::npos ? stream.size() : next, {}};
}

// Reads prefix then 1..max_digits hex digits at text[pos]; moves pos past them.
// stop: a hex digit that ends the field (the 'A' of a NAK's account after its line).
bool HexField(std::string_view text, size_t& pos, char prefix, size_t min_digits, size_t max_digits,
              std::string& out, char stop = 0) {
  if (pos >= text.size() || text[pos] != prefix) return false;
  size_t end = pos + 1;
  auto digit = [&](size_t i) { return i < text.size() && IsHexDigit(text[i]) && text[i] != stop; };
  while (digit(end) && end - pos - 1 < max_digits) ++end;
  const size_t digits = end - pos - 1;
  if (digits < min_digits || digit(end)) return false;
  out.assign(text.substr(pos + 1, digits));
  pos = end;
  return true;
}

bool TwoDigits(std::string_view text, size_t pos, int& value) {
  if (text[pos] < '0' || text[pos] > '9' || text[pos + 1] < '0' || text[pos + 1] > '9') return false;
  value = (text[pos] - '0') * 10 + (text[pos + 1] - '0');
  return true;
}

bool KnownToken(std::string_view token) {
  return token == kSiaDcs || token == kAdmCid || token == kNull || token == kAckToken || token == kNakToken ||
         token == kDuhToken;
}

}  // namespace

uint16_t Crc16(std::string_view bytes) {
  uint16_t crc = 0;
  for (char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ kReflectedPolynomial) : static_cast<uint16_t>(crc >> 1);
    }
  }
  return crc;
}

Cut CutFrame(std::string_view stream, size_t max_content) {
  if (stream.empty()) return {};
  if (stream[0] != kFrameStart) {
    const size_t start = stream.find(kFrameStart);
    return Cut{CutResult::kNoise, start == std::string_view::npos ? stream.size() : start, {}};
  }
  // The CRC and length digits are checked as they come, so garbage is dropped without waiting.
  for (size_t i = 1; i < kHeadSize && i < stream.size(); ++i) {
    if (!IsHexDigit(stream[i])) return Resync(stream, i <= kCrcDigits ? CutResult::kBadCrc : CutResult::kBadLength);
  }
  if (stream.size() < kHeadSize) return {};
  const size_t length = static_cast<size_t>(HexNumber(stream.substr(1 + kCrcDigits, kLengthDigits)));
  if (length > max_content || length > kMaxContent) return Resync(stream, CutResult::kTooLong);
  // A frame shorter than it says waits for the bytes of the next one, then fails the CR check below
  // and is dropped up to that next frame's LF.
  if (stream.size() < kHeadSize + length + 1) return {};
  if (stream[kHeadSize + length] != kFrameEnd) return Resync(stream, CutResult::kBadLength);
  const std::string_view content = stream.substr(kHeadSize, length);
  if (HexNumber(stream.substr(1, kCrcDigits)) != Crc16(content)) return Resync(stream, CutResult::kBadCrc);
  return Cut{CutResult::kFrame, kHeadSize + length + 1, content};
}

ParseResult ParseContent(std::string_view text, Content& content) {
  content = Content{};
  if (text.empty() || text[0] != '"') return ParseResult::kBadToken;
  const size_t close = text.find('"', 1);
  if (close == std::string_view::npos) return ParseResult::kBadToken;
  std::string_view token = text.substr(1, close - 1);
  if (!token.empty() && token[0] == '*') {
    content.encrypted = true;
    token.remove_prefix(1);
  }
  content.token.assign(token);
  const bool token_ok = KnownToken(token);

  size_t pos = close + 1;
  if (text.size() < pos + 4) return token_ok ? ParseResult::kBadHeader : ParseResult::kBadToken;
  for (size_t i = 0; i < 4; ++i) {
    if (text[pos + i] < '0' || text[pos + i] > '9') return token_ok ? ParseResult::kBadHeader : ParseResult::kBadToken;
  }
  content.sequence.assign(text.substr(pos, 4));
  pos += 4;
  bool header_ok = true;
  if (pos < text.size() && text[pos] == 'R') {
    content.has_receiver = HexField(text, pos, 'R', 1, kMaxReceiverDigits, content.receiver);
    header_ok = content.has_receiver;
  }
  header_ok = header_ok && HexField(text, pos, 'L', 1, kMaxReceiverDigits, content.line,
                                    token == kNakToken ? 'A' : 0);
  if (header_ok) {
    // A NAK names no account: "A0".
    header_ok = pos < text.size() && text[pos] == 'A'
                    ? HexField(text, pos, 'A', 1, kMaxAccountDigits, content.account)
                    : HexField(text, pos, '#', kMinAccountDigits, kMaxAccountDigits, content.account);
  }
  header_ok = header_ok && pos < text.size() && text[pos] == '[';
  if (header_ok) content.body.assign(text.substr(pos));
  if (!token_ok) return ParseResult::kBadToken;
  return header_ok ? ParseResult::kOk : ParseResult::kBadHeader;
}

bool SplitBody(std::string_view body, Body& out) {
  out = Body{};
  if (body.empty() || body[0] != '[') return false;
  size_t close = body.find(']');
  if (close == std::string_view::npos) return false;
  out.data.assign(body.substr(1, close - 1));
  if (out.data.find('[') != std::string::npos) return false;
  size_t pos = close + 1;
  while (pos < body.size() && body[pos] == '[') {
    close = body.find(']', pos);
    if (close == std::string_view::npos) return false;
    out.extended.append(body.substr(pos, close + 1 - pos));
    pos = close + 1;
  }
  if (pos == body.size()) return true;
  if (body[pos] != kStampMark || body.size() - pos - 1 != kStampSize) return false;
  out.has_stamp = true;
  out.stamp.assign(body.substr(pos + 1));
  int64_t ignored = 0;
  return StampSeconds(out.stamp, ignored);
}

bool StampSeconds(std::string_view stamp, int64_t& seconds) {
  if (stamp.size() != kStampSize || stamp[2] != ':' || stamp[5] != ':' || stamp[8] != ',' || stamp[11] != '-' ||
      stamp[14] != '-') {
    return false;
  }
  int hour = 0, minute = 0, second = 0, month = 0, day = 0, century = 0, year = 0;
  if (!TwoDigits(stamp, 0, hour) || !TwoDigits(stamp, 3, minute) || !TwoDigits(stamp, 6, second) ||
      !TwoDigits(stamp, 9, month) || !TwoDigits(stamp, 12, day) || !TwoDigits(stamp, 15, century) ||
      !TwoDigits(stamp, 17, year)) {
    return false;
  }
  std::tm tm{};
  tm.tm_year = century * 100 + year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  if (hour > 23 || minute > 59 || second > 59 || month < 1 || month > 12 || day < 1) return false;
  const time_t t = timegm(&tm);
  // timegm moves an impossible day (31 April) into the next month: refuse it.
  if (tm.tm_mday != day || tm.tm_mon != month - 1) return false;
  seconds = static_cast<int64_t>(t);
  return true;
}

std::string StampText(int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[64];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%02d-%02d-%04d", tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_year + 1900);
  return text;
}

std::string Frame(std::string_view content) {
  char head[kHeadSize + 1];
  std::snprintf(head, sizeof head, "%c%04X%04X", kFrameStart, static_cast<unsigned>(Crc16(content)),
                static_cast<unsigned>(content.size()));
  std::string frame(head, kHeadSize);
  frame.append(content);
  frame.push_back(kFrameEnd);
  return frame;
}

std::string HeaderText(const Content& content) {
  std::string text = "\"";
  if (content.encrypted) text += '*';
  text += content.token;
  text += '"';
  text += content.sequence;
  if (content.has_receiver) text += "R" + content.receiver;
  text += "L" + content.line;
  text += (content.token == kNakToken ? "A" : "#") + content.account;
  return text;
}

}  // namespace duri::dc09
