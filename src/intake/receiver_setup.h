// The receiver setup of the main window and the opening of a port for its receiver. The window copies
// its controls into ReceiverSetupControls, calls PrepReceiverList or SaveReceiverSetup and copies the
// values back; every decision is taken here.
#ifndef DURIDUVAZE_INTAKE_RECEIVER_SETUP_H_
#define DURIDUVAZE_INTAKE_RECEIVER_SETUP_H_

#include <string>
#include <vector>

namespace duri {

class Station;

// The values of the setup controls.
struct ReceiverSetupControls {
  std::vector<std::string> port_items;  // ComboPort, sorted as text
  int port_item = -1;                   // its selected item, -1 for none
  std::vector<std::string> receiver_items;  // ComReceiver, the catalogue in order
  int receiver = 0;                         // its selected item, the receiver type
  bool receiver_number = false;             // ReceiverNumber
  bool line_number = false;                 // LineNumber
  bool compress_cid = false;                // CompressCID
  bool show_heartbeat = false;              // ShowHeartBeat
  std::string ofset = "0";                  // Ofset, one upper-case character
  bool focus_ofset = false;                 // set when the save put the input focus on Ofset
};

// The port list: "COMn" for each n from 1 to 16 that the device list names, sorted as text (COM10 to
// COM16 come before COM2). Matching "COM" n CR in the list's text keeps COM1 from matching COM10.
std::vector<std::string> PortListFromDevices(const std::vector<std::string>& devices);

// Filling the lists at start-up: the port list from the system's serial devices with its first item
// selected, the receiver list with item 0 selected.
void FillReceiverLists(Station& station, ReceiverSetupControls& controls);

// The handler of the port list: makes the chosen port the selected one (station.ports.selected_port),
// shows its configuration and applies its stored line settings to its port object. Nothing happens
// while no port is listed.
void PrepReceiverList(Station& station, ReceiverSetupControls& controls);

// The handler of "Save info" for the selected port.
void SaveReceiverSetup(Station& station, ReceiverSetupControls& controls);

// Opens port n for the receiver of its configuration and applies what that model needs on the line;
// the port's memo says "Open COMn" or "COMn Not Available". Type 0 does nothing. Returns true when the
// port is open.
bool OpenReceiverPort(Station& station, int port);

// Start-up: empties the pending traffic, resets the sixteen port states and loads the configurations.
void ResetReceiverPorts(Station& station);

// Start-up: OpenReceiverPort for ports 1 to 16 in order. Each port with a receiver gets its stored line
// settings first, so that no port runs at the creation defaults until the operator happens to select
// it in the port list.
void OpenReceiverPorts(Station& station);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_RECEIVER_SETUP_H_
