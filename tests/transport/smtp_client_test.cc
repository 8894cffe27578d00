#include "transport/smtp_client.h"

#include <gtest/gtest.h>

#include "support/smtp_test_server.h"

namespace duri {
namespace {

using testing::ClosedLoopbackPort;
using testing::SilentListener;
using testing::SmtpTestServer;

class SmtpClientTest : public ::testing::Test {
 protected:
  SmtpClientTest() : client(clock) {
    clock.Set(2026, 12, 8, 17, 5, 9);
    clock.SetUtcOffsetMinutes(-300);
    client.settings.host = "127.0.0.1";
    client.settings.local_host_name = "station1";
    client.settings.mail_agent = "Torvane station";
    // Every server here answers at once; a broken exchange should fail the test quickly.
    client.settings.reply_timeout_ms = 10000;
  }

  // One message: a To address and the usual sender in copy.
  TMailMessage Message(std::vector<std::string> body) {
    TMailMessage m;
    m.recipients = {"client@example.com"};
    m.cc_list = {"central@example.com"};
    m.from = {"central@example.com", "Torvane Central"};
    m.subject = "Torvane report";
    m.body = std::move(body);
    return m;
  }

  // Connect, send and disconnect as the event e-mail does; the first failure's text, or "" on success.
  std::string SendOne(TMailMessage message) {
    SmtpResult result = client.Connect();
    if (result.ok) result = client.Send(message);
    client.Disconnect();
    return result.ok ? "" : (result.error.empty() ? "failed" : result.error);
  }

  ManualClock clock;
  TSmtpClient client;
};

TEST_F(SmtpClientTest, MessageArrivesWithEnvelopeHeadersAndBody) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  TMailMessage m = Message({"", "Head one", "Head two", "", "ACME Ltd", "12:04:07", "Burglary", "", "Bye"});
  m.bcc_list = {"hidden@example.com"};
  ASSERT_EQ(SendOne(m), "");

