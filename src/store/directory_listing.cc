#include "store/directory_listing.h"

#include <dirent.h>

#include <cctype>

namespace duri {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

bool DirectoryListings::Scan(const std::string& dir, Listing& listing) {
  std::optional<FileStamp> stamp = StampOfPath(dir);
  if (!stamp) return false;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return false;
  listing.entries.clear();
  listing.names.clear();
  while (dirent* e = readdir(d)) {
    listing.entries.try_emplace(Lower(e->d_name), e->d_name);
    listing.names.insert(e->d_name);
  }
  closedir(d);
  listing.stamp = *stamp;
  // A change made in the same tick as the scan, after it, leaves the modification time as it was:
  // such a listing serves this lookup only.
  listing.settled = IsSettled(*stamp);
  return true;
}

std::string DirectoryListings::Match(const std::string& dir, const std::string& name) {
  std::optional<FileStamp> stamp = StampOfPath(dir);
  if (!stamp) return name;
  const std::string key = Lower(name);
  std::lock_guard<std::mutex> lock(mu_);
  auto it = listings_.find(dir);
  const bool same = it != listings_.end() && it->second.settled && it->second.stamp == *stamp;
  if (!same) {
    if (it == listings_.end()) {
      if (listings_.size() >= kMaxDirectories) listings_.clear();
      it = listings_.emplace(dir, Listing{}).first;
    }
    ++scans_;
    if (!Scan(dir, it->second)) {
      listings_.erase(it);
      return name;
    }
  }
  auto found = it->second.entries.find(key);
  return found == it->second.entries.end() ? name : found->second;
}

std::optional<std::string> DirectoryListings::MatchKept(const std::string& dir, const std::string& name) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = listings_.find(dir);
  if (it == listings_.end() || !it->second.settled) return std::nullopt;
  std::optional<FileStamp> stamp = StampOfPath(dir);
  if (!stamp || !(it->second.stamp == *stamp)) return std::nullopt;
  if (it->second.names.contains(name)) return name;
  auto found = it->second.entries.find(Lower(name));
  return found == it->second.entries.end() ? name : found->second;
}

int64_t DirectoryListings::scans() const {
  std::lock_guard<std::mutex> lock(mu_);
  return scans_;
}

}  // namespace duri
