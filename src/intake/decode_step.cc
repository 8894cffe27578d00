#include "intake/decode_step.h"

#include "decoders/decode_message.h"
#include "decoders/receiver_types.h"
#include "intake/framing.h"
#include "settings/language_entries.h"
#include "station.h"
#include "store/error_log.h"

namespace duri {
namespace {

// The account of the receivers' own reports (the link events use it too) and the code of a message
// stored unread: "UCOM" and the port number.
constexpr char kReceiverAccount[] = "0000 ";
constexpr char kUnreadCode[] = "UCOM";

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
