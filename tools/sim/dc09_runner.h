// The simulator as one SIA DC-09 alarm panel: it reports the scenario's Contact ID and SIA events to a
// station's DC-09 port over TCP (one connection, reopened when lost) or UDP, optionally encrypted,
// sends NULL supervision messages while idle, waits for each answer and resends after a time-out.
// Faults, each a chance per event: a copy with a bad CRC or a wrong length first (no answer due), an
// old time stamp first (a NAK due, then the event with the right time), half the message and then a
// dropped connection (TCP), and the acknowledged message sent again with its sequence number (an ACK
// due, and no second event at the station).
#ifndef DURIDUVAZE_TOOLS_SIM_DC09_RUNNER_H_
#define DURIDUVAZE_TOOLS_SIM_DC09_RUNNER_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scenario.h"

namespace duri::sim {

struct Dc09Faults {
  double bad_crc = 0;
  double wrong_length = 0;
  double old_stamp = 0;
  double drop = 0;
  double replay = 0;
};

struct Dc09Options {
  std::string host = "127.0.0.1";
  int port = 0;
  bool udp = false;
  std::string key_hex;  // empty: in clear
  std::string receiver = "1";
  std::string line = "1";
  int ack_timeout_ms = 4000;
  int resends = 3;
  int null_interval_ms = 0;  // 0: no NULL messages
  double duration_s = 0;
  Dc09Faults faults;
  bool verbose = false;
};

struct Dc09Result {
  std::string error;
  int sent = 0, acknowledged = 0, resent = 0, failed = 0;
  int naks = 0, duhs = 0, unanswered = 0;
  int nulls = 0, nulls_acknowledged = 0;
  int bad_crc = 0, wrong_length = 0, old_stamp = 0, dropped = 0, replayed = 0, replays_acknowledged = 0;
  int wrong_answers = 0;  // a bad CRC or length that got an answer: the station erred
  int reconnects = 0;
  std::vector<int64_t> ack_latency_ms;
  int64_t elapsed_ms = 0;
};

Dc09Result RunDc09Panel(const Dc09Options& options, const Scenario& scenario, int stop_fd,
                        const std::function<void(const std::string&)>& log);

std::string Dc09SummaryText(const Dc09Result& r);
std::string Dc09SummaryJson(const Dc09Result& r);

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_DC09_RUNNER_H_
