#include "decoders/decode_message.h"

#include "decoders/receiver_types.h"
#include "settings/language_entries.h"
#include "station.h"

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

}  // namespace

void DecodeMessage(const DecodeHost& host, PortState& state, const ReceiverConfig& config,
                   DecodedMessage& result) {
  CountDecrement decrement(state);
  LocalDateTime now = host.clock->Now();
  result.text.Clear();
  result.second_text.Clear();
  result.date = now.date;
  result.time = now.time;

  const int type = config.receiver_type;
  const ReceiverType& entry = ReceiverTypeOf(type);
  if (entry.decoder != nullptr) {
    DecodeContext context{state, config, type, host.capture, now.date, host.voice_mode_notice, host.data};
    entry.decoder->decode(context, result);
  }
  FixDate(result.date);
  if (!result.text.empty() && host.add_event != nullptr && *host.add_event) {
    (*host.add_event)(result.date, result.time, result.text.view(), result.second_text.view());
  }
}

void DecodeMessage(Station& station, int /*port*/, PortState& state, const ReceiverConfig& config) {
  DecodeHost host;
  host.clock = &station.clock();
  host.capture = &station.data;
  host.data = &station.data;
  host.add_event = &station.add_event;
  const std::string notice = station.language.Entry(kEntryVocalModeFor);
  if (!notice.empty()) host.voice_mode_notice = notice;
  DecodedMessage result;
  DecodeMessage(host, state, config, result);
}

void InstallDecodeMessage(Station& station) {
  station.decode_message = [&station](int port, PortState& state, const ReceiverConfig& config) {
    DecodeMessage(station, port, state, config);
  };
}

}  // namespace duri
