#include "transport/http_request.h"

namespace duri {
namespace {

bool IsTokenChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == '!' || c == '~' || c == '*' || c == '+' || c == '#' || c == '$' || c == '%' || c == '&' ||
         c == '\'' || c == '^' || c == '`' || c == '|';
}

bool IsTargetChar(char c) { return c > ' ' && c < 0x7f; }

}  // namespace

HttpHeadParse ParseHttpRequestHead(std::string_view bytes, size_t limit, HttpRequestHead* head) {
  // The head ends at the first empty line; a client may start with empty lines (RFC 9112 2.2).
  size_t start = 0;
  while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n')) ++start;
  size_t end = std::string_view::npos;
  for (size_t i = start; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    const size_t next = i + 1;
    if (next < bytes.size() && bytes[next] == '\n') {
      end = next + 1;
      break;
    }
    if (next + 1 < bytes.size() && bytes[next] == '\r' && bytes[next + 1] == '\n') {
      end = next + 2;
      break;
    }
  }
  if (end == std::string_view::npos) {
    return bytes.size() >= limit ? HttpHeadParse::kTooLarge : HttpHeadParse::kIncomplete;
  }
  if (end > limit) return HttpHeadParse::kTooLarge;

  std::string_view line = bytes.substr(start, bytes.find('\n', start) - start);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const size_t sp1 = line.find(' ');
  if (sp1 == 0 || sp1 == std::string_view::npos) return HttpHeadParse::kBad;
  const size_t sp2 = line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || sp2 == sp1 + 1) return HttpHeadParse::kBad;
  const std::string_view method = line.substr(0, sp1);
  const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  const std::string_view version = line.substr(sp2 + 1);
  for (char c : method) {
    if (!IsTokenChar(c)) return HttpHeadParse::kBad;
  }
  for (char c : target) {
    if (!IsTargetChar(c)) return HttpHeadParse::kBad;
  }
  if (version.size() != 8 || version.substr(0, 7) != "HTTP/1." || version[7] < '0' || version[7] > '9') {
    return HttpHeadParse::kBad;
  }
  head->method = std::string(method);
  head->target = std::string(target.substr(0, target.find('?')));
  return HttpHeadParse::kComplete;
}

}  // namespace duri
