// Sur-Gard computer output, spoken by the Sur-Gard SLR/MLR2 and MLR2000 receivers and by the Radionics
// 6500 and Europlex receivers in their Sur-Gard mode.
//
// A message ends with DC4 (20) and starts with a message-type character: '1', '6', 'F', 'T' (fixed
// layouts), '3', '5' (Contact ID), '7', or 'S' (an SIA block). Then come two receiver digits and one
// line digit (three on the MLR2000), the account and the event, in a body of 20 characters after
// which the receiver may add its time stamp "HH:MM[:SS] DD/MM[/YY]". A "{" starts free text up to
// the terminator. Heartbeats (link tests) hold "@" (some firmware sends character 254 instead) and are
// never posted. The Europlex never sends heartbeats, so its link is not supervised.
//
// Recognised: a message whose valid start is a message-type character followed by the receiver and
// line digits (hexadecimal) and then one of the layouts: a heartbeat ("@" after the head, carries no
// event), a Contact ID body of exactly " 18", account, qualifier, event, group and zone, an SIA block
// that is whole (sia_block.h), or a fixed layout of printable characters of at most 20 (MLR2000: 22)
// characters, each of the last two optionally followed by a stamp of the shape above. Bytes before
// the first position where such a start is found are line noise: dropped and counted, the rest is
// decoded; inside the message a fixed layout only counts with its stamp. Whatever fits none of them is unrecognised and left unanswered; these receivers resend an
// unanswered message after their time-out, so no negative acknowledgement is sent (a NAK that line
// noise garbled into another byte would be no better than silence, and silence is what every model
// of the catalogue understands).
//
// Sample: "5011 181234E13001005\x14" (Contact ID, receiver 01, line 1, account 1234, alarm on zone 5 of
// group 01) gives the line "00111234 E130005  [ri01]\r" with both account-digit flags on.
#include "decoders/surgard.h"

#include <string>
#include <string_view>

#include "decoders/account_prefix.h"
#include "decoders/contact_id.h"
#include "decoders/line_steps.h"
#include "decoders/sia_block.h"
#include "decoders/take_message.h"
#include "store/number_conversion.h"

