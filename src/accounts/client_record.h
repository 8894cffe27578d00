// The client (account) record of CLIENT.MDC: 3799 bytes, one per monitored account, written by the
// operators' application. This module reads the account number, the texts of the e-mail body, the
// numbers of the account's notification entry, guard-tour and automatic-test records, and per area the
// schedule, user table and code table record numbers. Every other byte belongs to the operators'
// application: it is kept as read, and a cleared record gives it the application's own cleared values.
#ifndef DURIDUVAZE_ACCOUNTS_CLIENT_RECORD_H_
#define DURIDUVAZE_ACCOUNTS_CLIENT_RECORD_H_

#include <array>
#include <cstdint>

#include "store/short_string.h"

namespace duri {

// One of the eleven area blocks (area 0 is the whole account, then areas 1 to 10).
struct AreaBlock {
  static constexpr int kSize = 221;
  static constexpr int kNameOffset = 0;                 // text 20
  static constexpr int kReserved1Offset = 21;           // text 40
  static constexpr int kReserved2Offset = 62;           // text 30
  static constexpr int kReserved3Offset = 93;           // text 61
  static constexpr int kReserved4Offset = 155;          // text 20
  static constexpr int kReserved5Offset = 176;          // text 20
  static constexpr int kScheduleOffset = 197;           // int32
  static constexpr int kUserTableOffset = 201;          // int32
  static constexpr int kReserved6Offset = 205;          // int32, -1
  static constexpr int kReserved7Offset = 209;          // int16, 0
  static constexpr int kCodeTableOffset = 211;          // int32
  static constexpr int kReserved8Offset = 215;          // int32, -1
  static constexpr int kReserved9Offset = 219;          // int16, 0

  ShortString<20> name;
  int32_t schedule = -1;    // record of CEDULE.CTN
  int32_t user_table = -1;  // first record of the area's chain in USERID.DAC
  int32_t code_table = -1;  // first record of the area's chain in CODE.DAC; -1: none of its own
  // Every byte of the block as last read or cleared; the named fields above are written over it.
  std::array<uint8_t, kSize> image{};

  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
};

struct ClientRecord {
  static constexpr int kSize = 3799;
  static constexpr int kAreaCount = 11;
  static constexpr int kGroupCount = 16;

  static constexpr int kFoundOffset = 0;
  static constexpr int kAccountOffset = 1;              // text 10
  static constexpr int kReserved12Offset = 12;          // 4 bytes
  static constexpr int kReserved16Offset = 16;          // text 10
  static constexpr int kNameOffset = 27;                // text 51
  static constexpr int kAddress1Offset = 79;            // text 30
  static constexpr int kAddress2Offset = 110;           // text 30
  static constexpr int kAddress3Offset = 141;           // text 30
  static constexpr int kReserved172Offset = 172;        // int16, -1
  static constexpr int kReserved174Offset = 174;        // text 37
  static constexpr int kNotifyEntryOffset = 212;        // int32
  static constexpr int kReserved216Offset = 216;        // byte
  static constexpr int kReserved217Offset = 217;        // text 13
  static constexpr int kReserved231Offset = 231;        // byte
  static constexpr int kReserved232Offset = 232;        // text 40
  static constexpr int kReserved273Offset = 273;        // text 30
  static constexpr int kReserved304Offset = 304;        // text 30
  static constexpr int kReserved335Offset = 335;        // text 30
  static constexpr int kReserved366Offset = 366;        // text 40
  static constexpr int kReserved407Offset = 407;        // text 20
  static constexpr int kReserved428Offset = 428;        // text 40
  static constexpr int kReserved469Offset = 469;        // byte
  static constexpr int kReserved470Offset = 470;        // byte
  static constexpr int kReservedListOffset = 471;       // 5 entries of 62 bytes
  static constexpr int kReservedListEntrySize = 62;     // text 40, 8 bytes, 8 bytes, byte 1, int32 -1
  static constexpr int kReservedListFlagInEntry = 57;   // the byte cleared to 1
  static constexpr int kReservedListNumberInEntry = 58; // the int32 cleared to -1
  static constexpr int kReserved781Offset = 781;        // text 20
  static constexpr int kReserved802Offset = 802;        // 5 x text 30
  static constexpr int kReserved957Offset = 957;        // int16, -1
  static constexpr int kReserved959Offset = 959;        // 8 bytes
  static constexpr int kReserved967Offset = 967;        // 5 x text 40
  static constexpr int kReserved1172Offset = 1172;      // text 20
  static constexpr int kReserved1193Offset = 1193;      // text 20
  static constexpr int kReserved1214Offset = 1214;      // byte, 255
  static constexpr int kGuardTourOffset = 1215;         // int32
  static constexpr int kAutoTestOffset = 1219;          // int32
  static constexpr int kGroupNamesOffset = 1223;        // 16 x text 8
  static constexpr int kAreasOffset = 1367;             // 11 x 221
  static constexpr int kCurrentAreaOffset = 3798;       // byte

  uint8_t found = 0;  // in memory: 1 when the record was read
  ShortString<10> account;
  ShortString<51> name;
  ShortString<30> address1;
  ShortString<30> address2;
  ShortString<30> address3;
  int32_t notify_entry = -1;  // byte position of the account's entry in PAGER.DAT
  int32_t guard_tour = -1;    // record of GUARDIAN.DAT
  int32_t auto_test = -1;     // record of AUTOTEST.DAT; below -1: supervised only while armed
  std::array<ShortString<8>, kGroupCount> group_names{};
  std::array<AreaBlock, kAreaCount> areas{};
  uint8_t current_area = 0;  // in memory: the area of the event being handled
  // Every byte of the record outside the area blocks, as last read or cleared.
  std::array<uint8_t, kSize> image{};

  ClientRecord() { Clear(); }
  void Clear();
  void Encode(uint8_t* dst) const;
  void Decode(const uint8_t* src);
  // The block of the current area, area 0 when the current area is out of range.
  const AreaBlock& current() const { return areas[current_area < kAreaCount ? current_area : 0]; }
};

// The operation name the intake knows.
inline void ClearClientRecord(ClientRecord& record) { record.Clear(); }

}  // namespace duri

#endif  // DURIDUVAZE_ACCOUNTS_CLIENT_RECORD_H_
