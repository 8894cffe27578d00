#include "receiver_messages.h"

#include <cctype>

#include "receivers/receiver_catalogue.h"
#include "model_layouts.h"

namespace duri::sim {
namespace {

bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

const char* CodeKindName(CodeKind kind) {
  switch (kind) {
    case CodeKind::kContactId:
      return "contact_id";
    case CodeKind::kSia:
      return "sia";
    case CodeKind::kPulse:
      return "pulse";
  }
  return "";
}

bool ParseCodeKind(const std::string& name, CodeKind* kind) {
  if (name == "contact_id" || name == "cid") {
    *kind = CodeKind::kContactId;
  } else if (name == "sia") {
    *kind = CodeKind::kSia;
  } else if (name == "pulse") {
    *kind = CodeKind::kPulse;
  } else {
    return false;
  }
  return true;
}

ModelTraits TraitsOf(int type) {
  ModelTraits t;
  switch (type) {
    case 1: case 2: case 19:  // Calderium family
    case 4:                   // Ademco 685
    case 18:                  // Radionics 6600
      t.contact_id = t.sia = t.pulse = t.area = true;
      break;
    case 5: case 6: case 7: case 21:  // Sur-Gard format
      t.contact_id = t.sia = t.pulse = t.area = true;
      break;
    case 8:  // FBI CP220
    case 9:  // Quick Alert
    case 11: case 12:  // Silent Knight
    case 16:  // Cyber
      t.contact_id = t.pulse = t.area = true;
      break;
    case 14: case 17:  // RDC, Universal: a code token, no area
      t.contact_id = t.pulse = true;
      break;
    case 3:  // Sescoa 3000R
    case 13:  // Adcor
    case 20:  // Radionics 6000
      t.pulse = true;
      break;
    case 10:  // Secutron Digitel: three-digit accounts and codes
      t.pulse = true;
      t.account_width = 3;
      t.pulse_width = 3;
      break;
    case 15:  // FSK: a four-character code field
      t.pulse = true;
      t.pulse_width = 4;
      break;
    default:
      break;
  }
  t.answers_status_poll = type == 4 || type == 8;
  return t;
}

bool Supports(int type, CodeKind kind) {
  ModelTraits t = TraitsOf(type);
  switch (kind) {
    case CodeKind::kContactId:
      return t.contact_id;
    case CodeKind::kSia:
      return t.sia;
    case CodeKind::kPulse:
      return t.pulse;
  }
  return false;
}

uint8_t TerminatorOf(int type) { return TerminatorForType(type); }
uint8_t AckOf(int type) { return AcknowledgementForType(type); }

std::string CheckEvent(int type, const SimEvent& e) {
  ModelTraits t = TraitsOf(type);
  if (!Supports(type, e.kind)) {
    return std::string("receiver type ") + std::to_string(type) + " does not send " + CodeKindName(e.kind) +
           " events";
  }
  if (e.account.empty() || !AllDigits(e.account) || static_cast<int>(e.account.size()) > t.account_width) {
    return "account \"" + e.account + "\" is not 1 to " + std::to_string(t.account_width) + " digits";
  }
  if (e.area < 0 || e.area > 99) return "area " + std::to_string(e.area) + " is not 0..99";
  if (e.zone < 0 || e.zone > 999) return "zone " + std::to_string(e.zone) + " is not 0..999";
  switch (e.kind) {
    case CodeKind::kContactId:
      if (e.code.size() != 3 || !AllDigits(e.code)) return "Contact ID code \"" + e.code + "\" is not 3 digits";
      if (e.qualifier != 'E' && e.qualifier != 'R') return "Contact ID qualifier is not E or R";
      break;
    case CodeKind::kSia:
      if (e.code.size() != 2 || !std::isupper(static_cast<unsigned char>(e.code[0])) ||
          !std::isupper(static_cast<unsigned char>(e.code[1]))) {
        return "SIA code \"" + e.code + "\" is not two capital letters";
      }
      break;
    case CodeKind::kPulse:
      if (e.code.empty() || static_cast<int>(e.code.size()) > t.pulse_width) {
        return "pulse code \"" + e.code + "\" is not 1 to " + std::to_string(t.pulse_width) + " characters";
      }
      for (char c : e.code) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return "pulse code \"" + e.code + "\" is not alphanumeric";
      }
      // Adcor reads every 'A' of its message as '0'.
      if (type == 13 && e.code.find('A') != std::string::npos) return "Adcor pulse codes cannot hold 'A'";
      if ((type == 5 || type == 6 || type == 7 || type == 21) && e.area > 9) {
        return "Sur-Gard pulse reports carry areas 0..9";
      }
      break;
  }
  return {};
}

std::string BuildEventMessage(int type, const SimEvent& e) {
  std::string body = layouts::EventBody(type, e);
  return body + static_cast<char>(TerminatorOf(type));
}

std::string BuildHeartbeat(int type, const LocalDateTime& now) {
  // Every message of a Radionics 6000 is an event: it has no link test.
  if (type == 20 || type < 1 || type > 21) return {};
  return layouts::HeartbeatBody(type, now) + static_cast<char>(TerminatorOf(type));
}

std::string BuildStatusReport(int type, const LocalDateTime& now) {
  std::string body = layouts::StatusBody(type, now);
  if (body.empty()) return {};
  return body + static_cast<char>(TerminatorOf(type));
}

ExpectedLine ExpectedDecode(int type, const SimEvent& e) {
  ModelTraits t = TraitsOf(type);
  ExpectedLine line;
  line.account = layouts::Account(type, e);
  switch (e.kind) {
    case CodeKind::kContactId:
      line.code = std::string(1, e.qualifier) + e.code + layouts::Digits(e.zone, 3);
      break;
    case CodeKind::kSia:
      line.code = e.code + layouts::Digits(e.zone, 2);
      break;
    case CodeKind::kPulse:
      line.code = layouts::PulseCode(type, e);
      break;
  }
  // SIA blocks carry no "ri" modifier for area 0.
  line.area = t.area ? e.area : 0;
  if (e.kind == CodeKind::kPulse && !(type == 5 || type == 6 || type == 7 || type == 21)) line.area = 0;
  return line;
}

}  // namespace duri::sim