  auto messages = server.Records("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["mail_from"], "central@example.com");
  EXPECT_EQ(messages[0]["rcpt_tos"],
            nlohmann::json({"client@example.com", "central@example.com", "hidden@example.com"}));
  EXPECT_EQ(messages[0]["content"],
            "From: Torvane Central <central@example.com>\r\n"
            "Subject: Torvane report\r\n"
            "To: client@example.com\r\n"
            "Cc: central@example.com\r\n"
            "Date: Tue, 8 Dec 2026 17:05:09 -0500\r\n"
            "X-Priority: 3\r\n"
            "X-Library: DURiduvaze Mail 1.2.9\r\n"
            "X-Mailer: Torvane station\r\n"
            "\r\n"
            "\r\nHead one\r\nHead two\r\n\r\nACME Ltd\r\n12:04:07\r\nBurglary\r\n\r\nBye\r\n");

  std::string transcript = server.Transcript();
  EXPECT_EQ(transcript.rfind("ehlo station1\r\nRset\r\nMail from:<central@example.com>\r\n"
                             "RCPT to:<client@example.com>\r\nRCPT to:<central@example.com>\r\n"
                             "RCPT to:<hidden@example.com>\r\nData\r\n",
                             0),
            0u)
      << transcript;
  EXPECT_TRUE(server.WaitForTranscript("\r\n.\r\nQuit\r\n"));
  EXPECT_EQ(transcript.find("auth"), std::string::npos);  // no user name, no authentication
}

TEST_F(SmtpClientTest, EmptyCopyListsGiveNoRcptAndNoCcHeader) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  client.settings.host = "localhost";  // a name, looked up (it may offer ::1 first, where nothing listens)
  TMailMessage m = Message({"x"});
  m.cc_list.clear();
  ASSERT_EQ(SendOne(m), "");
  auto messages = server.Records("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["rcpt_tos"], nlohmann::json({"client@example.com"}));
  EXPECT_EQ(messages[0]["content"].get<std::string>().find("Cc:"), std::string::npos);
}

TEST_F(SmtpClientTest, LoginAuthenticationWhenAdvertisedAndAskedFor) {
  SmtpTestServer server({.login = "station:s3cr\xe9t"});
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  client.settings.authentication_type = AuthenticationType::atLogin;
  client.settings.user_id = "station";
  client.settings.password = "s3cr\xe9t";
  ASSERT_TRUE(client.Connect().ok);
  EXPECT_NE(std::find(client.auth_schemes().begin(), client.auth_schemes().end(), "LOGIN"),
            client.auth_schemes().end());
  TMailMessage m = Message({"x"});
  ASSERT_TRUE(client.Send(m).ok);
  EXPECT_TRUE(client.authenticated());
  client.Disconnect();
  EXPECT_FALSE(client.authenticated());

  // The flag is cleared on disconnect, so the next connection authenticates again.
  ASSERT_EQ(SendOne(Message({"y"})), "");
  auto auths = server.Records("auth");
  ASSERT_EQ(auths.size(), 2u);
  for (const auto& a : auths) {
    EXPECT_EQ(a["mechanism"], "LOGIN");
    EXPECT_EQ(a["user"], "station");
    EXPECT_EQ(a["password"], "s3cr\xc3\xa9t");  // recorded as Latin-1 decoded to UTF-8
    EXPECT_EQ(a["ok"], true);
  }
  auto messages = server.Records("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1]["authenticated"], true);
  EXPECT_NE(server.Transcript().find("auth LOGIN\r\n"), std::string::npos);
}

TEST_F(SmtpClientTest, WrongPasswordFailsTheSend) {
  SmtpTestServer server({.login = "station:right"});
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  client.settings.authentication_type = AuthenticationType::atLogin;
  client.settings.user_id = "station";
  client.settings.password = "wrong";
  EXPECT_NE(SendOne(Message({"x"})), "");
  EXPECT_TRUE(server.Records("message").empty());
}

TEST_F(SmtpClientTest, NoLoginSentWhenTheServerDoesNotAdvertiseIt) {
  SmtpTestServer server({.plain_only = true});
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  client.settings.authentication_type = AuthenticationType::atLogin;
  client.settings.user_id = "station";
  client.settings.password = "pw";
  ASSERT_EQ(SendOne(Message({"x"})), "");
  EXPECT_EQ(client.auth_schemes(), std::vector<std::string>({"PLAIN"}));
  EXPECT_EQ(server.Transcript().find("auth"), std::string::npos);
  EXPECT_EQ(server.Records("message").size(), 1u);
}

TEST_F(SmtpClientTest, RefusedEhloFallsBackToHelo) {
  SmtpTestServer server({.refuse_ehlo = true});
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  ASSERT_EQ(SendOne(Message({"x"})), "");
  EXPECT_EQ(server.Transcript().rfind("ehlo station1\r\nHelo station1\r\nRset\r\n", 0), 0u);
  EXPECT_EQ(server.Records("message").size(), 1u);
}

TEST_F(SmtpClientTest, BodyLineOfOneDotIsStuffedAndArrivesWhole) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  ASSERT_EQ(SendOne(Message({"before", ".", ".hidden", "after"})), "");
  auto messages = server.Records("message");
  ASSERT_EQ(messages.size(), 1u);
  std::string content = messages[0]["content"];
  EXPECT_NE(content.find("\r\n\r\nbefore\r\n.\r\n.hidden\r\nafter\r\n"), std::string::npos) << content;
  EXPECT_NE(server.Transcript().find("\r\nbefore\r\n..\r\n..hidden\r\nafter\r\n.\r\n"), std::string::npos);
}

TEST_F(SmtpClientTest, UnreachableServerFailsTheConnection) {
  client.settings.port = ClosedLoopbackPort();
  SmtpResult result = client.Connect();
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(client.connected());
  client.Disconnect();  // harmless after a failed connection
}

TEST_F(SmtpClientTest, SilentServerTimesOutInsteadOfHanging) {
  SilentListener silent;
  ASSERT_GT(silent.port(), 0);
  client.settings.port = silent.port();
  client.settings.reply_timeout_ms = 200;
  SmtpResult result = client.Connect();
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("timed out"), std::string::npos) << result.error;
  EXPECT_FALSE(client.connected());
}

TEST_F(SmtpClientTest, ServerDroppingTheConnectionFailsTheSend) {
  SmtpTestServer server({.drop_at_data = true});
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  ASSERT_TRUE(client.Connect().ok);
  TMailMessage m = Message({"x"});
  SmtpResult result = client.Send(m);
  EXPECT_FALSE(result.ok);
  client.Disconnect();
  EXPECT_FALSE(client.connected());
  EXPECT_TRUE(server.Records("message").empty());
}

TEST_F(SmtpClientTest, LineBreakInAnAddressIsNeverSentAsACommand) {
  SmtpTestServer server;
  ASSERT_TRUE(server.started()) << server.error();
  client.settings.port = server.port();
  TMailMessage m = Message({"x"});
  m.recipients = {"a@example.com>\r\nRCPT to:<evil@example.com"};
  EXPECT_NE(SendOne(m), "");
  EXPECT_EQ(server.Transcript().find("evil"), std::string::npos);
  EXPECT_TRUE(server.Records("message").empty());
}

TEST(AdvertisedAuthSchemesTest, KeywordPositionSeparatorsAndDuplicates) {
  const struct {
    std::vector<std::string> reply;
    std::vector<std::string> schemes;
  } cases[] = {
      {{"250-mail.example.com", "250-AUTH LOGIN PLAIN", "250 HELP"}, {"LOGIN", "PLAIN"}},
      {{"250-mail.example.com", "250-AUTH=LOGIN", "250-auth login cram-md5"}, {"LOGIN", "CRAM-MD5"}},
      {{"250-mail.example.com", "250-AUTHX LOGIN", "250-XAUTH LOGIN", "250 SIZE 1000"}, {}},
      {{"250 AUTH LOGIN"}, {}},  // the first line is the greeting, never a scheme list
      {{"250-x", "250-AUTH  LOGIN   PLAIN "}, {"LOGIN", "PLAIN"}},
  };
  for (const auto& c : cases) EXPECT_EQ(AdvertisedAuthSchemes(c.reply), c.schemes) << c.reply[1 % c.reply.size()];
}

}  // namespace
}  // namespace duri
