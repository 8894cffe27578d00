#include "events/notify_event.h"

#include <gtest/gtest.h>

#include "accounts/action_log.h"
#include "accounts/notify_entry.h"
#include "settings/language_select.h"
#include "settings/local_settings.h"
#include "station.h"
#include "support/recording_view.h"
#include "support/smtp_test_server.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::SmtpTestServer;

class RecordingLauncher : public Launcher {
 public:
  int Start(const std::vector<std::string>& argv) override {
    started.push_back(argv);
    return 4242;
  }
  std::vector<std::vector<std::string>> started;
};

std::string EncodedEntry(uint8_t kind, std::string_view destination1, std::string_view destination2 = "",
                         uint8_t option1 = 0, uint8_t option2 = 0) {
  NotifyEntry e;
  e.kind = kind;
  e.destination1 = destination1;
  e.destination2 = destination2;
  e.option1 = option1;
  e.option2 = option2;
  std::string bytes(NotifyEntry::kSize, '\0');
  e.Encode(reinterpret_cast<uint8_t*>(bytes.data()));
  return bytes;
}

class NotifyEventTest : public ::testing::Test {
 protected:
  NotifyEventTest() : station_(tmp_.path(), clock_, view_) {
    tmp_.MakeDir("ORBA/202612.EVT");
    clock_.Set(2026, 12, 8, 12, 4, 30);
    FillLanguage(station_.language, TableId::kEnglish);
    station_.set_launcher(launcher_);
    CompanySettings& c = station_.company_settings;
    c.company_name = "Torvane Central";
    c.smtp_server = "127.0.0.1";
    c.sender_address = "central@example.com";
    c.header_line1 = "Torvane monitoring";
    c.header_line2 = "24 hours a day";
    c.closing_line = "Do not answer this message";
    station_.smtp_client.settings.local_host_name = "station1";
    station_.smtp_client.settings.reply_timeout_ms = 10000;

    // As the intake hands it over: the fields of the account's client record.
    ClientRecord client;
    client.account = "1234";
    client.name = "ACME Ltd";
    client.address1 = "1 Main Street";
    client.address3 = "Springfield";
    account_ = NotifyAccountOf(client);
    event_.description = "   Burglary zone 3";
    event_.date = DateRecord{2026, 12, 8, 2};
    event_.time = TimeRecord{12, 4, 7, 55};
    event_.history_rec_no = 42;
    event_.priority = 2;
  }

  void UseServer(const SmtpTestServer& server) { station_.smtp_port = server.port(); }

  // Texts of the action log of December 2026, without the nine-blank indent.
  std::vector<std::string> LogTexts() {
    std::vector<std::string> out;
    if (!tmp_.Exists("ORBA/202612.EVT/DEMA.MDC")) return out;
    std::string mdc = tmp_.ReadFile("ORBA/202612.EVT/DEMA.MDC");
    for (size_t at = 0; at + ActionLogEntry::kSize <= mdc.size(); at += ActionLogEntry::kSize) {
      ActionLogEntry e;
      e.Decode(std::span<const uint8_t, ActionLogEntry::kSize>(reinterpret_cast<const uint8_t*>(mdc.data()) + at,
                                                               ActionLogEntry::kSize));
      EXPECT_EQ(e.history_rec_no, 42);
      EXPECT_EQ(e.time, event_.time);
      out.push_back(e.text.str().substr(std::min<size_t>(9, e.text.str().size())));
    }
    return out;
  }

  static std::string Body(const nlohmann::json& message) {
    std::string content = message["content"];
    size_t at = content.find("\r\n\r\n");
    return at == std::string::npos ? "" : content.substr(at + 4);
  }

  testing::TempDir tmp_;
  ManualClock clock_;
  testing::RecordingView view_;
  RecordingLauncher launcher_;
  Station station_;
  NotifyAccount account_;
  EventRecord event_;
};

