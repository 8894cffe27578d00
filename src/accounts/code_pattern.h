// Matching an event code against a code entry's pattern. A pattern is a list of up to three values
// ("130,131"), a range ("100..199"), or both joined by ':' in either order ("130,131:400..499").
#ifndef DURIDUVAZE_ACCOUNTS_CODE_PATTERN_H_
#define DURIDUVAZE_ACCOUNTS_CODE_PATTERN_H_

#include <string>
#include <string_view>

namespace duri {

// code has had its leading zeros removed. A range matches codes of a length between its bounds' lengths
// that sort between them byte by byte; a list value matches exactly, or as a prefix of a 7-character code
// (E13 matches E130001 but not E130).
bool MatchCodePattern(std::string_view pattern, std::string_view code);

// Left-pads the code with blanks to 7 and puts it in front of the description: "   E130 > Fire".
void PrefixCode(std::string_view code, std::string& description);

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_CODE_PATTERN_H_
