// Types 11 "Silent Knight SK9000" and 12 "Silent Knight SK9500". A report is one CR-ended line:
//   MMDD??"hhmm?? ... "field"field"...X\r
// a stamp (month, day, then hour and minute after the first quote at column 7), the account, then
// quote-separated fields, one event each, and a check character before the CR. Fields of 11
// characters are Contact ID ("E" or "R", a pad, Q XYZ GG CCC) or, on the SK9000, an eight-channel
// status; SK9500 fields starting with two lower-case letters modify the next field ("ri" gives the
// area). SOH marks an SK9000 receiver-status report, STX an SK9500 text report; "#" or "!" an SK9000
// error report, which goes to "\ORBA\error.log". Only the SK9500 counts as link activity.
//
// Recognised: reports of the layouts above; a line shorter than a report, an SK9500 line starting with
// ETX and a report marked damaged (character 254) are the receiver's link tests and carry no event, as
// does an SK9000 error report once logged. A report whose stamp has no quote at column 7 is
// unrecognised and left unanswered. No negative acknowledgement is sent.
#include "decoders/silent_knight.h"

#include <cctype>

#include "decoders/account_prefix.h"
#include "decoders/channel_status.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"
#include "store/error_log.h"
#include "store/number_conversion.h"
#include "store/shared_file.h"
#include "store/text.h"