TEST_F(NotifyEventTest, EmailKindWithoutAddressesLogsMissingAndConnectsNowhere) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  UseServer(server);
  tmp_.WriteFile("ORBA/PAGER.DAT", EncodedEntry(3, "", ""));
  event_.notify_rec_no = 0;
  NotifyEvent(station_.event_context(), account_, event_);
  EXPECT_EQ(LogTexts(), std::vector<std::string>({"E-mail address is missing."}));
  EXPECT_TRUE(server.Records("connect").empty());
}

TEST_F(NotifyEventTest, TwoAddressesTwoConnectionsTwoLogRecords) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  UseServer(server);
  tmp_.WriteFile("ORBA/PAGER.DAT", std::string(158, '\0') + EncodedEntry(3, "a@example.com", "b@example.com", 0, 1));
  event_.notify_rec_no = 158;
  NotifyEvent(station_.event_context(), account_, event_);

  EXPECT_EQ(LogTexts(), std::vector<std::string>({"E-mail has been sent to: a@example.com",
                                                  "E-mail has been sent to: b@example.com"}));
  EXPECT_EQ(server.Records("connect").size(), 2u);
  auto messages = server.Records("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0]["mail_from"], "central@example.com");
  EXPECT_EQ(messages[0]["rcpt_tos"], nlohmann::json({"a@example.com", "central@example.com"}));
  EXPECT_EQ(messages[1]["rcpt_tos"], nlohmann::json({"b@example.com", "central@example.com"}));

  // First address, header switch clear: no subject, the bare event.
  std::string first = messages[0]["content"];
  EXPECT_EQ(first.find("Subject:"), std::string::npos);
  EXPECT_NE(first.find("From: Torvane Central <central@example.com>\r\n"), std::string::npos);
  EXPECT_EQ(Body(messages[0]), "ACME Ltd\r\n1 Main Street\r\nSpringfield\r\n12:04:07\r\nBurglary zone 3\r\n");
  // Second, switch set: the subject from the language table, header and closing lines.
  std::string second = messages[1]["content"];
  EXPECT_NE(second.find("Subject: Torvane report\r\n"), std::string::npos);
  EXPECT_EQ(Body(messages[1]),
            "\r\nTorvane monitoring\r\n24 hours a day\r\n\r\nACME Ltd\r\n1 Main Street\r\nSpringfield\r\n"
            "12:04:07\r\nBurglary zone 3\r\n\r\nDo not answer this message\r\n");
}

TEST_F(NotifyEventTest, MailOutcomesInTheActionLog) {
  const struct {
    const char* name;
    bool drop_at_data;
    bool reachable;
    bool with_server;
    std::string expected;
  } cases[] = {
      {"sent", false, true, true, "E-mail has been sent to: ops@example.com"},
      {"unreachable", false, false, true, "Cannot connect to e-mail server."},
      {"dropped", true, true, true, "Cannot send e-mail time out."},
      {"no server", false, true, false, "E-mail address is missing."},
  };
  for (const auto& c : cases) {
    tmp_.MakeDir("ORBA/202612.EVT");
    std::remove(tmp_.Join("ORBA/202612.EVT/DEMA.MDC").c_str());
    SmtpTestServer::Options options;
    options.drop_at_data = c.drop_at_data;
    SmtpTestServer server(options);
    ASSERT_TRUE(server.started()) << server.error();
    station_.smtp_port = c.reachable ? server.port() : testing::ClosedLoopbackPort();
    station_.company_settings.smtp_server = c.with_server ? "127.0.0.1" : "";
    SendEventMail(station_.event_context(), account_, event_, "ops@example.com", 1);
    EXPECT_EQ(LogTexts(), std::vector<std::string>({c.expected})) << c.name;
  }
}

