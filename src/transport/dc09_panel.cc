#include "transport/dc09_panel.h"

#include <cstdio>

namespace duri::dc09 {

std::string PanelFrame(const PanelReport& report, const Key& key) {
  char sequence[8];
  std::snprintf(sequence, sizeof sequence, "%04d", report.sequence % 10000);
  std::string header = "\"";
  if (!key.empty()) header += '*';
  header += report.token + "\"" + sequence;
  if (!report.receiver.empty()) header += "R" + report.receiver;
  header += "L" + report.line + "#" + report.account + "[";
  const std::string data = report.token == kNull ? std::string() : report.data;
  const std::string stamp = report.stamped || !key.empty() ? "_" + StampText(report.stamp) : std::string();
  if (key.empty()) {
    const std::string clear = data.empty() ? "]" : "#" + report.account + "|" + data + "]";
    return Frame(header + clear + stamp);
  }
  return Frame(header + EncryptBody(key, data + "]" + stamp));
}

PanelAnswer ReadAnswer(const std::string& frame, const Key& key) {
  PanelAnswer answer;
  const Cut cut = CutFrame(frame, kMaxContent);
  if (cut.result != CutResult::kFrame || cut.consumed != frame.size()) return answer;
  Content content;
  if (ParseContent(cut.content, content) != ParseResult::kOk) return answer;
  answer.token = content.token;
  answer.sequence = content.sequence;
  answer.encrypted = content.encrypted;
  if (content.encrypted && !key.empty()) {
    std::string rest;
    answer.decrypts = DecryptBody(key, std::string_view(content.body).substr(1), rest);
  }
  Body body;
  if (!content.encrypted && SplitBody(content.body, body)) answer.stamp = body.stamp;
  return answer;
}

}  // namespace duri::dc09
