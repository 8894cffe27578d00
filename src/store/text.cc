#include "store/text.h"

#include <cstdint>

namespace duri {

void StripZeros(std::string& s) {
  size_t n = 0;
  while (n + 1 < s.size() && s[n] == '0') ++n;
  s.erase(0, n);
}

void PadLeft(char ch, std::string& s, size_t capacity, size_t width) {
  if (width > capacity) width = capacity;
  if (s.size() < width) s.insert(0, width - s.size(), ch);
}

TrimMode TrimModeFromText(std::string_view mode) {
  if (mode == "end") return TrimMode::kEnd;
  if (mode == "begin") return TrimMode::kBegin;
  if (mode == "both") return TrimMode::kBoth;
  if (mode == "all") return TrimMode::kAll;
  return TrimMode::kNone;
}

void TrimChar(std::string& s, char ch, TrimMode mode) {
  switch (mode) {
    case TrimMode::kEnd:
    case TrimMode::kBoth:
      while (!s.empty() && s.back() == ch) s.pop_back();
      if (mode == TrimMode::kEnd) break;
      [[fallthrough]];
    case TrimMode::kBegin: {
      size_t n = 0;
      while (n < s.size() && s[n] == ch) ++n;
      s.erase(0, n);
      break;
    }
    case TrimMode::kAll: {
      std::string out;
      for (char c : s)
        if (c != ch) out += c;
      s = out;
      break;
    }
    case TrimMode::kNone:
      break;
  }
}

char FoldUpperChar(char c) {
  uint8_t b = static_cast<uint8_t>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
  switch (b) {
    case 128: case 135:
      return 'C';
    case 129: case 150: case 151: case 154: case 163:
      return 'U';
    case 130: case 136: case 137: case 138: case 144:
      return 'E';
    case 131: case 132: case 133: case 134: case 142: case 143: case 160:
      return 'A';
    case 139: case 140: case 141: case 161:
      return 'I';
    case 147: case 148: case 149: case 153: case 162:
      return 'O';
    case 152:
      return 'Y';
    case 164: case 165:
      return 'N';
    default:
      return c;
  }
}

std::string FoldUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = FoldUpperChar(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  std::string fa = FoldUpper(a), fb = FoldUpper(b);
  TrimChar(fa, ' ', TrimMode::kAll);
  TrimChar(fb, ' ', TrimMode::kAll);
  return fa == fb;
}

int CompareKeys(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? 1 : 3;
  for (size_t i = 0; i < a.size(); ++i) {
    uint8_t x = static_cast<uint8_t>(a[i]), y = static_cast<uint8_t>(b[i]);
    if (x != y) return x < y ? 1 : 3;
  }
  return 2;
}

namespace {

// Accounts look like an optional letter prefix then hexadecimal digits ("E123005"): the prefix is the
// leading run of letters that are not hexadecimal digits.
size_t LetterPrefixLength(const std::string& s) {
  size_t n = 0;
  while (n < s.size()) {
    char c = s[n];
    bool letter = c >= 'A' && c <= 'Z';
    bool hex_letter = c >= 'A' && c <= 'F';
    if (!letter || hex_letter) break;
    ++n;
  }
  return n;
}

bool ParseHex(std::string_view s, uint64_t& value) {
  value = 0;
  if (s.empty()) return true;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    value = value * 16 + static_cast<uint64_t>(d);
  }
  return true;
}

std::string AccountKey(std::string_view s) {
  std::string t(s);
  TrimChar(t, ' ', TrimMode::kBoth);
  if (t.size() > 10) t.resize(10);
  return FoldUpper(t);
}

}  // namespace

int CompareAccounts(std::string_view a, std::string_view b) {
  std::string x = AccountKey(a), y = AccountKey(b);
  size_t px = LetterPrefixLength(x), py = LetterPrefixLength(y);
  if (x.compare(0, px, y, 0, py) == 0) {
    uint64_t vx, vy;
    if (ParseHex(std::string_view(x).substr(px), vx) && ParseHex(std::string_view(y).substr(py), vy)) {
      if (vx != vy) return vx < vy ? 1 : 3;
      return CompareKeys(x, y);
    }
  }
  return CompareKeys(x, y);
}

}  // namespace duri
