// Fixed-width little-endian numbers, written byte by byte so that host byte order and alignment never
// matter. Every record of the shared database is encoded with these; the files are read by the
// operators' application, so the layouts are frozen.
#ifndef DURIDUVAZE_STORE_CODING_H_
#define DURIDUVAZE_STORE_CODING_H_

#include <cstdint>
#include <cstring>

namespace duri {

inline void EncodeFixed16(uint8_t* dst, uint16_t value) {
  dst[0] = static_cast<uint8_t>(value);
  dst[1] = static_cast<uint8_t>(value >> 8);
}

inline void EncodeFixed32(uint8_t* dst, uint32_t value) {
  dst[0] = static_cast<uint8_t>(value);
  dst[1] = static_cast<uint8_t>(value >> 8);
  dst[2] = static_cast<uint8_t>(value >> 16);
  dst[3] = static_cast<uint8_t>(value >> 24);
}

inline void EncodeSigned16(uint8_t* dst, int16_t value) { EncodeFixed16(dst, static_cast<uint16_t>(value)); }
inline void EncodeSigned32(uint8_t* dst, int32_t value) { EncodeFixed32(dst, static_cast<uint32_t>(value)); }

inline uint16_t DecodeFixed16(const uint8_t* src) {
  return static_cast<uint16_t>(src[0] | (src[1] << 8));
}

inline uint32_t DecodeFixed32(const uint8_t* src) {
  return static_cast<uint32_t>(src[0]) | (static_cast<uint32_t>(src[1]) << 8) |
         (static_cast<uint32_t>(src[2]) << 16) | (static_cast<uint32_t>(src[3]) << 24);
}

inline int16_t DecodeSigned16(const uint8_t* src) { return static_cast<int16_t>(DecodeFixed16(src)); }
inline int32_t DecodeSigned32(const uint8_t* src) { return static_cast<int32_t>(DecodeFixed32(src)); }

// IEEE 754 double as stored by the original records (8 bytes, little-endian).
inline void EncodeDouble(uint8_t* dst, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  EncodeFixed32(dst, static_cast<uint32_t>(bits));
  EncodeFixed32(dst + 4, static_cast<uint32_t>(bits >> 32));
}

inline double DecodeDouble(const uint8_t* src) {
  uint64_t bits = DecodeFixed32(src) | (static_cast<uint64_t>(DecodeFixed32(src + 4)) << 32);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace duri

#endif  // DURIDUVAZE_STORE_CODING_H_
