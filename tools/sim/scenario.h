// What a simulated receiver reports and how fast: a list of events played in order, or events drawn at
// random from an account range and a mix of Contact ID, SIA and pulse codes, at a rate.
//
// JSON form (every key optional; options given on the command line win):
//   {"receiver": 7, "rate": 0.5, "count": 20, "seed": 1, "accounts": [1000, 1011],
//    "mix": {"contact_id": 6, "sia": 3, "pulse": 1}, "areas": [1, 4], "zones": [1, 16],
//    "events": [{"account": "1234", "contact_id": "E130", "area": 1, "zone": 5},
//               {"account": "1234", "sia": "BA", "area": 2, "zone": 1},
//               {"account": "1000", "pulse": "3"}]}
#ifndef DURIDUVAZE_TOOLS_SIM_SCENARIO_H_
#define DURIDUVAZE_TOOLS_SIM_SCENARIO_H_

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "sim_event.h"

namespace duri::sim {

struct Scenario {
  int receiver = 0;       // receiver type; 0: not given
  double rate = 1.0;      // events per second
  int count = 0;          // events to send; 0: without end (the listed events: each once)
  uint32_t seed = 1;
  int first_account = 1000;
  int last_account = 1011;
  int weight_contact_id = 6;
  int weight_sia = 3;
  int weight_pulse = 1;
  int first_area = 1, last_area = 4;
  int first_zone = 1, last_zone = 16;
  std::vector<SimEvent> events;  // played in order instead of drawn at random
};

// Reads the JSON text over the scenario's values. "" on success, else what is wrong.
std::string ParseScenario(const std::string& json_text, Scenario* scenario);

// Hands out the events of a scenario for one receiver model, kinds the model cannot send left out of
// the mix.
class EventSource {
 public:
  EventSource(const Scenario& scenario, int type);
  // "" when the scenario can give events for the model, else why not.
  const std::string& error() const { return error_; }
  // False once count events were given (the listed events: all of them, count times round when set).
  bool Next(SimEvent* event);
  int given() const { return given_; }

 private:
  SimEvent Draw();

  Scenario scenario_;
  int type_;
  std::mt19937 random_;
  std::string error_;
  int given_ = 0;
};

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_SCENARIO_H_
