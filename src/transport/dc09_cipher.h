// Encryption of DC-09 messages: AES in CBC mode with a zero initialisation vector and a 128, 192 or
// 256-bit key per account. What is encrypted is everything after the body's "[" in clear form, led by
// a pad of random printable characters that ends with the first '|' and brings the length to a
// multiple of the 16-byte block. The cipher text travels as upper-case hexadecimal.
#ifndef DURIDUVAZE_TRANSPORT_DC09_CIPHER_H_
#define DURIDUVAZE_TRANSPORT_DC09_CIPHER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace duri::dc09 {

inline constexpr size_t kBlockSize = 16;
inline constexpr char kPadEnd = '|';

// 16, 24 or 32 bytes.
using Key = std::vector<uint8_t>;

// A key from 32, 48 or 64 hex digits; false for anything else.
bool ParseKey(std::string_view hex, Key& key);

// text: whole blocks. Returns the cipher text in hex, or "" when the library fails.
std::string EncryptHex(const Key& key, std::string_view text);
// False when hex is not whole blocks of hex digits or the library fails.
bool DecryptHex(const Key& key, std::string_view hex, std::string& text);

// Random printable characters (never '|', '[' or ']') that make pad + '|' + rest whole blocks,
// followed by the '|'.
std::string Pad(size_t rest_length);

// "|" + rest in clear, padded and encrypted: the hex that follows "[" in an encrypted body.
std::string EncryptBody(const Key& key, std::string_view rest);
// The reverse: the clear text from the pad's '|' on (the '|' kept). False when the hex does not
// decrypt or no '|' ends a pad.
bool DecryptBody(const Key& key, std::string_view hex, std::string& rest);

}  // namespace duri::dc09

#endif  // DURIDUVAZE_TRANSPORT_DC09_CIPHER_H_
