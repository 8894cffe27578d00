// duriduvaze-sim: a receiver on a pseudo-terminal linked as <station>/ports/COMn, or on a TCP connection
// (--tcp HOST:PORT to a station port in listen:// mode, --listen ADDRESS:PORT for one in tcp:// mode),
// speaking one receiver model's computer output and checking the station's acknowledgements.
//
//   duriduvaze-sim --receiver 7 (--station DIR --port COM1 | --tcp HOST:PORT | --listen ADDRESS:PORT)
//                  [--scenario FILE.json] [--rate R] [--count N]
//                  [--accounts 1000-1011] [--mix contact_id:6,sia:3,pulse:1] [--full-speed | --baud B]
//                  [--split P] [--burst N] [--noise P] [--no-terminator P] [--replay FILE] [--json]
//   duriduvaze-sim --dc09 HOST:PORT [--udp] [--key HEX] [--null S] [--bad-crc P] [--wrong-length P]
//                  [--old-stamp P] [--drop P] [--replay-seq P]  and the scenario options: an alarm
//                  panel reporting to a station's DC-09 port instead of a receiver on a serial line.
//
// It runs until its events are all answered (or for ever with --count 0 and no listed events), until
// --duration seconds have passed, or until SIGINT/SIGTERM; then it prints its summary.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "common/stop_signal.h"
#include "dc09_runner.h"
#include "receiver_messages.h"
#include "scenario.h"
#include "sim_runner.h"
#include "transport/serial_names.h"

