// Makes files unwritable even for root (the immutable attribute of ext4, xfs, btrfs and tmpfs), to
// play a data directory that refuses writes for a while. Cleared again when the object ends.
#ifndef DURIDUVAZE_TESTS_SUPPORT_IMMUTABLE_FILE_H_
#define DURIDUVAZE_TESTS_SUPPORT_IMMUTABLE_FILE_H_

#include <string>
#include <vector>

namespace duri::testing {

class ImmutableFiles {
 public:
  ImmutableFiles() = default;
  ~ImmutableFiles() { ClearAll(); }
  ImmutableFiles(const ImmutableFiles&) = delete;
  ImmutableFiles& operator=(const ImmutableFiles&) = delete;

  // False (with the reason in error()) when the attribute cannot be set here.
  bool Set(const std::string& path);
  void ClearAll();
  const std::string& error() const { return error_; }

 private:
  std::vector<std::string> paths_;
  std::string error_;
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_IMMUTABLE_FILE_H_
