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

// The leading run of letters A to Z of a folded account ("E" of "E123005").
size_t LetterPrefixLength(const std::string& s) {
  size_t n = 0;
  while (n < s.size() && s[n] >= 'A' && s[n] <= 'Z') ++n;
  return n;
}

// The text read as a hexadecimal number into 32 bits. A text that is not one (empty, another
// character, or too large for 32 bits) reads as -1, which as an unsigned value is the largest.
uint32_t HexValue32(std::string_view s) {
  constexpr uint32_t kNotHex = 0xFFFFFFFFu;
  if (s.empty()) return kNotHex;
  uint64_t value = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return kNotHex;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFu) return kNotHex;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

int CompareAccounts(std::string_view a, std::string_view b) {
  std::string x(a), y(b);
  TrimChar(x, ' ', TrimMode::kAll);
  TrimChar(y, ' ', TrimMode::kAll);
  if (x.size() > 10) x.resize(10);
  if (y.size() > 10) y.resize(10);
  std::string fx = FoldUpper(x), fy = FoldUpper(y);
  size_t px = LetterPrefixLength(fx), py = LetterPrefixLength(fy);
  if (fx.compare(0, px, fy, 0, py) != 0) return CompareKeys(x, y);
  uint32_t vx = HexValue32(std::string_view(fx).substr(px)), vy = HexValue32(std::string_view(fy).substr(py));
  if (vx == vy) return 2;
  return vx < vy ? 1 : 3;
}

}  // namespace duri
