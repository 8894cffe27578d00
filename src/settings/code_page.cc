#include "settings/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace duri {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible; stops at the first input that cannot be converted and reports it
  // through *consumed (bytes of input taken) and the result false.
  bool Convert(std::string_view in, std::string& out, size_t* consumed) {
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buffer[256];
    bool good = true;
    while (src_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        good = false;
        break;
      }
    }
    if (good) {
      // Flush any shift state.
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      iconv(cd_, nullptr, nullptr, &dst, &dst_left);
      out.append(buffer, static_cast<size_t>(dst - buffer));
    }
    *consumed = in.size() - src_left;
    return good;
  }

 private:
  iconv_t cd_;
};

}  // namespace

const char* CodePageName(CodePage page) {
  switch (page) {
    case CodePage::k1252: return "CP1252";
    case CodePage::k1254: return "CP1254";
    case CodePage::k1251: return "CP1251";
    case CodePage::k1253: return "CP1253";
    case CodePage::k1256: return "CP1256";
    case CodePage::k936: return "CP936";
    case CodePage::k950: return "CP950";
    case CodePage::k932: return "CP932";
  }
  return "CP1252";
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, CodePage page) {
  Converter converter(CodePageName(page), "UTF-8");
  if (!converter.ok()) return std::nullopt;
  std::string out;
  size_t consumed = 0;
  if (!converter.Convert(utf8, out, &consumed)) return std::nullopt;
  return out;
}

std::string CodePageToUtf8(std::string_view bytes, CodePage page) {
  Converter converter("UTF-8", CodePageName(page));
  if (!converter.ok()) return std::string(bytes);
  std::string out;
  while (!bytes.empty()) {
    size_t consumed = 0;
    if (converter.Convert(bytes, out, &consumed)) break;
    // Skip the one byte that is no character here and mark the place.
    out += "\xEF\xBF\xBD";
    bytes.remove_prefix(std::min(bytes.size(), consumed + 1));
  }
  return out;
}

}  // namespace duri
