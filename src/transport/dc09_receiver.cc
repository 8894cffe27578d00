#include "transport/dc09_receiver.h"

#include <algorithm>
#include <cctype>

#include "transport/dc09_automation.h"
#include "transport/dc09_cipher.h"

namespace duri::dc09 {
namespace {

// Accounts remembered for repeats and supervision; past it, new accounts are still served but not
// remembered (a flood of made-up accounts must not grow the station without bound).
constexpr size_t kMaxPanels = 200000;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

Receiver::Receiver(AccountTable accounts, StampWindow window, int64_t now)
    : accounts_(std::move(accounts)), window_(window) {
  for (const auto& [account, entry] : accounts_) {
    if (entry.supervision_seconds <= 0) continue;
    Panel& panel = panels_[account];
    panel.interval = entry.supervision_seconds;
    panel.last_seen = now;
    panel.cid = account.size() == 4;
  }
}

Outcome Receiver::Duh(const Content& content, const std::string& why) const {
  Content answer;
  answer.token = std::string(kDuhToken);
  answer.sequence = content.sequence.empty() ? "0000" : content.sequence;
  answer.has_receiver = true;
  answer.receiver = content.receiver.empty() ? "0" : content.receiver;
  answer.line = content.line.empty() ? "0" : content.line;
  answer.account = content.account.empty() ? "0" : content.account;
  Outcome outcome;
  outcome.answer = Frame(HeaderText(answer) + "[]");
  outcome.log = "DUH: " + why;
  outcome.account = Upper(content.account);
  return outcome;
}

Outcome Receiver::Nak(const std::string& why, int64_t now) const {
  Outcome outcome;
  outcome.answer = Frame(std::string("\"NAK\"0000R0L0A0[]_") + StampText(now));
  outcome.log = "NAK: " + why;
  return outcome;
}

Outcome Receiver::Ack(const Content& content, const AccountEntry* entry, int64_t now) const {
  Content answer = content;
  answer.token = std::string(kAckToken);
  std::string text = HeaderText(answer) + "[";
  if (content.encrypted && entry != nullptr && entry->has_key) {
    text += EncryptBody(entry->key, "]_" + StampText(now));
  } else {
    text += "]";
  }
  Outcome outcome;
  outcome.answer = Frame(text);
  outcome.account = Upper(content.account);
  outcome.sequence = content.sequence;
  return outcome;
}

void Receiver::Seen(Panel& panel, const Content& content, Outcome& outcome, int64_t now) {
  panel.last_seen = now;
  std::string why;
  std::string receiver, line;
  if (ReceiverDigits(content, receiver, line, why)) {
    panel.receiver = receiver;
    panel.line = line;
  }
  if (content.token != kNull) panel.cid = content.token == kAdmCid;
  if (panel.lost) {
    panel.lost = false;
    outcome.link_messages.push_back(
        SupervisionMessage(Upper(content.account), panel.receiver, panel.line, panel.cid, false));
  }
}

Outcome Receiver::Handle(std::string_view text, int64_t now) {
  Content content;
  const ParseResult parsed = ParseContent(text, content);
  if (parsed == ParseResult::kBadToken) return Duh(content, "unknown token \"" + content.token + "\"");
  if (parsed == ParseResult::kBadHeader) return Duh(content, "malformed sequence, receiver, line or account");
  if (content.token != kSiaDcs && content.token != kAdmCid && content.token != kNull) {
    return Duh(content, "a panel does not send " + content.token);
  }
  const std::string account = Upper(content.account);
  const auto found = accounts_.find(account);
  const AccountEntry* entry = found == accounts_.end() ? nullptr : &found->second;

  std::string body = content.body;
  if (content.encrypted) {
    if (entry == nullptr || !entry->has_key) return Duh(content, "encrypted, but account " + account + " has no key");
    std::string rest;
    if (!DecryptBody(entry->key, std::string_view(body).substr(1), rest)) {
      return Duh(content, "encrypted data of account " + account + " does not decrypt with its key");
    }
    body = content.token == kNull ? "[" + rest.substr(1) : "[#" + content.account + rest;
  } else if (entry != nullptr && entry->has_key) {
    return Duh(content, "account " + account + " has a key but sent its message in clear");
  }
  Body parts;
  if (!SplitBody(body, parts)) return Duh(content, "malformed data or time stamp");
  if (content.token == kNull && !parts.data.empty()) return Duh(content, "NULL message with data");

  Outcome outcome;
  auto panel = panels_.find(account);
  if (panel == panels_.end() && panels_.size() < kMaxPanels) panel = panels_.emplace(account, Panel{}).first;
  if (content.encrypted && !parts.has_stamp) return Nak("encrypted message without a time stamp", now);
  if (parts.has_stamp) {
    int64_t stamp = 0;
    StampSeconds(parts.stamp, stamp);
    if (stamp < now - window_.past || stamp > now + window_.future) {
      return Nak("time stamp " + parts.stamp + " outside the window of account " + account, now);
    }
  }
  if (panel != panels_.end()) Seen(panel->second, content, outcome, now);

  Outcome ack = Ack(content, entry, now);
  ack.link_messages = std::move(outcome.link_messages);
  ack.data = parts.data;
  if (content.token == kNull) return ack;
  if (panel != panels_.end() && panel->second.last_sequence == content.sequence && panel->second.last_data == parts.data) {
    ack.log = "repeat of sequence " + content.sequence + " of account " + account + " acknowledged again";
    return ack;
  }
  std::string why;
  if (!ToSurGard(content, parts, ack.message, why)) {
    Outcome duh = Duh(content, why);
    duh.link_messages = std::move(ack.link_messages);
    return duh;
  }
  ack.verdict = Verdict::kPost;
  return ack;
}

void Receiver::Acknowledged(const Outcome& outcome) {
  const auto panel = panels_.find(outcome.account);
  if (panel == panels_.end()) return;
  panel->second.last_sequence = outcome.sequence;
  panel->second.last_data = outcome.data;
}

std::vector<std::string> Receiver::Supervise(int64_t now) {
  std::vector<std::string> messages;
  for (auto& [account, panel] : panels_) {
    if (panel.interval <= 0 || panel.lost || now - panel.last_seen <= panel.interval) continue;
    panel.lost = true;
    messages.push_back(SupervisionMessage(account, panel.receiver, panel.line, panel.cid, true));
  }
  return messages;
}

}  // namespace duri::dc09
