#include "store/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

namespace duri {
namespace {

constexpr char kNewSuffix[] = ".loading";
constexpr char kOldSuffix[] = ".replaced";

struct Target {
  std::string path;
  bool existed = false;
  bool kept = false;      // the old contents are linked under path + kOldSuffix
  bool written = false;   // path + kNewSuffix holds the new contents
  bool replaced = false;  // renamed over path
};

std::string Failure(std::string_view name, std::string_view step, int err) {
  return std::string(name) + ": " + std::string(step) + ": " + std::strerror(err);
}

int WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  size_t done = 0;
  int err = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (err == 0 && fsync(fd) != 0) err = errno;
  if (close(fd) != 0 && err == 0) err = errno;
  return err;
}

void SyncDirectory(const std::string& parent) {
  int fd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Puts back what was replaced and removes what was made, newest first.
void Undo(std::vector<Target>& targets) {
  for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
    if (it->replaced) {
      if (it->kept) {
        rename((it->path + kOldSuffix).c_str(), it->path.c_str());
        it->kept = false;
      } else {
        unlink(it->path.c_str());
      }
    }
    if (it->written && !it->replaced) unlink((it->path + kNewSuffix).c_str());
    if (it->kept) unlink((it->path + kOldSuffix).c_str());
  }
}

}  // namespace

bool ReplaceFiles(DataDir& dir, const std::vector<FileImage>& images, std::string* error) {
  std::vector<Target> targets(images.size());
  auto fail = [&](std::string text) {
    Undo(targets);
    if (error) *error = std::move(text);
    return false;
  };
  for (size_t i = 0; i < images.size(); ++i) {
    std::optional<std::string> path = dir.HostPath(images[i].name);
    if (!path) return fail(std::string(images[i].name) + ": not a name inside the station");
    targets[i].path = *path;
    struct stat st;
    targets[i].existed = lstat(path->c_str(), &st) == 0;
    if (targets[i].existed && !S_ISREG(st.st_mode)) return fail(std::string(images[i].name) + ": not a plain file");
  }
  for (size_t i = 0; i < images.size(); ++i) {
    int err = WriteWhole(targets[i].path + kNewSuffix, images[i].bytes);
    targets[i].written = true;  // a partial temporary file is removed too
    if (err != 0) return fail(Failure(images[i].name, "cannot write its new contents", err));
  }
  // Keeping the old file under a second name fails already for a file that cannot be replaced (an
  // immutable one), before anything changed.
  for (size_t i = 0; i < images.size(); ++i) {
    if (!targets[i].existed) continue;
    const std::string old_name = targets[i].path + kOldSuffix;
    unlink(old_name.c_str());
    if (link(targets[i].path.c_str(), old_name.c_str()) != 0) {
      return fail(Failure(images[i].name, "cannot be replaced", errno));
    }
    targets[i].kept = true;
  }
  for (size_t i = 0; i < images.size(); ++i) {
    if (rename((targets[i].path + kNewSuffix).c_str(), targets[i].path.c_str()) != 0) {
      return fail(Failure(images[i].name, "cannot be replaced", errno));
    }
    targets[i].replaced = true;
  }
  for (Target& t : targets) {
    if (t.kept) unlink((t.path + kOldSuffix).c_str());
  }
  std::set<std::string> parents;
  for (const Target& t : targets) parents.insert(std::filesystem::path(t.path).parent_path().string());
  for (const std::string& parent : parents) SyncDirectory(parent);
  return true;
}

}  // namespace duri
