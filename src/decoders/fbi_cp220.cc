// Type 8 "FBI CP220". The port opens with "S" (receiver setup). Messages end with CR and are told
// apart by their length L (CR included) once the receiver reports ("RCVA", "RCVB", "LINE") and the
// "@" status lines are set aside:
//   L 7..12   pulse formats          "11 1234 15\r"
//   L 21      eight-channel status   one status digit per channel and a format digit
//   L 26      Contact ID             "\n11 1234 18 E130 01 x 005\r" (one dropped column after the group)
//   L 32, 41  opening/closing list   an 8-character account and two or three groups of eight users;
//                                    read only when its one CR is the last character
// Receiver digit and line digit lead the account. Every message counts as link activity.
//
// Recognised: a heartbeat ("@", no event), a receiver report, an eight-channel status (an empty one
// carries no event) and the layouts by length; anything else is unrecognised and left unanswered so
// that the receiver sends it again. The receiver has no negative acknowledgement; none is sent.
#include "decoders/fbi_cp220.h"

#include <string>

#include "decoders/account_prefix.h"
#include "decoders/channel_status.h"
#include "decoders/contact_id.h"
#include "decoders/line_steps.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr int kStatusLength = 21;
constexpr int kContactIdLength = 26;
constexpr int kShortestPulse = 7;
constexpr int kLongestPulse = 12;
constexpr int kShortList = 32;
constexpr int kLongList = 41;
constexpr int kListGroup = 8;
constexpr int kMostListGroups = 3;  // (41 - 13) / 9

void ReceiverReport(MessageText& text, const ReceiverConfig& config) {
  if (text.Pos("LINE") > 0) {
    text.Delete(4, 3);
  } else {
    text.Delete(3, 3);
  }
  text.Insert("0000 ", 3);
  ApplyAccountPrefix(text, config, 1, 1);
}

void ChannelStatus(MessageText& text, const ReceiverConfig& config, MessageText& out) {
  text.Delete(1, 1);
  RemoveSpaces(text);
  MessageText account(text.Copy(1, 6) + " ");
  ApplyAccountPrefix(account, config, 1, 1);
  std::string status = text.Copy(7, 9);
  out.Clear();
  ExpandChannelStatus(account.view(), status, out);
}

void ContactId(MessageText& text, const ReceiverConfig& config) {
  text.Delete(1, 1);
  RemoveSpaces(text);
  text.Delete(15, 1);
  text.Delete(7, 2);
  std::string area = "  [ri" + text.Copy(11, 2) + "]";
  int cr = text.Pos(kLineEnd);
  text.Insert(area, cr > 0 ? cr : text.length() + 1);
  ContactIdTranslate(text, config);
  text.Insert(" ", 7);
  ApplyAccountPrefix(text, config, 1, 1);
}

void Pulse(MessageText& text, const ReceiverConfig& config) {
  RemoveSpaces(text);
  text.Insert(" ", 7);
  ApplyAccountPrefix(text, config, 1, 1);
  KeepFirstLine(text);
}

void AppendWhole(MessageText& text, const std::string& line) {
  if (text.length() + line.size() <= MessageText::kCapacity) text.Append(line);
}

// The lines are built behind the unread part of the message, in the same text: each group of eight
// characters (and its separator) leaves the front, its lines join the back, until the message's CR
// stands first. A line that does not fit whole in the text is left out: a cut piece would carry a
// damaged account or code.
void OpeningClosingList(MessageText& text) {
  text.Delete(1, 4);
  const std::string account = text.Copy(1, 8) + " ";
  text.Delete(1, 9);
  char group_digit = '0';
  bool first = true;
  for (int groups = 0; groups < kMostListGroups && text.Pos(kLineEnd) > 1; ++groups) {
    std::string group = text.Copy(1, kListGroup);
    text.Delete(1, kListGroup + 1);
    if (first) {
      AppendWhole(text, account + (group.starts_with('0') ? "O01" : "C01") + kLineEnd);
      if (!group.empty()) group.erase(0, 1);
      first = false;
    }
    for (char c : group) {
      if (static_cast<unsigned char>(c) > '0') AppendWhole(text, account + "A" + group_digit + c + kLineEnd);
    }
    ++group_digit;
  }
  text.Delete(1, 1);
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  context.state.link_activity = 1;
  DecodeFbiCp220Text(text, context, result);
}

}  // namespace

void DecodeFbiCp220Text(MessageText& text, DecodeContext& context, DecodedMessage& result) {
  const ReceiverConfig& config = context.config;
  const int length = text.length();
  result.text.Clear();
  if (text.Pos('@') > 0) {
    result.kind = MessageKind::kNoEvent;  // a heartbeat
    return;
  }
  if (text.Pos("RCVA") > 0 || text.Pos("RCVB") > 0 || text.Pos("LINE") > 0) {
    ReceiverReport(text, config);
  } else if (length == kStatusLength) {
    ChannelStatus(text, config, result.text);
    result.kind = MessageKind::kNoEvent;  // a status with no channel to report
    return;
  } else if (length == kContactIdLength) {
    ContactId(text, config);
  } else if (length >= kShortestPulse && length <= kLongestPulse) {
    Pulse(text, config);
  } else if ((length == kShortList || length == kLongList) && text.Pos(kLineEnd) == length) {
    // A CR before the end would cut the account or a group, and every line would carry the piece.
    OpeningClosingList(text);
  } else {
    return;
  }
  EndWithLineEnd(text);
  result.text = text;
}

const DecoderFamily kFbiCp220Decoder = {
    "fbi_cp220",
    Decode,
};

}  // namespace duri
