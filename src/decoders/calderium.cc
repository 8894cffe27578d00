// KELD Calderium and QRX (types 1 and 2) and Calderium Enhanced (type 19).
//
// A message is the receiver's stamp, two separators, the body and CR:
//   "14:35  12/31  121234 3\r"         hour 14, minute 35, month 12, day 31, pulse body 121234 3
//   "14:35  12/31/26  12123418E13001005\r"  the same with a two-digit year and a Contact ID body
// Only positions 1-2 (hour), 4-5 (minute), 8-9 (month) and 11-12 (day) of the stamp are read. The
// enhanced receiver sends four more characters behind the first twelve; of "/?y??y" only the slash and
// the two year digits are kept. A stamp without a year is dated in the computer's year, except around
// the new year (a December stamp read in January is last year's, a January stamp read in December next
// year's). Free text from "{" up to the CR goes to the second text.
//
// The body, spaces removed, is told apart by the position p of its CR (pulse formats: p 7, 8 to 11,
// 12, 14, each with a space put before its code) or by its length (18 Contact ID, 16 eight-channel
// status); a body holding "[#" is an SIA block. Heartbeats carry "@" (or character 254). The ports are
// link-supervised: every message taken marks activity.
//
// Recognised: a message that, from a stamp with ':' at its third and '/' at its tenth character,
// is a heartbeat (carries no event), an eight-channel status (an empty one carries no event) or gives
// event lines by one of the layouts (an SIA block only when whole, sia_block.h). The first such stamp
// is the message's start; the bytes before it are line noise, dropped and counted. Anything else is
// unrecognised and left unanswered: the receiver resends it. No negative acknowledgement is sent; the
// receiver knows only its acknowledgement character, and silence makes it resend.
#include "decoders/calderium.h"

#include <string>
#include <string_view>

#include "decoders/account_prefix.h"
#include "decoders/channel_status.h"
#include "decoders/contact_id.h"
#include "decoders/line_steps.h"
#include "decoders/sia_block.h"
#include "decoders/take_message.h"
#include "store/number_conversion.h"

