#include "decoders/decode_message.h"

#include "decoders/receiver_types.h"
#include "decoders/take_message.h"

namespace duri {
namespace {

// Decrements the complete-message count when the step ends, however it ends: the message has left the
// buffer, and a count left too high would make a later step wait for a message never counted.
class CountDecrement {
 public:
  explicit CountDecrement(PortState& state) : state_(state) {}
  ~CountDecrement() {
    if (state_.complete_count > 0) --state_.complete_count;
  }
  CountDecrement(const CountDecrement&) = delete;
  CountDecrement& operator=(const CountDecrement&) = delete;

 private:
  PortState& state_;
};

// Nothing but the terminator, line ends, NULs and spaces: what an idle or disturbed line leaves, never
// a receiver's message. Answering it could be taken by a receiver as the answer to a message of its own
// that was lost.
bool IsBlank(std::string_view bytes, uint8_t terminator) {
  for (char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    if (b != terminator && b != '\r' && b != '\n' && b != 0 && b != ' ') return false;
  }
  return true;
}

}  // namespace

MessageOutcome DecodeMessage(const DecodeHost& host, PortState& state, const ReceiverConfig& config,
                             DecodedMessage& result, std::string* message) {
  CountDecrement decrement(state);
  LocalDateTime now = host.clock->Now();
  result.text.Clear();
  result.second_text.Clear();
  result.date = now.date;
  result.time = now.time;
  result.kind = MessageKind::kUnrecognised;
  result.noise_bytes = 0;
  const std::string bytes = PeekMessageBytes(state, state.terminator);
  if (message != nullptr) *message = bytes;

  const int type = config.receiver_type;
  const DecoderFamily* decoder = DecoderFamilyOf(type);
  if (decoder != nullptr) {
    DecodeContext context{state, config, type, host.capture, now.date, host.voice_mode_notice, host.data};
    decoder->decode(context, result);
  }
  FixDate(result.date);
  if (!result.text.empty()) {
    if (host.add_event != nullptr && *host.add_event) {
      (*host.add_event)(result.date, result.time, result.text.view(), result.second_text.view());
    }
    return MessageOutcome::kEvents;
  }
  if (result.kind == MessageKind::kNoEvent) return MessageOutcome::kNoEvent;
  if (IsBlank(bytes, state.terminator)) return MessageOutcome::kBlank;
  return MessageOutcome::kUnrecognised;
}

}  // namespace duri
