// Type 3 "Sescoa 3000R". A report runs from a lead character to DC4 (character 20):
//   x K K mode hh:mm MM/DD ... R L ... then, for an event list, one CR-ended line per event
// K is the report kind ("CS", "NS", ...), the mode character a single event's code or a space for a
// list; R (or 'P' for receiver 1) and L are the receiver and line digits. A list line whose first four
// characters repeat the remembered character continues the previous event; on "NS" reports an
// opening or closing line is followed by the user line ('I' in its sixth column).
//
// Recognised: the reports above, when no CR stands in their head; a report shorter than 24 characters
// (the receiver's link test), one marked damaged (character 254) and a single-event report of kind
// "CS" (a receiver status) carry no event. No negative acknowledgement is sent.
#include "decoders/sescoa.h"

#include <string>
#include <string_view>

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"
#include "store/number_conversion.h"

namespace duri {
namespace {

constexpr int kShortestReport = 24;
constexpr char kDamaged = static_cast<char>(254);
constexpr int kStampLength = 14;
constexpr int kReceiverLength = 5;
constexpr int kHeadLength = 4 + kStampLength + kReceiverLength;
constexpr int kFullResult = 239;  // a list stops adding once the event text is longer than this
constexpr char kSkippedLineMark = '[';
constexpr char kUserLineMark = 'I';

// The report's lines, each with its CR; lines with '[' in the sixth column are not events.
class LineReader {
 public:
  // `cut`: the report was longer than the text and its last line is a piece, which is left out.
  LineReader(std::string rest, bool cut) : rest_(std::move(rest)) {
    if (cut) rest_.erase(rest_.rfind(kLineEnd) == std::string::npos ? 0 : rest_.rfind(kLineEnd) + 1);
  }
  // The next line, empty when the report is used up. A last line without CR gets one.
  std::string Next() {
    while (at_ < rest_.size()) {
      size_t cr = rest_.find(kLineEnd, at_);
      size_t end = cr == std::string::npos ? rest_.size() : cr + 1;
      std::string line = rest_.substr(at_, end - at_);
      at_ = end;
      if (line.size() >= 6 && line[5] == kSkippedLineMark) continue;
      if (line.back() != kLineEnd) line.push_back(kLineEnd);
      return line;
    }
    return {};
  }

