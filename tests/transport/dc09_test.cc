// The DC-09 protocol core: framing with CRC and length, the header fields, time stamps, encryption,
// the answers and the Sur-Gard messages the station makes of what panels send, the accounts file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "decoders/surgard.h"
#include "support/temp_dir.h"
#include "transport/dc09_accounts.h"
#include "transport/dc09_automation.h"
#include "transport/dc09_cipher.h"
#include "transport/dc09_frame.h"
#include "transport/dc09_receiver.h"

namespace duri::dc09 {
namespace {

constexpr int64_t kNow = 1796640000;  // 2026-12-08 ... UTC
constexpr char kKey128[] = "000102030405060708090A0B0C0D0E0F";
constexpr char kKey192[] = "000102030405060708090A0B0C0D0E0F1011121314151617";
constexpr char kKey256[] = "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F";

std::string Stamp(int64_t offset) { return "_" + StampText(kNow + offset); }

// A content as a panel sends it; key: encrypt everything after "[".
std::string PanelContent(const std::string& token, const std::string& header, const std::string& after_bracket,
                         const std::string& key_hex = "") {
  if (key_hex.empty()) return "\"" + token + "\"" + header + "[" + after_bracket;
  Key key;
  EXPECT_TRUE(ParseKey(key_hex, key));
  // The clear data's own "#acct|" gives way to the pad and its '|'.
  const size_t bar = after_bracket.find('|');
  const std::string rest = bar == std::string::npos ? after_bracket : after_bracket.substr(bar + 1);
  return "\"*" + token + "\"" + header + "[" + EncryptBody(key, rest);
}

TEST(Dc09Crc, MatchesTheCheckValueAndTheSerialFormatsTable) {
  EXPECT_EQ(Crc16("123456789"), 0xBB3D);
  // The 101st entry of the older SIA formats' table is 0xEB01.
  EXPECT_EQ(Crc16(std::string(1, static_cast<char>(100))), 0xEB01);
  EXPECT_EQ(Crc16(""), 0);
}

TEST(Dc09Frame, CutsFramesOutOfAStream) {
  const std::string good = Frame("\"NULL\"0001R1L1#1234[]");
  std::string bad_crc = good;
  bad_crc[1] = bad_crc[1] == '0' ? '1' : '0';
  std::string short_length = good;
  short_length.replace(5, 4, "0014");  // one less than the content
  struct Case {
    const char* name;
    std::string stream;
    size_t max;
    CutResult result;
    size_t consumed;
  } cases[] = {
      {"whole", good, 1024, CutResult::kFrame, good.size()},
      {"whole then more", good + "\nAB", 1024, CutResult::kFrame, good.size()},
      {"half", good.substr(0, 15), 1024, CutResult::kIncomplete, 0},
      {"head only", good.substr(0, 4), 1024, CutResult::kIncomplete, 0},
      {"noise before", "xyz" + good, 1024, CutResult::kNoise, 3},
      {"noise only", "xyz", 1024, CutResult::kNoise, 3},
      {"bad crc", bad_crc + good, 1024, CutResult::kBadCrc, good.size()},
      {"length one short", short_length + good, 1024, CutResult::kBadLength, good.size()},
      {"length not hex", "\n12340Z12\"NULL\"", 1024, CutResult::kBadLength, 15},
      {"crc not hex", "\nG2340012" + good, 1024, CutResult::kBadCrc, 9},
      {"over the limit", good, 10, CutResult::kTooLong, good.size()},
  };
  for (const auto& c : cases) {
    const Cut cut = CutFrame(c.stream, c.max);
    EXPECT_EQ(cut.result, c.result) << c.name;
    EXPECT_EQ(cut.consumed, c.consumed) << c.name;
  }
  EXPECT_EQ(CutFrame(good, 1024).content, "\"NULL\"0001R1L1#1234[]");
}

TEST(Dc09Frame, ReadsTheHeaderFields) {
  struct Case {
    std::string text;
    ParseResult result;
    bool encrypted;
    std::string token, sequence, receiver, line, account;
  } cases[] = {
      {"\"ADM-CID\"0001R1L1#1234[#1234|1130 01 005]", ParseResult::kOk, false, "ADM-CID", "0001", "1", "1", "1234"},
      {"\"*SIA-DCS\"9999R12AB0FL3#ABCDEF0123[00]", ParseResult::kOk, true, "SIA-DCS", "9999", "12AB0F", "3", "ABCDEF0123"},
      {"\"NULL\"0002L0#123[]", ParseResult::kOk, false, "NULL", "0002", "", "0", "123"},
      {"\"NAK\"0000R0L0A0[]_10:00:00,12-08-2026", ParseResult::kOk, false, "NAK", "0000", "0", "0", "0"},
      {"\"FOO\"0001R1L1#1234[]", ParseResult::kBadToken, false, "FOO", "0001", "1", "1", "1234"},
      {"NULL0001R1L1#1234[]", ParseResult::kBadToken, false, "", "", "", "", ""},
      {"\"NULL\"001R1L1#1234[]", ParseResult::kBadHeader, false, "NULL", "", "", "", ""},
      {"\"NULL\"0001R1#1234[]", ParseResult::kBadHeader, false, "NULL", "0001", "1", "", ""},
      {"\"NULL\"0001R1L1#12[]", ParseResult::kBadHeader, false, "NULL", "0001", "1", "1", ""},
      {"\"NULL\"0001R1234567L1#1234[]", ParseResult::kBadHeader, false, "NULL", "0001", "", "", ""},
      {"\"NULL\"0001R1L1#12345678901234567[]", ParseResult::kBadHeader, false, "NULL", "0001", "1", "1", ""},
      {"\"NULL\"0001R1L1#1234", ParseResult::kBadHeader, false, "NULL", "0001", "1", "1", "1234"},
  };
  for (const auto& c : cases) {
    Content content;
    EXPECT_EQ(ParseContent(c.text, content), c.result) << c.text;
    EXPECT_EQ(content.encrypted, c.encrypted) << c.text;
    EXPECT_EQ(content.token, c.token) << c.text;
    EXPECT_EQ(content.sequence, c.sequence) << c.text;
    EXPECT_EQ(content.receiver, c.receiver) << c.text;
    EXPECT_EQ(content.line, c.line) << c.text;
    EXPECT_EQ(content.account, c.account) << c.text;
  }
}

TEST(Dc09Frame, SplitsTheBodyAndChecksStamps) {
  struct Case {
    std::string body;
    bool ok;
    std::string data, extended, stamp;
  } cases[] = {
      {"[#1234|Nri1/BA01]", true, "#1234|Nri1/BA01", "", ""},
      {"[]_23:59:59,02-28-2026", true, "", "", "23:59:59,02-28-2026"},
      {"[#1|NBA1][XMAC][Vtext]_00:00:00,01-01-2027", true, "#1|NBA1", "[XMAC][Vtext]", "00:00:00,01-01-2027"},
      {"[]_24:00:00,01-01-2027", false, "", "", ""},
      {"[]_12:00:00,02-30-2026", false, "", "", ""},
      {"[]_12:00:00,13-01-2026", false, "", "", ""},
      {"[]_12:00:00,1-01-2026", false, "", "", ""},
      {"[]junk", false, "", "", ""},
      {"[#1234|N[BA01]", false, "", "", ""},
      {"[#1234|NBA01", false, "", "", ""},
  };
  for (const auto& c : cases) {
    Body body;
    ASSERT_EQ(SplitBody(c.body, body), c.ok) << c.body;
    if (!c.ok) continue;
    EXPECT_EQ(body.data, c.data) << c.body;
    EXPECT_EQ(body.extended, c.extended) << c.body;
    EXPECT_EQ(body.stamp, c.stamp) << c.body;
  }
  int64_t seconds = 0;
  ASSERT_TRUE(StampSeconds(StampText(kNow), seconds));
  EXPECT_EQ(seconds, kNow);
}

TEST(Dc09Cipher, RoundTripsEveryKeySizeWithAPrintablePad) {
  for (const char* hex : {kKey128, kKey192, kKey256}) {
    Key key;
    ASSERT_TRUE(ParseKey(hex, key)) << hex;
    for (const std::string& rest : {std::string(), std::string("Nri1/BA01]"), std::string("Nri1/BA01]_12:00:00,12-08-2026"), std::string(40, 'x')}) {
      const std::string cipher = EncryptBody(key, rest);
      ASSERT_EQ(cipher.size() % (2 * kBlockSize), 0u);
      std::string clear;
      ASSERT_TRUE(DecryptBody(key, cipher, clear)) << rest;
      EXPECT_EQ(clear, "|" + rest);
      std::string padded;
      ASSERT_TRUE(DecryptHex(key, cipher, padded));
      for (char c : padded.substr(0, padded.size() - clear.size())) EXPECT_TRUE(c > ' ' && c <= '~' && c != '|');
    }
  }
  Key key;
  EXPECT_FALSE(ParseKey("0011", key));
  EXPECT_FALSE(ParseKey(std::string(32, 'G'), key));
  ASSERT_TRUE(ParseKey(kKey128, key));
  std::string clear;
  EXPECT_FALSE(DecryptHex(key, "ABC", clear));         // not whole bytes
  EXPECT_FALSE(DecryptHex(key, "00112233", clear));    // not a whole block
  EXPECT_FALSE(DecryptHex(key, std::string(32, 'Z'), clear));
}

class Dc09ReceiverTest : public ::testing::Test {
 protected:
  Dc09ReceiverTest() : receiver_(Accounts(), StampWindow{}, kNow) {}

