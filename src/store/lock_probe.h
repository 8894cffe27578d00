// Whether the data directory's file system takes byte-range locks. Every sharing mode between the
// stations and the operators' application is such a lock (see shared_file.h); a share mounted without
// them (an SMB mount with "nobrl", NFS without its lock service) would let two stations write one
// record at once, silently.
#ifndef DURIDUVAZE_STORE_LOCK_PROBE_H_
#define DURIDUVAZE_STORE_LOCK_PROBE_H_

#include <functional>
#include <string>

namespace duri {

// Empty when a lock taken through one open file description of a fresh file in directory is refused
// through a second one, as sharing needs; otherwise what went wrong, with the system's words.
std::string ProbeByteRangeLocks(const std::string& directory);

// The probe the station runs at start-up; tests put one that plays a file system without locks.
using LockProbe = std::function<std::string(const std::string& directory)>;

}  // namespace duri

#endif  // DURIDUVAZE_STORE_LOCK_PROBE_H_
