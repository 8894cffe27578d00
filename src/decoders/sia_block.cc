#include "decoders/sia_block.h"

#include <algorithm>
#include <string>

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"

namespace duri {
namespace {

constexpr char kTerminator = 20;  // DC4: ends the block when the receiver leaves out the "]"
constexpr int kMaxHeader = 20;
constexpr int kMaxAccount = 20;
constexpr int kMaxItem = 30;
constexpr int kMaxTextCode = 32;
constexpr int kMaxItems = 31;

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

void RemoveAll(MessageText& text, char c) {
  for (int p = text.Pos(c); p > 0; p = text.Pos(c)) text.Delete(p, 1);
}

// BA01,02,03 becomes BA01BA02BA03. Stops at the end of the text: a comma before the "|" is never
// reached, and a code ending in a comma puts a comma back with every expansion.
void ExpandCommaLists(MessageText& text) {
  std::string code;
  int i = text.Pos('|') + 2;
  while (text.Pos(',') > 0 && i <= text.length()) {
    char c = text.At(i);
    if (IsUpper(c)) {
      code = text.Copy(i, 2);
      i += 2;
    } else if (c == ',') {
      text.Delete(i, 1);
      text.Insert(code, i);
      i += 2;
    } else {
      i += 1;
    }
  }
}

// |L30 becomes |LL30, so that the block-type letter does not start the first item.
void DoubleVoiceBlockType(MessageText& text) {
  for (std::string_view mark : {"|L", "|v", "|V"}) {
    int p = text.Pos(mark);
    if (p > 0) text.Insert(mark.substr(1), p + 1);
  }
}

void InsertItemSeparators(MessageText& text) {
  bool first = true;
  int i = text.Pos('|') + 2;
  while (i <= text.length()) {
    char c = text.At(i);
    if (IsUpper(c) || IsLower(c)) {
      if (first) {
        first = false;
      } else {
        text.Insert("/", i);
        ++i;
      }
      i += 2;
    } else {
      i += 1;
    }
  }
}

// "  [R" r "L" l "]" from the header digits; a header of three characters loses its leading zeros.
std::string HeaderTag(std::string_view header) {
  std::string digits;
  for (char c : header) {
    if (c != ' ') digits.push_back(c);
  }
  if (digits.size() == 3) {
    size_t first_non_zero = digits.find_first_not_of('0');
    digits.erase(0, first_non_zero == std::string::npos ? digits.size() : first_non_zero);
  }
  return "  [R" + Copy(digits, 1, 1) + "L" + Copy(digits, 2, 1) + "]";
}

// The code part of an event item by block type; empty for a block type without events.
std::string CodePart(char block_type, const std::string& item, std::string_view voice_mode_notice) {
  const std::string text_mark{kTextEventMark, ' '};
  switch (block_type) {
    case 'N':
    case 'O':
      return item;
    case 'A':
    case 'X':
      return (text_mark + item).substr(0, kMaxTextCode);
    case 'L':
    case 'V':
    case 'v':
      // The first letter is the block type doubled by the normalisation.
      return text_mark + std::string(voice_mode_notice) + Copy(item, 2, kMaxItem) + " sec";
    case 'E': {
      // Extended text: the part before '*', then the part after it in parentheses.
      int star = Pos("*", item);
      return Copy(item, 1, star - 1) + " (" + Copy(item, star + 1, kMaxItem) + ")";
    }
    default:
      return std::string();
  }
}

}  // namespace

void NormaliseSiaBlock(MessageText& text) {
  if (text.Pos("|A") > 0) return;
  RemoveAll(text, '/');
  RemoveAll(text, ' ');
  ExpandCommaLists(text);
  DoubleVoiceBlockType(text);
  InsertItemSeparators(text);
}

bool IsWholeSiaBlock(std::string_view text) {
  const size_t bracket = text.find('[');
  if (bracket == std::string_view::npos || bracket > static_cast<size_t>(kMaxHeader)) return false;
  const size_t account = bracket + 2;
  const size_t bar = text.find('|', account);
  if (bar == std::string_view::npos || bar == account || bar - account > static_cast<size_t>(kSiaAccountLength)) {
    return false;
  }
  return bar + 1 < text.size() &&
         (text.find(']', bar + 1) != std::string_view::npos || text.find(kTerminator, bar + 1) != std::string_view::npos);
}

bool DecodeSiaBlock(MessageText& text, const ReceiverConfig& config, int receiver_digits, int type,
                    std::string_view voice_mode_notice) {
  if (!IsWholeSiaBlock(text.view())) {
    text.Clear();
    return false;
  }
  NormaliseSiaBlock(text);
  MessageText work = text;
  text.Clear();

  const int bracket = work.Pos('[');
  const std::string header = work.Copy(1, std::min(bracket - 1, kMaxHeader));
  const std::string tag = HeaderTag(header);
  if (bracket > 0) work.Delete(1, bracket + 1);

  const int bar = work.Pos('|');
  const std::string account = (work.Copy(1, bar - 1) + " ").substr(0, kMaxAccount);
  work.Delete(1, bar);

  const int close = work.Pos(']');
  if (close > 0) {
    work.SetAt(close, '/');
  } else {
    work.Insert("/", work.Pos(kTerminator));
  }

  MessageText tail(tag);
  const char block_type = work.At(1);
  work.Delete(1, 1);
  const int line_digits = type == 21 ? 3 : 1;
  int items = 0;
  do {
    ++items;
    const int slash = work.Pos('/');
    const std::string item = work.Copy(1, std::min(slash - 1, kMaxItem));
    work.Delete(1, slash);
    const char first = item.empty() ? '\0' : item[0];
    if (IsLower(first)) {
      if (tail.Pos("[ri") > 0) tail.Assign(tag);
      tail.Append("[" + item + "]");
    } else if (IsUpper(first)) {
      MessageText line(header + account + CodePart(block_type, item, voice_mode_notice));
      line.Append(tail);
      line.Append(kLineEnd);
      ApplyAccountPrefix(line, config, receiver_digits, line_digits);
      EndWithLineEnd(line);
      if (!AppendWholeLines(text, line.view())) break;
    }
  } while (work.length() >= 3 && items < kMaxItems);
  return true;
}

}  // namespace duri
