// One simulated receiver from start to end: the line, the scenario's events at their rate, the
// acknowledgement protocol, pacing at the line rate and the faults asked for; or the replay of a raw
// capture. Run blocks until the events are done, the duration is over or stop_fd becomes readable.
#ifndef DURIDUVAZE_TOOLS_SIM_SIM_RUNNER_H_
#define DURIDUVAZE_TOOLS_SIM_SIM_RUNNER_H_

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "link_protocol.h"
#include "scenario.h"
#include "sim_line.h"

namespace duri::sim {

struct FaultOptions {
  double split = 0;          // chance that a message goes out in several pieces with pauses between
  double noise = 0;          // chance of a few noise bytes on the line before a message
  double no_terminator = 0;  // chance that a message loses its terminator
  int burst = 1;             // messages sent before waiting for an acknowledgement
};

struct RunOptions {
  int type = 0;
  std::string station = ".";
  std::string port = "COM1";
  // Instead of a pseudo-terminal: connect to a station port in listen:// mode ("HOST:PORT"), or
  // listen for a station port in tcp:// mode ("ADDRESS:PORT").
  std::string tcp;
  std::string listen;
  LinkOptions link;
  int baud = 9600;  // pacing: ten bits per character at this rate
  bool full_speed = false;
  FaultOptions faults;
  double duration_s = 0;    // 0: until the scenario's events are all answered (or for ever)
  bool answer_polls = true;  // status report in answer to the station's "S"
  // Start with a lone terminator, which a freshly opened port only synchronises on, so that the first
  // heartbeat is answered at once. Only for a port that has just been opened: on a synchronised port
  // the lone terminator is an empty message, which some models post.
  bool sync_first = false;
  std::string replay_file;   // send this capture byte for byte instead of a scenario
  bool verbose = false;
};

struct EventOutcome {
  SimEvent event;
  ExpectedLine expected;
  int acks = 0;
};

struct RunResult {
  std::string error;  // set when the run could not start
  LinkCounts counts;
  int failed = 0;     // events still unanswered at the end
  std::vector<EventOutcome> events;
  int64_t bytes_sent = 0;
  int replay_acks = 0;  // acknowledgement characters seen during a replay
  int64_t elapsed_ms = 0;
};

class SimRunner {
 public:
  SimRunner(RunOptions options, Scenario scenario);
  // Opens the line and links it; "" on success.
  std::string Open();
  RunResult Run(int stop_fd);
  const SimLine& line() const { return line_; }
  // Receives the verbose log lines.
  std::function<void(const std::string&)> log;

 private:
  RunResult RunScenario(int stop_fd);
  RunResult RunReplay(int stop_fd);
  // Puts one message on the line with the faults and the pacing asked for. False when stopped.
  bool Send(const std::string& bytes, int stop_fd, bool faults);
  bool WritePaced(const std::string& bytes, int stop_fd);
  bool Chance(double p);

  RunOptions options_;
  Scenario scenario_;
  SimLine line_;
  std::mt19937 random_;
  int64_t bytes_sent_ = 0;
};

// "sent 20, acknowledged 20, resent 0, failed 0, ..." and the ACK latency.
std::string SummaryText(const RunResult& r);
// The same as one JSON object on one line.
std::string SummaryJson(const RunResult& r, int type);
// "127.0.0.1:5005", "[::1]:5005", "receiver.example:1025" into its host and port (1..65535).
bool SplitHostPort(const std::string& text, std::string* host, int* port);
// Nearest-rank percentile of the values (0 when there are none).
int64_t Percentile(std::vector<int64_t> values, double p);

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_SIM_RUNNER_H_
