// Radionics 6600 (type 18) and Radionics 6000 (type 20).
//
// Radionics 6600: message type at 1 ('1', 'b', 'c', 'd' plain reports, 'a' Contact ID, '7', 'S' SIA
// block), receiver digits at 2-3, line digit at 4, the body up to position 20, then an optional
// 14-character stamp block ("hh:mm DD/MM/YY") and DC4. The stamp is not read: the event keeps the
// computer's date and time. Heartbeats carry "@" (or character 254). A Contact ID report as received:
//   "a011 123418E13001005\x14"  ->  account 011 1234, code E130005, area 01
// (receiver 01, line 1, a dropped character, account 1234, two dropped characters "18", qualifier E,
// event 130, group 01, zone 005). The Compress Contact ID option is not offered for this receiver.
// The port is link-supervised, so every message taken marks activity, heartbeats included.
//
// Radionics 6000: positions 1-4 the account, 5-6 the event code, anything else up to DC4 ignored:
//   "123401\x14"  ->  "1234 01"
// The receiver-number and line-number options have no effect; the prefix is written only above '0'.
//
// Recognised: on the 6600 a heartbeat (no event), the seven message types (an SIA block only when
// whole, sia_block.h); any other message is unrecognised and left unanswered so that the receiver
// sends it again. The 6000 has no layout to check: every message with an account or a code is an
// event, a line end alone is line noise. Neither receiver has a negative acknowledgement; none is sent.
#include "decoders/radionics.h"

#include <string>

#include "decoders/account_prefix.h"
#include "decoders/contact_id.h"
#include "decoders/line_steps.h"
#include "decoders/receiver_types.h"
#include "decoders/sia_block.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr int kTypePos = 1;
constexpr int kReceiverDigits = 2;
constexpr int kLineDigits = 1;
// Bodies are 20 characters; a longer message carries the stamp block behind them.
constexpr int kStampPos = 21;
constexpr int kStampLength = 14;
// Plain reports (after the type character is gone): a space at 13 marks the short layout whose
// account is the first three characters and "0000", its rest starting at 15.
constexpr int kShortLayoutPos = 13;
constexpr int kShortHeadLength = 3;
constexpr int kShortBodyPos = 15;
constexpr int kZoneGapPos = 16;
constexpr int kZoneGapEndPos = 15;
constexpr int kAccountGapPos = 4;
// Contact ID: position 2 is the first receiver digit, put back once the dropped characters are gone.
constexpr int kCidFirstReceiverPos = 2;
constexpr int kCidGroupPos = 11;
constexpr int kCodeSpacePos = 8;

constexpr int k6000AccountLength = 4;
constexpr int k6000CodePos = 5;
constexpr int k6000CodeLength = 2;

void PlainReport(MessageText& text) {
  text.Delete(kTypePos, 1);
  if (text.At(kShortLayoutPos) == ' ') {
    std::string account = text.Copy(1, kShortHeadLength) + "0000";
    text.Delete(1, kShortBodyPos - 1);
    RemoveSpaces(text);
    text.Insert(account + " ", 1);
    return;
  }
  DeleteSpacesAt(text, kZoneGapPos);
  if (text.At(kZoneGapEndPos) == ' ') text.Delete(kZoneGapEndPos, 1);
  DeleteSpacesAt(text, kAccountGapPos);
}

void ContactIdReport(MessageText& text) {
  std::string first_receiver_digit = text.Copy(kCidFirstReceiverPos, 1);
  text.Delete(1, 2);  // type and first receiver digit
  text.Delete(8, 2);  // the "18" before the qualifier
  text.Delete(3, 1);  // the character between line digit and account
  text.Append("  [ri" + text.Copy(kCidGroupPos, 2) + "]");
  ContactIdFull(text);
  text.Insert(first_receiver_digit, 1);
  text.Insert(" ", kCodeSpacePos);
}

// The message, terminator included, to its event line (or SIA lines); empty: no event.
void DecodeText(MessageText& text, const DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (IsHeartbeat(text)) {
    result.kind = MessageKind::kNoEvent;
    return;
  }
  const char type = text.At(kTypePos);
  if (text.length() > kStampPos && type != 'S') text.Delete(kStampPos, kStampLength);
  text.Delete(text.Pos(static_cast<char>(kDc4)), 1);
  switch (type) {
    case '1':
    case 'b':
    case 'c':
    case 'd':
      PlainReport(text);
      break;
    case 'a':
      ContactIdReport(text);
      break;
    case '7':
      text.Delete(kTypePos, 1);
      RemoveSpaces(text);
      text.Insert(" ", kCodeSpacePos);
      break;
    case 'S':
      text.Delete(kTypePos, 1);
      if (DecodeSiaBlock(text, context.config, kReceiverDigits, context.type, context.voice_mode_notice)) {
        result.text = text;
      }
      return;
    default:
      return;
  }
  if (text.empty()) return;
  ApplyAccountPrefix(text, context.config, kReceiverDigits, kLineDigits);
  text += kLineEnd;
  result.text = text;
}

void Decode6600(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  context.state.link_activity = 1;
  DecodeText(text, context, result);
}

void Decode6000(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  MessageText account(text.Copy(1, k6000AccountLength));
  MessageText code(text.Copy(k6000CodePos, k6000CodeLength));
  RemoveSpaces(account);
  RemoveSpaces(code);
  if (account.empty() && code.empty()) return;  // a line end alone: no report
  // A CR inside the fixed fields would split the event line in two, the first half posted on an
  // account cut short: the message is garbled and left unanswered, so the receiver sends it again.
  if (account.Pos('\r') != 0 || code.Pos('\r') != 0) return;
  result.text = account;
  result.text += ' ';
  result.text += code;
  result.text += kLineEnd;
  ApplyPrefixAboveZero(result.text, context.config);
}

}  // namespace

const DecoderFamily kRadionics6600Decoder = {"radionics6600", Decode6600};
const DecoderFamily kRadionics6000Decoder = {"radionics6000", Decode6000};

}  // namespace duri
