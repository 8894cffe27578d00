#include "scenario.h"

#include <nlohmann/json.hpp>

#include "receiver_messages.h"

namespace duri::sim {
namespace {

using nlohmann::json;

// Codes a panel commonly reports: burglary, fire, panic, AC loss, opening/closing, periodic test.
const char* const kContactIdCodes[] = {"130", "110", "120", "301", "401", "602"};
const char* const kSiaCodes[] = {"BA", "FA", "PA", "AT", "OP", "CL", "RP"};
const char* const kPulseCodes[] = {"3", "13", "31", "7", "9"};

void ReadRange(const json& j, const char* key, int* first, int* last) {
  if (!j.contains(key)) return;
  const json& r = j.at(key);
  *first = r.at(0).get<int>();
  *last = r.at(1).get<int>();
}

SimEvent EventFromJson(const json& j) {
  SimEvent e;
  const json& account = j.at("account");
  e.account = account.is_string() ? account.get<std::string>() : std::to_string(account.get<int>());
  e.area = j.value("area", 0);
  e.zone = j.value("zone", 0);
  if (j.contains("contact_id")) {
    // "E130" or "R401": qualifier and event code.
    std::string code = j.at("contact_id").get<std::string>();
    e.kind = CodeKind::kContactId;
    if (!code.empty() && (code[0] == 'E' || code[0] == 'R')) {
      e.qualifier = code[0];
      code.erase(0, 1);
    }
    e.code = code;
  } else if (j.contains("sia")) {
    e.kind = CodeKind::kSia;
    e.code = j.at("sia").get<std::string>();
  } else {
    e.kind = CodeKind::kPulse;
    e.code = j.at("pulse").get<std::string>();
  }
  return e;
}

}  // namespace

std::string ParseScenario(const std::string& json_text, Scenario* s) {
  try {
    json j = json::parse(json_text);
    if (!j.is_object()) return "the scenario is not a JSON object";
    s->receiver = j.value("receiver", s->receiver);
    s->rate = j.value("rate", s->rate);
    s->count = j.value("count", s->count);
    s->seed = j.value("seed", s->seed);
    ReadRange(j, "accounts", &s->first_account, &s->last_account);
    ReadRange(j, "areas", &s->first_area, &s->last_area);
    ReadRange(j, "zones", &s->first_zone, &s->last_zone);
    if (j.contains("mix")) {
      const json& mix = j.at("mix");
      s->weight_contact_id = mix.value("contact_id", 0);
      s->weight_sia = mix.value("sia", 0);
      s->weight_pulse = mix.value("pulse", 0);
    }
    if (j.contains("events")) {
      for (const json& e : j.at("events")) s->events.push_back(EventFromJson(e));
    }
  } catch (const json::exception& e) {
    return std::string("bad scenario: ") + e.what();
  }
  if (s->rate <= 0) return "the rate must be above 0";
  if (s->first_account > s->last_account || s->first_area > s->last_area || s->first_zone > s->last_zone) {
    return "a range ends before it begins";
  }
  return {};
}

EventSource::EventSource(const Scenario& scenario, int type)
    : scenario_(scenario), type_(type), random_(scenario.seed) {
  if (!scenario_.events.empty()) {
    for (const SimEvent& e : scenario_.events) {
      std::string why = CheckEvent(type, e);
      if (!why.empty()) {
        error_ = why;
        return;
      }
    }
    return;
  }
  if (!Supports(type, CodeKind::kContactId)) scenario_.weight_contact_id = 0;
  if (!Supports(type, CodeKind::kSia)) scenario_.weight_sia = 0;
  if (!Supports(type, CodeKind::kPulse)) scenario_.weight_pulse = 0;
  if (scenario_.weight_contact_id + scenario_.weight_sia + scenario_.weight_pulse <= 0) {
    error_ = "the event mix holds no kind that receiver type " + std::to_string(type) + " sends";
  }
  // Accounts must fit the model's field.
  const int limit = TraitsOf(type).account_width == 3 ? 999 : 9999;
  if (scenario_.last_account > limit || scenario_.first_account < 0) {
    error_ = "accounts must lie in 0.." + std::to_string(limit) + " for receiver type " + std::to_string(type);
  }
}

bool EventSource::Next(SimEvent* event) {
  if (!error_.empty()) return false;
  if (!scenario_.events.empty()) {
    const int total = static_cast<int>(scenario_.events.size()) * std::max(1, scenario_.count);
    if (given_ >= total) return false;
    *event = scenario_.events[static_cast<size_t>(given_) % scenario_.events.size()];
  } else {
    if (scenario_.count > 0 && given_ >= scenario_.count) return false;
    *event = Draw();
  }
  ++given_;
  return true;
}

SimEvent EventSource::Draw() {
  auto pick = [this](int first, int last) { return std::uniform_int_distribution<int>(first, last)(random_); };
  SimEvent e;
  e.account = std::to_string(pick(scenario_.first_account, scenario_.last_account));
  int w = pick(1, scenario_.weight_contact_id + scenario_.weight_sia + scenario_.weight_pulse);
  e.area = pick(scenario_.first_area, scenario_.last_area);
  e.zone = pick(scenario_.first_zone, scenario_.last_zone);
  if (w <= scenario_.weight_contact_id) {
    e.kind = CodeKind::kContactId;
    e.code = kContactIdCodes[pick(0, 5)];
    e.qualifier = pick(0, 3) == 0 ? 'R' : 'E';
  } else if (w <= scenario_.weight_contact_id + scenario_.weight_sia) {
    e.kind = CodeKind::kSia;
    e.code = kSiaCodes[pick(0, 6)];
  } else {
    e.kind = CodeKind::kPulse;
    e.code = kPulseCodes[pick(0, 4)];
    if (type_ == 5 || type_ == 6 || type_ == 7 || type_ == 21) e.area = std::min(e.area, 9);
  }
  return e;
}

}  // namespace duri::sim
