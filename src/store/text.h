// Text helpers on the length-prefixed texts of the shared files. They work on std::string with an
// explicit capacity; a result longer than the capacity is cut.
#ifndef DURIDUVAZE_STORE_TEXT_H_
#define DURIDUVAZE_STORE_TEXT_H_

#include <string>
#include <string_view>

namespace duri {

inline bool IsEmpty(std::string_view s) { return s.empty(); }
// Removes leading '0' while more than one character remains.
void StripZeros(std::string& s);
// Puts ch in front of s until it is width characters long (never beyond capacity).
void PadLeft(char ch, std::string& s, size_t capacity, size_t width);

enum class TrimMode { kEnd, kBegin, kBoth, kAll, kNone };
// The original takes the mode as a word: "end", "begin", "both", "all"; anything else changes nothing.
TrimMode TrimModeFromText(std::string_view mode);
void TrimChar(std::string& s, char ch, TrimMode mode);

// ASCII letters to capitals; code page 437 accented letters to their plain capitals.
char FoldUpperChar(char c);
std::string FoldUpper(std::string_view s);
// Equal after FoldUpper and the removal of every blank.
bool SameText(std::string_view a, std::string_view b);

// 1 when a sorts first, 2 when equal, 3 when after. Shorter sorts first; equal lengths by codes.
int CompareKeys(std::string_view a, std::string_view b);
// Account comparison of the user search: every blank removed, cut to 10, folded; when the leading
// letters A to Z are the same, the rests compare as unsigned 32-bit hexadecimal numbers (a rest that is
// not one, or is empty, reads as -1, the largest: "005" equals "5"); otherwise CompareKeys on the two
// texts as cut.
int CompareAccounts(std::string_view a, std::string_view b);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_TEXT_H_
