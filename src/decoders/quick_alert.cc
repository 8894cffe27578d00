// Type 9 "Osborne-Hoffman Quick Alert" (RTS on, 7 data bits, 2 stop bits; receiver setup). The
// receiver prints each event as a block of NUL-ended lines and ends the report with EOT:
//   "\r\nQUICK ALERT  12/08 10:15\r\0"        lines shorter than 20 characters lead the block
//   "RCVR 1  LINE 2  ACCOUNT 1234  \r\0"     account and line digit
//   "CODE  E130 ZONE/ 005\r\0"               the code, by whichever label the line carries
// or, instead of the code line, the zone map "1*2*3*4*5*6*7*8" with a mark under the zone.
// The lines are taken one by one from the ring buffer (and captured one by one); a line never runs
// past the report's EOT: a line without its NUL ends at the last byte before it.
//
// Recognised: a report whose account lines give events; a report without an account line (the banner
// alone, the receiver's link test) carries no event. No negative acknowledgement is sent.
#include "decoders/quick_alert.h"

#include <string>
#include <string_view>

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr uint8_t kLineTerminator = 0;
constexpr size_t kShortLine = 20;
constexpr int kMostLinesBeforeAccount = 4;
constexpr int kSkippedAfterArea = 4;
constexpr int kAccountEndsReport = 5;
constexpr int kZoneMapIndent = 5;
constexpr std::string_view kLineStops("\r\n\0", 3);
constexpr std::string_view kWordStops(" \r\n\0", 4);

// The report waiting in the ring buffer: from the read index to the first terminator in the data
// received.
class ReportReader {
 public:
  explicit ReportReader(DecodeContext& context) : context_(context) {
    PortState& state = context.state;
    // A read index outside the ring counts as 1, as when a message is taken.
    if (state.read_index < 1 || state.read_index > PortState::kRingSize) state.read_index = 1;
    int index = state.read_index;
    int received = (state.write_index - index + PortState::kRingSize) % PortState::kRingSize;
    if (received == 0) received = PortState::kRingSize;  // a full buffer
    for (int n = 0; n < received; ++n) {
      if (state.At(index) == state.terminator) {
        left_ = n;
        complete_ = true;
        return;
      }
      index = index >= PortState::kRingSize ? 1 : index + 1;
    }
  }

  // False when no terminator has arrived: nothing is taken then.
  bool complete() const { return complete_; }
  // The terminator is next.
  bool AtEnd() const { return left_ <= 0; }

  // The next line with its NUL; empty at the end of the report.
  std::string Line() {
    if (AtEnd()) return {};
    int before = context_.state.read_index;
    std::string line = TakeMessageBytes(context_.state, kLineTerminator, MessageText::kCapacity,
                                        context_.capture, context_.today, left_);
    left_ -= (context_.state.read_index - before + PortState::kRingSize) % PortState::kRingSize;
    return line;
  }

  // Takes the rest of the report and its terminator.
  void Finish() {
    TakeMessageBytes(context_.state, context_.state.terminator, MessageText::kCapacity, context_.capture,
                     context_.today, left_ + 1);
    left_ = 0;
  }

 private:
  DecodeContext& context_;
  int left_ = 0;  // bytes before the terminator
  bool complete_ = false;
};

bool Has(std::string_view line, std::string_view label) { return Pos(label, line) > 0; }

std::string WithoutSpaces(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ') out.push_back(c);
  return out;
}

std::string LeftTrimmed(std::string_view s) {
  size_t n = s.find_first_not_of(' ');
  return n == std::string_view::npos ? std::string() : std::string(s.substr(n));
}

// The line's text after `label` (and `skip` more characters), up to the CR.
std::string After(std::string_view line, std::string_view label, int skip = 0) {
  return std::string(TextUpTo(line, Pos(label, line) + static_cast<int>(label.size()) + skip, kLineStops));
}

// A printed character at position p, none for a control character or past the end.
std::string CharAt(std::string_view s, int p) {
  std::string c = Copy(s, p, 1);
  if (!c.empty() && static_cast<unsigned char>(c[0]) < ' ') c.clear();
  return c;
}

std::string AreaTail(std::string_view area) { return "  [ri" + std::string(area) + "]"; }

std::string ZoneMapCode(std::string line) {
  line.erase(0, std::min<size_t>(line.size(), kZoneMapIndent));
  size_t spaces = 0;
  while (spaces < line.size() && line[spaces] == ' ') ++spaces;
  return CharAt(line, static_cast<int>(spaces) + 1) + std::to_string((spaces + 1) / 2 + 1);
}

