// The station's link file, "C:\TorvaLink.txt" beside the receiver file: which ports take their bytes
// from the network instead of their serial line. A text file, one port a line:
//
//   # comment
//   COM3 tcp://192.168.10.20:1025
//   COM5 listen://0.0.0.0:5005
//
// "tcp://HOST:PORT": the station connects to HOST (a name or an address) on PORT. "listen://ADDRESS:PORT"
// and "dc09://ADDRESS:PORT": the station listens on a local address ("0.0.0.0" or "[::]" for all). An
// IPv6 address is written in brackets. Ports not named keep their serial line. The file is read at
// start-up; one that is not a regular file, that others may write, or that has any fault is refused
// as a whole (every port with a receiver then stays closed and the reason goes to the error log),
// since a port bound to the wrong place would lose its alarms without a sign.
#ifndef DURIDUVAZE_INTAKE_LINK_FILE_H_
#define DURIDUVAZE_INTAKE_LINK_FILE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "intake/receiver_ports.h"

namespace duri {

inline constexpr char kLinkFileName[] = "C:\\TorvaLink.txt";

struct LinkAddress {
  std::string scheme;  // "tcp", "listen" or "dc09"
  std::string host;    // without brackets
  uint16_t port = 0;
  bool operator==(const LinkAddress&) const = default;
};

using PortLinkTable = std::array<std::optional<LinkAddress>, kPortCount>;

// "" when text is a link address, else why not.
std::string ParseLinkAddress(std::string_view text, LinkAddress* address);
std::string LinkAddressText(const LinkAddress& address);

// "" when text is a link file, else its first fault with the line number.
std::string ParseLinkFile(std::string_view text, PortLinkTable* table);
std::string LinkFileText(const PortLinkTable& table);

enum class LinkFileStatus { kOk, kMissing, kRefused };
// Reads the file at path. kRefused with why in error.
LinkFileStatus LoadLinkFile(const std::string& path, PortLinkTable* table, std::string* error);
// Writes the file at path whole (a new file renamed over the old, mode 0644), or removes it when no
// port has a link. 0 or the errno of what failed.
int SaveLinkFile(const std::string& path, const PortLinkTable& table);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_LINK_FILE_H_
