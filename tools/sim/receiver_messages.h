// The computer output of each receiver model: the bytes a receiver writes on its serial line for an
// event, a heartbeat (link test) and a status report, ended by the model's terminator.
//
// The layouts are the ones the station's decoders read; receiver digits are always "01" (or "1" where
// the model sends one receiver digit) and the line digit "1", so an event's account reaches the station
// as the simulator sent it whatever the port's digit options say.
#ifndef DURIDUVAZE_TOOLS_SIM_RECEIVER_MESSAGES_H_
#define DURIDUVAZE_TOOLS_SIM_RECEIVER_MESSAGES_H_

#include <cstdint>
#include <string>

#include "sim_event.h"

namespace duri::sim {

// What a receiver model can report.
struct ModelTraits {
  bool contact_id = false;
  bool sia = false;
  bool pulse = false;
  bool area = false;      // the station learns the area of the event (Contact ID group, SIA ri, ...)
  int account_width = 4;  // digits of the account field
  int pulse_width = 2;    // characters of a pulse code on the line (shorter codes get leading zeros)
  bool answers_status_poll = false;  // the station polls it with "S" and it answers with a status report
};

// The traits of receiver type 1..21; a type outside that range supports nothing.
ModelTraits TraitsOf(int type);
bool Supports(int type, CodeKind kind);
// The model's terminator and acknowledgement characters, as the station sets them for the port.
uint8_t TerminatorOf(int type);
uint8_t AckOf(int type);

// "" when the model can send the event, else why not (unsupported kind, account too long, ...).
std::string CheckEvent(int type, const SimEvent& event);

// The message for one event, terminator included. REQUIRES: CheckEvent(type, event) is "".
std::string BuildEventMessage(int type, const SimEvent& event);
// A link test that the station acknowledges and posts nothing for.
std::string BuildHeartbeat(int type, const LocalDateTime& now);
// The receiver's own status ("all lines normal"), "" for models without one.
std::string BuildStatusReport(int type, const LocalDateTime& now);

// What the station's decoder should make of the event, with the port's default options.
ExpectedLine ExpectedDecode(int type, const SimEvent& event);

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_RECEIVER_MESSAGES_H_
