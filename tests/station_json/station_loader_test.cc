#include "station_json/station_loader.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "accounts/client_record.h"
#include "accounts/code_record.h"
#include "accounts/schedule_record.h"
#include "platform/clock.h"
#include "platform/station_view.h"
#include "settings/company_settings.h"
#include "store/coding.h"
#include "support/immutable_file.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using nlohmann::json;

class StationLoaderTest : public ::testing::Test {
 protected:
  std::string Bytes(const std::string& name) { return tmp_.ReadFile("ORBA/" + name); }
  const uint8_t* At(const std::string& bytes, size_t offset) {
    return reinterpret_cast<const uint8_t*>(bytes.data()) + offset;
  }
  std::vector<json> Dump(std::string_view what) {
    std::vector<json> lines;
    std::string error;
    EXPECT_TRUE(DumpStation(dir_, what, &lines, &error)) << error;
    return lines;
  }

  testing::TempDir tmp_;
  ManualClock clock_;
  NullView view_;
  DataDir dir_{tmp_.path(), clock_, view_};
};

TEST_F(StationLoaderTest, ClearedClientRecordHasTheApplicationsClearedBytes) {
  std::string error;
  ASSERT_TRUE(LoadStation(dir_, json::parse(R"({"clients": [{}]})"), &error)) << error;
  std::string c = Bytes("CLIENT.MDC");
  ASSERT_EQ(c.size(), 3799u);
  struct {
    size_t offset;
    int width;
    int64_t value;
  } cases[] = {
      {0, 1, 0},        {1, 1, 0},        {172, 2, -1},     {212, 4, -1},     {471 + 57, 1, 1},
      {471 + 58, 4, -1}, {471 + 4 * 62 + 57, 1, 1}, {471 + 4 * 62 + 58, 4, -1}, {957, 2, -1},
      {1214, 1, 255},   {1215, 4, -1},    {1219, 4, -1},    {1223, 1, 0},     {1367 + 197, 4, -1},
      {1367 + 201, 4, -1}, {1367 + 205, 4, -1}, {1367 + 209, 2, 0}, {1367 + 211, 4, -1},
      {1367 + 215, 4, -1}, {1367 + 219, 2, 0}, {1367 + 10 * 221 + 211, 4, -1}, {3798, 1, 0},
  };
  for (const auto& k : cases) {
    int64_t got = k.width == 1 ? *At(c, k.offset) : k.width == 2 ? DecodeSigned16(At(c, k.offset))
                                                                   : DecodeSigned32(At(c, k.offset));
    EXPECT_EQ(got, k.value) << "offset " << k.offset;
  }
}

TEST_F(StationLoaderTest, ClientFieldsLandAtTheirOffsetsAndTheIndexFilesFollow) {
  std::string error;
  json d = json::parse(R"({"clients": [
      {"account_number": "20", "name": "Caf\u0082", "notification_entry_number": 316,
       "guard_tour_record_number": 2, "automatic_test_record_number": -5, "inactive_flag": 1,
       "areas": [{"area": 3, "area_name": "Shop", "schedule_record_number": 7, "user_table_record_number": 8,
                  "code_table_record_number": 9}]},
      {"record": 3, "account_number": "1F"}]})");
  ASSERT_TRUE(LoadStation(dir_, d, &error)) << error;
  std::string c = Bytes("CLIENT.MDC");
  ASSERT_EQ(c.size(), 4u * 3799);
  EXPECT_EQ(c.substr(1, 3), std::string("\x02" "20"));
  EXPECT_EQ(c.substr(27, 5), std::string("\x04" "Caf\x82"));
  EXPECT_EQ(DecodeSigned32(At(c, 212)), 316);
  EXPECT_EQ(DecodeSigned32(At(c, 1215)), 2);
  EXPECT_EQ(DecodeSigned32(At(c, 1219)), -5);
  size_t area3 = 1367 + 3 * 221;
  EXPECT_EQ(c.substr(area3, 5), std::string("\x04Shop"));
  EXPECT_EQ(DecodeSigned32(At(c, area3 + 197)), 7);
  EXPECT_EQ(DecodeSigned32(At(c, area3 + 201)), 8);
  EXPECT_EQ(DecodeSigned32(At(c, area3 + 211)), 9);
  // The gap records 1 and 2 are cleared records with empty index entries.
  std::string index = Bytes("CLIENT.MDX");
  ASSERT_EQ(index.size(), 44u);
  EXPECT_EQ(index[0], 2);
  EXPECT_EQ(index[11], 0);
  EXPECT_EQ(index[22], 0);
  EXPECT_EQ(index.substr(33, 3), std::string("\x02" "1F"));
  // Account order: 1F before 20 (same length, byte order).
  std::string order = Bytes("CLIENT.MDP");
  ASSERT_EQ(order.size(), 22u);
  EXPECT_EQ(order.substr(0, 3), std::string("\x02" "1F"));
  EXPECT_EQ(order.substr(11, 3), std::string("\x02" "20"));
  EXPECT_EQ(Bytes("CLI_BIN.MDA"), std::string("\x01\x00\x00\x00", 4));
}