  static AccountTable Accounts() {
    AccountTable table;
    std::string why;
    EXPECT_TRUE(ParseAccounts(std::string("1111 ") + kKey128 + " 0\n2222 " + kKey192 + " 0\n3333 " + kKey256 +
                                  " 0\n4444 - 60\n",
                              table, why))
        << why;
    return table;
  }

  Outcome Handle(const std::string& content, int64_t offset = 0) { return receiver_.Handle(content, kNow + offset); }

  static std::string Token(const std::string& answer) {
    Content content;
    ParseContent(answer.substr(kHeadSize, answer.size() - kHeadSize - 1), content);
    return content.token;
  }

  Receiver receiver_;
};

TEST_F(Dc09ReceiverTest, AnswersEachMessageAsTheProtocolWants) {
  const std::string post = "Post";
  struct Case {
    const char* name;
    std::string content;
    std::string outcome;  // "Post" or the answer's token
    std::string message;  // the Sur-Gard message when posted
  } cases[] = {
      {"Contact ID", PanelContent("ADM-CID", "0001R1L1#1234", "#1234|1130 01 005]"), post,
       "5011 181234E13001005\x14"},
      {"Contact ID restore, no receiver", PanelContent("ADM-CID", "0002L0#12AB", "#12AB|3401 02 012]"), post,
       "5000 1812ABR40102012\x14"},
      {"SIA", PanelContent("SIA-DCS", "0003R2L3#123456", "#123456|Nri1/BA01]"), post, "S023[#123456|Nri1/BA01]\x14"},
      {"SIA with time stamp inside the window", PanelContent("SIA-DCS", "0004R2L3#1234", "#1234|NFA2]" + Stamp(-39)),
       post, "S023[#1234|NFA2]\x14"},
      {"SIA in AES-128", PanelContent("SIA-DCS", "0005R1L1#1111", "#1111|NBA01]" + Stamp(0), kKey128), post,
       "S011[#1111|NBA01]\x14"},
      {"Contact ID in AES-192", PanelContent("ADM-CID", "0006R1L1#2222", "#2222|1130 01 005]" + Stamp(19), kKey192),
       post, "5011 182222E13001005\x14"},
      {"NULL in AES-256", PanelContent("NULL", "0007R1L1#3333", "]" + Stamp(0), kKey256), "ACK", ""},
      {"NULL", PanelContent("NULL", "0008R1L1#4444", "]"), "ACK", ""},
      {"time stamp too old", PanelContent("SIA-DCS", "0009R1L1#1234", "#1234|NBA1]" + Stamp(-41)), "NAK", ""},
      {"time stamp too new", PanelContent("SIA-DCS", "0010R1L1#1234", "#1234|NBA1]" + Stamp(21)), "NAK", ""},
      {"encrypted without stamp", PanelContent("SIA-DCS", "0011R1L1#1111", "#1111|NBA01]", kKey128), "NAK", ""},
      {"unknown token", PanelContent("SIA-XYZ", "0012R1L1#1234", "#1234|NBA1]"), "DUH", ""},
      {"an answer sent to the receiver", PanelContent("ACK", "0012R1L1#1234", "]"), "DUH", ""},
      {"encrypted, no key", PanelContent("SIA-DCS", "0013R1L1#4444", "#4444|NBA01]" + Stamp(0), kKey128), "DUH", ""},
      {"wrong key", PanelContent("SIA-DCS", "0014R1L1#1111", "#1111|NBA01]" + Stamp(0), kKey256), "DUH", ""},
      {"clear from a keyed account", PanelContent("SIA-DCS", "0015R1L1#1111", "#1111|NBA01]"), "DUH", ""},
      {"receiver of 3 digits", PanelContent("ADM-CID", "0016R100L1#1234", "#1234|1130 01 005]"), "DUH", ""},
      {"line of 2 digits", PanelContent("ADM-CID", "0017R1L10#1234", "#1234|1130 01 005]"), "DUH", ""},
      {"Contact ID account of 6", PanelContent("ADM-CID", "0018R1L1#123456", "#123456|1130 01 005]"), "DUH", ""},
      {"Contact ID qualifier 2", PanelContent("ADM-CID", "0019R1L1#1234", "#1234|2130 01 005]"), "DUH", ""},
      {"data of another account", PanelContent("SIA-DCS", "0020R1L1#1234", "#9999|NBA1]"), "DUH", ""},
      {"heartbeat mark in SIA data", PanelContent("SIA-DCS", "0021R1L1#1234", "#1234|NBA1@]"), "DUH", ""},
      {"NULL with data", PanelContent("NULL", "0022R1L1#1234", "#1234|NBA1]"), "DUH", ""},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Handle(c.content);
    if (c.outcome == post) {
      EXPECT_EQ(outcome.verdict, Verdict::kPost) << c.name << ": " << outcome.log;
      EXPECT_EQ(outcome.message, c.message) << c.name;
      EXPECT_EQ(Token(outcome.answer), "ACK") << c.name;
    } else {
      EXPECT_EQ(outcome.verdict, Verdict::kAnswer) << c.name;
      EXPECT_EQ(Token(outcome.answer), c.outcome) << c.name << ": " << outcome.log;
      if (c.outcome != "ACK") {
        EXPECT_FALSE(outcome.log.empty()) << c.name;
      }
    }
  }
}

TEST_F(Dc09ReceiverTest, AnswersCarryTheMessagesFields) {
  const Outcome ack = Handle(PanelContent("ADM-CID", "0042R1L1#1234", "#1234|1130 01 005]"));
  EXPECT_EQ(ack.answer, Frame("\"ACK\"0042R1L1#1234[]"));
  const Outcome nak = Handle(PanelContent("SIA-DCS", "0043R1L1#1234", "#1234|NBA1]" + Stamp(-100)));
  EXPECT_EQ(nak.answer, Frame("\"NAK\"0000R0L0A0[]" + Stamp(0)));
  const Outcome duh = Handle(PanelContent("SIA-XYZ", "0044R7L2#5678", "]"));
  EXPECT_EQ(duh.answer, Frame("\"DUH\"0044R7L2#5678[]"));

  // An encrypted message gets its ACK encrypted with the same key, with the station's time stamp.
  const Outcome secret = Handle(PanelContent("SIA-DCS", "0045R1L1#1111", "#1111|NBA01]" + Stamp(0), kKey128));
  const std::string content = secret.answer.substr(kHeadSize, secret.answer.size() - kHeadSize - 1);
  Content parsed;
  ASSERT_EQ(ParseContent(content, parsed), ParseResult::kOk);
  EXPECT_TRUE(parsed.encrypted);
  EXPECT_EQ(HeaderText(parsed), "\"*ACK\"0045R1L1#1111");
  Key key;
  ASSERT_TRUE(ParseKey(kKey128, key));
  std::string clear;
  ASSERT_TRUE(DecryptBody(key, parsed.body.substr(1), clear));
  EXPECT_EQ(clear, "|]" + Stamp(0));
}

TEST_F(Dc09ReceiverTest, ARepeatedMessageIsAcknowledgedWithoutASecondEvent) {
  const std::string message = PanelContent("ADM-CID", "0100R1L1#1234", "#1234|1130 01 005]");
  const Outcome first = Handle(message);
  ASSERT_EQ(first.verdict, Verdict::kPost);
  // Not yet acknowledged by the station (its history may have failed): the resend is posted again.
  EXPECT_EQ(Handle(message).verdict, Verdict::kPost);
  receiver_.Acknowledged(first);
  const Outcome repeat = Handle(message);
  EXPECT_EQ(repeat.verdict, Verdict::kAnswer);
  EXPECT_EQ(Token(repeat.answer), "ACK");
  EXPECT_NE(repeat.log.find("repeat"), std::string::npos);
  // The same sequence number with other data is a new report (the panel restarted its numbering).
  EXPECT_EQ(Handle(PanelContent("ADM-CID", "0100R1L1#1234", "#1234|1131 01 005]")).verdict, Verdict::kPost);
}

TEST_F(Dc09ReceiverTest, APanelThatMissesItsIntervalIsReportedAndRestored) {
  EXPECT_TRUE(receiver_.Supervise(kNow + 60).empty());
  // Supervised from the start, before its first message: four digits make it a Contact ID account.
  ASSERT_EQ(receiver_.Supervise(kNow + 61), std::vector<std::string>{"5000 184444E35000000\x14"});
  EXPECT_TRUE(receiver_.Supervise(kNow + 200).empty());  // reported once
  const Outcome null = Handle(PanelContent("NULL", "0001R3L2#4444", "]"), 300);
  EXPECT_EQ(Token(null.answer), "ACK");
  EXPECT_EQ(null.link_messages, std::vector<std::string>{"5032 184444R35000000\x14"});
  EXPECT_TRUE(receiver_.Supervise(kNow + 360).empty());
  ASSERT_EQ(receiver_.Supervise(kNow + 361).size(), 1u);
  // A SIA panel's loss and restore come in SIA codes.
  EXPECT_EQ(Handle(PanelContent("SIA-DCS", "0002R3L2#4444", "#4444|NBA1]"), 400).link_messages,
            std::vector<std::string>{"S032[#4444|NYK]\x14"});
  EXPECT_EQ(receiver_.Supervise(kNow + 461), std::vector<std::string>{"S032[#4444|NYC]\x14"});
}

// What the port hands to the intake must be what the Sur-Gard decoder recognises: an event line, or
// (the link test) a message that carries no event. Anything else would be left unacknowledged.
TEST(Dc09Automation, TheSurGardDecoderTakesEveryMessageThePortMakes) {
  struct Case {
    std::string message;
    std::string line;  // "" for no event
  } cases[] = {
      {"5011 181234E13001005\x14", "00111234 E130005  [ri01]\r"},
      {"5000 1812ABR40102012\x14", "000012AB R401012  [ri02]\r"},
      {"S023[#0123456789ABCDEF|Nri1/BA01]\x14", "00230123456789ABCDEF BA01  [R2L3][ri1]\r"},
      {SupervisionMessage("4444", "03", "2", true, true), "00324444 E350000  [ri00]\r"},
      {SupervisionMessage("123456", "03", "2", false, false), "0032123456 YK  [R3L2]\r"},
      {kSurGardHeartbeat, ""},
  };
  ReceiverConfig config;
  config.prefix = '0';
  config.receiver_number = 1;
  config.line_number = 1;
  for (const auto& c : cases) {
    PortState state;
    MessageText text(c.message);
    DecodeContext context{state, config, 7};
    DecodedMessage result;
    DecodeSurGardText(text, context, result);
    EXPECT_EQ(std::string(result.text.view()), c.line) << c.message;
    if (c.line.empty()) {
      EXPECT_EQ(result.kind, MessageKind::kNoEvent) << c.message;
    }
  }
}

TEST(Dc09Accounts, ReadsTheFileAndRefusesBadLinesAndOpenRights) {
  struct Case {
    std::string text;
    bool ok;
  } cases[] = {
      {"# comment\n\n1234 - 0\nabcdef " + std::string(kKey256) + " 3600\n", true},
      {"12 - 0\n", false},
      {"1234 00112233 0\n", false},
      {"1234 - x\n", false},
      {"1234 -\n", false},
      {"1234 - 0 extra\n", false},
      {"1234 - 0\n1234 - 5\n", false},
      {"1234 - 99999999\n", false},
  };
  for (const auto& c : cases) {
    AccountTable table;
    std::string why;
    EXPECT_EQ(ParseAccounts(c.text, table, why), c.ok) << c.text;
    if (!c.ok) {
      EXPECT_NE(why.find("line"), std::string::npos) << c.text;
    }
  }
  AccountTable table;
  std::string why;
  ASSERT_TRUE(ParseAccounts(cases[0].text, table, why));
  ASSERT_EQ(table.count("ABCDEF"), 1u);
  EXPECT_EQ(table["ABCDEF"].key.size(), 32u);
  EXPECT_EQ(table["ABCDEF"].supervision_seconds, 3600);

  testing::TempDir dir;
  const std::string path = dir.Join(kAccountsFileName);
  EXPECT_TRUE(LoadAccounts(path, table, why));  // missing: no accounts
  EXPECT_TRUE(table.empty());
  dir.WriteFile(kAccountsFileName, "1234 " + std::string(kKey128) + " 0\n");
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  EXPECT_FALSE(LoadAccounts(path, table, why));
  EXPECT_NE(why.find("chmod 600"), std::string::npos);
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_TRUE(LoadAccounts(path, table, why)) << why;
  EXPECT_EQ(table.size(), 1u);
}

}  // namespace
}  // namespace duri::dc09
