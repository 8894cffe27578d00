// A receiver port bound to "dc09://ADDRESS:PORT": the built-in DC-09 receiver (transport/dc09_port.h)
// as the port's byte link, with the station's accounts file "C:\dc09-accounts" and its log lines in the
// error log.
#ifndef DURIDUVAZE_INTAKE_DC09_LINK_H_
#define DURIDUVAZE_INTAKE_DC09_LINK_H_

#include <cstdint>
#include <memory>
#include <string>

#include "transport/port_link.h"

namespace duri {

class Station;

inline constexpr char kDc09AccountsFile[] = "C:\\dc09-accounts";
// What the port's messages are made for: the Sur-Gard SLR/MLR2 computer output.
inline constexpr int kDc09ReceiverType = 7;

// Null with why in error when the port's receiver type is not the one DC-09 reports are made for.
std::unique_ptr<PortLink> MakeDc09Link(Station& station, int port, const std::string& address, uint16_t number,
                                       std::string* error);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_DC09_LINK_H_
