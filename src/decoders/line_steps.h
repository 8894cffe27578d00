// Editing steps that several decoder families repeat on a message text: blank removal, the line end
// every event line needs, and the year of a receiver stamp that carries none.
#ifndef DURIDUVAZE_DECODERS_LINE_STEPS_H_
#define DURIDUVAZE_DECODERS_LINE_STEPS_H_

#include <cstdint>
#include <string_view>

#include "decoders/decoder.h"

namespace duri {

// Removes every space of the text.
void RemoveSpaces(MessageText& text);

// Deletes the spaces standing at p one after the other; a position past the end holds no space.
void DeleteSpacesAt(MessageText& text, int p);

// Receivers' link tests carry "@" (some firmware sends character 254 instead); they post nothing.
bool IsHeartbeat(const MessageText& text);

// Hexadecimal digits as receivers write receiver, line and account digits ('0'..'9', 'A'..'F').
bool IsHexDigit(char c);

// Drops the characters before position `start` (1-based) as line noise and counts them in the result.
void DropNoiseBefore(MessageText& text, int start, DecodedMessage& result);

// Makes a non-empty text end with CR: event intake takes only CR-ended lines, so a line that lost
// its end (a message cut at the capacity, or a terminator other than CR) would be dropped unseen.
// A text at its capacity gives its last character for the CR.
void EndWithLineEnd(MessageText& text);

// Ends a one-line report at its first CR. A report whose fields are shorter than its layout gets
// the space that separates account and code inserted behind its CR, and that piece would otherwise
// come out as a second, blank line.
void KeepFirstLine(MessageText& text);

// Appends CR-ended lines to an event text while each fits whole, and reports whether all did. Event
// intake takes only CR-ended lines, so a line cut at the capacity would be dropped unseen; a line
// longer than a text on its own keeps its first characters and its CR. A last piece without CR is
// ended with one.
bool AppendWholeLines(MessageText& out, std::string_view lines);

// The year of a stamp that gives month and day only: today's year, except that a December stamp
// read in January is last year's and a January stamp read in December is next year's (the receiver
// and the computer disagree by hours around the new year, never by eleven months).
uint16_t StampYear(const DateRecord& today, int stamp_month);

// The text from `from` (1-based) up to the first character of `stops`, or to the end.
std::string_view TextUpTo(std::string_view text, int from, std::string_view stops);

}  // namespace duri

#endif  // DURIDUVAZE_DECODERS_LINE_STEPS_H_