TEST_F(StationLoaderTest, DumpReadsBackWhatWasLoaded) {
  json d = json::parse(R"({
    "company": {"company_name": "Acme", "schedule_delay_minutes": 20, "pager_switches": "0100"},
    "clients": [{"account_number": "1234", "areas": [{"area_name": "All", "schedule_record_number": 0}]}],
    "code_tables": [{"next_record": 1, "entries": [{"code_pattern": "130", "description": "Burglary", "type": 10}]},
                    {"entries": [{"code_pattern": "E13", "time_begin": 2200, "time_end": 600}]}],
    "schedules": [{"schedule_name": "Office", "period_defined": [1], "period_active": [1],
                   "every_day": {"opening_time": [800]}, "day_blocks": [{"opening_time": [900]}]}],
    "users": [{"entries": [{"name": "Bob", "in_out_codes": "5, 6", "begin_date": "2004-07-01",
                            "authorized_days": [0, 1, 1, 1, 1, 1, 0], "hot_user": 1}]}],
    "guard_tours": [{"every_day": [1400, 2358], "round_marks": [[8]]}],
    "guard_tour_free_list": [-1, 4],
    "automatic_tests": [{"last_test_received": "2004-03-02 14:03:59"}],
    "notification_entries": [{"entry_number": 316, "kind": 4, "destination_1": "5551234"}]
  })");
  std::string error;
  ASSERT_TRUE(LoadStation(dir_, d, &error)) << error;
  // Both company files, the loaded company record as the settings loader reads it.
  CompanySettings settings;
  ASSERT_TRUE(LoadCompanySettings(dir_, settings, kReceiverCompanyFile));
  EXPECT_EQ(settings.company_name, "Acme");
  EXPECT_EQ(settings.link_supervision, 1);
  EXPECT_EQ(settings.PagerSwitch(1), '1');
  EXPECT_EQ(Bytes("CIE.DTC"), Bytes("TVCIE.DTA"));

  EXPECT_EQ(Dump("company")[0]["schedule_delay_minutes"], 20);
  auto clients = Dump("clients");
  ASSERT_EQ(clients.size(), 1u);
  EXPECT_EQ(clients[0]["areas"][0]["area_name"], "All");
  EXPECT_EQ(clients[0]["inactive_flag"], 0);
  auto codes = Dump("code_tables");
  ASSERT_EQ(codes.size(), 2u);
  EXPECT_EQ(codes[0]["next_record"], 1);
  EXPECT_EQ(codes[1]["entries"][0]["time_begin"], 2200);
  EXPECT_EQ(codes[1]["entries"][0]["type"], 255);
  auto schedules = Dump("schedules");
  // The company's default delay is the cleared delay of a schedule.
  EXPECT_EQ(schedules[0]["opening_delay"], 20);
  EXPECT_EQ(schedules[0]["day_blocks"][0]["opening_time"][0], 900);
  EXPECT_EQ(schedules[0]["day_blocks"][1]["opening_time"][0], 800);
  auto users = Dump("users");
  EXPECT_EQ(users[0]["entries"][0]["begin_date"], "2004-07-01");
  EXPECT_EQ(users[0]["entries"][0]["end_date"], "");
  EXPECT_EQ(users[0]["entries"][1]["authorized_days"], json::parse("[1,1,1,1,1,1,1]"));
  auto tours = Dump("guard_tours");
  EXPECT_EQ(tours[0]["round_times"][6][1], 2358);
  EXPECT_EQ(tours[0]["round_times"][6][2], -1);
  EXPECT_EQ(tours[0]["round_marks"][0][0], 8);
  EXPECT_EQ(Bytes("GUARDIAN.DAT")[11], 5);
  EXPECT_EQ(Dump("guard_tour_free_list")[1]["free_record"], 4);
  uint32_t packed = Dump("automatic_tests")[0]["last_test_received"];
  EXPECT_EQ(packed >> 25, 24u);
  EXPECT_EQ(packed & 0x1F, 14u);
  auto notify = Dump("notification_entries");
  ASSERT_EQ(notify.size(), 3u);  // two zero entries before byte 316
  EXPECT_EQ(notify[2]["entry_number"], 316);
  EXPECT_EQ(notify[2]["destination_1"], "5551234");

  // A dumped line loads back to the same bytes.
  std::string before = Bytes("USERID.DAC");
  json again{{"users", json::array({users[0]})}};
  ASSERT_TRUE(LoadStation(dir_, again, &error)) << error;
  EXPECT_EQ(Bytes("USERID.DAC"), before);
}

