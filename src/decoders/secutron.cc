// Type 10 "Secutron Digitel". One report per CR-ended line of 14 characters whose second character
// is '0' or '5', for example "x5 1 1234 E1\r"; two receiver digits and one line digit lead the account,
// and an account of four characters gets "00" in front of it. Anything else is not an event.
//
// Recognised: a report of the layout above, and a line shorter than a report, which is the
// receiver's link test (no event). A longer line that is not a report is unrecognised and left
// unanswered; noise only ever lengthens a line, so it never passes for a link test. No negative
// acknowledgement exists for this receiver; none is sent.
#include "decoders/secutron.h"

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr int kReportLength = 14;
constexpr int kShortAccountReport = 8;

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeSecutronText(text, context, result);
}

}  // namespace

void DecodeSecutronText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  // Shorter than a report: the receiver's link test. Noise only ever adds bytes to a report.
  if (text.length() < kReportLength) result.kind = MessageKind::kNoEvent;
  if (text.length() != kReportLength || (text.At(2) != '0' && text.At(2) != '5')) return;
  RemoveSpaces(text);
  text.Delete(1, 3);
  if (text.length() == kShortAccountReport) text.Insert("00", 3);
  text.Insert(" ", 7);
  ApplyAccountPrefix(text, context.config, 2, 1);
  KeepFirstLine(text);
  result.text = text;
}

const DecoderFamily kSecutronDecoder = {
    "secutron",
    Decode,
};

}  // namespace duri
