// The operator security file "\ORBA\SECURITE.Mda", shared with the monitoring application, which keeps
// the operators: 100 operator records of 36 bytes with scrambled names and passwords, then 20 entries of
// 13 bytes that this module carries unchanged.
#ifndef DURIDUVAZE_SETTINGS_SECURITY_FILE_H_
#define DURIDUVAZE_SETTINGS_SECURITY_FILE_H_

#include <array>
#include <cstdint>

#include "store/data_dir.h"
#include "store/short_string.h"

namespace duri {

inline constexpr std::string_view kSecurityFile = "\\ORBA\\SECURITE.Mda";

struct OperatorRecord {
  static constexpr int kSize = 36;
  static constexpr int kInUseOffset = 0;
  static constexpr int kNameOffset = 1;
  static constexpr int kNumberOffset = 22;
  static constexpr int kPasswordOffset = 24;
  static constexpr int kLevelOffset = 35;

  uint8_t in_use = 0;
  ShortString<20> name;
  int16_t number = -1;
  ShortString<10> password;
  char level = ' ';

  // Record i stores each character of name and password as (c + i + 100) mod 256.
  void Encode(uint8_t* dst, int index) const;
  void Decode(const uint8_t* src, int index);
};

struct SecurityBlock {
  static constexpr int kSize = 3860;
  static constexpr int kOperators = 100;
  static constexpr int kEntriesOffset = 3600;
  static constexpr int kEntries = 20;
  static constexpr int kEntrySize = 13;

  std::array<OperatorRecord, kOperators> operators;
  std::array<uint8_t, kEntries * kEntrySize> entries{};

  // Every operator cleared, each entry 1 and twelve zeros.
  void Clear();
  // Record 1 becomes the default operator "Torvane", number 1, password "KESTRAL", level 'A'.
  void SetDefaultOperator();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

// Loads and unscrambles the block. A missing file is created with the default operator. A file that
// exists but cannot be read (permissions, a short file) is never overwritten: the block then holds no
// operator, so nobody can unlock until the file is mended.
SecurityBlock ReadSecurityFile(DataDir& dir);
int WriteSecurityFile(DataDir& dir, const SecurityBlock& block);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_SECURITY_FILE_H_
