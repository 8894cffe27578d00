// The byte layouts of each receiver model's messages, without the terminator. receiver_messages.cc
// adds the terminator and checks the events first.
#ifndef DURIDUVAZE_TOOLS_SIM_MODEL_LAYOUTS_H_
#define DURIDUVAZE_TOOLS_SIM_MODEL_LAYOUTS_H_

#include <string>

#include "sim_event.h"

namespace duri::sim::layouts {

// v in decimal, at least width digits with leading zeros.
std::string Digits(int v, int width);
// The account as the model's account field carries it.
std::string Account(int type, const SimEvent& e);
// The pulse code widened with leading zeros to the model's width.
std::string PulseCode(int type, const SimEvent& e);

std::string EventBody(int type, const SimEvent& e);
std::string HeartbeatBody(int type, const LocalDateTime& now);
std::string StatusBody(int type, const LocalDateTime& now);

}  // namespace duri::sim::layouts

#endif  // DURIDUVAZE_TOOLS_SIM_MODEL_LAYOUTS_H_