std::string EqualsCode(std::string_view line, const std::string& value) {
  std::string code = CharAt(value, 1);
  if (Copy(value, 4, 1) == " ") code += CharAt(value, 3);
  if (Copy(value, 6, 1) == " ") code += CharAt(value, 5);
  if (Has(line, "USER")) {
    std::string packed = WithoutSpaces(line);
    std::string user(TextUpTo(packed, Pos("USER", packed) + 4, kLineStops).substr(0, 3));
    code = (Copy(code, 2, 1) == "B" ? "O" : "C") + user;
  }
  return code;
}

// The code of a "CODE" line, by the first label it carries. False for a "Z/ID/" line, which ends
// the report without an event.
bool LabelCode(std::string_view line, std::string& code, std::string& tail) {
  const std::string value = LeftTrimmed(After(line, "CODE"));
  if (Has(line, "ZONE/ID")) {
    code = CharAt(value, 1) + CharAt(line, Pos("ZONE/ID", line) + 8);
  } else if (Has(line, "ZONE/")) {
    code = Copy(value, 1, 2) + WithoutSpaces(After(line, "ZONE/", 1));
  } else if (Has(line, "ID  /")) {
    code = Copy(value, 1, 2) + WithoutSpaces(After(line, "ID  /", 1));
  } else if (Has(line, "@")) {
    code = CharAt(value, 1) + WithoutSpaces(After(line, "@"));
  } else if (Has(line, "PT[")) {
    code = std::string(TextUpTo(value, 1, "*"));
    if (Has(line, "AREA")) tail = AreaTail(TextUpTo(LeftTrimmed(After(line, "AREA")), 1, kWordStops));
    code += After(line, "[");
  } else if (Has(line, "ZN")) {
    std::string v = value;
    if (!v.empty()) v[0] = v[0] == '1' ? 'E' : 'R';
    const int g = Pos("G", v);
    if (g > 0) {
      tail = AreaTail(Copy(v, g + 1, 2));
      Delete(v, g - 1, 7);
    }
    code = v;
  } else if (Has(line, "Z/ID/")) {
    return false;
  } else if (Has(line, ":")) {
    code = CharAt(value, 1) + CharAt(line, Pos(":", line) + 1);
  } else if (!Has(line, "=")) {
    code = WithoutSpaces(value);
  } else {
    code = EqualsCode(line, value);
  }
  return true;
}

// Step from the line after the account line to the event's code. False: the report ends here.
bool ReadCode(ReportReader& report, std::string& code, std::string& tail) {
  std::string line = report.Line();
  if (Has(line, "1*2*3*4*5*6*7*8")) {
    code = ZoneMapCode(report.Line());
    return true;
  }
  if (!Has(line, "CODE")) line = report.Line();
  if (Has(line, "A#")) {
    tail = AreaTail(LeftTrimmed(After(line, "ZONE/")));
    // The area line is followed by lines of its own; the last of the four skipped is the one whose
    // label gives the code.
    for (int i = 0; i < kSkippedAfterArea; ++i) line = report.Line();
  }
  // A block without a code line repeats the code last built.
  if (Has(line, "CODE")) return LabelCode(line, code, tail);
  return true;
}

// The account line of the next event; false when the report holds no more.
bool FindAccountLine(ReportReader& report, std::string& line) {
  line = report.Line();
  if (line.size() < kShortLine) {
    if (report.AtEnd()) return false;
    line = report.Line();
  }
  for (int i = 0; i < kMostLinesBeforeAccount && !Has(line, "ACCOUNT") && !report.AtEnd(); ++i) {
    line = report.Line();
  }
  return Has(line, "ACCOUNT");
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  ReportReader report(context);
  if (!report.complete()) return;
  std::string code;
  bool account_line = false;
  while (!report.AtEnd()) {
    std::string line;
    if (!FindAccountLine(report, line)) break;
    account_line = true;
    const std::string account(TextUpTo(line, Pos("ACCOUNT", line) + 8, kWordStops));
    if (account.size() == kAccountEndsReport) break;
    const int label = Pos("LINE", line);
    const std::string line_digit = label > 0 ? CharAt(line, label + 5) : std::string();
    MessageText account_text("0" + (line_digit.empty() ? std::string("0") : line_digit) + account);
    ApplyAccountPrefix(account_text, context.config, 1, 1);
    std::string tail;
    if (!ReadCode(report, code, tail)) break;
    AppendWholeLines(result.text, account_text.str() + " " + code + tail + kLineEnd);
  }
  report.Finish();
  // A report without an account line (the receiver's banner alone) carries no event.
  if (!account_line) result.kind = MessageKind::kNoEvent;
}

}  // namespace

const DecoderFamily kQuickAlertDecoder = {
    "quick_alert",
    Decode,
};

}  // namespace duri
