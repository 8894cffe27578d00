// "C:\TorvaCom.dta": the sixteen receiver configurations back to back, COM1 first, 1760 bytes, no
// header. Read once at start-up and rewritten whole on every save.
#ifndef DURIDUVAZE_INTAKE_RECEIVER_FILE_H_
#define DURIDUVAZE_INTAKE_RECEIVER_FILE_H_

#include <array>
#include <string>
#include <vector>

#include "receivers/receiver_config.h"
#include "intake/receiver_ports.h"
#include "store/data_dir.h"

namespace duri {

inline constexpr char kReceiverFileName[] = "C:\\TorvaCom.dta";
inline constexpr int kReceiverFileSize = kPortCount * ReceiverConfig::kSize;

using ReceiverConfigs = std::array<ReceiverConfig, kPortCount>;

// What is wrong with a record no setup could have written ("receiver type 143", "stop bits 7"), or ""
// for a sound one.
std::string ReceiverRecordDamage(const ReceiverConfig& config);

// Port 1..16 and what is wrong with its record.
struct DamagedReceiverRecord {
  int port = 0;
  std::string damage;
};

// Resets all sixteen, then reads up to 1760 bytes of the file over them: a short file fills only the
// leading records (a record cut short keeps its reset values past the cut). A missing file is no error.
// A damaged record is reset, so that its port stays closed, and listed in *damaged when given.
// Returns the result number of the read (0 also when the file is missing).
int LoadReceiverConfigs(DataDir& dir, ReceiverConfigs& configs, std::vector<DamagedReceiverRecord>* damaged = nullptr);
// Opens (denying others write access) or creates the file and writes the sixteen records from the
// start. Result number.
int SaveReceiverConfigs(DataDir& dir, const ReceiverConfigs& configs);

}  // namespace duri

#endif  // DURIDUVAZE_INTAKE_RECEIVER_FILE_H_
