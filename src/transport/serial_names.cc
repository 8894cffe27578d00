#include "transport/serial_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace duri {
namespace {

bool IsCharDevice(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// A ttyS node exists for every possible UART; only one whose chip the driver found is a port.
bool IsRealUart(const std::string& path) {
  if (!IsCharDevice(path)) return false;
  int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info{};
  bool real = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  close(fd);
  return real;
}

std::string PortsDir(const std::string& root) { return root + "/ports"; }

}  // namespace

int ComPortNumber(std::string_view name) {
  if (name.size() < 4 || name.size() > 6 || name.substr(0, 3) != "COM") return 0;
  int n = 0;
  for (char c : name.substr(3)) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

int StationPortNumber(std::string_view name) {
  const int n = ComPortNumber(name);
  const bool leading_zero = name.size() > 3 && name[3] == '0';
  return n >= 1 && n <= 16 && !leading_zero ? n : 0;
}

std::string SerialDevicePath(const std::string& root, std::string_view name, const std::string& dev_dir) {
  if (!name.empty() && name.front() == '/') return std::string(name);
  if (name.empty() || name == "." || name == ".." || name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) {
    return {};
  }
  std::string link = PortsDir(root) + "/" + std::string(name);
  struct stat st;
  if (lstat(link.c_str(), &st) == 0) return link;
  int n = ComPortNumber(name);
  if (n > 0) {
    std::string uart = dev_dir + "/ttyS" + std::to_string(n - 1);
    if (IsRealUart(uart)) return uart;
  }
  return link;
}

std::vector<std::string> EnumerateSerialPorts(const std::string& root, const std::string& dev_dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(PortsDir(root).c_str())) {
    while (dirent* e = readdir(d)) {
      if (ComPortNumber(e->d_name) > 0 && IsCharDevice(PortsDir(root) + "/" + e->d_name)) {
        names.emplace_back(e->d_name);
      }
    }
    closedir(d);
  }
  if (DIR* d = opendir(dev_dir.c_str())) {
    while (dirent* e = readdir(d)) {
      if (std::strncmp(e->d_name, "ttyS", 4) != 0) continue;
      std::string_view digits(e->d_name + 4);
      if (digits.empty() || digits.size() > 3 ||
          !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        continue;
      }
      std::string name = "COM" + std::to_string(std::stoi(std::string(digits)) + 1);
      if (std::find(names.begin(), names.end(), name) != names.end()) continue;
      struct stat st;
      if (lstat((PortsDir(root) + "/" + name).c_str(), &st) == 0) continue;
      if (IsRealUart(dev_dir + "/" + e->d_name)) names.push_back(name);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace duri
