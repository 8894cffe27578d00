// duriduvaze-cli receivers --station DIR [FILE.json]: writes the receiver setup of ports in
// "C:\TorvaCom.dta" from a JSON description, as "Save info" would, and prints the sixteen records back
// as JSON lines (without FILE, only prints them). The form:
//   {"receivers": [{"port": 1, "receiver_type": 7, "receiver_number": 0, "line_number": 0,
//                   "prefix": "0", "compress_contact_id": 0, "show_heartbeat": 0,
//                   "baud_rate": 9600, "data_bits": 8, "stop_bits": 0, "even_parity": 0,
//                   "link": "tcp://192.168.10.20:1025"}]}
// Ports not named keep their records; a field left out takes the record's reset value. "link" binds the
// port to a network link in the station's link file "C:\TorvaLink.txt" (tcp://HOST:PORT,
// listen://ADDRESS:PORT or dc09://ADDRESS:PORT); a named port without it takes its serial line again.
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <optional>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "commands.h"
#include "intake/link_file.h"
#include "intake/receiver_file.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "store/io_result.h"
#include "transport/serial_port.h"

namespace duri::cli {
namespace {

using nlohmann::json;

struct ReceiversOptions {
  std::string station;
  std::string file;
};

int BaudRateCode(int baud) {
  for (int code = 1; code < kBaudRateCount; ++code) {
    if (BaudRateValue(static_cast<TBaudRate>(code)) == baud) return code;
  }
  throw std::invalid_argument("baud_rate " + std::to_string(baud) + " is not one of the port's rates");
}

// A whole number in low..high, checked before it is cut to the record's byte: 1.9, true, "7" and
// 99999999999 are refused with the key named.
int64_t Integer(const json& j, const char* key, int64_t fallback, int64_t low, int64_t high) {
  if (!j.contains(key)) return fallback;
  const json& v = j.at(key);
  if (!v.is_number_integer()) throw std::invalid_argument(std::string(key) + " is not a whole number: " + v.dump());
  bool in_range;
  if (v.is_number_unsigned()) {
    const uint64_t u = v.get<uint64_t>();
    in_range = u <= static_cast<uint64_t>(high) && (low <= 0 || u >= static_cast<uint64_t>(low));
  } else {
    const int64_t n = v.get<int64_t>();
    in_range = n >= low && n <= high;
  }
  if (!in_range) {
    throw std::invalid_argument(std::string(key) + " " + v.dump() + " is not " + std::to_string(low) + ".." +
                                std::to_string(high));
  }
  return v.get<int64_t>();
}

int Byte(const json& j, const char* key, int fallback, int low, int high) {
  return static_cast<int>(Integer(j, key, fallback, low, high));
}

ReceiverConfig FromJson(const json& j) {
  static const std::set<std::string> kFields = {"port", "receiver_type", "receiver_number", "line_number",
                                                "prefix", "compress_contact_id", "show_heartbeat", "baud_rate",
                                                "data_bits", "stop_bits", "even_parity", "link"};
  for (const auto& [key, value] : j.items()) {
    if (!kFields.contains(key)) throw std::invalid_argument("unknown field " + key);
  }
  ReceiverConfig c;
  c.receiver_type = static_cast<uint8_t>(Byte(j, "receiver_type", 0, 0, 21));
  c.receiver_number = static_cast<uint8_t>(Byte(j, "receiver_number", 0, 0, 1));
  c.line_number = static_cast<uint8_t>(Byte(j, "line_number", 0, 0, 1));
  if (j.contains("prefix") && !j.at("prefix").is_string()) throw std::invalid_argument("prefix is not a text");
  std::string prefix = j.value("prefix", std::string("0"));
  if (prefix.size() != 1 || !std::isxdigit(static_cast<unsigned char>(prefix[0])) ||
      std::islower(static_cast<unsigned char>(prefix[0]))) {
    throw std::invalid_argument("prefix \"" + prefix + "\" is not one of 0..9, A..F");
  }
  c.prefix = prefix[0];
  c.compress_cid = static_cast<uint8_t>(Byte(j, "compress_contact_id", 0, 0, 1));
  c.show_heartbeat = static_cast<uint8_t>(Byte(j, "show_heartbeat", 0, 0, 1));
  if (j.contains("baud_rate")) {
    c.baud_rate_code = static_cast<uint8_t>(BaudRateCode(static_cast<int>(Integer(j, "baud_rate", 0, 1, 4000000))));
  }
  c.data_bits_code = static_cast<uint8_t>(Byte(j, "data_bits", 8, 5, 8) - 5);
  c.stop_bits_code = static_cast<uint8_t>(Byte(j, "stop_bits", 0, 0, 2));
  c.even_parity = static_cast<uint8_t>(Byte(j, "even_parity", 0, 0, 1));
  return c;
}

json ToJsonRecord(int port, const ReceiverConfig& c);

// The "link" of a port's description; none when left out or null.
std::optional<LinkAddress> LinkFromJson(const json& j) {
  if (!j.contains("link") || j.at("link").is_null()) return std::nullopt;
  if (!j.at("link").is_string()) throw std::invalid_argument("link is not a text");
  LinkAddress address;
  const std::string error = ParseLinkAddress(j.at("link").get<std::string>(), &address);
  if (!error.empty()) throw std::invalid_argument("link " + error);
  return address;
}

json ToJson(int port, const ReceiverConfig& c, const std::optional<LinkAddress>& link) {
  json j = ToJsonRecord(port, c);
  if (link) j["link"] = LinkAddressText(*link);
  return j;
}

json ToJsonRecord(int port, const ReceiverConfig& c) {
  return {{"port", port},
          {"receiver_type", c.receiver_type},
          {"receiver_number", c.receiver_number},
          {"line_number", c.line_number},
          {"prefix", std::string(1, c.prefix)},
          {"compress_contact_id", c.compress_cid},
          {"show_heartbeat", c.show_heartbeat},
          {"baud_rate", BaudRateValue(static_cast<TBaudRate>(c.baud_rate_code % kBaudRateCount))},
          {"data_bits", c.data_bits_code + 5},
          {"stop_bits", c.stop_bits_code},
          {"even_parity", c.even_parity}};
}

int Receivers(const ReceiversOptions& options) {
  std::error_code ec;
  std::filesystem::create_directories(options.station, ec);
  const std::string root = std::filesystem::absolute(options.station).lexically_normal().string();
  SystemClock clock;
  NullView view;
  DataDir dir(root, clock, view);
  ReceiverConfigs configs;
  std::vector<DamagedReceiverRecord> damaged;
  const int loaded = LoadReceiverConfigs(dir, configs, &damaged);
  if (loaded != 0) {
    std::cerr << "duriduvaze-cli receivers: TorvaCom.dta cannot be read, " << IoResultText(loaded) << "\n";
    return 1;
  }
  for (const DamagedReceiverRecord& d : damaged) {
    std::cerr << "duriduvaze-cli receivers: TorvaCom.dta: the record of COM" << d.port << " is damaged (" << d.damage
              << "); shown with its reset values\n";
  }
  const std::string link_path = dir.HostPath(kLinkFileName).value_or(root + "/TorvaLink.txt");
  PortLinkTable links;
  std::string link_error;
  if (LoadLinkFile(link_path, &links, &link_error) == LinkFileStatus::kRefused) {
    std::cerr << "duriduvaze-cli receivers: " << link_error << "\n";
    if (options.file.empty()) return 1;
  }
  if (!options.file.empty()) {
    try {
      std::ifstream in(options.file);
      if (!in) throw std::invalid_argument("cannot read " + options.file);
      json description = json::parse(in);
      ReceiverConfigs changed = configs;
      PortLinkTable changed_links = links;
      if (!description.is_object()) throw std::invalid_argument("the description is not an object");
      for (const auto& [key, value] : description.items()) {
        if (key != "receivers") throw std::invalid_argument("unknown key " + key);
      }
      if (!description.contains("receivers") || !description.at("receivers").is_array()) {
        throw std::invalid_argument("receivers is not a list");
      }
      for (const json& r : description.at("receivers")) {
        if (!r.is_object()) throw std::invalid_argument("receivers: an element is not an object: " + r.dump());
        if (!r.contains("port")) throw std::invalid_argument("port missing in " + r.dump());
        const int port = static_cast<int>(Integer(r, "port", 0, 1, kPortCount));
        changed[static_cast<size_t>(port - 1)] = FromJson(r);
        changed_links[static_cast<size_t>(port - 1)] = LinkFromJson(r);
      }
      configs = changed;
      links = changed_links;
    } catch (const std::exception& e) {
      std::cerr << "duriduvaze-cli receivers: " << e.what() << "\n";
      return 2;
    }
    int r = SaveReceiverConfigs(dir, configs);
    if (r != 0) {
      std::cerr << "duriduvaze-cli receivers: TorvaCom.dta cannot be written, " << IoResultText(r) << "\n";
      return 1;
    }
    if (int err = SaveLinkFile(link_path, links); err != 0) {
      std::cerr << "duriduvaze-cli receivers: " << link_path << " cannot be written: " << std::strerror(err) << "\n";
      return 1;
    }
  }
  for (int port = 1; port <= kPortCount; ++port) {
    const size_t i = static_cast<size_t>(port - 1);
    std::cout << ToJson(port, configs[i], links[i]).dump() << "\n";
  }
  return 0;
}

}  // namespace

void RegisterReceiversCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ReceiversOptions>();
  CLI::App* cmd = app.add_subcommand("receivers", "Write ports' receiver setup (TorvaCom.dta) from JSON and print it");
  cmd->add_option("--station", options->station, "station root")->required();
  cmd->add_option("file", options->file, "JSON file with a \"receivers\" list");
  cmd->callback([options, exit_code] { *exit_code = Receivers(*options); });
}

}  // namespace duri::cli