TEST_F(StationLoaderTest, BadDescriptionsWriteNothingAndNameTheField) {
  const char* cases[][2] = {
      {R"({"clients": [{"acount_number": "1"}]})", "acount_number"},
      {R"({"clients": [{"account_number": "12345678901"}]})", "account_number"},
      {R"({"schedules": [{"opening_delay": 40000}]})", "opening_delay"},
      {R"({"users": [{"entries": [{"begin_date": "July"}]}]})", "begin_date"},
      {R"({"clientz": []})", "clientz"},
      {R"({"clients": {}})", "clients"},
      {R"({"code_tables": [{"entries": [{"description": "\u4e00"}]}]})", "description"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(LoadStation(dir_, json::parse(c[0]), &error)) << c[0];
    EXPECT_NE(error.find(c[1]), std::string::npos) << error;
  }
  EXPECT_FALSE(tmp_.Exists("ORBA/CLIENT.MDC"));
  std::vector<json> lines;
  std::string error;
  EXPECT_FALSE(DumpStation(dir_, "nothing", &lines, &error));
  EXPECT_TRUE(DumpStation(dir_, "clients", &lines, &error));
  EXPECT_TRUE(lines.empty());
}

// A load that cannot replace one file replaces none: an index that still lists the old accounts must
// never sit beside a client file written for new ones. An immutable file cannot be replaced even by root.
TEST_F(StationLoaderTest, AFileThatCannotBeReplacedLeavesEveryFileAsItWas) {
  std::string error;
  ASSERT_TRUE(LoadStation(dir_, json::parse(R"({"company": {}, "clients": [{"account_number": "1001"}]})"), &error));
  const std::vector<std::string> files = {"CIE.DTC", "TVCIE.DTA", "CLIENT.MDC", "CLIENT.MDX", "CLIENT.MDP"};
  std::vector<std::string> before;
  for (const auto& f : files) before.push_back(Bytes(f));
  testing::ImmutableFiles immutable;
  if (!immutable.Set(tmp_.Join("ORBA/CLIENT.MDX"))) GTEST_SKIP() << immutable.error();
  const bool loaded = LoadStation(
      dir_, json::parse(R"({"company": {"schedule_delay_minutes": 9}, "clients": [{"account_number": "7777"}]})"), &error);
  immutable.ClearAll();
  EXPECT_FALSE(loaded);
  EXPECT_NE(error.find("CLIENT.MDX: cannot be replaced: Operation not permitted"), std::string::npos) << error;
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(Bytes(files[i]), before[i]) << files[i];
  for (const auto& entry : std::filesystem::directory_iterator(tmp_.Join("ORBA")))
    EXPECT_EQ(entry.path().filename().string().find('.', entry.path().filename().string().find('.') + 1),
              std::string::npos) << "left behind: " << entry.path();
}

TEST(AccountRecordsTest, DecodeEncodeKeepsTheReservedBytes) {
  // Every byte distinct from its cleared value: what this module does not name must survive a read
  // and a write.
  std::vector<uint8_t> in(ClientRecord::kSize), out(ClientRecord::kSize);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>(i * 7 + 3);
  for (int off : {ClientRecord::kAccountOffset, ClientRecord::kNameOffset}) in[off] = 3;
  ClientRecord c;
  c.Decode(in.data());
  c.Encode(out.data());
  // Text bytes past the length are written as zeros; everything else comes back.
  for (size_t i = 0; i < in.size(); ++i) {
    bool past_text = (i >= 1 + 4 && i < 12) || (i >= 27 + 4 && i < 79);
    if (past_text) continue;
    bool is_text = i == 1 || i == 27 || (i >= 79 && i < 172) || (i >= 1223 && i < 1367) ||
                   (i >= 1367 && i < 3798 && (i - 1367) % 221 < 21);
    if (is_text) continue;  // other texts: length bytes above capacity are cut
    ASSERT_EQ(out[i], in[i]) << "offset " << i;
  }
  // Code and schedule records: a second pass changes nothing, and the reserved bytes come through.
  std::vector<uint8_t> code_in(CodeRecord::kSize), code_out(CodeRecord::kSize), code_again(CodeRecord::kSize);
  for (size_t i = 0; i < code_in.size(); ++i) code_in[i] = static_cast<uint8_t>(i % 13);
  CodeRecord r;
  r.Decode(code_in.data());
  r.Encode(code_out.data());
  r.Decode(code_out.data());
  r.Encode(code_again.data());
  EXPECT_EQ(code_out, code_again);
  for (size_t off : {size_t{11}, size_t{12}, size_t{13}, size_t{16}, size_t{21 + 152}, size_t{21 + 9 * 160 + 155}})
    EXPECT_EQ(code_out[off], code_in[off]) << "code record offset " << off;
  std::vector<uint8_t> s_in(ScheduleRecord::kSize), s_out(ScheduleRecord::kSize);
  for (size_t i = 0; i < s_in.size(); ++i) s_in[i] = static_cast<uint8_t>(i % 9);
  ScheduleRecord sched;
  sched.Decode(s_in.data());
  sched.Encode(s_out.data());
  for (size_t i = 11; i < s_in.size(); ++i) ASSERT_EQ(s_out[i], s_in[i]) << "schedule offset " << i;
}

}  // namespace
}  // namespace duri
