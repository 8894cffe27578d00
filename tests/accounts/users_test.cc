#include "accounts/users.h"

#include <gtest/gtest.h>

#include "account_fixture.h"
#include "accounts/client_files.h"

namespace duri {
namespace {

class UsersTest : public testing::AccountFixture {
 protected:
  // Client "1" whose area 0 user table starts at record 0, with the given user records.
  void LoadUsers(const std::string& users) {
    Load(R"({"clients": [{"account_number": "1", "areas": [{"user_table_record_number": 0}]}], "users": )" + users +
         "}");
    int32_t n = -1;
    LookUpClient(dir_, "1", n, client_);
  }
  std::string FoundName(const std::string& code) {
    UserEntry u;
    return FindUser(dir_, client_, code, &u) ? u.name.str() : "(none)";
  }

  ClientRecord client_;
};

TEST_F(UsersTest, UserNumbersAndTheirCodes) {
  LoadUsers(R"([{"next_record": 1, "entries": [{"name": "Ann", "in_out_codes": "5, 6"}, {"name": "Bob", "in_out_codes": "A7"}]},
                {"entries": [{"name": "Cy", "in_out_codes": "12"}, {"name": "Dee", "in_out_codes": "1F,20"}]}])");
  struct {
    const char* code;
    const char* name;
  } cases[] = {
      {"5", "Ann"},       {"6", "Ann"},   {"005", "Ann"},
      {"E123005", "Ann"},  // seven characters: the user number is the last three
      {"E123006", "Ann"}, {"7", "(none)"}, {"a7", "Bob"},   {"012", "Cy"},
      {"12", "Cy"},       {"1f", "Dee"},  {"020", "Dee"},   {"E12", "(none)"},
  };
  for (const auto& c : cases) EXPECT_EQ(FoundName(c.code), c.name) << c.code;
  EXPECT_EQ(UserNumberOf("E123005"), "005");
  EXPECT_EQ(UserNumberOf("123005"), "123005");
}

TEST_F(UsersTest, ChainThatLoopsEnds) {
  LoadUsers(R"([{"next_record": 1, "entries": [{"name": "Ann", "in_out_codes": "5"}]},
                {"next_record": 0, "entries": [{"name": "Bob", "in_out_codes": "6"}]}])");
  EXPECT_EQ(FoundName("6"), "Bob");
  EXPECT_EQ(FoundName("9"), "(none)");
  // A record that names itself, and a chain running past the end of the file.
  LoadUsers(R"([{"next_record": 0, "entries": [{"in_out_codes": "5"}]}])");
  EXPECT_EQ(FoundName("9"), "(none)");
  LoadUsers(R"([{"next_record": 40, "entries": [{"in_out_codes": "5"}]}])");
  EXPECT_EQ(FoundName("9"), "(none)");
}

TEST_F(UsersTest, NoUserTable) {
  ClientRecord c;
  UserEntry u;
  EXPECT_FALSE(FindUser(dir_, c, "5", &u));
}

TEST_F(UsersTest, CheckUserReclassifies) {
  LoadUsers(R"([{"entries": [
      {"name": "Ann", "in_out_codes": "1"},
      {"name": "Hot", "in_out_codes": "2", "hot_user": 1},
      {"name": "Sun", "in_out_codes": "3", "authorized_days": [1, 1, 0, 1, 1, 1, 1]},
      {"name": "Jul", "in_out_codes": "4", "begin_date": "2026-12-01", "end_date": "2026-12-15"}]}])");
  clock_.Set(2026, 12, 8, 9, 0);  // a Tuesday
  struct {
    const char* code;
    uint8_t type_in;
    uint8_t type_out;
    const char* added;
  } cases[] = {
      {"1", 4, 4, " By Ann"},
      {"1", 12, 12, " By Ann (Unscheduled)"},
      {"1", 13, 13, " By Ann (Unscheduled)"},
      {"1", 30, 30, " By Ann (Unscheduled)"},
      {"9", 13, 13, " (Unscheduled)"},
      {"9", 5, 5, ""},
      {"2", 5, 29, " By Hot (Hot User)"},
      {"2", 4, 28, " By Hot (Hot User)"},
      {"2", 12, 28, " By Hot (Hot User)"},
      {"2", 3, 29, " By Hot (Hot User)"},
      {"3", 4, 32, " By Sun (Unauthorized)"},   // Tuesday not authorized
      {"3", 5, 5, " By Sun"},                   // closings are not checked
      {"4", 4, 32, " By Jul (Unauthorized)"},   // inside the period
  };
  for (const auto& c : cases) {
    std::string d = "Opening";
    uint8_t type = c.type_in;
    CheckUser(dir_, client_, c.code, d, type, 2);
    EXPECT_EQ(type, c.type_out) << c.code << " type " << int(c.type_in);
    EXPECT_EQ(d, std::string("Opening") + c.added) << c.code << " type " << int(c.type_in);
  }
  std::string d(95, 'x');
  uint8_t type = 4;
  CheckUser(dir_, client_, "1", d, type, 2);
  EXPECT_EQ(d.size(), 100u);
}

TEST(UnauthorizedOpeningTest, DatePeriodRules) {
  auto date = [](int y, int m, int d) {
    return DateRecord{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), 0};
  };
  const DateRecord unset{};
  struct {
    DateRecord begin, end, today;
    bool day_allowed;
    bool unauthorized;
  } cases[] = {
      {unset, unset, date(2004, 7, 10), true, false},
      {unset, unset, date(2004, 7, 10), false, true},
      {date(2004, 7, 1), date(2004, 7, 15), date(2004, 7, 10), true, true},
      {date(2004, 7, 1), date(2004, 7, 15), date(2004, 7, 1), true, true},
      {date(2004, 7, 1), date(2004, 7, 15), date(2004, 7, 15), true, true},
      {date(2004, 7, 1), date(2004, 7, 15), date(2004, 7, 20), true, false},
      {date(2004, 7, 1), date(2004, 7, 15), date(2004, 7, 20), false, true},
      {date(2004, 7, 1), date(2004, 7, 15), date(2004, 6, 30), true, false},
      // Begin after end: every day after the begin and before the end.
      {date(2004, 12, 20), date(2004, 1, 10), date(2004, 12, 25), true, true},
      {date(2004, 12, 20), date(2004, 1, 10), date(2004, 1, 5), true, true},
      {date(2004, 12, 20), date(2004, 1, 10), date(2004, 6, 1), true, false},
      // Only a begin: no end to the period.
      {date(2004, 7, 1), unset, date(2004, 6, 30), true, false},
      {date(2004, 7, 1), unset, date(2004, 7, 1), true, true},
      {date(2004, 7, 1), unset, date(2030, 1, 1), true, true},
      // Only an end: no start.
      {unset, date(2004, 7, 15), date(2001, 1, 1), true, true},
      {unset, date(2004, 7, 15), date(2004, 7, 16), true, false},
  };
  for (const auto& c : cases) {
    UserEntry u;
    u.begin_date = c.begin;
    u.end_date = c.end;
    u.authorized_days[3] = c.day_allowed ? 1 : 0;
    EXPECT_EQ(UnauthorizedOpening(u, c.today, 3), c.unauthorized)
        << c.begin.year << "-" << c.begin.month << "-" << c.begin.day << " .. " << c.end.year << "-" << c.end.month
        << "-" << c.end.day << " on " << c.today.year << "-" << c.today.month << "-" << c.today.day;
  }
}

}  // namespace
}  // namespace duri
