#include "receivers/receiver_catalogue.h"

namespace duri {
namespace {

constexpr uint8_t kCyberAck = 'A';
constexpr std::string_view kStatusRequest = "S";
constexpr std::string_view kModemSetup = "ATQ1M0S0=1S7=10\r";

// Indexed by receiver type. Sur-Gard-format receivers, the Radionics 6600/6000 and the Sescoa end their
// messages with DC4; Quick Alert, Adcor and FSK with EOT; the rest with CR. Only the Cyber receiver
// wants 'A' as acknowledgement. The Ademco 685 and FBI CP220 are asked for their status on opening, the
// Universal's modem is set up.
constexpr ReceiverCatalogueEntry kCatalogue[kReceiverTypeCount] = {
    // text                          terminator acknowledgement forces supervised initial command
    {"", kCr, kAck, false, false, {}},
    {"KELD Inc. Calderium", kCr, kAck, false, true, {}},
    {"KELD Inc QRX / QRX+", kCr, kAck, false, true, {}},
    {"Sescoa 3000R", kDc4, kAck, false, false, {}},
    {"Ademco 685", kCr, kAck, false, true, kStatusRequest},
    {"Radionics 6500", kDc4, kAck, false, true, {}},
    {"Europlex", kDc4, kAck, false, false, {}},
    {"surgard slr/mlr2", kDc4, kAck, false, true, {}},
    {"FBI CP220", kCr, kAck, false, true, kStatusRequest},
    {"Osborne-Hoffman Quick Alert", kEot, kAck, true, false, {}},
    {"Secutron Digitel", kCr, kAck, false, false, {}},
    {"Silent Knight SK9000", kCr, kAck, false, false, {}},
    {"Silent Knight SK9500", kCr, kAck, false, true, {}},
    {"Adcor", kEot, kAck, false, false, {}},
    {"RDC", kCr, kAck, false, false, {}},
    {"FSK", kEot, kAck, false, false, {}},
    {"Cyber", kCr, kCyberAck, false, false, {}},
    {"Universal", kCr, kAck, false, false, kModemSetup},
    {"Radionics 6600", kDc4, kAck, false, true, {}},
    {"Calderium Enhaced", kCr, kAck, false, true, {}},  // the receiver list has always spelt it so
    {"Radionics 6000", kDc4, kAck, true, false, {}},
    {"surgard mlr2000", kDc4, kAck, false, true, {}},
};

}  // namespace

const ReceiverCatalogueEntry& ReceiverCatalogueEntryOf(int type) {
  return type > 0 && type < kReceiverTypeCount ? kCatalogue[type] : kCatalogue[0];
}

std::string_view ReceiverItemText(int type) { return ReceiverCatalogueEntryOf(type).text; }

std::vector<std::string> ReceiverList(const LanguageTable& language) {
  std::vector<std::string> items;
  std::string none = language.Entry(kNoneEntry);
  items.push_back(none.empty() ? "(None)" : none);
  for (int t = 1; t < kReceiverTypeCount; ++t) items.emplace_back(kCatalogue[t].text);
  return items;
}

}  // namespace duri