namespace duri {
namespace {

constexpr int kEuroplex = 6;
constexpr int kMlr2000 = 21;
constexpr char kTerminator = 20;
constexpr int kTypePos = 1;
constexpr int kExtraLinePos = 4;  // the MLR2000's two further line digits
constexpr int kStampPos = 21;     // the stamps follow a body of 20 characters
constexpr int kSecondsMarkPos = 26;
constexpr int kAreaPos = 16;  // area digit of message type '1' once the type character is gone

constexpr int kBodyLength = 20;  // the body before the stamps (the MLR2000's two extra digits aside)
constexpr int kCidBodyLength = 16;  // " 18", account 4, qualifier, event 3, group 2, zone 3
constexpr std::string_view kMessageTypes = "16FT357S";
constexpr char kDamaged = static_cast<char>(254);  // a heartbeat of some firmware
constexpr std::string_view kBodyEnds("\x14{", 2);  // the terminator, the free text

bool Printable(std::string_view s) {
  for (char c : s) {
    if (c < ' ' || c > '~') return false;
  }
  return true;
}

bool AllHex(std::string_view s) {
  for (char c : s) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

// "HH:MM DD/MM", with ":SS" and "/YY" optional; the fields are read leniently, only the separators
// give the shape.
bool IsStamp(std::string_view s) {
  if (s.size() < 11 || s[2] != ':') return false;
  const size_t time_length = s[5] == ':' ? 8 : 5;
  if (s.size() <= time_length || s[time_length] != ' ') return false;
  std::string_view date = s.substr(time_length + 1);
  if (date.size() == 5) return date[2] == '/';
  return date.size() == 8 && date[2] == '/' && date[5] == '/' && Printable(s);
}

// Whether the message from its first character fits one of the layouts (see the header comment).
// Inside a message (anchored false) a fixed layout counts only with its stamp: its loose body would
// otherwise match the tail of many a message, such as "1234 BA01" in "X011 1234 BA01".
bool FitsLayout(std::string_view message, int type, bool anchored) {
  constexpr size_t kHead = 4;  // type, receiver digits, line digit
  if (message.size() < kHead || kMessageTypes.find(message[0]) == std::string_view::npos ||
      !AllHex(message.substr(1, kHead - 1))) {
    return false;
  }
  if (message.find('@', kHead) != std::string_view::npos || message.find(kDamaged, kHead) != std::string_view::npos) {
    return true;  // a heartbeat
  }
  const size_t head = type == kMlr2000 ? kHead + 2 : kHead;
  if (message.size() < head || !AllHex(message.substr(1, head - 1))) return false;
  const std::string_view body = message.substr(0, message.find_first_of(kBodyEnds));
  const size_t fixed = type == kMlr2000 ? kBodyLength + 2 : kBodyLength;
  const char message_type = message[0];
  if (message_type == 'S') return IsWholeSiaBlock(message.substr(1));
  if (message_type == '5') {
    if (body.size() < head + kCidBodyLength) return false;
    std::string_view cid = body.substr(head, kCidBodyLength);
    if (cid.substr(0, 3) != " 18" || !AllHex(cid.substr(3, 4)) || cid[7] < 'A' || cid[7] > 'Z' ||
        !AllHex(cid.substr(8))) {
      return false;
    }
    return body.size() == head + kCidBodyLength || IsStamp(body.substr(head + kCidBodyLength));
  }
  if (!Printable(body)) return false;
  return (anchored && body.size() <= fixed) || (body.size() > fixed && IsStamp(body.substr(fixed)));
}

// The first position from which the message fits a layout; 0 when there is none.
int ValidStart(const MessageText& text, int type) {
  const std::string_view view = text.view();
  for (size_t p = 0; p < view.size(); ++p) {
    if (FitsLayout(view.substr(p), type, p == 0)) return static_cast<int>(p) + 1;
  }
  return 0;
}

uint16_t Field(const MessageText& text, int p) {
  return static_cast<uint16_t>(LenientValue(text.Copy(p, 2)));
}

// "{" text up to the terminator moves to the second text, after a space.
void TakeFreeText(MessageText& text, DecodedMessage& result) {
  const int brace = text.Pos('{');
  if (brace == 0) return;
  int end = text.Pos(kTerminator);
  if (end < brace) end = text.length() + 1;
  result.second_text.Assign(" " + text.Copy(brace, end - brace));
  text.Delete(brace, end - brace);
}

// "HH:MM[:SS] DD/MM[/YY]" at position 21.
void ReadStamps(MessageText& text, DecodedMessage& result) {
  result.time.hour = Field(text, kStampPos);
  result.time.minute = Field(text, kStampPos + 3);
  if (text.At(kSecondsMarkPos) == ':') {
    result.time.second = Field(text, kStampPos + 6);
    text.Delete(kStampPos, 9);
  } else {
    text.Delete(kStampPos, 6);
  }
  result.date.day = Field(text, kStampPos);
  result.date.month = Field(text, kStampPos + 3);
  if (text.At(kSecondsMarkPos) == '/') {
    result.date.year = Field(text, kStampPos + 6);
    text.Delete(kStampPos, 8);
  } else {
    text.Delete(kStampPos, 5);
  }
}

// Message types '1', '6', 'F' and 'T': join receiver and line digits to the account, close the gap
// before the event. Type '1' carries the area at position 16.
void FixedLayout(MessageText& text, std::string& area) {
  const char message_type = text.At(kTypePos);
  text.Delete(kTypePos, 1);
  if (message_type == '1' && text.length() >= kAreaPos && text.At(kAreaPos) != ' ') {
    area = std::string("  [ri") + text.At(kAreaPos) + "]";
    text.Delete(kAreaPos, 1);
  }
  DeleteSpacesAt(text, kAreaPos);
  if (text.At(15) == ' ') text.Delete(15, 1);
  DeleteSpacesAt(text, 4);
}

// '5' R R L ' ' '1' '8' A A A A Q X Y Z G G C C C: Contact ID.
void ContactIdLayout(MessageText& text, const ReceiverConfig& config) {
  const std::string first_receiver_digit = text.Copy(2, 1);
  text.Delete(1, 2);
  text.Delete(3, 3);
  const std::string area = "  [ri" + text.Copy(11, 2) + "]";
  const int terminator = text.Pos(kTerminator);
  text.Insert(area, terminator > 0 ? terminator : text.length() + 1);
  ContactIdTranslate(text, config);
  text.Insert(first_receiver_digit, 1);
  text.Insert(" ", 8);
}

}  // namespace

void DecodeSurGardText(MessageText& text, const DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  const int start = ValidStart(text, context.type);
  if (start == 0) return;  // unrecognised
  DropNoiseBefore(text, start, result);
  if (IsHeartbeat(text)) {
    result.kind = MessageKind::kNoEvent;
    return;
  }
  TakeFreeText(text, result);

  const char message_type = text.At(kTypePos);
  std::string extra_line_digits;
  if (context.type == kMlr2000 && message_type != 'S') {
    extra_line_digits = text.Copy(kExtraLinePos, 2);
    text.Delete(kExtraLinePos, 2);
  }
  if (text.length() > 21 && message_type != 'S') ReadStamps(text, result);

  std::string area;
  switch (message_type) {
    case '1':
    case '6':
    case 'F':
    case 'T':
      FixedLayout(text, area);
      break;
    case '3':
      text.Delete(kTypePos, 1);
      text.Insert(" ", 14);
      DeleteSpacesAt(text, 17);
      DeleteSpacesAt(text, 4);
      break;
    case '5':
      ContactIdLayout(text, context.config);
      break;
    case '7':
      text.Delete(kTypePos, 1);
      for (int p = text.Pos(' '); p > 0; p = text.Pos(' ')) text.Delete(p, 1);
      text.Insert(" ", 8);
      break;
    case 'S':
      text.Delete(kTypePos, 1);
      DecodeSiaBlock(text, context.config, 2, context.type, context.voice_mode_notice);
      result.text = text;
      return;
    default:
      return;
  }

  if (text.empty()) return;
  if (context.type == kMlr2000) {
    text.Insert(extra_line_digits, 3);
    ApplyAccountPrefix(text, context.config, 2, 3);
  } else {
    ApplyAccountPrefix(text, context.config, 2, 1);
  }
  text.Delete(text.Pos(kTerminator), 1);
  text.Append(area);
  text.Append(kLineEnd);
  if (message_type == 'F' && text.Pos(' ') == 11) text.Delete(1, 1);
  result.text = text;
}

namespace {

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  if (context.type != kEuroplex) context.state.link_activity = 1;
  DecodeSurGardText(text, context, result);
}

}  // namespace

const DecoderFamily kSurGardDecoder = {
    "surgard",  // name
    Decode,     // decode
};

}  // namespace duri