namespace {

using namespace duri::sim;

bool ParseRange(const std::string& text, int* first, int* last) {
  size_t dash = text.find('-');
  try {
    *first = std::stoi(text.substr(0, dash));
    *last = dash == std::string::npos ? *first : std::stoi(text.substr(dash + 1));
  } catch (const std::exception&) {
    return false;
  }
  return *first <= *last;
}

// "contact_id:6,sia:3,pulse:1"
bool ParseMix(const std::string& text, Scenario* s) {
  s->weight_contact_id = s->weight_sia = s->weight_pulse = 0;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    size_t colon = item.find(':');
    CodeKind kind;
    if (!ParseCodeKind(item.substr(0, colon), &kind)) return false;
    int weight = 1;
    try {
      if (colon != std::string::npos) weight = std::stoi(item.substr(colon + 1));
    } catch (const std::exception&) {
      return false;
    }
    (kind == CodeKind::kContactId ? s->weight_contact_id : kind == CodeKind::kSia ? s->weight_sia : s->weight_pulse) =
        weight;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"DURiduvaze receiver simulator"};
  RunOptions options;
  Scenario scenario;
  std::string scenario_file, accounts, mix;
  double rate = 0;
  int count = -1;
  bool json = false;
  int ack_timeout_ms = 4000;
  int heartbeat_s = 30;
  unsigned seed = 1;
  app.add_option("--receiver", options.type, "receiver type 1..21 (the catalogue index)")->check(CLI::Range(1, 21));
  app.add_option("--station", options.station, "station root; the line is linked as ROOT/ports/PORT");
  app.add_option("--port", options.port, "port name, COM1..COM16")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            return duri::StationPortNumber(text) != 0 ? "" : "--port wants COM1..COM16, not " + text;
          },
          "COMn"));
  auto* tcp = app.add_option("--tcp", options.tcp, "connect to a station port in listen:// mode at HOST:PORT");
  app.add_option("--listen", options.listen, "wait for a station port in tcp:// mode on ADDRESS:PORT")->excludes(tcp);
  app.add_option("--scenario", scenario_file, "scenario JSON file");
  app.add_option("--rate", rate, "events per second");
  app.add_option("--count", count, "events to send; 0 without end");
  app.add_option("--accounts", accounts, "account range FIRST-LAST");
  app.add_option("--mix", mix, "event mix, e.g. contact_id:6,sia:3,pulse:1");
  app.add_option("--seed", seed, "random seed");
  app.add_option("--baud", options.baud, "line rate for pacing (ten bits a character)");
  app.add_flag("--full-speed", options.full_speed, "send without pacing");
  app.add_option("--ack-timeout-ms", ack_timeout_ms, "wait for an acknowledgement before resending");
  app.add_option("--resends", options.link.max_resends, "resends before computer fail");
  app.add_option("--heartbeat", heartbeat_s, "seconds of silence before a heartbeat; 0 none");
  app.add_option("--duration", options.duration_s, "stop after this many seconds (more than 0)")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            double v = 0;
            const bool number = CLI::detail::lexical_cast(text, v);
            return number && std::isfinite(v) && v > 0 && v <= 1e9 ? "" : "--duration wants seconds above 0, not " + text;
          },
          "SECONDS"));
  app.add_option("--split", options.faults.split, "chance of splitting a message (0..1)");
  app.add_option("--burst", options.faults.burst, "messages sent before awaiting an acknowledgement");
  app.add_option("--noise", options.faults.noise, "chance of noise bytes before a message (0..1)");
  app.add_option("--no-terminator", options.faults.no_terminator, "chance of dropping a terminator (0..1)");
  app.add_flag("--sync-first", options.sync_first, "start with a lone terminator (a port the station just opened)");
  app.add_option("--replay", options.replay_file, "send this raw capture byte for byte");
  app.add_flag("--json", json, "print the summary as one JSON line, with the acknowledged events");
  app.add_flag("--verbose", options.verbose, "log every message and acknowledgement");
  Dc09Options dc09;
  std::string dc09_address;
  int null_s = 0;
  app.add_option("--dc09", dc09_address, "report as a DC-09 panel to HOST:PORT");
  app.add_flag("--udp", dc09.udp, "DC-09 over UDP instead of TCP");
  app.add_option("--key", dc09.key_hex, "DC-09 AES key, 32, 48 or 64 hex digits");
  app.add_option("--null", null_s, "DC-09: seconds of silence before a NULL message; 0 none");
  app.add_option("--dc09-receiver", dc09.receiver, "DC-09 receiver number (hex), empty for none");
  app.add_option("--dc09-line", dc09.line, "DC-09 line number (hex)");
  app.add_option("--bad-crc", dc09.faults.bad_crc, "DC-09: chance of a copy with a bad CRC first (0..1)");
  app.add_option("--wrong-length", dc09.faults.wrong_length, "DC-09: chance of a copy with a wrong length first");
  app.add_option("--old-stamp", dc09.faults.old_stamp, "DC-09: chance of a copy with an old time stamp first");
  app.add_option("--drop", dc09.faults.drop, "DC-09: chance of half the message and a dropped connection first");
  app.add_option("--replay-seq", dc09.faults.replay, "DC-09: chance of sending the acknowledged message again");
  CLI11_PARSE(app, argc, argv);

  if (!scenario_file.empty()) {
    std::ifstream in(scenario_file);
    std::stringstream text;
    text << in.rdbuf();
    std::string error = in ? ParseScenario(text.str(), &scenario) : "cannot read " + scenario_file;
    if (!error.empty()) {
      std::cerr << "duriduvaze-sim: " << error << "\n";
      return 2;
    }
  }
  // The command line's rate, count, seed, accounts and mix over the scenario's own, for a DC-09 panel
  // and a receiver alike. False: an option could not be read (told on stderr).
  auto apply_scenario_options = [&]() -> bool {
    if (rate > 0) scenario.rate = rate;
    if (count >= 0) scenario.count = count;
    if (app.count("--seed")) scenario.seed = seed;
    if (!accounts.empty() && !ParseRange(accounts, &scenario.first_account, &scenario.last_account)) {
      std::cerr << "duriduvaze-sim: bad --accounts " << accounts << "\n";
      return false;
    }
    if (!mix.empty() && !ParseMix(mix, &scenario)) {
      std::cerr << "duriduvaze-sim: bad --mix " << mix << "\n";
      return false;
    }
    return true;
  };
  if (!dc09_address.empty()) {
    const size_t colon = dc09_address.rfind(':');
    try {
      dc09.port = colon == std::string::npos ? 0 : std::stoi(dc09_address.substr(colon + 1));
    } catch (const std::exception&) {
      dc09.port = 0;
    }
    if (dc09.port <= 0 || dc09.port > 65535) {
      std::cerr << "duriduvaze-sim: --dc09 wants HOST:PORT\n";
      return 2;
    }
    dc09.host = dc09_address.substr(0, colon);
    if (!apply_scenario_options()) return 2;
    dc09.ack_timeout_ms = ack_timeout_ms;
    dc09.resends = options.link.max_resends;
    dc09.null_interval_ms = null_s * 1000;
    dc09.duration_s = options.duration_s;
    dc09.verbose = options.verbose;
    const int stop = duri::tools::StopDescriptor();
    const Dc09Result result = RunDc09Panel(dc09, scenario, stop, [](const std::string& line) { std::cerr << line << "\n"; });
    close(stop);
    if (!result.error.empty()) {
      std::cerr << "duriduvaze-sim: " << result.error << "\n";
      return 2;
    }
    std::cout << (json ? Dc09SummaryJson(result) + "\n" : Dc09SummaryText(result)) << std::flush;
    return 0;
  }
  if (options.type == 0) options.type = scenario.receiver;
  if (options.type < 1 || options.type > 21) {
    std::cerr << "duriduvaze-sim: give the receiver type (--receiver 1..21)\n";
    return 2;
  }
  if (!apply_scenario_options()) return 2;
  options.link.ack_timeout_ms = ack_timeout_ms;
  options.link.heartbeat_interval_ms = heartbeat_s * 1000;

  const int stop_fd = duri::tools::StopDescriptor();
  SimRunner runner(options, scenario);
  runner.log = [](const std::string& line) { std::cerr << line << "\n"; };
  std::string error = runner.Open();
  if (!error.empty()) {
    std::cerr << "duriduvaze-sim: " << error << "\n";
    return 2;
  }
  if (options.verbose && runner.line().link_path().empty()) std::cerr << "line " << runner.line().device_path() << "\n";
  if (options.verbose && !runner.line().link_path().empty()) std::cerr << "linked " << runner.line().link_path() << " -> " << runner.line().device_path() << "\n";
  RunResult result = runner.Run(stop_fd);
  if (!result.error.empty()) {
    std::cerr << "duriduvaze-sim: " << result.error << "\n";
    return 2;
  }
  if (json) {
    std::cout << SummaryJson(result, options.type) << std::endl;
  } else {
    std::cout << SummaryText(result) << std::flush;
  }
  close(stop_fd);
  return 0;
}
