// Decode throughput per receiver type: each receiver capture under tests/decoders/captures, framed and
// decoded as a port would see it (DecodeStream), on one core. Messages per second is the number of
// decoding steps over the time; a capture's options come from its "args:" line.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "decoders/decode_stream.h"
#include "platform/clock.h"

namespace duri {
namespace {

struct Capture {
  std::string name;  // folder/file
  std::string bytes;
  ReceiverConfig config;
  int year = 2026, month = 12, day = 8, hour = 10, minute = 11, second = 12;
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// "args: --receiver 7 --receiver-number --prefix 5 --today 2026-12-08 --now 10:11:12"
bool ParseArgs(const std::string& line, Capture& capture) {
  std::istringstream words(line);
  std::string word;
  if (!(words >> word) || word != "args:") return false;
  while (words >> word) {
    std::string value;
    if (word == "--receiver" && words >> value) {
      capture.config.receiver_type = static_cast<uint8_t>(std::stoi(value));
    } else if (word == "--prefix" && words >> value) {
      capture.config.prefix = value[0];
    } else if (word == "--receiver-number") {
      capture.config.receiver_number = 1;
    } else if (word == "--line-number") {
      capture.config.line_number = 1;
    } else if (word == "--compress-cid") {
      capture.config.compress_cid = 1;
    } else if (word == "--today" && words >> value) {
      std::sscanf(value.c_str(), "%d-%d-%d", &capture.year, &capture.month, &capture.day);
    } else if (word == "--now" && words >> value) {
      std::sscanf(value.c_str(), "%d:%d:%d", &capture.hour, &capture.minute, &capture.second);
    }
  }
  return capture.config.receiver_type != 0;
}

std::vector<Capture> LoadCaptures() {
  namespace fs = std::filesystem;
  std::vector<Capture> captures;
  const fs::path root = fs::path(DURI_SOURCE_DIR) / "tests" / "decoders" / "captures";
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.path().extension() != ".bin") continue;
    fs::path txt = entry.path();
    txt.replace_extension(".txt");
    std::istringstream header(ReadAll(txt));
    std::string first;
    std::getline(header, first);
    Capture capture;
    if (!ParseArgs(first, capture)) continue;
    capture.name = entry.path().parent_path().filename().string() + "/" + entry.path().stem().string();
    capture.bytes = ReadAll(entry.path());
    captures.push_back(std::move(capture));
  }
  std::sort(captures.begin(), captures.end(), [](const Capture& a, const Capture& b) {
    return a.config.receiver_type != b.config.receiver_type ? a.config.receiver_type < b.config.receiver_type
                                                            : a.name < b.name;
  });
  return captures;
}

void DecodeCapture(benchmark::State& st, const Capture& capture) {
  ManualClock clock;
  clock.Set(capture.year, capture.month, capture.day, capture.hour, capture.minute, capture.second);
  int64_t posted = 0;
  EventSink sink = [&](const DateRecord&, const TimeRecord&, std::string_view text, std::string_view) {
    posted += static_cast<int64_t>(text.size());
  };
  DecodeHost host;
  host.clock = &clock;
  host.add_event = &sink;
  int64_t messages = 0;
  DecodeObserver observer = [&](const DecodedMessage&, uint8_t) { ++messages; };
  for (auto _ : st) DecodeStream(capture.bytes, capture.config, host, observer);
  benchmark::DoNotOptimize(posted);
  st.SetItemsProcessed(messages);
  st.counters["type"] = capture.config.receiver_type;
}

const bool kRegistered = [] {
  for (const Capture& capture : LoadCaptures()) {
    benchmark::RegisterBenchmark(("BM_Decode/type" + std::to_string(capture.config.receiver_type) + "/" +
                                  capture.name).c_str(),
                                 [capture](benchmark::State& st) { DecodeCapture(st, capture); });
  }
  return true;
}();

}  // namespace
}  // namespace duri
