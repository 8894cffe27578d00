// The metrics page's request reader on arbitrary client bytes, fed whole and in two pieces as a slow
// client would send them: it must stay in bounds, agree with itself on the complete head, and give a
// method and target only of printable characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "transport/http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace duri;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  constexpr size_t kLimit = 512;
  HttpRequestHead whole;
  const HttpHeadParse result = ParseHttpRequestHead(bytes, kLimit, &whole);
  if (result == HttpHeadParse::kComplete) {
    for (char c : whole.method + whole.target) {
      if (c <= ' ' || c >= 0x7f) std::abort();
    }
  }
  // A prefix never completes where the whole did not end yet.
  HttpRequestHead part;
  const HttpHeadParse prefix = ParseHttpRequestHead(bytes.substr(0, size / 2), kLimit, &part);
  if (prefix == HttpHeadParse::kComplete && result != HttpHeadParse::kComplete) std::abort();
  if (prefix == HttpHeadParse::kComplete && (part.method != whole.method || part.target != whole.target)) std::abort();
  return 0;
}
