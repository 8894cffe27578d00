#include "receivers/receiver_catalogue.h"

#include "receivers/port_state.h"

namespace duri {
namespace {

constexpr std::string_view kItems[kReceiverTypeCount] = {
    "",
    "KELD Inc. Calderium",
    "KELD Inc QRX / QRX+",
    "Sescoa 3000R",
    "Ademco 685",
    "Radionics 6500",
    "Europlex",
    "surgard slr/mlr2",
    "FBI CP220",
    "Osborne-Hoffman Quick Alert",
    "Secutron Digitel",
    "Silent Knight SK9000",
    "Silent Knight SK9500",
    "Adcor",
    "RDC",
    "FSK",
    "Cyber",
    "Universal",
    "Radionics 6600",
    "Calderium Enhaced",  // the receiver list has always spelt it so
    "Radionics 6000",
    "surgard mlr2000",
};

constexpr uint8_t kCyberAck = 'A';
constexpr char kStatusRequest[] = "S";
constexpr char kModemSetup[] = "ATQ1M0S0=1S7=10\r";

}  // namespace

std::string_view ReceiverItemText(int type) {
  return type > 0 && type < kReceiverTypeCount ? kItems[type] : std::string_view();
}

std::vector<std::string> ReceiverList(const LanguageTable& language) {
  std::vector<std::string> items;
  std::string none = language.Entry(kNoneEntry);
  items.push_back(none.empty() ? "(None)" : none);
  for (int t = 1; t < kReceiverTypeCount; ++t) items.emplace_back(kItems[t]);
  return items;
}

uint8_t TerminatorForType(int type) {
  switch (type) {
    case 3: case 5: case 6: case 7: case 18: case 20: case 21:
      return kDc4;
    case 9: case 13: case 15:
      return kEot;
    default:
      return kCr;
  }
}

uint8_t AcknowledgementForType(int type) { return type == kTypeCyber ? kCyberAck : kAck; }

bool ForcesLine(int type) { return type == kTypeQuickAlert || type == kTypeRadionics6000; }

bool SupervisedType(int type) {
  switch (type) {
    case 1: case 2: case 4: case 5: case 7: case 8: case 12: case 18: case 19: case 21:
      return true;
    default:
      return false;
  }
}

std::string InitialCommand(int type) {
  if (type == kTypeAdemco685 || type == kTypeFbiCp220) return kStatusRequest;
  if (type == kTypeUniversal) return kModemSetup;
  return {};
}

}  // namespace duri
