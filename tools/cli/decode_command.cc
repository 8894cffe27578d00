// duriduvaze-cli decode --receiver TYPE [--prefix C] [--receiver-number] [--line-number]
//     [--compress-cid] [--today YYYY-MM-DD] [--now HH:MM:SS] [--station DIR]
// Reads raw receiver bytes from standard input, frames them as a synchronised port of that receiver
// type would, and prints one JSON line per decoding step. Other tools compare this output byte for
// byte, so its shape is fixed (see DecodeJsonLine).
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "decoders/decode_stream.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "station_settings.h"
#include "station.h"

namespace duri::cli {
namespace {

// The computer's clock, with the date and the time of day replaced where the options fix them.
class DecodeClock : public Clock {
 public:
  std::optional<DateRecord> today;
  std::optional<TimeRecord> now;

  LocalDateTime Now() override {
    LocalDateTime t = system_.Now();
    if (today) t.date = *today;
    if (now) t.time = *now;
    return t;
  }
  int64_t MonotonicMs() override { return system_.MonotonicMs(); }
  void SleepMs(int ms) override { system_.SleepMs(ms); }

 private:
  SystemClock system_;
};

std::optional<DateRecord> ParseDay(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return std::nullopt;
  DateRecord date{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), 0};
  if (!ValidDate(date)) return std::nullopt;
  FixDate(date);
  return date;
}

std::optional<TimeRecord> ParseTimeOfDay(const std::string& text) {
  int h = 0, mi = 0, s = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &h, &mi, &s, &tail) != 3) return std::nullopt;
  if (h < 0 || mi < 0 || s < 0) return std::nullopt;
  TimeRecord time{static_cast<uint16_t>(h), static_cast<uint16_t>(mi), static_cast<uint16_t>(s), 0};
  if (!ValidTime(time)) return std::nullopt;
  return time;
}

struct DecodeOptions {
  int receiver = 0;
  std::string prefix = "0";
  bool receiver_number = false;
  bool line_number = false;
  bool compress_cid = false;
  std::string today;
  std::string now;
  std::string station;
};

int RunDecode(const DecodeOptions& options) {
  DecodeClock clock;
  if (!options.today.empty()) {
    clock.today = ParseDay(options.today);
    if (!clock.today) {
      std::cerr << "decode: --today wants a date YYYY-MM-DD\n";
      return 2;
    }
  }
  if (!options.now.empty()) {
    clock.now = ParseTimeOfDay(options.now);
    if (!clock.now) {
      std::cerr << "decode: --now wants a time HH:MM:SS\n";
      return 2;
    }
  }
  ReceiverConfig config;
  config.receiver_type = static_cast<uint8_t>(options.receiver);
  config.prefix = options.prefix[0];
  config.receiver_number = options.receiver_number ? 1 : 0;
  config.line_number = options.line_number ? 1 : 0;
  config.compress_cid = options.compress_cid ? 1 : 0;

  DecodeHost host;
  host.clock = &clock;
  NullView view;
  std::unique_ptr<Station> station;
  if (!options.station.empty()) {
    std::string root = std::filesystem::absolute(options.station).lexically_normal().string();
    station = std::make_unique<Station>(root, clock, view);
    // The station's own settings, language and intake: each message ends as it would from a port.
    LoadStartupSettings(*station);
    InstallEventIntake(*station);
    host.capture = &station->data;
    host.data = &station->data;  // the SK9000's error log
    host.add_event = &station->add_event;
  }

  std::string bytes((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  DecodeStream(bytes, config, host, [](const DecodedMessage& result, uint8_t activity) {
    std::cout << DecodeJsonLine(result, activity) << '\n';
  });
  std::cout.flush();
  return std::cout.good() ? 0 : 1;
}

}  // namespace

void RegisterDecodeCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<DecodeOptions>();
  CLI::App* cmd = app.add_subcommand("decode", "Decode raw receiver bytes from standard input as JSON lines");
  cmd->add_option("--receiver", options->receiver, "receiver type (1..21; others decode nothing)")
      ->required()
      ->check(CLI::Range(0, 255));
  cmd->add_option("--prefix", options->prefix, "account-number prefix character")
      ->check([](const std::string& v) { return v.size() == 1 ? std::string() : "one character"; });
  cmd->add_flag("--receiver-number", options->receiver_number, "keep the receiver digits in the account");
  cmd->add_flag("--line-number", options->line_number, "keep the line digits in the account");
  cmd->add_flag("--compress-cid", options->compress_cid, "compressed Contact ID codes");
  cmd->add_option("--today", options->today, "today's date, YYYY-MM-DD (default: the computer's)");
  cmd->add_option("--now", options->now, "the time of day, HH:MM:SS (default: the computer's)");
  cmd->add_option("--station", options->station, "station root: capture file and event posting")
      ->check(CLI::ExistingDirectory);
  cmd->callback([options, exit_code] {
    std::ios::sync_with_stdio(false);
    *exit_code = RunDecode(*options);
  });
}

}  // namespace duri::cli
