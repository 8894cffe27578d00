// Type 15 "FSK". Messages end with EOT. Without its spaces a message is one lead character, the
// five-character account, ten characters of which 11-12 are a column the receiver fills, then the
// code; a report of eight '0' in a row is the receiver's idle line, not an event.
// The EOT that ends the message is replaced by the CR that ends an event line: event intake only
// takes CR-ended lines.
//
// Recognised: every report is an event except the idle line of eight '0', which carries none; a bare
// EOT is line noise. No negative acknowledgement is sent.
#include "decoders/fsk.h"

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeFskText(text, context, result);
}

}  // namespace

void DecodeFskText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  RemoveSpaces(text);
  text.Delete(11, 2);
  text.Delete(1, 1);
  if (text.Pos("00000000") > 0) {
    result.kind = MessageKind::kNoEvent;  // the receiver's idle line
    return;
  }
  if (!text.empty() && text.ByteAt(text.length()) == context.state.terminator) {
    text.Delete(text.length(), 1);
  }
  if (text.empty()) return;  // a bare terminator
  text.Insert(" ", 6);
  ApplyPrefixAboveZero(text, context.config);
  EndWithLineEnd(text);
  result.text = text;
}

const DecoderFamily kFskDecoder = {
    "fsk",
    Decode,
};

}  // namespace duri
