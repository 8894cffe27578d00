#include "accounts/pager_sms.h"

#include <algorithm>
#include <array>

#include "store/shared_file.h"

namespace duri {

bool ReadNotifyEntry(DataDir& dir, int32_t& p, NotifyEntry& entry) {
  entry.kind = 0;
  entry.destination1.Clear();
  entry.destination2.Clear();
  entry.option1 = 0;
  entry.option2 = 0;
  if (p < 0) return false;
  SharedFile file;
  if (!OpenSharedHandle(dir, file, kNotifyFile).ok()) {
    p = -1;
    return false;
  }
  int64_t size = file.Size();
  if (size < 0 || p > size) {
    p = -1;
    CloseShared(dir, file);
    return false;
  }
  std::array<uint8_t, NotifyEntry::kSize> buf{};
  if (file.ReadAt(p, buf) == kIoOk) entry.Decode(buf.data());
  CloseShared(dir, file);
  return true;
}

std::optional<std::vector<std::string>> PagerArguments(const DataDir& dir, int32_t p, std::string_view text) {
  if (p < 0) return std::nullopt;
  std::optional<std::string> program = dir.HostPath(kPagerProgram);
  if (!program) return std::nullopt;
  std::vector<std::string> argv = {*program, std::to_string(p)};
  std::string message(text);
  std::replace(message.begin(), message.end(), ' ', '_');
  // An empty text ended the original command line after the number: no argument at all.
  if (!message.empty()) argv.push_back(message);
  return argv;
}

std::optional<std::vector<std::string>> SmsArguments(const DataDir& dir, std::string_view account,
                                                     std::string_view text, const NotifyEntry& entry,
                                                     std::string_view sms_prefix, std::string_view sms_port) {
  std::string message = std::string(account) + " " + std::string(text);
  // The joining blank alone is no message.
  bool blank = message.find_first_not_of(' ') == std::string::npos;
  if (blank || sms_port.empty() || entry.destination1.empty()) return std::nullopt;
  std::optional<std::string> program = dir.HostPath(kSmsProgram);
  if (!program) return std::nullopt;
  std::string number = std::string(sms_prefix) + entry.destination1.str();
  if (number.size() > kSmsNumberLimit) number.resize(kSmsNumberLimit);
  // The quoted part of the original command line is one argument.
  return std::vector<std::string>{*program, std::string(sms_port), number, message};
}

void SendPager(const DataDir& dir, Launcher& launcher, int32_t p, std::string_view text) {
  if (auto argv = PagerArguments(dir, p, text)) launcher.Start(*argv);
}

void SendSms(const DataDir& dir, Launcher& launcher, std::string_view account, std::string_view text,
             const NotifyEntry& entry, std::string_view sms_prefix, std::string_view sms_port) {
  if (auto argv = SmsArguments(dir, account, text, entry, sms_prefix, sms_port)) launcher.Start(*argv);
}

}  // namespace duri
