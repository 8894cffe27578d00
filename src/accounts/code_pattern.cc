#include "accounts/code_pattern.h"

#include <array>

#include "store/text.h"

namespace duri {
namespace {

constexpr size_t kDescriptionCapacity = 100;

struct SplitPattern {
  std::array<std::string, 3> values;
  std::string low, high;
};

std::string WithoutLeadingZeros(std::string s) {
  StripZeros(s);
  return s;
}

void ParseList(std::string_view list, SplitPattern& out) {
  size_t first = list.find(',');
  if (first == std::string_view::npos) {
    out.values[0] = std::string(list);
    return;
  }
  out.values[0] = std::string(list.substr(0, first));
  std::string_view rest = list.substr(first + 1);
  size_t second = rest.find(',');
  if (second == std::string_view::npos) {
    out.values[1] = std::string(rest);
    out.values[2] = out.values[1];
  } else {
    out.values[1] = std::string(rest.substr(0, second));
    out.values[2] = std::string(rest.substr(second + 1));
  }
}

void ParseRange(std::string_view range, SplitPattern& out) {
  size_t dots = range.find("..");
  out.low = std::string(range.substr(0, dots));
  out.high = std::string(range.substr(dots + 2));
}

// Byte-wise order in which a proper prefix is smaller.
bool NotAfter(std::string_view a, std::string_view b) { return a.compare(b) <= 0; }

}  // namespace

bool MatchCodePattern(std::string_view pattern, std::string_view code) {
  std::string p(pattern);
  TrimChar(p, ' ', TrimMode::kAll);
  SplitPattern split;
  size_t colon = p.find(':');
  if (colon != std::string::npos) {
    std::string_view left = std::string_view(p).substr(0, colon);
    std::string_view right = std::string_view(p).substr(colon + 1);
    if (left.find("..") != std::string_view::npos) {
      ParseRange(left, split);
      ParseList(right, split);
    } else {
      ParseList(left, split);
      if (right.find("..") != std::string_view::npos) ParseRange(right, split);
    }
  } else if (p.find("..") != std::string::npos) {
    ParseRange(p, split);
  } else {
    ParseList(p, split);
  }
  for (std::string& v : split.values) v = WithoutLeadingZeros(v);
  split.low = WithoutLeadingZeros(split.low);
  split.high = WithoutLeadingZeros(split.high);

  if (!split.low.empty() && !split.high.empty() && split.low.size() <= code.size() &&
      code.size() <= split.high.size() && NotAfter(split.low, code) && NotAfter(code, split.high))
    return true;
  for (const std::string& v : split.values) {
    if (v.empty()) continue;
    if (code == v) return true;
    if (code.size() == 7 && code.substr(0, v.size()) == v) return true;
  }
  return false;
}

void PrefixCode(std::string_view code, std::string& description) {
  std::string padded(code);
  PadLeft(' ', padded, 255, 7);
  description = padded + " > " + description;
  if (description.size() > kDescriptionCapacity) description.resize(kDescriptionCapacity);
}

}  // namespace duri
