#include "store/error_log.h"
#include "decoders/decode_message.h"

#include "decoders/receiver_types.h"
#include "decoders/take_message.h"
#include "intake/framing.h"
#include "settings/language_entries.h"
#include "station.h"
#include "store/error_log.h"
#include "store/shared_file.h"

namespace duri {
namespace {

// The account of the receivers' own reports (the link events use it too) and the code of a message
// stored unread: "UCOM" and the port number.
constexpr char kReceiverAccount[] = "0000 ";
constexpr char kUnreadCode[] = "UCOM";

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

void LogUnrecognised(Station& station, int port, int type, std::string_view what, const std::string& printable) {
  LogError(station.data, "COM" + std::to_string(port) + " " + std::string(ReceiverItemText(type)) + " (type " +
                             std::to_string(type) + "): " + std::string(what) + ": " + printable);
}

}  // namespace

std::string PrintableMessage(std::string_view bytes) {
  std::string out;
  for (char c : bytes) out += ControlCharName(static_cast<uint8_t>(c));
  return out;
}

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

MessageOutcome DecodeMessage(Station& station, int port, PortState& state, const ReceiverConfig& config) {
  DecodeHost host;
  host.clock = &station.clock();
  host.capture = &station.data;
  host.data = &station.data;
  host.add_event = &station.add_event;
  const std::string notice = station.language.Entry(kEntryVocalModeFor);
  if (!notice.empty()) host.voice_mode_notice = notice;
  DecodedMessage result;
  std::string message;
  const MessageOutcome outcome = DecodeMessage(host, state, config, result, &message);

  PortCounters& counters = station.ports.Counters(port);
  if (result.noise_bytes > 0) counters.Drop(DropReason::kNoise, static_cast<uint64_t>(result.noise_bytes));
  switch (outcome) {
    case MessageOutcome::kEvents:
    case MessageOutcome::kNoEvent:
    case MessageOutcome::kStoredUnread:
      counters.unrecognised_in_a_row = 0;
      return outcome;
    case MessageOutcome::kBlank:
      counters.Drop(DropReason::kNoise, message.size());
      return outcome;
    case MessageOutcome::kUnrecognised:
      break;
  }
  counters.Drop(DropReason::kUnrecognised);
  const std::string printable = PrintableMessage(message);
  const int type = config.receiver_type;
  if (++counters.unrecognised_in_a_row < kUnrecognisedInARowStored) {
    LogUnrecognised(station, port, type, "message not recognised, not acknowledged", printable);
    return outcome;
  }
  counters.unrecognised_in_a_row = 0;
  LogUnrecognised(station, port, type, "message not recognised again, stored as an event", printable);
  if (station.add_event) {
    const LocalDateTime now = station.clock().Now();
    const std::string line = kReceiverAccount + std::string(kUnreadCode) + std::to_string(port) + "\r";
    station.add_event(now.date, now.time, line,
                      " " + station.language.Entry(kEntryUnreadableMessage) + ": " + printable);
  }
  return MessageOutcome::kStoredUnread;
}

void InstallDecodeMessage(Station& station) {
  station.decode_message = [&station](int port, PortState& state, const ReceiverConfig& config) {
    return DecodeMessage(station, port, state, config);
  };
}

}  // namespace duri
