// Type 14 "RDC". Every CR-ended message is one event: four account characters, then the code and
// text, for example "1234E130 01 005\r" becomes "1234 E130 01 005\r".
//
// Recognised: every message with characters before its CR is an event (the layout has nothing else to
// check); a bare CR is the receiver's link test and carries no event. No negative acknowledgement is
// sent.
#include "decoders/rdc.h"

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr int kCodePos = 5;

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeRdcText(text, context, result);
}

}  // namespace

void DecodeRdcText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (text.empty() || text.view() == std::string_view(&kLineEnd, 1)) {
    result.kind = MessageKind::kNoEvent;  // a bare line end: the receiver's link test
    return;
  }
  // A message shorter than the account gets its space before the CR, so the line still ends there.
  int at = kCodePos;
  int cr = text.Pos(kLineEnd);
  if (cr > 0 && cr < at) at = cr;
  text.Insert(" ", at);
  ApplyPrefixAboveZero(text, context.config);
  EndWithLineEnd(text);
  result.text = text;
}

const DecoderFamily kRdcDecoder = {
    "rdc",
    Decode,
};

}  // namespace duri
