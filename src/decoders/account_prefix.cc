#include "decoders/account_prefix.h"

namespace duri {

void ApplyAccountPrefix(MessageText& text, const ReceiverConfig& config, int receiver_digits,
                        int line_digits) {
  if (config.line_number == 0) text.Delete(receiver_digits + 1, line_digits);
  if (config.receiver_number == 0) text.Delete(1, receiver_digits);
  text.Insert(std::string_view(&config.prefix, 1), 1);
}

void ApplyPrefixAboveZero(MessageText& text, const ReceiverConfig& config) {
  if (static_cast<unsigned char>(config.prefix) > '0') text.Insert(std::string_view(&config.prefix, 1), 1);
}

}  // namespace duri
