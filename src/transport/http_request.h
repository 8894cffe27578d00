// The head of an HTTP/1.x request, as far as the metrics page needs it: the request line (method,
// target, version) of a head that ends with an empty line. Header fields are skipped; a request body
// is never read.
#ifndef DURIDUVAZE_TRANSPORT_HTTP_REQUEST_H_
#define DURIDUVAZE_TRANSPORT_HTTP_REQUEST_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace duri {

struct HttpRequestHead {
  std::string method;
  std::string target;  // the path, without a query
};

enum class HttpHeadParse {
  kIncomplete,  // no empty line yet, still within the limit: read more
  kComplete,
  kBad,       // not an HTTP/1.x request line
  kTooLarge,  // limit bytes and still no end of the head
};

// bytes: what the client sent so far. Lines end in CR LF or a lone LF.
HttpHeadParse ParseHttpRequestHead(std::string_view bytes, size_t limit, HttpRequestHead* head);

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_HTTP_REQUEST_H_
