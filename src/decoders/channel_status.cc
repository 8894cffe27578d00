#include "decoders/channel_status.h"

#include <string>

namespace duri {
namespace {

constexpr int kChannels = 8;
constexpr int kFormatPos = 9;

char CharAt(std::string_view s, int p) {
  return (p >= 1 && p <= static_cast<int>(s.size())) ? s[static_cast<size_t>(p - 1)] : '\0';
}

std::string Line(std::string_view account, std::string_view code, char channel) {
  std::string line(account);
  line.append(code);
  line.push_back(channel);
  line.push_back(kLineEnd);
  return line;
}

// The code of one channel digit for the formats that go over all channels; empty for none.
std::string_view ChannelCode(char format, char digit) {
  switch (format) {
    case '1':
      if (digit == '1') return "D1";
      if (digit == '3') return "R1";
      if (digit == '6') return "P1";
      return {};
    case '3':
      return digit == '1' ? "B0" : std::string_view{};
    case '5':
      if (digit == '1' || digit == '6') return "T0";
      return digit == '3' ? "R0" : std::string_view{};
    case '6':
      if (digit == '1' || digit == '6') return "T6";
      return digit == '3' ? "R6" : std::string_view{};
    case '7':
    case '8':
    case '9':
      switch (digit) {
        case '0': return "T0";
        case '1': return "A0";
        case '2': return "O0";
        case '3': return "R0";
        case '4': return "C0";
        case '6': return "P0";
        default: return {};
      }
    default:
      return {};
  }
}

}  // namespace

void ExpandChannelStatus(std::string_view account, std::string_view status, MessageText& result) {
  account = account.substr(0, 20);
  status = status.substr(0, 10);
  const char format = CharAt(status, kFormatPos);
  switch (format) {
    case '8':
      result.Assign(account);
      result.Append("T62");
      result.Append(kLineEnd);
      break;
    case '9':
      result.Assign(account);
      result.Append("A11");
      result.Append(kLineEnd);
      break;
    case '2':
      // One line: the user is the first digit, whatever the others say.
      result.Assign(Line(account, "O0", CharAt(status, 1)));
      return;
    case '4':
      result.Assign(Line(account, "C0", CharAt(status, 1)));
      return;
    default:
      break;
  }
  for (int c = 1; c <= kChannels; ++c) {
    std::string_view code = ChannelCode(format, CharAt(status, c));
    if (!code.empty()) result.Append(Line(account, code, static_cast<char>('0' + c)));
  }
}

}  // namespace duri