namespace duri {
namespace {

constexpr char kQuote = '"';
constexpr char kSoh = 1;
constexpr char kStx = 2;
constexpr char kEtx = 3;
constexpr char kEnq = 5;
constexpr char kDamaged = static_cast<char>(254);
constexpr int kShortestReport = 15;
constexpr int kQuotePos = 7;
constexpr int kContactIdField = 11;
constexpr int kMostAccount = 20;
constexpr int kMostModifierTail = 10;

bool Contains(const MessageText& text, char c) { return text.Pos(c) > 0; }

// Brings the first quote to column 7 and drops the check character and the CR. A report whose
// first quote stands before column 7, or that has none, cannot take that form.
bool TrimReport(MessageText& text) {
  const int quote = text.Pos(kQuote);
  if (quote < kQuotePos) return false;
  text.Delete(1, quote - kQuotePos);
  const int cr = text.Pos(kLineEnd);
  if (cr > 1) {
    text.Delete(cr - 1, 2);
  } else {
    text.Delete(cr, 1);
  }
  return true;
}

uint16_t Field(const MessageText& text, int pos) {
  return static_cast<uint16_t>(LenientValue(text.Copy(pos, 2)));
}

void ReadStamp(const MessageText& text, const DateRecord& today, DecodedMessage& result) {
  result.date.month = Field(text, 1);
  result.date.day = Field(text, 3);
  result.date.year = StampYear(today, result.date.month);
  result.time.hour = Field(text, 8);
  result.time.minute = Field(text, 10);
}

// The next quote-ended field, removed from the front of the report; false when none is left.
bool NextField(MessageText& rest, std::string& field) {
  const int quote = rest.Pos(kQuote);
  if (quote == 0) return false;
  field = rest.Copy(1, quote - 1);
  rest.Delete(1, quote);
  return true;
}

// Account characters up to the next quote, which go with it.
void TakeAccountRest(MessageText& rest, std::string& account) {
  const int quote = rest.Pos(kQuote);
  std::string more = quote > 0 ? rest.Copy(1, quote - 1) : rest.str();
  account += more;
  if (account.size() > kMostAccount) account.resize(kMostAccount);
  rest.Delete(1, quote > 0 ? quote : rest.length());
}

// "E" or "R", a pad, then Q XYZ GG CCC: Q '1' (new event) becomes 'E', else 'R'; the group goes into
// the area marker.
std::string ContactIdField(std::string field, std::string& tail) {
  field.erase(0, 2);
  if (!field.empty()) field[0] = field[0] == '1' ? 'E' : 'R';
  tail = "  [ri" + Copy(field, 5, 2) + "]";
  Delete(field, 5, 2);
  return field;
}

void AppendLine(MessageText& out, const std::string& account, const std::string& code,
                const std::string& tail) {
  AppendWholeLines(out, account + " " + code + tail + kLineEnd);
}

void Sk9000Events(MessageText& rest, const DecodeContext& context, MessageText& out) {
  rest.Delete(1, 13);
  std::string account(1, rest.At(1));
  rest.Delete(1, 2);
  TakeAccountRest(rest, account);
  if (context.config.line_number == 0 && !account.empty()) account.erase(0, 1);
  if (static_cast<unsigned char>(context.config.prefix) > '0') account.insert(0, 1, context.config.prefix);

  std::string field;
  while (NextField(rest, field)) {
    if (field.size() == kContactIdField && (field[0] == 'E' || field[0] == 'R')) {
      std::string tail;
      std::string code = ContactIdField(field, tail);
      AppendLine(out, account, code, tail);
    } else if (field.size() == kContactIdField) {
      std::string status;
      for (char c : field)
        if (c != ' ') status.push_back(c);
      // Expanded on its own and added: formats that start a fresh result would otherwise wipe the
      // events of the fields before it.
      MessageText lines;
      ExpandChannelStatus(account + " ", status, lines);
      AppendWholeLines(out, lines.view());
    } else {
      AppendLine(out, account, field, "");
    }
  }
}

void Sk9500TextReport(MessageText& rest, std::string account, const ReceiverConfig& config,
                      MessageText& out) {
  account += "000000";
  std::string body;
  for (char c : rest.view())
    if (c != kQuote) body.push_back(c);
  if (!body.empty() && body[0] >= 'A' && body[0] <= 'Z') body.insert(0, 1, body[0]);
  out.Assign(account + " " + FoldUpper(body) + kLineEnd);
  ApplyAccountPrefix(out, config, 2, 2);
  EndWithLineEnd(out);
}

bool IsModifier(const std::string& field) {
  return field.size() >= 2 && std::islower(static_cast<unsigned char>(field[0])) &&
         std::islower(static_cast<unsigned char>(field[1]));
}

void Sk9500Events(MessageText& rest, std::string account, const ReceiverConfig& config,
                  MessageText& out) {
  rest.Delete(1, 3);
  account += rest.Copy(1, 2);
  rest.Delete(1, rest.Pos(kEnq));
  TakeAccountRest(rest, account);
  MessageText prefixed(account);
  ApplyAccountPrefix(prefixed, config, 2, 2);
  account = prefixed.str();

  std::string tail;  // carries over from field to field
  std::string field;
  while (NextField(rest, field)) {
    if (field.size() == kContactIdField) {
      field = ContactIdField(field, tail);
    } else if (IsModifier(field)) {
      if (field.starts_with("ri")) tail = ("  [" + field + "]").substr(0, kMostModifierTail);
      // A modifier with nothing after it modifies no event.
      if (!NextField(rest, field)) break;
    }
    AppendLine(out, account, field, tail);
  }
}

void DecodeSk9000(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeSk9000Text(text, context, result);
}

void DecodeSk9500(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  context.state.link_activity = 1;
  DecodeSk9500Text(text, context, result);
}

}  // namespace

std::string SkReceiverStatus(std::string_view report) {
  size_t at = 0;
  while (at < report.size() && static_cast<unsigned char>(report[at]) < 'p') ++at;
  if (at == report.size()) return "XXX";
  const std::string xy(report.substr(at + 1, 2));
  switch (static_cast<unsigned char>(report[at])) {
    case 'p': return "ALC" + xy;
    case 'q': return "APL" + xy;
    case 's': return "RPL" + xy;
    case 'w': return "AAC";
    case 'x': return "RAC";
    case 'y': return "ABAT";
    case 'z': return "RBAT";
    case '{': return "APC";
    case '}': return "RPC";
    case '~': return "LOFF" + xy;
    case 127: return "LON" + xy;
    default: return "XXX";
  }
}

void DecodeSk9000Text(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (Contains(text, kDamaged) || text.length() < kShortestReport) {
    result.kind = MessageKind::kNoEvent;  // the receiver's link test or a report it marks damaged
    return;
  }
  const bool receiver_status = Contains(text, kSoh);
  if (!TrimReport(text)) return;
  if (Contains(text, '#') || Contains(text, '!')) {
    if (context.data != nullptr) LogReceiverReport(*context.data, text.view());
    result.kind = MessageKind::kNoEvent;  // an error report, kept in the error log
    return;
  }
  text.Append(kQuote);
  ReadStamp(text, context.today, result);
  if (receiver_status) {
    result.text.Assign("000000 " + SkReceiverStatus(text.view()) + kLineEnd);
    ApplyAccountPrefix(result.text, context.config, 1, 1);
    return;
  }
  Sk9000Events(text, context, result.text);
}

void DecodeSk9500Text(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (text.At(1) == kEtx || Contains(text, kDamaged) || text.length() < kShortestReport) {
    result.kind = MessageKind::kNoEvent;  // the receiver's link test or a report it marks damaged
    return;
  }
  const bool text_report = Contains(text, kStx);
  if (!TrimReport(text)) return;
  text.Append(kQuote);
  ReadStamp(text, context.today, result);
  std::string account = text.Copy(15, 2);
  text.Delete(1, 22);
  if (text_report) {
    Sk9500TextReport(text, account, context.config, result.text);
  } else {
    Sk9500Events(text, account, context.config, result.text);
  }
}

const DecoderFamily kSk9000Decoder = {
    "sk9000",
    DecodeSk9000,
};

const DecoderFamily kSk9500Decoder = {
    "sk9500",
    DecodeSk9500,
};

}  // namespace duri
