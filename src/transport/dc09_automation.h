// What a DC-09 message becomes inside the station: the computer-output message a Sur-Gard receiver
// (type 7) gives for the same report, so the port's framing and decoder take it like serial bytes.
//   ADM-CID  "#1234|1130 01 005"  ->  "5" RR L " 18" AAAA Q EEE GG CCC DC4   (Q: 1 'E', 3 'R', 6 'P')
//   SIA-DCS  "#1234|Nri1/BA01"    ->  "S" RR L "[#" ACCOUNT "|" BLOCK "]" DC4
// RR: the receiver number in two digits, L: the line number in one. A number that form cannot carry
// (a receiver above two digits, a line above one, a Contact ID account that is not four digits, a
// character the receiver's output never holds) is refused with its reason: the panel gets DUH and the
// message is logged, never cut to fit.
#ifndef DURIDUVAZE_TRANSPORT_DC09_AUTOMATION_H_
#define DURIDUVAZE_TRANSPORT_DC09_AUTOMATION_H_

#include <string>

#include "transport/dc09_frame.h"

namespace duri::dc09 {

inline constexpr char kSurGardTerminator = 20;

// message: the Sur-Gard message, terminator included. False with why filled when it cannot be made.
bool ToSurGard(const Content& content, const Body& body, std::string& message, std::string& why);

// The two digits and one digit the Sur-Gard form carries; false when they do not fit.
bool ReceiverDigits(const Content& content, std::string& receiver, std::string& line, std::string& why);

// The link test a Sur-Gard receiver sends while idle: the decoder marks the link active, posts nothing.
inline constexpr char kSurGardHeartbeat[] = "1011           @    \x14";

// A panel's supervision loss (lost) or restore in the same form, for its account: Contact ID event 350
// (communication trouble) when cid, else the SIA codes YC and YK.
std::string SupervisionMessage(const std::string& account, const std::string& receiver, const std::string& line,
                               bool cid, bool lost);

}  // namespace duri::dc09

#endif  // DURIDUVAZE_TRANSPORT_DC09_AUTOMATION_H_
