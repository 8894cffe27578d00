// Length-prefixed text of fixed capacity: one length byte and N character bytes, the form of every
// text in the shared files and of the decoders' message texts. Positions are 1-based, as the receiver
// formats are described; every editing step stays in bounds on any input.
#ifndef DURIDUVAZE_STORE_SHORT_STRING_H_
#define DURIDUVAZE_STORE_SHORT_STRING_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace duri {

template <int N>
class ShortString {
  static_assert(N >= 1 && N <= 255, "a length-prefixed text holds at most 255 characters");

 public:
  static constexpr int kCapacity = N;
  // Bytes taken on disk: the length byte and the N character bytes.
  static constexpr int kEncodedSize = N + 1;

  ShortString() = default;
  ShortString(std::string_view text) { Assign(text); }  // NOLINT: texts convert freely, cut at N
  ShortString(const char* text) : ShortString(std::string_view(text)) {}

  int length() const { return len_; }
  bool empty() const { return len_ == 0; }
  std::string_view view() const { return std::string_view(data_.data(), len_); }
  std::string str() const { return std::string(view()); }
  const char* data() const { return data_.data(); }
  operator std::string_view() const { return view(); }  // NOLINT

  // The character at 1-based position p; 0 when p is outside the text (a position past the end holds
  // no character, and callers compare against real characters only).
  char At(int p) const { return (p >= 1 && p <= len_) ? data_[p - 1] : '\0'; }
  uint8_t ByteAt(int p) const { return static_cast<uint8_t>(At(p)); }
  void SetAt(int p, char c) {
    if (p >= 1 && p <= len_) data_[p - 1] = c;
  }

  void Clear() { len_ = 0; }
  void Assign(std::string_view text) {
    len_ = static_cast<uint8_t>(std::min<size_t>(text.size(), N));
    std::memcpy(data_.data(), text.data(), len_);
  }
  ShortString& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }
  ShortString& operator=(const char* text) {
    Assign(text);
    return *this;
  }
  ShortString& operator=(const std::string& text) {
    Assign(text);
    return *this;
  }

  // Appending cuts the result at the capacity.
  void Append(std::string_view text) {
    size_t room = static_cast<size_t>(N - len_);
    size_t n = std::min(room, text.size());
    std::memcpy(data_.data() + len_, text.data(), n);
    len_ = static_cast<uint8_t>(len_ + n);
  }
  void Append(char c) { Append(std::string_view(&c, 1)); }
  ShortString& operator+=(std::string_view text) {
    Append(text);
    return *this;
  }
  ShortString& operator+=(char c) {
    Append(c);
    return *this;
  }

  // Deletes n characters at p; nothing happens when p is below 1 or past the end; n is cut at the end.
  void Delete(int p, int n) {
    if (p < 1 || p > len_ || n <= 0) return;
    int count = std::min(n, len_ - p + 1);
    std::memmove(data_.data() + p - 1, data_.data() + p - 1 + count, static_cast<size_t>(len_ - (p - 1) - count));
    len_ = static_cast<uint8_t>(len_ - count);
  }

  // Inserts text at p; p below 1 counts as 1, p past the end appends; the result is cut at the capacity.
  void Insert(std::string_view text, int p) {
    if (p < 1) p = 1;
    if (p > len_ + 1) p = len_ + 1;
    std::string result(view().substr(0, static_cast<size_t>(p - 1)));
    result.append(text);
    result.append(view().substr(static_cast<size_t>(p - 1)));
    Assign(result);
  }

  // n characters from p; p below 1 counts as 1; past the end gives an empty text; n is cut at the end.
  std::string Copy(int p, int n) const { return CopyOf(view(), p, n); }

  // 1-based position of the first occurrence of needle, 0 when there is none.
  int Pos(std::string_view needle) const { return PosIn(needle, view()); }
  int Pos(char c) const { return PosIn(std::string_view(&c, 1), view()); }

  // On-disk form: length byte then N bytes. Bytes past the length are written as zeros.
  void Encode(uint8_t* dst) const {
    dst[0] = len_;
    std::memcpy(dst + 1, data_.data(), len_);
    std::memset(dst + 1 + len_, 0, static_cast<size_t>(N - len_));
  }
  // A stored length above the capacity is cut to the capacity, so a damaged record never reads past
  // its field.
  void Decode(const uint8_t* src) {
    len_ = std::min<uint8_t>(src[0], static_cast<uint8_t>(N));
    std::memcpy(data_.data(), src + 1, len_);
  }

  static std::string CopyOf(std::string_view s, int p, int n) {
    if (p < 1) p = 1;
    if (p > static_cast<int>(s.size()) || n <= 0) return std::string();
    return std::string(s.substr(static_cast<size_t>(p - 1), static_cast<size_t>(n)));
  }
  static int PosIn(std::string_view needle, std::string_view haystack) {
    if (needle.empty()) return 0;
    size_t at = haystack.find(needle);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
  }

  friend bool operator==(const ShortString& a, const ShortString& b) { return a.view() == b.view(); }
  friend bool operator==(const ShortString& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const ShortString& a, const char* b) { return a.view() == std::string_view(b); }

 private:
  uint8_t len_ = 0;
  std::array<char, N> data_{};
};

// 1-based helpers on plain texts, for code that works on std::string with the same rules.
inline int Pos(std::string_view needle, std::string_view haystack) {
  return ShortString<255>::PosIn(needle, haystack);
}
inline std::string Copy(std::string_view s, int p, int n) { return ShortString<255>::CopyOf(s, p, n); }
void Delete(std::string& s, int p, int n);
void Insert(std::string_view text, std::string& s, int p, size_t capacity);

}  // namespace duri

#endif  // DURIDUVAZE_STORE_SHORT_STRING_H_