namespace duri {
namespace {

constexpr int kReceiverDigits = 1;
constexpr int kLineDigits = 1;
// The stamp.
constexpr int kHourPos = 1;
constexpr int kMinutePos = 4;
constexpr int kMonthPos = 8;
constexpr int kDayPos = 11;
constexpr int kStampLength = 12;
constexpr int kYearMark = '/';
constexpr int kSeparatorLength = 2;
// Bodies.
constexpr int kHeadLength = 6;  // receiver digit, line digit, four account digits
constexpr int kContactIdLength = 18;
constexpr int kChannelStatusLength = 16;
constexpr int kCidPrefixPos = 7;  // the "18" before the qualifier
constexpr int kCidGroupPos = 11;
constexpr int kCodeSpacePos = 7;
constexpr int kChannelStatusPos = 7;
constexpr int kChannelStatusDigits = 9;

uint16_t StampField(const MessageText& text, int p) {
  return static_cast<uint16_t>(LenientValue(text.Copy(p, 2)));
}

// Moves the "{" text, up to the first CR, into the second text.
void TakeFreeText(MessageText& text, MessageText& second_text) {
  const int brace = text.Pos('{');
  if (brace == 0) return;
  const int cr = text.Pos(kLineEnd);
  const int count = cr > brace ? cr - brace : text.length() - brace + 1;
  second_text = " " + text.Copy(brace, count);
  text.Delete(brace, count);
}

// Reads the stamp into the event's date and time and removes it, up to the body.
void TakeStamp(MessageText& text, bool enhanced, const DateRecord& today, DecodedMessage& result) {
  result.time.hour = StampField(text, kHourPos);
  result.time.minute = StampField(text, kMinutePos);
  result.date.month = StampField(text, kMonthPos);
  result.date.day = StampField(text, kDayPos);
  text.Delete(1, kStampLength);
  if (enhanced) {
    text.Delete(2, 2);
    text.Delete(3, 2);
  }
  if (text.At(1) == kYearMark) {
    result.date.year = StampField(text, 2);  // two digits, widened by the caller
    text.Delete(1, 3);
  } else {
    result.date.year = StampYear(today, result.date.month);
  }
  text.Delete(1, kSeparatorLength);
}

// The space that parts a pulse body's head from its code, by the position of the CR; 0 for none.
int PulseCodePos(int cr) {
  if (cr >= 8 && cr <= 11) return 7;
  if (cr == 7) return 6;
  if (cr == 14) return 11;
  if (cr == 12) return 9;
  return 0;
}

// Lengths count the CR, which must still end the body (a message cut at the capacity has lost it).
int LayoutLength(const MessageText& text) {
  return text.At(text.length()) == kLineEnd ? text.length() : 0;
}

void DecodeBody(MessageText& text, const DecodeContext& context, DecodedMessage& result) {
  const ReceiverConfig& config = context.config;
  if (text.Pos("[#") > 0) {
    if (DecodeSiaBlock(text, config, kReceiverDigits, context.type, context.voice_mode_notice)) result.text = text;
    return;
  }
  RemoveSpaces(text);
  const int code_pos = PulseCodePos(text.Pos(kLineEnd));
  const int length = LayoutLength(text);
  if (code_pos > 0) {
    text.Insert(" ", code_pos);
    ApplyAccountPrefix(text, config, kReceiverDigits, kLineDigits);
    result.text = text;
  } else if (length == kContactIdLength) {
    text.Delete(kCidPrefixPos, 2);
    text.Insert("  [ri" + text.Copy(kCidGroupPos, 2) + "]", text.Pos(kLineEnd));
    ContactIdTranslate(text, config);
    text.Insert(" ", kCodeSpacePos);
    ApplyAccountPrefix(text, config, kReceiverDigits, kLineDigits);
    result.text = text;
  } else if (length == kChannelStatusLength) {
    MessageText account(text.Copy(1, kHeadLength) + " ");
    ApplyAccountPrefix(account, config, kReceiverDigits, kLineDigits);
    ExpandChannelStatus(account.view(), text.Copy(kChannelStatusPos, kChannelStatusDigits), result.text);
    result.kind = MessageKind::kNoEvent;  // a status with no channel to report
  }
}

// The stamp's separators where a message can start: ':' after the hour, '/' after the month.
bool StampAt(std::string_view text, size_t p) {
  return p + kStampLength <= text.size() && text[p + kHourPos + 1] == ':' && text[p + kMonthPos + 1] == '/';
}

// Decodes the message from its stamp on; false when it is not one of the layouts.
bool DecodeFromStamp(MessageText& text, const DecodeContext& context, bool enhanced, DecodedMessage& result) {
  if (IsHeartbeat(text)) {
    result.kind = MessageKind::kNoEvent;
    return true;
  }
  TakeFreeText(text, result.second_text);
  TakeStamp(text, enhanced, context.today, result);
  DecodeBody(text, context, result);
  return !result.text.empty() || result.kind == MessageKind::kNoEvent;
}

void DecodeStamped(DecodeContext& context, DecodedMessage& result, bool enhanced) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  context.state.link_activity = 1;
  const std::string message = text.str();
  for (size_t p = 0; p < message.size(); ++p) {
    if (!StampAt(message, p)) continue;
    MessageText from(std::string_view(message).substr(p));
    DecodedMessage attempt = result;
    if (DecodeFromStamp(from, context, enhanced, attempt)) {
      result = attempt;
      result.noise_bytes += static_cast<int>(p);
      return;
    }
  }
}

void DecodeCalderium(DecodeContext& context, DecodedMessage& result) { DecodeStamped(context, result, false); }

void DecodeCalderiumEnhanced(DecodeContext& context, DecodedMessage& result) {
  DecodeStamped(context, result, true);
}

}  // namespace

const DecoderFamily kCalderiumDecoder = {"calderium", DecodeCalderium};
const DecoderFamily kCalderiumEnhancedDecoder = {"calderium_enhanced", DecodeCalderiumEnhanced};

}  // namespace duri
