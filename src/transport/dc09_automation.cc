#include "transport/dc09_automation.h"

#include <algorithm>
#include <cctype>

namespace duri::dc09 {
namespace {

constexpr size_t kCidAccountDigits = 4;
constexpr size_t kMaxMessage = 255;  // a decoder's message text

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::string WithoutLeadingZeros(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? std::string() : digits.substr(first);
}

bool AllHex(const std::string& text) { return std::all_of(text.begin(), text.end(), IsHexDigit); }

// The data's own account, "#acct|", must be the frame's; the rest is what the receiver passes on.
bool SplitData(const Content& content, const std::string& data, std::string& rest, std::string& why) {
  const size_t bar = data.find('|');
  if (bar == std::string::npos) {
    why = "data without '|'";
    return false;
  }
  if (bar != 0 && (data[0] != '#' || Upper(data.substr(1, bar - 1)) != Upper(content.account))) {
    why = "data account " + data.substr(0, bar) + " is not the message's #" + content.account;
    return false;
  }
  rest = data.substr(bar + 1);
  return true;
}

char CidQualifier(char q) {
  switch (q) {
    case '1': return 'E';
    case '3': return 'R';
    case '6': return 'P';
    default: return 0;
  }
}

// "QEEE GG CCC".
bool ContactId(const Content& content, const std::string& rest, const std::string& rr, const std::string& l,
               std::string& message, std::string& why) {
  if (content.account.size() != kCidAccountDigits) {
    why = "Contact ID account #" + content.account + " is not 4 digits";
    return false;
  }
  const char q = rest.empty() ? 0 : CidQualifier(rest[0]);
  if (rest.size() != 11 || q == 0 || rest[4] != ' ' || rest[7] != ' ' || !AllHex(rest.substr(1, 3)) ||
      !AllHex(rest.substr(5, 2)) || !AllHex(rest.substr(8, 3))) {
    why = "Contact ID data \"" + rest + "\" is not Q EEE GG CCC";
    return false;
  }
  message = "5" + rr + l + " 18" + Upper(content.account) + q + Upper(rest.substr(1, 3)) + Upper(rest.substr(5, 2)) +
            Upper(rest.substr(8, 3)) + kSurGardTerminator;
  return true;
}

// Characters that would change what the Sur-Gard decoder makes of the block: its heartbeat marks, its
// free-text mark, the terminator, brackets, and anything unprintable.
bool SiaBlockCarries(const std::string& block) {
  return std::all_of(block.begin(), block.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b < 0x7F && c != '@' && c != '{' && c != '[' && c != ']';
  });
}

}  // namespace

bool ReceiverDigits(const Content& content, std::string& receiver, std::string& line, std::string& why) {
  receiver = WithoutLeadingZeros(content.receiver);
  line = WithoutLeadingZeros(content.line);
  if (receiver.size() > 2) {
    why = "receiver number R" + content.receiver + " needs more than 2 digits";
    return false;
  }
  if (line.size() > 1) {
    why = "line number L" + content.line + " needs more than 1 digit";
    return false;
  }
  receiver = Upper(std::string(2 - receiver.size(), '0') + receiver);
  line = Upper(line.empty() ? "0" : line);
  return true;
}

bool ToSurGard(const Content& content, const Body& body, std::string& message, std::string& why) {
  std::string rr, l, rest;
  if (!ReceiverDigits(content, rr, l, why) || !SplitData(content, body.data, rest, why)) return false;
  if (content.token == kAdmCid) return ContactId(content, rest, rr, l, message, why);
  if (content.token != kSiaDcs) {
    why = "token " + content.token + " carries no event";
    return false;
  }
  if (!SiaBlockCarries(rest) || !SiaBlockCarries(content.account)) {
    why = "SIA data \"" + rest + "\" holds a character the receiver's output cannot carry";
    return false;
  }
  message = "S" + rr + l + "[#" + Upper(content.account) + "|" + rest + "]" + kSurGardTerminator;
  if (message.size() > kMaxMessage) {
    why = "SIA data of " + std::to_string(rest.size()) + " characters is too long for one receiver message";
    return false;
  }
  return true;
}

std::string SupervisionMessage(const std::string& account, const std::string& receiver, const std::string& line,
                               bool cid, bool lost) {
  if (cid) return "5" + receiver + line + " 18" + account + (lost ? "E350" : "R350") + "00000" + kSurGardTerminator;
  return "S" + receiver + line + "[#" + account + (lost ? "|NYC]" : "|NYK]") + kSurGardTerminator;
}

}  // namespace duri::dc09
