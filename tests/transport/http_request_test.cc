#include "transport/http_request.h"

#include <gtest/gtest.h>

namespace duri {
namespace {

TEST(HttpRequestHeadTest, RequestLines) {
  struct Case {
    std::string bytes;
    HttpHeadParse want;
    std::string method, target;
  } cases[] = {
      {"GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n", HttpHeadParse::kComplete, "GET", "/metrics"},
      {"HEAD /metrics?x=1 HTTP/1.0\n\n", HttpHeadParse::kComplete, "HEAD", "/metrics"},
      {"\r\nGET / HTTP/1.1\r\n\r\n", HttpHeadParse::kComplete, "GET", "/"},  // a stray line break first
      {"GET /metrics HTTP/1.1\r\nHost: x\r\n", HttpHeadParse::kIncomplete, "", ""},
      {"", HttpHeadParse::kIncomplete, "", ""},
      {"GET /metrics\r\n\r\n", HttpHeadParse::kBad, "", ""},             // HTTP/0.9
      {"GET  /metrics HTTP/1.1\r\n\r\n", HttpHeadParse::kBad, "", ""},   // empty target
      {"GET /m\x01 HTTP/1.1\r\n\r\n", HttpHeadParse::kBad, "", ""},
      {"G(T /metrics HTTP/1.1\r\n\r\n", HttpHeadParse::kBad, "", ""},
      {"GET /metrics HTTP/2.0\r\n\r\n", HttpHeadParse::kBad, "", ""},
      {"GET /metrics HTTP/1.1 x\r\n\r\n", HttpHeadParse::kBad, "", ""},
      {"GET /metrics HTTP/1.1\r\nX: " + std::string(100, 'x'), HttpHeadParse::kTooLarge, "", ""},
      {"GET /metrics HTTP/1.1\r\nX: " + std::string(100, 'x') + "\r\n\r\n", HttpHeadParse::kTooLarge, "", ""},
  };
  for (const Case& c : cases) {
    HttpRequestHead head;
    EXPECT_EQ(ParseHttpRequestHead(c.bytes, 64, &head), c.want) << c.bytes;
    if (c.want != HttpHeadParse::kComplete) continue;
    EXPECT_EQ(head.method, c.method) << c.bytes;
    EXPECT_EQ(head.target, c.target) << c.bytes;
  }
}

}  // namespace
}  // namespace duri
