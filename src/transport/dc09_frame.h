// SIA DC-09 frames, the messages alarm panels send over IP and the answers the station gives them.
//
// A frame on the wire:
//   LF, CRC (4 hex), length "0LLL" (4 hex), then the content of that length, then CR.
// The content:
//   "TOKEN" (a leading '*' inside the quotes: the rest is encrypted), sequence (4 digits),
//   receiver "R" + 1..6 hex (may be absent), line "L" + 1..6 hex, account "#" + 3..16 hex,
//   then "[" data "]", optional extended data "[X...]", optional time stamp "_HH:MM:SS,MM-DD-YYYY".
// The CRC and the length both cover the content, from the opening quote to the last character before
// CR. An encrypted message carries, after its "[", the hexadecimal cipher text of everything that
// follows the "[" in clear form (with its pad; see dc09_cipher.h).
//
// Sample (length in hex): "\n" "26EB" "0029" "\"ADM-CID\"0001R1L1#1234[#1234|1130 01 005]" "\r".
#ifndef DURIDUVAZE_TRANSPORT_DC09_FRAME_H_
#define DURIDUVAZE_TRANSPORT_DC09_FRAME_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace duri::dc09 {

inline constexpr char kFrameStart = '\n';
inline constexpr char kFrameEnd = '\r';
// LF, CRC and length: what comes before the content.
inline constexpr size_t kHeadSize = 9;
// The largest content the length field can state ("0FFF").
inline constexpr size_t kMaxContent = 0xFFF;

inline constexpr std::string_view kSiaDcs = "SIA-DCS";
inline constexpr std::string_view kAdmCid = "ADM-CID";
inline constexpr std::string_view kNull = "NULL";
inline constexpr std::string_view kAckToken = "ACK";
inline constexpr std::string_view kNakToken = "NAK";
inline constexpr std::string_view kDuhToken = "DUH";

// CRC-16 with the polynomial x^16 + x^15 + x^2 + 1, bits taken least significant first, start value 0
// (the CRC of the older SIA serial formats; "123456789" gives 0xBB3D).
uint16_t Crc16(std::string_view bytes);

// What cutting one frame out of a byte stream found.
enum class CutResult {
  kFrame,       // frame holds one whole frame; consumed bytes used
  kIncomplete,  // more bytes are needed; nothing consumed
  kNoise,       // bytes before a frame start (or a start that cannot begin a frame) consumed
  kBadLength,   // the length field is not hex, too big, or the frame does not end with CR there
  kBadCrc,      // the CRC does not match the content
  kTooLong,     // the stated length is above the limit
};

struct Cut {
  CutResult result = CutResult::kIncomplete;
  size_t consumed = 0;    // bytes of the stream to drop
  std::string_view content;  // kFrame: the content, a view into the stream
};

// Cuts the first frame out of stream. max_content: the largest content accepted (at most kMaxContent).
// A bad frame consumes its bytes up to the next LF after its start, so the stream finds the next frame.
Cut CutFrame(std::string_view stream, size_t max_content);

// The readable parts of a frame's content.
struct Content {
  bool encrypted = false;
  std::string token;     // without quotes and '*'
  std::string sequence;  // 4 digits
  bool has_receiver = false;
  std::string receiver;  // hex digits after 'R'
  std::string line;      // hex digits after 'L'
  std::string account;   // hex digits after '#' (or after 'A' in a NAK)
  std::string body;      // from the first '[' to the end
};

enum class ParseResult { kOk, kBadToken, kBadHeader };

// Reads the token, sequence, receiver, line and account. kBadToken: the quoted token is missing or
// unknown; kBadHeader: a field after it is malformed (what was read so far stays in content).
ParseResult ParseContent(std::string_view text, Content& content);

// The clear body split up: "[" data "]" then extended data then an optional time stamp.
struct Body {
  std::string data;      // between the first "[" and its "]"
  std::string extended;  // every "[...]" after it, brackets kept
  bool has_stamp = false;
  std::string stamp;     // "HH:MM:SS,MM-DD-YYYY", without '_'
};

// False: the body does not have that shape.
bool SplitBody(std::string_view body, Body& out);

// Seconds since the epoch (UTC) of a stamp "HH:MM:SS,MM-DD-YYYY"; false when it is not a valid time.
bool StampSeconds(std::string_view stamp, int64_t& seconds);
// The stamp of seconds since the epoch, in UTC.
std::string StampText(int64_t seconds);

// LF, CRC, length, content, CR.
std::string Frame(std::string_view content);

// The content's header in the order it is sent: quoted token (with '*' when encrypted), sequence,
// receiver when present, line and account.
std::string HeaderText(const Content& content);

inline bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace duri::dc09

#endif  // DURIDUVAZE_TRANSPORT_DC09_FRAME_H_
