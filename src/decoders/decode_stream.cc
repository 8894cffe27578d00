#include "decoders/decode_stream.h"

#include <initializer_list>

#include "decoders/receiver_types.h"

namespace duri {
namespace {

void AppendJsonString(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char ch : bytes) {
    const auto b = static_cast<uint8_t>(ch);
    switch (b) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case 8: out += "\\b"; break;
      case 12: out += "\\f"; break;
      case 10: out += "\\n"; break;
      case 13: out += "\\r"; break;
      case 9: out += "\\t"; break;
      default:
        if (b >= 32 && b <= 126) {
          out.push_back(ch);
        } else {
          out += "\\u00";
          out.push_back(kHex[b >> 4]);
          out.push_back(kHex[b & 0x0F]);
        }
    }
  }
  out.push_back('"');
}

void AppendNumbers(std::string& out, std::initializer_list<uint16_t> values) {
  out.push_back('[');
  bool first = true;
  for (uint16_t v : values) {
    if (!first) out.push_back(',');
    first = false;
    out += std::to_string(v);
  }
  out.push_back(']');
}

}  // namespace

void DecodeStream(std::string_view bytes, const ReceiverConfig& config, const DecodeHost& host,
                  const DecodeObserver& observer) {
  PortState state;
  ResetPortState(state);
  state.terminator = TerminatorForType(config.receiver_type);
  state.acknowledgement = AcknowledgementForType(config.receiver_type);
  state.synchronised = 1;
  DecodedMessage result;
  for (char ch : bytes) {
    const auto b = static_cast<uint8_t>(ch);
    state.At(state.write_index) = b;
    state.write_index = static_cast<int16_t>(state.write_index >= PortState::kRingSize ? 1 : state.write_index + 1);
    if (b != state.terminator) continue;
    ++state.complete_count;
    while (state.complete_count > 0) {
      state.link_activity = 0;
      DecodeMessage(host, state, config, result);
      if (observer) observer(result, state.link_activity);
    }
  }
}

std::string DecodeJsonLine(const DecodedMessage& result, uint8_t activity) {
  std::string out = "{\"text\":";
  AppendJsonString(out, result.text.view());
  out += ",\"second\":";
  AppendJsonString(out, result.second_text.view());
  out += ",\"date\":";
  AppendNumbers(out, {result.date.year, result.date.month, result.date.day, result.date.day_of_week});
  out += ",\"time\":";
  AppendNumbers(out, {result.time.hour, result.time.minute, result.time.second, result.time.fraction});
  out += ",\"activity\":" + std::to_string(activity) + "}";
  return out;
}

}  // namespace duri
