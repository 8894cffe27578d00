// The port readers. A receive event on a port starts one short-lived reader thread for that port unless
// one is running (PortArmed). The thread makes one pass: ReadAndFrame on the user-interface thread, then
// one DecodeMessage there per complete message, with one acknowledgement written by the thread itself
// after the first message that earns one (stored durably, or recognised as carrying no event; an
// unrecognised message is left unanswered so that the receiver sends it again); then the port is
// armed again, whatever happened. A failure ends the pass; for ports 1
// to 6 it is shown in a message box that blocks nothing ("thread1 failed." ..), ports 7 to 16 are silent.
#ifndef DURIDUVAZE_INTAKE_READER_PASS_H_
#define DURIDUVAZE_INTAKE_READER_PASS_H_

#include <string>

namespace duri {

class PortLink;
class Station;

// Installs ComPort1RxChar .. ComPort16RxChar on the station's ports and gives them its user-interface
// thread. Station::set_ui_thread calls it.
void ConnectReceiverPorts(Station& station);

// Installs port n's receive handler (ComPortNRxChar) and link-state handler on link, one of its links.
void ConnectPortLink(Station& station, int port, PortLink& link);

// ComPortNRxChar: the receive handler of port n (1..16), on the user-interface thread.
void ComPortRxChar(Station& station, int port);

// One pass of port n's reader (TThreadComN.Execute), on the calling thread, which must not be the
// user-interface thread.
void RunReaderPass(Station& station, int port);

// The message box text of a failed pass, "" for ports without one (7 to 16).
std::string ReaderFailureText(int port);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_READER_PASS_H_
