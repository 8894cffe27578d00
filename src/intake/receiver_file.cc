#include "intake/receiver_file.h"

#include <algorithm>
#include <vector>

#include "receivers/receiver_catalogue.h"
#include "store/shared_file.h"
#include "transport/serial_port.h"

namespace duri {
namespace {

std::vector<uint8_t> EncodeAll(const ReceiverConfigs& configs) {
  std::vector<uint8_t> bytes(kReceiverFileSize);
  for (size_t i = 0; i < configs.size(); ++i) configs[i].Encode(bytes.data() + i * ReceiverConfig::kSize);
  return bytes;
}

}  // namespace

std::string ReceiverRecordDamage(const ReceiverConfig& c) {
  auto is_flag = [](uint8_t v) { return v <= 1; };
  const bool hex_digit = (c.prefix >= '0' && c.prefix <= '9') || (c.prefix >= 'A' && c.prefix <= 'F');
  if (c.receiver_type >= kReceiverTypeCount) return "receiver type " + std::to_string(c.receiver_type);
  if (!hex_digit) return "account prefix byte " + std::to_string(static_cast<uint8_t>(c.prefix));
  if (!is_flag(c.receiver_number) || !is_flag(c.line_number) || !is_flag(c.compress_cid) ||
      !is_flag(c.show_heartbeat) || !is_flag(c.even_parity)) {
    return "a check box value other than 0 or 1";
  }
  if (c.baud_rate_code >= kBaudRateCount) return "baud rate code " + std::to_string(c.baud_rate_code);
  if (c.data_bits_code > 3) return "data bits code " + std::to_string(c.data_bits_code);
  if (c.stop_bits_code > 2) return "stop bits code " + std::to_string(c.stop_bits_code);
  return {};
}

int LoadReceiverConfigs(DataDir& dir, ReceiverConfigs& configs, std::vector<DamagedReceiverRecord>* damaged) {
  for (ReceiverConfig& c : configs) ResetReceiverConfig(c);
  if (!FileExists(dir, kReceiverFileName)) return kIoOk;
  SharedFile file;
  if (!OpenSharedHandle(dir, file, kReceiverFileName).ok()) return kIoFileNotFound;
  // Read over the records as they stand, so that whatever the file does not reach keeps its reset value.
  std::vector<uint8_t> bytes = EncodeAll(configs);
  int64_t size = std::clamp<int64_t>(file.Size(), 0, kReceiverFileSize);
  int result = size > 0 ? file.ReadAt(0, std::span<uint8_t>(bytes.data(), static_cast<size_t>(size))).code() : kIoOk;
  CloseShared(dir, file);
  if (result != kIoOk && result != kIoReadPastEnd) return result;
  for (size_t i = 0; i < configs.size(); ++i) {
    configs[i].Decode(bytes.data() + i * ReceiverConfig::kSize);
    std::string damage = ReceiverRecordDamage(configs[i]);
    if (damage.empty()) continue;
    ResetReceiverConfig(configs[i]);
    if (damaged != nullptr) damaged->push_back({static_cast<int>(i) + 1, std::move(damage)});
  }
  return kIoOk;
}

int SaveReceiverConfigs(DataDir& dir, const ReceiverConfigs& configs) {
  SharedFile file;
  int result = OpenOrCreateForUpdate(dir, file, kReceiverFileName, 1);
  if (result != kIoOk) return result;
  std::vector<uint8_t> bytes = EncodeAll(configs);
  result = file.WriteAt(0, bytes);
  CloseShared(dir, file);
  return result != kIoOk ? result : dir.last_io_result;
}

}  // namespace duri
