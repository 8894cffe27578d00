#include "support/temp_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace duri::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "duriduvaze-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; give the owner back its rights before removing.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Join(const std::string& relative) const { return path_ + "/" + relative; }

void TempDir::MakeDir(const std::string& relative) const {
  std::filesystem::create_directories(Join(relative));
}

void TempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path p(Join(relative));
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::ReadFile(const std::string& relative) const {
  std::ifstream in(Join(relative), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempDir::Exists(const std::string& relative) const { return access(Join(relative).c_str(), F_OK) == 0; }

long TempDir::FileSize(const std::string& relative) const {
  struct stat st;
  if (stat(Join(relative).c_str(), &st) != 0) return -1;
  return static_cast<long>(st.st_size);
}

}  // namespace duri::testing
