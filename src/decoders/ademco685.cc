// Ademco 685 (type 4). When the port opens, and once a minute while it is idle, the receiver is asked
// for its status with "S"; its answers are status reports. A message is the line feed that follows the
// previous CR, then the report, then CR. After that first character and all spaces are gone, the
// report kind follows from its content and its length (CR included):
//   status report   "11RCVA1035\r"            receiver 1, line 1, list 1 0 3 (the 5 is dropped)
//   SIA block       "12[#1234|NBA01]\r"
//   pulse           "1212343\r" (8) or "12123431\r" (9): head 121234 and a one- or two-digit code
//   Contact ID      "12123418E13001C005\r" (19): head, "18", E, 130, group 01, a dropped character, 005
//   channel status  "121234103000605\r" (16): head, eight channel digits, the format digit
//   receiver report holding "XXX" (any other length)
// The layouts by length need the CR in its place: a message longer than a text holds has lost it and
// is not one of them. The port is link-supervised: every message taken marks activity.
//
// Recognised: a heartbeat ("@" or character 254, no event), a status report (its lines are events,
// "R" marker "0" when nothing is set), an eight-channel status (an empty one carries no event), a
// whole SIA block (sia_block.h), and the pulse, Contact ID and "XXX" reports by their lengths. The
// line feed is the message's start: bytes before the last one in the message are line noise, dropped
// and counted. Anything else is unrecognised and left unanswered, which makes the receiver resend it;
// the receiver has no negative acknowledgement of its own, so none is sent.
#include "decoders/ademco685.h"

#include <string>
#include <string_view>

#include "decoders/account_prefix.h"
#include "decoders/channel_status.h"
#include "decoders/contact_id.h"
#include "decoders/line_steps.h"
#include "decoders/sia_block.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

constexpr int kReceiverDigits = 1;
constexpr int kLineDigits = 1;
constexpr int kHeadLength = 6;  // receiver digit, line digit, four account digits
// Status reports: the keyword at 3-6 becomes the account "0000", the status characters follow at 7.
constexpr int kStatusAccountPos = 3;
constexpr int kStatusListPos = 7;
constexpr int kItemLength = 4;
// Message lengths of the layouts, CR included.
constexpr int kShortPulseLength = 8;
constexpr int kPulseLength = 9;
constexpr int kContactIdLength = 19;
constexpr int kChannelStatusLength = 16;
// Contact ID positions before and after the dropped characters go.
constexpr int kCidDroppedPos = 15;
constexpr int kCidPrefixPos = 7;  // the "18"
constexpr int kCidGroupPos = 11;
constexpr int kCodeSpacePos = 7;
constexpr int kChannelStatusPos = 7;
constexpr int kChannelStatusLengthOfDigits = 9;

const char* StatusMarker(const MessageText& text) {
  if (text.Pos("RCVA") > 0) return "RCV";
  if (text.Pos("RCVB") > 0) return "TST";
  if (text.Pos("LINE") > 0) return "LIN";
  return "";
}

// A layout by length is only read when the message still ends with its own CR.
int LayoutLength(const MessageText& text) {
  return text.At(text.length()) == kLineEnd ? text.length() : 0;
}

void PulseReport(MessageText& text, const ReceiverConfig& config, int length) {
  if (length == kShortPulseLength) text.Insert("0", kCodeSpacePos);
  text.Insert(" ", kCodeSpacePos);
  ApplyAccountPrefix(text, config, kReceiverDigits, kLineDigits);
}

void ContactIdReport(MessageText& text, const ReceiverConfig& config) {
  text.Delete(kCidDroppedPos, 1);
  text.Delete(kCidPrefixPos, 2);
  text.Insert("  [ri" + text.Copy(kCidGroupPos, 2) + "]", text.Pos(kLineEnd));
  ContactIdTranslate(text, config);
  text.Insert(" ", kCodeSpacePos);
  ApplyAccountPrefix(text, config, kReceiverDigits, kLineDigits);
}