TEST_F(NotifyEventTest, ReceiverSettingsFileFillsOnlyWhatIsEmpty) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  UseServer(server);
  CompanySettings file;
  file.smtp_server = "127.0.0.1";
  file.sender_address = "file@example.com";
  file.mail_subject = "From the file";
  file.header_line1 = "File header";
  file.closing_line = "File closing";  // never taken from the file
  std::string bytes(CompanySettings::kSize, '\0');
  file.Encode(reinterpret_cast<uint8_t*>(bytes.data()));
  tmp_.WriteFile("ORBA/TVCIE.DTA", bytes);

  CompanySettings& c = station_.company_settings;
  c.smtp_server.Clear();
  c.sender_address.Clear();
  c.mail_subject.Clear();
  c.header_line1 = "Own header";
  c.closing_line.Clear();
  SendEventMail(station_.event_context(), account_, event_, "ops@example.com", 1);

  auto messages = server.Records("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["mail_from"], "file@example.com");
  std::string content = messages[0]["content"];
  EXPECT_NE(content.find("Subject: From the file\r\n"), std::string::npos);
  EXPECT_EQ(Body(messages[0]).rfind("\r\nOwn header\r\n24 hours a day\r\n\r\n", 0), 0u);
  EXPECT_EQ(content.find("File closing"), std::string::npos);
  EXPECT_EQ(LogTexts(), std::vector<std::string>({"E-mail has been sent to: ops@example.com"}));
}

TEST_F(NotifyEventTest, LoginOnlyWithAUserName) {
  SmtpTestServer server({.login = "station:pw"});
  ASSERT_TRUE(server.started()) << server.error();
  UseServer(server);
  SendEventMail(station_.event_context(), account_, event_, "ops@example.com", 0);
  EXPECT_TRUE(server.Records("auth").empty());

  station_.company_settings.smtp_user = "station";
  station_.company_settings.smtp_password = "pw";
  SendEventMail(station_.event_context(), account_, event_, "ops@example.com", 0);
  auto auths = server.Records("auth");
  ASSERT_EQ(auths.size(), 1u);
  EXPECT_EQ(auths[0]["ok"], true);
  EXPECT_EQ(server.Records("message").size(), 2u);
}

TEST_F(NotifyEventTest, EntryChoiceAndKindDispatch) {
  // Entries at byte positions 0 (pager), 158 (second pager kind), 316 (SMS), 474 (unknown kind).
  tmp_.WriteFile("ORBA/PAGER.DAT", EncodedEntry(1, "") + EncodedEntry(2, "") + EncodedEntry(4, "5551234") +
                                       EncodedEntry(7, "x"));
  LocalSettings local;
  local.sms_port = "COM3";
  ASSERT_EQ(SaveLocalSettings(station_.data, local), 0);
  station_.local_settings.sms_port.Clear();  // reloaded before each SMS

  std::string pager = tmp_.Join("ORBA/TVPager.Kld");
  std::string sms = tmp_.Join("ORBA/sendsms.kld");
  event_.description = "Fire";
  const struct {
    int32_t event_entry;
    int32_t account_entry;
    char priority_switch;
    std::vector<std::string> started;  // empty: nothing started
  } cases[] = {
      {-1, 316, '0', {}},
      {-1, -1, '1', {}},
      {-1, 0, '2', {pager, "0", "Fire"}},   // the event names none: the account's own entry
      {158, 0, '1', {pager, "0", "Fire"}},  // switch "1": the account's entry wins
      {158, 0, '2', {pager, "158", "Fire"}},
      {158, -1, '1', {pager, "158", "Fire"}},
      {316, -1, '0', {sms, "COM3", "5551234", "1234 Fire"}},
      {474, -1, '2', {}},   // unknown kind
      {632, -1, '2', {}},   // at the end of the file: a cleared entry
      {9999, -1, '2', {}},  // past the end
  };
  for (const auto& c : cases) {
    launcher_.started.clear();
    event_.notify_rec_no = c.event_entry;
    account_.notify_entry = c.account_entry;
    station_.company_settings.pager_switches[event_.priority] = c.priority_switch;
    NotifyEvent(station_.event_context(), account_, event_);
    std::vector<std::vector<std::string>> expected;
    if (!c.started.empty()) expected.push_back(c.started);
    EXPECT_EQ(launcher_.started, expected) << "event entry " << c.event_entry << ", account entry "
                                           << c.account_entry << ", switch " << c.priority_switch;
  }
  EXPECT_FALSE(tmp_.Exists("ORBA/202612.EVT/DEMA.MDC"));  // pager and SMS outcomes are not logged
}

}  // namespace
}  // namespace duri
