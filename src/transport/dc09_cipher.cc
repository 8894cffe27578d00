#include "transport/dc09_cipher.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace duri::dc09 {
namespace {

struct ContextFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using Context = std::unique_ptr<EVP_CIPHER_CTX, ContextFree>;

const EVP_CIPHER* CipherFor(const Key& key) {
  switch (key.size()) {
    case 16: return EVP_aes_128_cbc();
    case 24: return EVP_aes_192_cbc();
    case 32: return EVP_aes_256_cbc();
    default: return nullptr;
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool FromHex(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes.resize(hex.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int hi = HexValue(hex[2 * i]);
    const int lo = HexValue(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = static_cast<char>(hi * 16 + lo);
  }
  return true;
}

// Whole blocks in, the same length out; no padding of the library's own.
bool Run(const Key& key, bool encrypt, std::string_view in, std::string& out) {
  const EVP_CIPHER* cipher = CipherFor(key);
  if (cipher == nullptr || in.size() % kBlockSize != 0) return false;
  Context ctx(EVP_CIPHER_CTX_new());
  const unsigned char iv[kBlockSize] = {};
  if (!ctx || EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key.data(), iv, encrypt ? 1 : 0) != 1) return false;
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  out.resize(in.size() + kBlockSize);
  int written = 0;
  int last = 0;
  auto* dst = reinterpret_cast<unsigned char*>(out.data());
  if (EVP_CipherUpdate(ctx.get(), dst, &written, reinterpret_cast<const unsigned char*>(in.data()),
                       static_cast<int>(in.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), dst + written, &last) != 1) {
    return false;
  }
  out.resize(static_cast<size_t>(written + last));
  return true;
}

}  // namespace

bool ParseKey(std::string_view hex, Key& key) {
  if (hex.size() != 32 && hex.size() != 48 && hex.size() != 64) return false;
  std::string bytes;
  if (!FromHex(hex, bytes)) return false;
  key.assign(bytes.begin(), bytes.end());
  return true;
}

std::string EncryptHex(const Key& key, std::string_view text) {
  std::string cipher;
  if (!Run(key, true, text, cipher)) return {};
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(cipher.size() * 2);
  for (char c : cipher) {
    const auto b = static_cast<uint8_t>(c);
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

bool DecryptHex(const Key& key, std::string_view hex, std::string& text) {
  std::string cipher;
  if (hex.empty() || !FromHex(hex, cipher)) return false;
  return Run(key, false, cipher, text);
}

std::string Pad(size_t rest_length) {
  const size_t used = (rest_length + 1) % kBlockSize;
  const size_t length = used == 0 ? 0 : kBlockSize - used;
  unsigned char random[kBlockSize] = {};
  RAND_bytes(random, static_cast<int>(length));
  // 91 printable characters: '!' .. '~' without '[', ']' and '|'.
  static constexpr std::string_view kPadChars =
      "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ\\^_`abcdefghijklmnopqrstuvwxyz{}~";
  std::string pad;
  for (size_t i = 0; i < length; ++i) pad += kPadChars[random[i] % kPadChars.size()];
  pad += kPadEnd;
  return pad;
}

std::string EncryptBody(const Key& key, std::string_view rest) {
  std::string text = Pad(rest.size());
  text.append(rest);
  return EncryptHex(key, text);
}

bool DecryptBody(const Key& key, std::string_view hex, std::string& rest) {
  std::string text;
  if (!DecryptHex(key, hex, text)) return false;
  const size_t bar = text.find(kPadEnd);
  if (bar == std::string::npos) return false;
  rest = text.substr(bar);
  return true;
}

}  // namespace duri::dc09
