// Type 13 "Adcor". Messages end with EOT and are at least 32 characters long; the seven characters
// from column 26 are filler, and the receiver prints 'A' where it means '0'. The fourth character
// tells the layout: '1' an eight-channel status (account in 7-10, one digit per channel and the
// format digit after it), otherwise one event whose code comes from columns 12 and 25 (a '0' in
// column 4 marks a short account that gets a '0' at column 7).
//
// Recognised: the two layouts above; a message shorter than 32 characters (the receiver's link test),
// one marked damaged (character 254) and an eight-channel status without a channel to report carry no
// event. No negative acknowledgement is sent.
#include "decoders/adcor.h"

#include <string>

#include "decoders/account_prefix.h"
#include "decoders/channel_status.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr int kShortestReport = 32;
constexpr char kDamaged = static_cast<char>(254);
constexpr int kFillerPos = 26;
constexpr int kFillerLength = 7;
constexpr int kLayoutPos = 4;

void ChannelStatus(MessageText& text, const ReceiverConfig& config, MessageText& out) {
  text.Delete(1, 6);
  RemoveSpaces(text);
  // The prefix goes on the account before the lines are made, so every line carries it.
  MessageText account(text.Copy(1, 4) + " ");
  ApplyPrefixAboveZero(account, config);
  std::string status = text.Copy(5, 9);
  out.Clear();
  ExpandChannelStatus(account.view(), status, out);
}

void SingleEvent(MessageText& text, const ReceiverConfig& config) {
  if (text.At(kLayoutPos) == '0') {
    text.Insert("0", 7);
    text.Delete(11, 1);
  }
  text.SetAt(12, text.At(25));
  text.SetAt(25, ' ');
  if (text.At(13) == ' ') text.Insert("0", 12);
  text.Delete(14, 13);
  text.Append(kLineEnd);
  text.Delete(1, 6);
  ApplyPrefixAboveZero(text, config);
  EndWithLineEnd(text);
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  DecodeAdcorText(text, context, result);
}

}  // namespace

void DecodeAdcorText(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  result.text.Clear();
  if (text.Pos(kDamaged) > 0 || text.length() < kShortestReport) {
    result.kind = MessageKind::kNoEvent;  // the receiver's link test or a report it marks damaged
    return;
  }
  // The EOT that ends the message has no place in the event line; left in, it would stay behind the
  // code when column 13 is blank or the message runs longer.
  if (text.ByteAt(text.length()) == context.state.terminator) text.Delete(text.length(), 1);
  text.Delete(kFillerPos, kFillerLength);
  for (int p = 1; p <= text.length(); ++p)
    if (text.At(p) == 'A') text.SetAt(p, '0');
  if (text.At(kLayoutPos) == '1') {
    ChannelStatus(text, context.config, result.text);
    result.kind = MessageKind::kNoEvent;  // a status with no channel to report
    return;
  }
  SingleEvent(text, context.config);
  result.text = text;
}

const DecoderFamily kAdcorDecoder = {
    "adcor",
    Decode,
};

}  // namespace duri
