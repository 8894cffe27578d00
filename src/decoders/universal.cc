// Type 17 "Universal": an interface on the printer output of a receiver or panel. The port opens with
// the modem string "ATQ1M0S0=1S7=10" (receiver setup). Lines end with CR. Two printed forms:
//   "...1234 E130 ZONE 5@..."      everything before '@'; the account is the 4 characters before the
//                                  last space, the line runs from the account to the '@'.
//   43 to 48 columns, " :", then an 8-character account, two columns, and French trouble words
//                                  ("PANNE", "AIDE", ...) read as one-letter codes.
// The prefix character is always put in front, also '0'; no digits are removed.
//
// Recognised: the two forms above give events; a printed line of neither form (no '@' and no " :" in
// columns 43 to 48: headers, blank lines, the modem's answers) carries no event. A line of either form
// that does not read (an account that is not a number, no trouble word) is unrecognised and left
// unanswered. No negative acknowledgement is sent.
#include "decoders/universal.h"

#include <string>

#include "decoders/line_steps.h"
#include "decoders/take_message.h"
#include "store/number_conversion.h"
#include "store/text.h"

namespace duri {
namespace {

constexpr int kAccountLength = 4;
constexpr int kLastAccountSpace = 4;  // a space at or before this leaves no room for the account
constexpr int kFirstColonColumn = 43;
constexpr int kLastColonColumn = 48;
constexpr int kColumnAccountLength = 8;
constexpr int kColumnAccountWidth = 10;

struct Keyword {
  std::string_view word;
  char code;
};
// Searched in this order: the first word of the table found anywhere wins.
constexpr Keyword kKeywords[] = {
    {"FAIBLE", 'B'}, {"HUILE", 'H'}, {"BASSE", 'T'}, {"AIDE", 'A'}, {"FONCTION", 'F'}, {"PANNE", 'P'},
};

bool AtForm(MessageText& text) {
  text.Delete(text.Pos('@'), MessageText::kCapacity);
  int space = text.length();
  while (space > 1 && text.At(space) != ' ') --space;
  if (space <= kLastAccountSpace || space == text.length()) return false;
  const int account_pos = space - kAccountLength;
  std::string account = text.Copy(account_pos, kAccountLength);
  if (!ParseNumber(account).ok() || account.find(' ') != std::string::npos) return false;
  text.Delete(1, account_pos - 1);
  text.Append(kLineEnd);
  return true;
}

bool ColumnForm(MessageText& text) {
  text.Delete(1, text.Pos(" :") + 1);
  std::string account = text.Copy(1, kColumnAccountLength);
  text.Delete(1, kColumnAccountWidth);
  std::string words = FoldUpper(text.view());
  for (const Keyword& k : kKeywords) {
    if (Pos(k.word, words) == 0) continue;
    text.Assign(account);
    text.Append(' ');
    text.Append(k.code);
    text.Append(kLineEnd);
    return true;
  }
  return false;
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeUniversalText(text, context, result);
}

}  // namespace

void DecodeUniversalText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  bool line = false;
  bool event_form = true;
  if (text.Pos('@') > 0) {
    line = AtForm(text);
  } else {
    int colon = text.Pos(" :");
    event_form = colon >= kFirstColonColumn && colon <= kLastColonColumn;
    if (event_form) line = ColumnForm(text);
  }
  if (!line) {
    // A printed line of neither form (headers, blank lines, the modem's answers) carries no event.
    if (!event_form) result.kind = MessageKind::kNoEvent;
    return;
  }
  text.Insert(std::string_view(&context.config.prefix, 1), 1);
  EndWithLineEnd(text);
  result.text = text;
}

const DecoderFamily kUniversalDecoder = {
    "universal",
    Decode,
};

}  // namespace duri
