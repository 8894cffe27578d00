// What the receiver simulator reports: one alarm event as an alarm panel would have called it in, and
// what the station should make of it once the receiver model's message has been decoded.
#ifndef DURIDUVAZE_TOOLS_SIM_SIM_EVENT_H_
#define DURIDUVAZE_TOOLS_SIM_SIM_EVENT_H_

#include <string>

#include "platform/clock.h"

namespace duri::sim {

// How the panel reported the event.
enum class CodeKind { kContactId, kSia, kPulse };

struct SimEvent {
  std::string account;  // decimal digits, at most the model's account width; padded with zeros
  CodeKind kind = CodeKind::kContactId;
  // Contact ID: 'E' new event or opening, 'R' restore or closing.
  char qualifier = 'E';
  // Contact ID: the three-digit event code (130 burglary); SIA: the two-letter code (BA); pulse: one or
  // two characters (a 4+2 or 3+1 code), widened with a leading '0' where the model sends a fixed width.
  std::string code;
  int area = 0;  // group or partition, 0..99 (pulse on Sur-Gard receivers: 0..9)
  int zone = 0;  // zone or user, 0..999
  // The receiver's clock when it took the call; sent by the models that stamp their messages.
  LocalDateTime stamp;
};

// The event line the station should post for an event, with the port's default options (no receiver
// or line digits in the account, prefix '0', Contact ID not compressed).
struct ExpectedLine {
  std::string account;  // as the model sends it (leading zeros are not significant to the station)
  std::string code;
  int area = 0;  // the "[ri" n "]" marker's number; 0 when the model carries none
};

const char* CodeKindName(CodeKind kind);
// "contact_id", "sia", "pulse" (and "cid"); false for any other name.
bool ParseCodeKind(const std::string& name, CodeKind* kind);

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_SIM_EVENT_H_
