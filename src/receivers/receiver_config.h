// One port's receiver configuration: which receiver model is attached, the account-number options and
// the line settings. Sixteen of these, back to back, are "C:\TorvaCom.dta".
#ifndef DURIDUVAZE_RECEIVERS_RECEIVER_CONFIG_H_
#define DURIDUVAZE_RECEIVERS_RECEIVER_CONFIG_H_

#include <array>
#include <cstdint>

namespace duri {

struct ReceiverConfig {
  static constexpr int kSize = 110;
  // Offsets in the record.
  static constexpr int kTypeOffset = 0;
  static constexpr int kReceiverNumberOffset = 1;
  static constexpr int kLineNumberOffset = 2;
  static constexpr int kPrefixOffset = 3;
  static constexpr int kCompressCidOffset = 4;
  static constexpr int kShowHeartbeatOffset = 5;
  static constexpr int kReservedOffset = 6;  // 100 bytes, always written as 0
  static constexpr int kBaudRateOffset = 106;
  static constexpr int kDataBitsOffset = 107;
  static constexpr int kStopBitsOffset = 108;
  static constexpr int kParityOffset = 109;

  uint8_t receiver_type = 0;     // 0..21, the catalogue index; 0 = no receiver
  uint8_t receiver_number = 0;   // check box ReceiverNumber
  uint8_t line_number = 0;       // check box LineNumber
  char prefix = '0';             // edit box Ofset: '0'..'9', 'A'..'F'
  uint8_t compress_cid = 0;      // check box CompressCID
  uint8_t show_heartbeat = 0;    // check box ShowHeartBeat
  uint8_t baud_rate_code = 4;    // 1200 baud
  uint8_t data_bits_code = 3;    // 8 data bits
  uint8_t stop_bits_code = 0;    // one stop bit
  uint8_t even_parity = 0;       // 1 = even, 0 = none

  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

// Reset values: type 0, flags 0, prefix '0', 1200 baud, 8 data bits, one stop bit, no parity.
inline void ResetReceiverConfig(ReceiverConfig& config) { config = ReceiverConfig{}; }

}  // namespace duri

#endif  // DURIDUVAZE_RECEIVERS_RECEIVER_CONFIG_H_
