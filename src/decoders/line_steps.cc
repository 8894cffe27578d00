#include "decoders/line_steps.h"

#include <string>

namespace duri {

void RemoveSpaces(MessageText& text) {
  std::string kept;
  for (char c : text.view())
    if (c != ' ') kept.push_back(c);
  text.Assign(kept);
}

void DeleteSpacesAt(MessageText& text, int p) {
  while (text.At(p) == ' ') text.Delete(p, 1);
}

bool IsHeartbeat(const MessageText& text) {
  return text.Pos('@') > 0 || text.Pos(static_cast<char>(254)) > 0;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

void DropNoiseBefore(MessageText& text, int start, DecodedMessage& result) {
  if (start <= 1) return;
  text.Delete(1, start - 1);
  result.noise_bytes += start - 1;
}

void EndWithLineEnd(MessageText& text) {
  if (text.empty() || text.At(text.length()) == kLineEnd) return;
  if (text.length() < MessageText::kCapacity) {
    text.Append(kLineEnd);
  } else {
    text.SetAt(text.length(), kLineEnd);
  }
}

void KeepFirstLine(MessageText& text) {
  const int cr = text.Pos(kLineEnd);
  if (cr > 0) text.Delete(cr + 1, text.length() - cr);
  EndWithLineEnd(text);
}

bool AppendWholeLines(MessageText& out, std::string_view lines) {
  const size_t capacity = MessageText::kCapacity;
  while (!lines.empty()) {
    size_t end = lines.find(kLineEnd);
    std::string line(lines.substr(0, end == std::string_view::npos ? lines.size() : end));
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    if (line.size() >= capacity) line.resize(capacity - 1);
    line.push_back(kLineEnd);
    if (out.length() + line.size() > capacity) return false;
    out.Append(line);
  }
  return true;
}

uint16_t StampYear(const DateRecord& today, int stamp_month) {
  int year = today.year;
  if (today.month == 1 && stamp_month == 12) --year;
  if (today.month == 12 && stamp_month == 1) ++year;
  return static_cast<uint16_t>(year);
}

std::string_view TextUpTo(std::string_view text, int from, std::string_view stops) {
  if (from < 1 || from > static_cast<int>(text.size())) return {};
  std::string_view rest = text.substr(static_cast<size_t>(from - 1));
  size_t end = rest.find_first_of(stops);
  return end == std::string_view::npos ? rest : rest.substr(0, end);
}

}  // namespace duri
