#include "store/data_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace duri {
namespace {

std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

// The entry of dir whose name matches name without regard to case; the exact spelling wins. A listing
// kept from a settled scan answers with one look at the directory, also for a name that is absent
// (lock files, most of the time), which would otherwise cost a failed lstat and the listing's look.
std::string MatchEntry(DirectoryListings& listings, const std::string& dir, const std::string& name) {
  if (std::optional<std::string> kept = listings.MatchKept(dir, name)) return *kept;
  struct stat st;
  std::string exact = dir + "/" + name;
  if (lstat(exact.c_str(), &st) == 0) return name;
  return listings.Match(dir, name);
}

// The host path of dos_path under root, each component matched without regard to case when listings
// are given, taken as spelled otherwise.
std::optional<std::string> JoinComponents(const std::string& root, std::string_view dos_path,
                                          DirectoryListings* listings) {
  if (dos_path.find('\0') != std::string_view::npos) return std::nullopt;
  // A drive ("C:" or the data drive) names the station root.
  if (dos_path.size() >= 2 && dos_path[1] == ':') dos_path.remove_prefix(2);
  std::string path = root;
  for (const std::string& part : SplitComponents(dos_path)) {
    if (part == "." || part == "..") return std::nullopt;
    path += "/" + (listings != nullptr ? MatchEntry(*listings, path, part) : part);
  }
  return path;
}

}  // namespace

DataDir::DataDir(std::string root, Clock& clock, StationView& view)
    : root_(std::move(root)), clock_(&clock), view_(&view) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::optional<std::string> DataDir::HostPath(std::string_view dos_path) const {
  return JoinComponents(root_, dos_path, listings_.get());
}

std::optional<std::string> DataDir::SpelledPath(std::string_view dos_path) const {
  return JoinComponents(root_, dos_path, nullptr);
}

std::string DataDir::ComputerName() const {
  if (!computer_name_override.empty()) return computer_name_override.substr(0, 30);
  return host_name_;
}

std::string DataDir::ReadHostName() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return "(not found)";
  std::string name(buf);
  return name.substr(0, 30);
}

bool IsSafeFileComponent(std::string_view text) {
  if (text.empty() || text == "." || text == "..") return false;
  for (char c : text)
    if (c == '/' || c == '\\' || c == '\0') return false;
  return true;
}

}  // namespace duri
