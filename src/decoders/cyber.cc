// Type 16 "Cyber" (acknowledged with 'A', receiver setup). CR-ended messages of two layouts:
//   26 characters: two lead characters, account (3-6), code (7-8), six columns, then the receiver's
//                  stamp DDMMYYhhmmss in 13-24, e.g. "xx1234E1......081226101530\r"; the event is
//                  dated by the stamp.
//   30 characters starting with "G": the account is built from columns 4, 19 and 5-9 (receiver
//                  digit, line digit, five account characters); column 3 tells where the code is.
//
// Recognised: the two layouts above; a line shorter than 26 characters is the receiver's link test and
// carries no event. Any other line is unrecognised and left unanswered, so that the receiver sends it
// again; the model's only answer is its acknowledgement 'A', so no negative acknowledgement is sent.
#include "decoders/cyber.h"

#include <string>

#include "decoders/account_prefix.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"
#include "store/number_conversion.h"

namespace duri {
namespace {

constexpr int kStampedLength = 26;
constexpr int kStampPos = 13;
constexpr int kStampLength = 12;
constexpr int kGroupReportLength = 30;

uint16_t StampField(const std::string& stamp, int pos) {
  return static_cast<uint16_t>(LenientValue(Copy(stamp, pos, 2)));
}

void StampedReport(MessageText& text, const ReceiverConfig& config, DecodedMessage& result) {
  std::string stamp = text.Copy(kStampPos, kStampLength);
  text.Delete(9, 18);
  text.Delete(1, 2);
  text.Insert(" ", 5);
  text.Append(kLineEnd);
  ApplyPrefixAboveZero(text, config);
  result.date.day = StampField(stamp, 1);
  result.date.month = StampField(stamp, 3);
  result.date.year = StampField(stamp, 5);
  result.time.hour = StampField(stamp, 7);
  result.time.minute = StampField(stamp, 9);
  result.time.second = StampField(stamp, 11);
  FixDate(result.date);
}

void GroupReport(MessageText& text, const ReceiverConfig& config) {
  std::string line;
  line += text.At(4);
  line += text.At(19);
  line += text.Copy(5, 5);
  switch (text.At(3)) {
    case '1':
      line += " " + text.Copy(24, 2);
      break;
    case '2':
      line += std::string(" ") + text.At(13) + text.At(18);
      break;
    case '3':
      line += " " + text.Copy(10, 4) + text.Copy(16, 3) + "  [ri" + text.Copy(14, 2) + "]";
      break;
    default:
      break;
  }
  text.Assign(line);
  ApplyAccountPrefix(text, config, 1, 1);
  text.Append(kLineEnd);
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeCyberText(text, context, result);
}

}  // namespace

void DecodeCyberText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (text.length() == kStampedLength) {
    StampedReport(text, context.config, result);
  } else if (text.length() == kGroupReportLength && text.At(1) == 'G') {
    GroupReport(text, context.config);
  } else {
    // Shorter than a report: the receiver's link test. Noise only ever adds bytes to a report.
    if (text.length() < kStampedLength) result.kind = MessageKind::kNoEvent;
    return;
  }
  result.text = text;
}

const DecoderFamily kCyberDecoder = {
    "cyber",
    Decode,
};

}  // namespace duri
