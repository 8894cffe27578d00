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
// Sample: "5011 181234E13001005\x14" (Contact ID, receiver 01, line 1, account 1234, alarm on zone 5 of
// group 01) gives the line "00111234 E130005  [ri01]\r" with both account-digit flags on.
#include "decoders/surgard.h"

#include <string>

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
  if (IsHeartbeat(text)) return;
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
