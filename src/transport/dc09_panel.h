// The panel side of DC-09, for the simulator, the benchmark and the tests: the frames an alarm panel
// sends, and the reading of the answers it gets.
#ifndef DURIDUVAZE_TRANSPORT_DC09_PANEL_H_
#define DURIDUVAZE_TRANSPORT_DC09_PANEL_H_

#include <cstdint>
#include <string>

#include "transport/dc09_cipher.h"
#include "transport/dc09_frame.h"

namespace duri::dc09 {

struct PanelReport {
  std::string token = std::string(kSiaDcs);
  int sequence = 1;  // 1..9999
  std::string receiver = "1";  // empty: no receiver field
  std::string line = "1";
  std::string account = "1234";
  // What follows "#acct|" in the data: "Nri1/BA01" (SIA-DCS) or "1130 01 005" (ADM-CID); ignored for NULL.
  std::string data;
  bool stamped = true;
  int64_t stamp = 0;  // seconds since the epoch, UTC
};

// The whole frame; encrypted with key when it is not empty (then always stamped).
std::string PanelFrame(const PanelReport& report, const Key& key = {});

// An answer's token ("ACK", "NAK", "DUH"), sequence and, for an encrypted ACK, whether its data
// decrypts with key. Empty token when frame is not a whole answer.
struct PanelAnswer {
  std::string token;
  std::string sequence;
  bool encrypted = false;
  bool decrypts = false;
  std::string stamp;  // a NAK's: the receiver's time
};
PanelAnswer ReadAnswer(const std::string& frame, const Key& key = {});

}  // namespace duri::dc09

#endif  // DURIDUVAZE_TRANSPORT_DC09_PANEL_H_