 private:
  std::string rest_;
  size_t at_ = 0;
};

void ReadStampField(const std::string& field, const char* low, const char* high, uint16_t& into) {
  if (field >= low && field <= high) into = static_cast<uint16_t>(LenientValue(field));
}

void ReadStamp(MessageText& text, const DateRecord& today, DecodedMessage& result) {
  ReadStampField(text.Copy(1, 2), "00", "23", result.time.hour);
  ReadStampField(text.Copy(4, 2), "00", "59", result.time.minute);
  ReadStampField(text.Copy(7, 2), "01", "12", result.date.month);
  ReadStampField(text.Copy(10, 2), "01", "31", result.date.day);
  result.date.year = StampYear(today, result.date.month);
  text.Delete(1, kStampLength);
}

// Adds a piece to the event text only when it fits whole: a line cut at the capacity would be
// posted with a damaged account or code. False when the text is full.
bool AppendWhole(MessageText& out, std::string_view piece) {
  if (out.length() + piece.size() > MessageText::kCapacity) return false;
  out.Append(piece);
  return true;
}

// Receiver digit, line digit and the line, with the port's account options.
bool AppendEvent(MessageText& out, char receiver, char line_digit, const std::string& line,
                 const ReceiverConfig& config) {
  MessageText event(std::string{receiver, line_digit} + line);
  ApplyAccountPrefix(event, config, 1, 1);
  return AppendWhole(out, event.view());
}

// Replaces the last `cut` characters of the event text by `rest`, or leaves it as it is when the
// result would not fit.
bool ReplaceEnd(MessageText& out, int cut, std::string_view rest) {
  if (out.length() - cut + static_cast<int>(rest.size()) > static_cast<int>(MessageText::kCapacity)) return false;
  out.Delete(out.length() - cut + 1, cut);
  out.Append(rest);
  return true;
}

// The character fourth from the end, none in a text shorter than four.
char FourthFromEnd(const MessageText& text) { return text.At(text.length() - 3); }

bool Continues(const std::string& line, char remembered) {
  if (line.size() < 4) return false;
  const bool same = line[1] == remembered && line[2] == remembered && line[3] == remembered;
  return same && (line[0] == remembered || line[0] == '0');
}

// "NS" reports: an opening or closing is followed by its user line, whose number replaces the
// closing's last two characters.
// False when a line did not fit.
bool UserLines(LineReader& lines, MessageText& out, char receiver, char line_digit,
               const ReceiverConfig& config) {
  while ((FourthFromEnd(out) == 'C' || FourthFromEnd(out) == 'O') && out.length() <= kFullResult) {
    std::string line = lines.Next();
    if (line.empty()) return true;
    const bool added = line.size() >= 6 && line[5] == kUserLineMark
                           ? ReplaceEnd(out, 3, std::string_view(line).substr(6))
                           : AppendEvent(out, receiver, line_digit, line, config);
    if (!added) return false;
  }
  return true;
}

void EventList(const std::string& kind, MessageText& text, bool cut, char receiver, char line_digit,
               const ReceiverConfig& config, MessageText& out) {
  LineReader lines(text.str(), cut);
  char remembered = 0;
  // The list ends at the first line that does not fit whole: the text is full.
  while (out.length() <= kFullResult) {
    std::string line = lines.Next();
    if (line.empty()) break;
    bool added;
    if (!out.empty() && Continues(line, remembered)) {
      // The third-last and the last character (the CR) of the event give way to the continuation.
      MessageText joined = out;
      const int n = joined.length();
      joined.Delete(n, 1);
      joined.Delete(n - 2, 1);
      added = AppendWhole(joined, line.size() > 7 ? line.substr(7) : std::string());
      if (added) out = joined;
    } else {
      remembered = line.size() >= 8 ? line[7] : 0;
      added = AppendEvent(out, receiver, line_digit, line, config);
    }
    if (!added) break;
    if (kind != "NS") {
      if (out.length() >= 4 && FourthFromEnd(out) == 'A') out.Delete(out.length() - 3, 1);
    } else if (!UserLines(lines, out, receiver, line_digit, config)) {
      break;
    }
  }
  if (out.empty()) AppendEvent(out, receiver, line_digit, "0000 00\r", config);
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeSescoaText(text, context, result);
}

}  // namespace

void DecodeSescoaText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (text.length() < kShortestReport || text.Pos(kDamaged) > 0) {
    result.kind = MessageKind::kNoEvent;  // the receiver's link test or a report it marks damaged
    return;
  }
  // The head (lead, kind, mode, stamp, receiver and line) holds no CR: one there is line damage, and
  // its receiver and line digits would cut every event line of the report in pieces.
  if (text.Copy(1, kHeadLength).find(kLineEnd) != std::string::npos) return;
  // A report longer than the text lost its end, terminator included.
  const bool cut = text.length() == MessageText::kCapacity &&
                   static_cast<uint8_t>(text.At(text.length())) != context.state.terminator;
  text.Delete(1, 1);
  text.Delete(text.length(), 1);
  const std::string kind = text.Copy(1, 2);
  const char mode = text.At(3);
  text.Delete(1, 3);
  ReadStamp(text, context.today, result);
  const char receiver = text.At(1) == 'P' ? '1' : text.At(1);
  const char line_digit = text.At(2);
  text.Delete(1, kReceiverLength);
  if (mode != ' ') {
    if (kind == "CS") {
      result.kind = MessageKind::kNoEvent;  // a receiver status
      return;
    }
    std::string line = std::string("00000 ") + mode;
    if (line_digit != '0') line += line_digit;
    line += kLineEnd;
    result.text.Assign(std::string(1, receiver) + line);
    ApplyAccountPrefix(result.text, context.config, 1, 1);
    return;
  }
  EventList(kind, text, cut, receiver, line_digit, context.config, result.text);
  EndWithLineEnd(result.text);
}

const DecoderFamily kSescoaDecoder = {
    "sescoa",
    Decode,
};

}  // namespace duri
