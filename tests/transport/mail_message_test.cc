#include "transport/mail_message.h"

#include <gtest/gtest.h>

#include "transport/base64.h"

namespace duri {
namespace {

TEST(Base64Test, StandardVectors) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"", ""},
               {"f", "Zg=="},
               {"fo", "Zm8="},
               {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="},
               {"fooba", "Zm9vYmE="},
               {"foobar", "Zm9vYmFy"},
               {"\xff\xfe\x3e", "//4+"}};
  for (const auto& c : cases) EXPECT_EQ(EncodeBase64(c.in), c.out) << "input " << c.in;
}

LocalDateTime At(int year, int month, int day, int dow, int h, int m, int s) {
  LocalDateTime t;
  t.date = DateRecord{uint16_t(year), uint16_t(month), uint16_t(day), uint16_t(dow)};
  t.time = TimeRecord{uint16_t(h), uint16_t(m), uint16_t(s), 0};
  return t;
}

TEST(MailDateTextTest, EnglishNamesAndSignedOffset) {
  EXPECT_EQ(MailDateText(At(2026, 12, 8, 2, 17, 5, 9), 60), "Tue, 8 Dec 2026 17:05:09 +0100");
  EXPECT_EQ(MailDateText(At(2027, 1, 31, 0, 0, 0, 0), -270), "Sun, 31 Jan 2027 00:00:00 -0430");
  EXPECT_EQ(MailDateText(At(2026, 7, 4, 6, 23, 59, 59), 0), "Sat, 4 Jul 2026 23:59:59 +0000");
}

TEST(MailAddressTest, TextForms) {
  EXPECT_EQ((MailAddress{"ops@example.com", ""}).Text(), "ops@example.com");
  EXPECT_EQ((MailAddress{"ops@example.com", "Torvane Central"}).Text(), "Torvane Central <ops@example.com>");
  EXPECT_EQ((MailAddress{"ops@example.com", "Smith, Jones \"SJ\""}).Text(),
            "\"Smith, Jones \\\"SJ\\\"\" <ops@example.com>");
}

TEST(HeaderLinesTest, FixedOrderEmptyHeadersLeftOut) {
  TMailMessage m;
  m.from = {"station@example.com", "Central"};
  m.subject = "Alarm";
  m.recipients = {"a@example.com", "b@example.com"};
  m.organization = "Torvane";
  m.SetExtraHeader("X-Mailer", "Agent 1");
  m.SetExtraHeader("X-Mailer", "Agent 2");  // replaced, not repeated
  std::vector<std::string> expected = {"From: Central <station@example.com>",
                                       "Subject: Alarm",
                                       "To: a@example.com, b@example.com",
                                       "Organization: Torvane",
                                       "Date: Tue, 8 Dec 2026 17:05:09 +0100",
                                       "X-Priority: 3",
                                       "X-Library: DURiduvaze Mail 1.2.9",
                                       "X-Mailer: Agent 2"};
  EXPECT_EQ(HeaderLines(m, At(2026, 12, 8, 2, 17, 5, 9), 60), expected);

  m.cc_list = {"c@example.com"};
  m.priority = 0;
  auto lines = HeaderLines(m, At(2026, 12, 8, 2, 17, 5, 9), 60);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[3], "Cc: c@example.com");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "X-Priority: 1"), lines.end());
}

TEST(HeaderLinesTest, LongLinesFoldAtBlanksAndLineBreaksCannotStartAHeader) {
  TMailMessage m;
  m.subject = std::string(50, 'a') + " " + std::string(40, 'b') + " " + std::string(10, 'c');
  auto lines = HeaderLines(m, At(2026, 12, 8, 2, 0, 0, 0), 0);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Subject: " + std::string(50, 'a'));
  EXPECT_EQ(lines[1], " " + std::string(40, 'b') + " " + std::string(10, 'c'));
  EXPECT_EQ(lines[2].rfind("Date: ", 0), 0u);

  m.subject = "Alarm\r\nBcc: victim@example.com";
  lines = HeaderLines(m, At(2026, 12, 8, 2, 0, 0, 0), 0);
  EXPECT_EQ(lines[0], "Subject: Alarm  Bcc: victim@example.com");
}

TEST(BodyLinesTest, DotStuffingAndEmbeddedLineBreaks) {
  TMailMessage m;
  m.body = {".", "..x", "plain", "", "a.b", "first\r\n.second\nthird"};
  std::vector<std::string> expected = {"..", "...x", "plain", "", "a.b", "first", "..second", "third"};
  EXPECT_EQ(BodyLines(m), expected);
  m.Clear();
  EXPECT_TRUE(BodyLines(m).empty());
}

}  // namespace
}  // namespace duri
