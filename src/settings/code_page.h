// The Windows code pages the language tables are stored in, and conversion to and from UTF-8 (iconv).
// The core keeps texts as code-page bytes; only the window turns them into Unicode.
#ifndef DURIDUVAZE_SETTINGS_CODE_PAGE_H_
#define DURIDUVAZE_SETTINGS_CODE_PAGE_H_

#include <optional>
#include <string>
#include <string_view>

namespace duri {

enum class CodePage {
  k1252,  // Western European
  k1254,  // Turkish
  k1251,  // Cyrillic
  k1253,  // Greek
  k1256,  // Arabic
  k936,   // simplified Chinese (GBK)
  k950,   // traditional Chinese (Big5)
  k932,   // Japanese (Shift-JIS)
};

// The iconv name: "CP1252", "CP936", ...
const char* CodePageName(CodePage page);

// UTF-8 to the code page; nullopt when the text is not valid UTF-8 or holds a character the page has no
// form for.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, CodePage page);
// The code page's bytes to UTF-8. A byte sequence that is no character of the page becomes U+FFFD, so
// a damaged text still shows.
std::string CodePageToUtf8(std::string_view bytes, CodePage page);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_CODE_PAGE_H_
