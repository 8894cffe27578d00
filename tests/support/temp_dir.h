// A fresh directory under the system's temporary folder, removed with everything in it at the end.
#ifndef DURIDUVAZE_TESTS_SUPPORT_TEMP_DIR_H_
#define DURIDUVAZE_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>
#include <vector>

namespace duri::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + relative
  std::string Join(const std::string& relative) const;
  // Creates the directory (and parents) under the temp dir.
  void MakeDir(const std::string& relative) const;
  void WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string ReadFile(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  long FileSize(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_TEMP_DIR_H_
