// Feeds arbitrary bytes to the DC-09 receiver: the frame cutter, the header and body readers, the
// decryption and the conversion to receiver messages. The first byte chooses the way in:
//   0 a TCP stream: frames cut one after another, each content handled
//   1 one content as is (a UDP datagram past its CRC and length)
//   2 one content whose bytes after the first "[" are encrypted with the account's key first, so the
//     decrypted side is explored too (accounts 1111, 2222, 3333: AES-128, -192, -256)
// Every answer must be a whole frame; every message for the intake one Sur-Gard message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "transport/dc09_accounts.h"
#include "transport/dc09_automation.h"
#include "transport/dc09_cipher.h"
#include "transport/dc09_frame.h"
#include "transport/dc09_receiver.h"

namespace {

using namespace duri::dc09;

constexpr int64_t kNow = 1796640000;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

AccountTable Accounts() {
  AccountTable table;
  std::string why;
  ParseAccounts(
      "1111 000102030405060708090A0B0C0D0E0F 30\n"
      "2222 000102030405060708090A0B0C0D0E0F1011121314151617 0\n"
      "3333 000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F 0\n"
      "1234 - 60\n",
      table, why);
  return table;
}

void CheckOutcome(const Outcome& outcome) {
  const Cut cut = CutFrame(outcome.answer, kMaxContent);
  Check(cut.result == CutResult::kFrame && cut.consumed == outcome.answer.size());
  if (outcome.verdict == Verdict::kPost) {
    Check(!outcome.message.empty() && outcome.message.size() <= 255);
    Check(outcome.message.find(kSurGardTerminator) == outcome.message.size() - 1);
  }
  for (const std::string& m : outcome.link_messages) Check(m.find(kSurGardTerminator) == m.size() - 1);
}

void Handle(Receiver& receiver, std::string_view content, int64_t now) {
  Outcome outcome = receiver.Handle(content, now);
  CheckOutcome(outcome);
  if (outcome.verdict == Verdict::kPost) receiver.Acknowledged(outcome);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const AccountTable accounts = Accounts();
  Receiver receiver(accounts, StampWindow{}, kNow);
  switch (data[0] % 3) {
    case 0: {
      std::string_view stream = input;
      while (!stream.empty()) {
        const Cut cut = CutFrame(stream, 1024);
        if (cut.result == CutResult::kIncomplete) break;
        Check(cut.consumed > 0 && cut.consumed <= stream.size());
        if (cut.result == CutResult::kFrame) Handle(receiver, cut.content, kNow);
        stream.remove_prefix(cut.consumed);
      }
      break;
    }
    case 1:
      Handle(receiver, input, kNow);
      break;
    default: {
      const size_t bracket = input.find('[');
      if (bracket == std::string_view::npos) return 0;
      Content content;
      ParseContent(input, content);
      const auto entry = accounts.find(content.account);
      if (entry == accounts.end() || !entry->second.has_key) return 0;
      const std::string sealed = std::string(input.substr(0, bracket + 1)) +
                                 EncryptBody(entry->second.key, input.substr(bracket + 1));
      Handle(receiver, sealed, kNow);
      break;
    }
  }
  for (const std::string& m : receiver.Supervise(kNow + 100)) Check(m.find(kSurGardTerminator) == m.size() - 1);
  return 0;
}
