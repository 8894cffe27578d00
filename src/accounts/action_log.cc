#include "accounts/action_log.h"

#include <array>
#include <cstring>
#include <string>

#include "store/coding.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "store/lock_file.h"
#include "store/period_folder.h"
#include "store/shared_file.h"

namespace duri {
namespace {

bool Fail(DataDir& dir, const std::string& what, int r) {
  LogError(dir, "Action log not written: " + what +
                          " (result " + std::to_string(r) + ")");
  return false;
}

}  // namespace

void ActionLogEntry::Encode(std::span<uint8_t, kSize> dst) const {
  std::memset(dst.data(), 0, kSize);
  EncodeSigned32(dst.data() + kHistoryRecNoOffset, history_rec_no);
  text.Encode(dst.data() + kTextOffset);
  time.Encode(dst.data() + kTimeOffset);
}

void ActionLogEntry::Decode(std::span<const uint8_t, kSize> src) {
  history_rec_no = DecodeSigned32(src.data() + kHistoryRecNoOffset);
  text.Decode(src.data() + kTextOffset);
  time.Decode(src.data() + kTimeOffset);
}

bool WriteActionLog(DataDir& dir, ActionLogEntry entry, std::string_view period_key) {
  WaitUntilFree(dir, kGeneralLock, period_key);
  entry.text = std::string(ActionLogEntry::kTextIndent, ' ') + entry.text.str();
  const std::string folder = PeriodDirectory(period_key);
  if (!DirectoryExists(dir, folder)) return Fail(dir, folder + " missing", kIoPathNotFound);
  SharedFile mdc;
  SharedFile mdx;
  int r = OpenOrCreateForUpdate(dir, mdc, folder + "DEMA.MDC", ActionLogEntry::kSize);
  if (r != kIoOk) return Fail(dir, folder + "DEMA.MDC", r);
  r = OpenOrCreateForUpdate(dir, mdx, folder + "DEMA.MDX", ActionLogEntry::kIndexSize);
  if (r != kIoOk) return Fail(dir, folder + "DEMA.MDX", r);
  const int32_t n = mdc.RecordCount();
  // An index left short (a crash between the two writes) is completed from the entries first.
  std::array<uint8_t, ActionLogEntry::kSize> bytes;
  for (int32_t i = mdx.RecordCount(); i < n && r == kIoOk; ++i) {
    r = mdc.ReadRecord(i, bytes);
    if (r == kIoOk) r = mdx.WriteRecord(i, std::span<const uint8_t>(bytes.data() + ActionLogEntry::kHistoryRecNoOffset, 4));
  }
  entry.Encode(bytes);
  if (r == kIoOk) r = mdc.WriteRecord(n, bytes);
  uint8_t index[ActionLogEntry::kIndexSize];
  EncodeSigned32(index, entry.history_rec_no);
  if (r == kIoOk) r = mdx.WriteRecord(n, index);
  CloseShared(dir, mdx);
  CloseShared(dir, mdc);
  if (r != kIoOk) return Fail(dir, folder + "DEMA", r);
  return true;
}

}  // namespace duri
