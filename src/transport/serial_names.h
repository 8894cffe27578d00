// Port names to devices. "COMn" is the symlink <root>/ports/COMn (made by the installer, a udev rule or
// the receiver simulator); without one, the UART /dev/ttyS<n-1> when the driver knows its chip.
#ifndef DURIDUVAZE_TRANSPORT_SERIAL_NAMES_H_
#define DURIDUVAZE_TRANSPORT_SERIAL_NAMES_H_

#include <string>
#include <string_view>
#include <vector>

namespace duri {

inline constexpr char kSystemDevDir[] = "/dev";

// The device path for a port name. A name beginning with '/' is a device path already. A name that
// resolves to nothing still gives the ports/ path, so that opening it fails with "not found". Any other
// name holding a path separator, or "." or "..", gives "" (opening fails): a port name never reaches
// outside ports/.
std::string SerialDevicePath(const std::string& root, std::string_view name,
                             const std::string& dev_dir = kSystemDevDir);

// The serial devices of the system, sorted as text: every COMn under <root>/ports/ that resolves to a
// character device, and COMn for each UART ttyS<n-1> of dev_dir that has no ports/ entry.
std::vector<std::string> EnumerateSerialPorts(const std::string& root,
                                              const std::string& dev_dir = kSystemDevDir);

// n for "COMn" (n from 1), 0 for any other name.
int ComPortNumber(std::string_view name);

// n for a port a station can have, "COM1" .. "COM16" (no leading zero), 0 for any other name.
int StationPortNumber(std::string_view name);

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_SERIAL_NAMES_H_
