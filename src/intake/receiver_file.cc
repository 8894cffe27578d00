#include "intake/receiver_file.h"

#include <algorithm>
#include <vector>

#include "store/shared_file.h"

namespace duri {
namespace {

std::vector<uint8_t> EncodeAll(const ReceiverConfigs& configs) {
  std::vector<uint8_t> bytes(kReceiverFileSize);
  for (size_t i = 0; i < configs.size(); ++i) configs[i].Encode(bytes.data() + i * ReceiverConfig::kSize);
  return bytes;
}

}  // namespace

int LoadReceiverConfigs(DataDir& dir, ReceiverConfigs& configs) {
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
  for (size_t i = 0; i < configs.size(); ++i) configs[i].Decode(bytes.data() + i * ReceiverConfig::kSize);
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