void ChannelStatusReport(MessageText& text, const ReceiverConfig& config, MessageText& out) {
  MessageText account(text.Copy(1, kHeadLength) + " ");
  ApplyAccountPrefix(account, config, kReceiverDigits, kLineDigits);
  out.Clear();
  ExpandChannelStatus(account.view(), text.Copy(kChannelStatusPos, kChannelStatusLengthOfDigits), out);
}

// One line per item whose status character is '1' (alarm), '6' or '3' (restore), the character
// replaced by the item's number; a report with none of them gives the one line "R" marker "0".
void StatusLines(const MessageText& head, const StatusList& list, const std::string& marker, MessageText& out) {
  out.Clear();
  int n = 0;
  for (int p = 1; p <= list.length(); p += kItemLength) {
    ++n;
    std::string item = list.Copy(p, kItemLength);
    if (item.size() < static_cast<size_t>(kItemLength)) continue;
    const char* kind = nullptr;
    switch (item[kItemLength - 1]) {
      case '1': kind = " A"; break;
      case '6': kind = " P"; break;
      case '3': kind = " R"; break;
      default: continue;
    }
    item[kItemLength - 1] = static_cast<char>('0' + n);
    out += head.view();
    out += kind;
    out += item;
    out += kLineEnd;
  }
  if (out.empty()) {
    out = head;
    out += " R";
    out += marker;
    out += '0';
    out += kLineEnd;
  }
}

void Decode(DecodeContext& context, DecodedMessage& result) {
  MessageText text;
  TakeMessage(text, context.state, context.state.terminator, context.capture, context.today);
  context.state.link_activity = 1;
  const size_t line_feed = text.view().rfind('\n');
  if (line_feed != std::string_view::npos) DropNoiseBefore(text, static_cast<int>(line_feed) + 1, result);
  if (IsHeartbeat(text)) {
    result.kind = MessageKind::kNoEvent;
    return;
  }
  const ReceiverConfig& config = context.config;
  text.Delete(1, 1);
  StatusList list;
  std::string marker = SplitReceiverStatus(text, list, config);
  if (text.Pos("[#") > 0) {
    if (DecodeSiaBlock(text, config, kReceiverDigits, context.type, context.voice_mode_notice)) result.text = text;
    return;
  }
  RemoveSpaces(text);
  if (!marker.empty()) {
    StatusLines(text, list, marker, result.text);
    return;
  }
  const int length = LayoutLength(text);
  if (length == kShortPulseLength || length == kPulseLength) {
    PulseReport(text, config, length);
    result.text = text;
  } else if (length == kContactIdLength) {
    ContactIdReport(text, config);
    result.text = text;
  } else if (length == kChannelStatusLength) {
    ChannelStatusReport(text, config, result.text);
    result.kind = MessageKind::kNoEvent;  // a status with no channel to report
  } else if (text.Pos("XXX") > 0) {
    result.text = text.Copy(1, 2) + "0000 00";
    result.text += kLineEnd;
    ApplyAccountPrefix(result.text, config, kReceiverDigits, kLineDigits);
  }
}

}  // namespace

std::string SplitReceiverStatus(MessageText& text, StatusList& list, const ReceiverConfig& config) {
  list.Clear();
  RemoveSpaces(text);
  std::string marker = StatusMarker(text);
  if (marker.empty()) return marker;
  const int cr = text.Pos(kLineEnd);
  list = text.Copy(kStatusListPos, cr);
  // The character before the CR is not a status.
  const int list_cr = list.Pos(kLineEnd);
  if (list_cr > 1) {
    list.Delete(list_cr - 1, 2);
  } else {
    list.Delete(list_cr, 1);
  }
  for (int p = kStatusAccountPos; p < kStatusListPos; ++p) text.SetAt(p, '0');
  // Without its CR (a message longer than a text holds) the report keeps only its head.
  text.Delete(kStatusListPos, cr > 0 ? cr : text.length());
  ApplyAccountPrefix(text, config, kReceiverDigits, kLineDigits);
  // The marker goes in front of every status character; an empty list still gets one, so the report
  // always yields a line.
  int p = 1;
  do {
    list.Insert(marker, p);
    p += kItemLength;
  } while (p <= list.length());
  return marker;
}

const DecoderFamily kAdemco685Decoder = {"ademco685", Decode};

}  // namespace duri
