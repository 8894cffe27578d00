#include "receivers/receiver_config.h"

#include <cstring>

namespace duri {

void ReceiverConfig::Encode(uint8_t* dst) const {
  std::memset(dst, 0, kSize);
  dst[kTypeOffset] = receiver_type;
  dst[kReceiverNumberOffset] = receiver_number;
  dst[kLineNumberOffset] = line_number;
  dst[kPrefixOffset] = static_cast<uint8_t>(prefix);
  dst[kCompressCidOffset] = compress_cid;
  dst[kShowHeartbeatOffset] = show_heartbeat;
  dst[kBaudRateOffset] = baud_rate_code;
  dst[kDataBitsOffset] = data_bits_code;
  dst[kStopBitsOffset] = stop_bits_code;
  dst[kParityOffset] = even_parity;
}

void ReceiverConfig::Decode(const uint8_t* src) {
  receiver_type = src[kTypeOffset];
  receiver_number = src[kReceiverNumberOffset];
  line_number = src[kLineNumberOffset];
  prefix = static_cast<char>(src[kPrefixOffset]);
  compress_cid = src[kCompressCidOffset];
  show_heartbeat = src[kShowHeartbeatOffset];
  baud_rate_code = src[kBaudRateOffset];
  data_bits_code = src[kDataBitsOffset];
  stop_bits_code = src[kStopBitsOffset];
  even_parity = src[kParityOffset];
}

}  // namespace duri
