// The network links of the receiver ports: binding each port named in the link file to its link at
// start-up, and what the station does when a link's peer is lost or comes back.
//
// A lost peer is a link event of its port, posted like the supervision's: "0000 ACOMn" when lost,
// "0000 RCOMn" when back (while the company's link supervision switch is on), and a line in the error
// log either way. A port posts its loss once, and its restore only after a loss. The loss also holds
// the port's supervision in alarm, so the next check does not post a second loss for a line that is
// down anyway; the restore arms the supervision again, as opening the port does.
#ifndef DURIDUVAZE_INTAKE_PORT_LINKS_H_
#define DURIDUVAZE_INTAKE_PORT_LINKS_H_

#include <memory>
#include <string>

#include "intake/link_file.h"
#include "transport/port_link.h"

namespace duri {

class ReceiverPorts;
class Station;

// The link object for an address; null with why in error when this station cannot make it.
std::unique_ptr<PortLink> MakePortLink(Station& station, int port, const LinkAddress& address, std::string* error);

// Start-up: reads the link file and binds every port named in it to a new link, the others to their
// serial line. A refused file, or a link that cannot be made, leaves the ports concerned unable to
// open (LinkRefusal), with the reason in the error log.
void BindPortLinks(Station& station);

// "COM3" for a serial port, "COM3 tcp://10.1.2.3:1025" for a network one.
std::string PortLinkTitle(ReceiverPorts& ports, int port);

// The state handler of port n's link, network or serial line, on the user-interface thread: the
// change is logged and, with link supervision on, a loss and its end are posted as events.
void PortLinkChanged(Station& station, int port, const LinkChange& change);

// A network link that could not be opened: the error log says why.
void ReportLinkFailure(Station& station, int port, const std::string& why);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_PORT_LINKS_H_
