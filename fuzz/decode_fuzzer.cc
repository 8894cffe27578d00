// Feeds arbitrary bytes to the decoders under every receiver type and option combination. The first
// bytes of an input choose the type, the port options and the way in:
//   0 type (0..22: none, the 21 models, one unknown)   1 option bits   2 prefix character
//   3 way in: 0 framed stream as the port reader frames it, 1 raw ring buffer with any read index and
//     terminator, 2 SIA block straight into DecodeSiaBlock, 3 the Contact ID and channel-status steps
// Every step must end, stay in bounds and keep the port's indices in 1..1024, and a message must give
// no more event lines than it lists (LineBound) when it ends with its type's own terminator.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "decoders/channel_status.h"
#include "decoders/contact_id.h"
#include "decoders/decode_message.h"
#include "decoders/decode_stream.h"
#include "decoders/sia_block.h"
#include "decoders/take_message.h"
#include "receivers/receiver_catalogue.h"

namespace {

using namespace duri;

constexpr size_t kHeader = 4;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckPort(const PortState& state) {
  Check(state.read_index >= 1 && state.read_index <= PortState::kRingSize);
}

// Receiver types whose messages may hold an SIA block.
bool CarriesSiaBlocks(int type) {
  switch (type) {
    case 1: case 2: case 4: case 5: case 6: case 7: case 18: case 19: case 21:
      return true;
    default:
      return false;
  }
}

// The most event lines a message can give: one per byte of the message at most (a line takes at least
// one byte of it; a receiver's CR inside a message is passed on as a line end), and on the receivers
// that pass SIA blocks on, the other layouts give up to ten from a short status (an Ademco status list;
// eight channels and a format line), a block at most one per byte after its "|" (every item takes a
// byte, every comma of a list one more).
size_t LineBound(int type, std::string_view message) {
  constexpr size_t kLayoutLines = 10;
  if (!CarriesSiaBlocks(type)) return message.size();
  const size_t bar = message.find('|');
  const size_t listed = bar == std::string_view::npos ? 0 : message.size() - bar - 1;
  return std::max({listed, kLayoutLines, message.size()});
}

size_t LineCount(const MessageText& text) {
  size_t n = 0;
  for (char c : text.view()) n += c == '\r' ? 1 : 0;
  return n;
}

void RawRing(std::string_view body, const ReceiverConfig& config, Clock& clock) {
  PortState state;
  if (body.size() < 3) return;
  // Any read index the buffer might hold, including ones outside it; terminator byte 0 stands for the
  // type's own, any other is taken as it is.
  state.read_index = static_cast<int16_t>(static_cast<uint8_t>(body[0]) | (static_cast<uint8_t>(body[1]) << 8));
  const uint8_t own_terminator = TerminatorForType(config.receiver_type);
  state.terminator = body[2] == 0 ? own_terminator : static_cast<uint8_t>(body[2]);
  body.remove_prefix(3);
  size_t n = body.size() < state.ring.size() ? body.size() : state.ring.size();
  std::memcpy(state.ring.data(), body.data(), n);
  state.complete_count = 1;
  DecodeHost host;
  host.clock = &clock;
  DecodedMessage result;
  const bool in_range = state.read_index >= 1 && state.read_index <= PortState::kRingSize;
  const std::string message = PeekMessageBytes(state, state.terminator);
  DecodeMessage(host, state, config, result);
  // The bound holds for what a port hands over: a message ended by the type's own terminator. Under
  // another, a receiver that ends its messages with CR seems to send CRs inside one, which no line
  // can carry; such a message must still be decoded safely, which the checks below and the
  // sanitizers watch.
  if (state.terminator == own_terminator) Check(LineCount(result.text) <= LineBound(config.receiver_type, message));
  // The framing never leaves the read index outside the buffer; a decoder must never take it there.
  // (From an index outside, a decoder that takes nothing leaves it as it was.)
  if (in_range) CheckPort(state);
  Check(state.complete_count == 0);
}

void TextSteps(std::string_view body, const ReceiverConfig& config) {
  MessageText a(body.substr(0, 255));
  ContactIdFull(a);
  MessageText b(body.substr(0, 255));
  ContactIdCompressed(b);
  MessageText c(body.substr(0, 255));
  std::string_view account = body.substr(0, body.size() < 24 ? body.size() : 24);
  std::string_view status = body.size() > 24 ? body.substr(24, 12) : std::string_view();
  ExpandChannelStatus(account, status, c);
  (void)config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  ReceiverConfig config;
  config.receiver_type = static_cast<uint8_t>(data[0] % 23);
  config.receiver_number = data[1] & 1;
  config.line_number = (data[1] >> 1) & 1;
  config.compress_cid = (data[1] >> 2) & 1;
  config.show_heartbeat = (data[1] >> 3) & 1;
  config.prefix = static_cast<char>(data[2]);
  const int way = data[3] % 4;
  std::string_view body(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);

  ManualClock clock;
  clock.Set(2026, 12, 8, 10, 11, 12, 345);
  switch (way) {
    case 0: {
      DecodeHost host;
      host.clock = &clock;
      DecodeStream(body, config, host, [](const DecodedMessage& result, uint8_t activity) {
        Check(result.text.length() <= 255 && activity <= 1);
        // Event intake takes only CR-ended lines: a text that does not end with CR loses its last line.
        Check(result.text.empty() || result.text.At(result.text.length()) == '\r');
        (void)DecodeJsonLine(result, activity);
      });
      break;
    }
    case 1:
      RawRing(body, config, clock);
      break;
    case 2: {
      MessageText text(body.substr(0, 255));
      DecodeSiaBlock(text, config, 1 + (data[1] >> 4) % 2, config.receiver_type);
      break;
    }
    default:
      TextSteps(body, config);
      break;
  }
  return 0;
}
