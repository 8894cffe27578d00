// Reader passes over real pseudo-terminals: the test is the receiver, writing on the master side and
// reading the acknowledgements back.
#include "intake/reader_pass.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <vector>

#include "intake/framing.h"
#include "intake/receiver_setup.h"
#include "station.h"
#include "support/pty.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::PseudoTerminal;
using testing::RecordingView;
using testing::TempDir;
using testing::WaitFor;

constexpr char kDc4[] = "\x14";
constexpr int kSurgard = 7;
constexpr int kSecutron = 10;  // terminator CR, no supervision

class ReaderPassTest : public ::testing::Test {
 protected:
  ReaderPassTest() : station_(dir_.path(), clock_, view_) {
    station_.ports.SetDeviceDir(dir_.Join("no-dev"));
    station_.set_ui_thread(ui_);
    // A test decoder: takes the message from the read index through the terminator and counts it down.
    station_.decode_message = [this](int port, PortState& s, const ReceiverConfig&) {
      std::string message;
      for (;;) {
        uint8_t b = s.At(s.read_index);
        message += static_cast<char>(b);
        s.read_index = static_cast<int16_t>(s.read_index == PortState::kRingSize ? 1 : s.read_index + 1);
        if (b == s.terminator) break;
      }
      --s.complete_count;
      {
        std::lock_guard<std::mutex> l(mu_);
        decoded_.push_back(std::to_string(port) + ":" + message);
      }
      if (during_decode_) during_decode_(port);
      return outcome_ ? outcome_(message) : MessageOutcome::kEvents;
    };
  }

  void OpenPort(PseudoTerminal& pty, int n, int type) {
    pty.Link(dir_.path(), "COM" + std::to_string(n));
    station_.ports.Config(n).receiver_type = static_cast<uint8_t>(type);
    bool opened = false;
    ui_.Synchronize([&] { opened = OpenReceiverPort(station_, n); });
    ASSERT_TRUE(opened);
  }
  std::string Memo(int n) {
    std::string m;
    ui_.Synchronize([&] { m = station_.ports.Traffic(n); });
    return m;
  }
  std::vector<std::string> Decoded() {
    std::lock_guard<std::mutex> l(mu_);
    return decoded_;
  }
  bool Armed(int n) { return station_.ports.PortArmed(n); }
  // Sends bytes and waits until a pass has shown them in the memo and ended.
  void SendAndWaitShown(PseudoTerminal& pty, int n, const std::string& bytes, const std::string& shown) {
    pty.Write(bytes);
    ASSERT_TRUE(WaitFor([&] { return Memo(n).rfind(shown, 0) == 0; })) << Memo(n);
    ASSERT_TRUE(WaitFor([&] { return Armed(n); }));
  }
  // Sends bytes while the user-interface thread is held, so that one read takes them all.
  void SendAsOneRead(PseudoTerminal& pty, int n, const std::string& bytes) {
    ui_.Synchronize([&] {
      pty.Write(bytes);
      WaitFor([&] { return station_.ports.Port(n).InputCount() == static_cast<int>(bytes.size()); });
    });
  }

  EventLoopThread ui_;
  TempDir dir_;
  ManualClock clock_;
  RecordingView view_;
  Station station_;
  std::mutex mu_;
  std::vector<std::string> decoded_;
  std::function<void(int)> during_decode_;
  std::function<MessageOutcome(const std::string&)> outcome_;  // unset: every message gives events
};

TEST_F(ReaderPassTest, SurgardFirstMessageSynchronisesTheNextIsDecodedAndAcknowledged) {
  PseudoTerminal pty;
  OpenPort(pty, 1, kSurgard);
  EXPECT_EQ(Memo(1), "Open COM1");
  SendAndWaitShown(pty, 1, std::string("12345") + kDc4, "12345<Synchro>\r\n");
  EXPECT_EQ(Memo(1), "12345<Synchro>\r\nOpen COM1");
  EXPECT_TRUE(Decoded().empty());
  EXPECT_EQ(pty.ReadNow(), "");  // no acknowledgement for the synchronising message

  SendAndWaitShown(pty, 1, std::string("67890") + kDc4, "67890<DC4>\r\n");
  EXPECT_EQ(Memo(1), "67890<DC4>\r\n12345<Synchro>\r\nOpen COM1");
  EXPECT_EQ(Decoded(), std::vector<std::string>{std::string("1:67890") + kDc4});
  EXPECT_EQ(pty.Read(), "\x06");
  EXPECT_EQ(view_.Traffic(1), Memo(1));
}

TEST_F(ReaderPassTest, TwoMessagesInOneReadGiveTwoDecodesAndOneAcknowledgement) {
  PseudoTerminal pty;
  OpenPort(pty, 2, kSecutron);
  SendAndWaitShown(pty, 2, "sync\r", "sync<Synchro>");
  SendAsOneRead(pty, 2, "111\r222\r");
  ASSERT_TRUE(WaitFor([&] { return Decoded().size() == 2 && Armed(2); }));
  EXPECT_EQ(Decoded(), (std::vector<std::string>{"2:111\r", "2:222\r"}));
  EXPECT_EQ(pty.Read(), "\x06");
  EXPECT_EQ(Memo(2).substr(0, 22), "222<CR>\r\n111<CR>\r\nsync");
  const PortCounters& c = station_.ports.Counters(2);
  EXPECT_EQ(c.messages, 2u);
  EXPECT_TRUE(WaitFor([&] { return c.acknowledgements == 1u; }));
  EXPECT_EQ(c.failures, 0u);
}

// The acknowledgement follows the first message of a pass that was stored or carries no event; an
// unrecognised message or line noise earns none, so the receiver sends it again.
TEST_F(ReaderPassTest, OnlyAMessageStoredOrRecognisedEarnsTheAcknowledgement) {
  PseudoTerminal pty;
  OpenPort(pty, 2, kSecutron);
  outcome_ = [](const std::string& message) {
    switch (message[0]) {
      case 'U': return MessageOutcome::kUnrecognised;
      case 'B': return MessageOutcome::kBlank;
      case 'N': return MessageOutcome::kNoEvent;
      case 'S': return MessageOutcome::kStoredUnread;
      default: return MessageOutcome::kEvents;
    }
  };
  SendAndWaitShown(pty, 2, "sync\r", "sync<Synchro>");
  struct Case {
    const char* bytes;
    size_t decodes;
    const char* acks;
  };
  const Case cases[] = {
      {"U1\r", 1, ""},         {"B\r", 1, ""},        {"U2\rE1\rE2\r", 3, "\x06"},
      {"N\r", 1, "\x06"},      {"U3\rU4\r", 2, ""},   {"S\r", 1, "\x06"},
  };
  size_t decoded = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    SendAsOneRead(pty, 2, c.bytes);
    decoded += c.decodes;
    ASSERT_TRUE(WaitFor([&] { return Decoded().size() == decoded && Armed(2); }));
    EXPECT_EQ(*c.acks ? pty.Read() : pty.ReadNow(), c.acks);
  }
}

TEST_F(ReaderPassTest, MessageSplitOverTwoWritesIsShownOnce) {
  PseudoTerminal pty;
  OpenPort(pty, 3, kSurgard);
  SendAndWaitShown(pty, 3, std::string("s") + kDc4, "s<Synchro>");
  pty.Write("123");
  ASSERT_TRUE(WaitFor([&] {
    std::string pending;
    ui_.Synchronize([&] { pending = station_.ports.PendingTraffic(3); });
    return pending == "123" && Armed(3);
  }));
  EXPECT_EQ(Memo(3), "s<Synchro>\r\nOpen COM3");
  SendAndWaitShown(pty, 3, std::string("45") + kDc4, "12345<DC4>\r\n");
  EXPECT_EQ(Memo(3), "12345<DC4>\r\ns<Synchro>\r\nOpen COM3");
  EXPECT_EQ(Decoded(), std::vector<std::string>{std::string("3:12345") + kDc4});
}

TEST_F(ReaderPassTest, ElevenHundredBytesWithoutTerminatorWrapTheWriteIndex) {
  PseudoTerminal pty;
  OpenPort(pty, 4, kSurgard);
  SendAndWaitShown(pty, 4, std::string("s") + kDc4, "s<Synchro>");
  pty.Write(std::string(1100, '7'));
  int16_t write_index = 0;
  ASSERT_TRUE(WaitFor([&] {
    ui_.Synchronize([&] { write_index = station_.ports.State(4).write_index; });
    return write_index == 1100 - 1024 + 1;
  })) << write_index;
  EXPECT_TRUE(Decoded().empty());
  EXPECT_EQ(pty.ReadNow(), "");
}

TEST_F(ReaderPassTest, ReceiveEventDuringARunningPassIsIgnoredAndTheNextPassReadsTheBytes) {
  PseudoTerminal pty;
  OpenPort(pty, 5, kSecutron);
  SendAndWaitShown(pty, 5, "s\r", "s<Synchro>");
  bool first = true;
  during_decode_ = [&](int port) {
    if (!first) return;
    first = false;
    // More bytes arrive and their receive event comes while this pass is still running.
    pty.Write("BBB\r");
    WaitFor([&] { return station_.ports.Port(port).InputCount() == 4; });
    ComPortRxChar(station_, port);
  };
  pty.Write("AAA\r");
  ASSERT_TRUE(WaitFor([&] { return Decoded().size() == 2 && Armed(5); }));
  EXPECT_GE(station_.ports.IgnoredEvents(5), 1);
  EXPECT_EQ(Decoded(), (std::vector<std::string>{"5:AAA\r", "5:BBB\r"}));
  EXPECT_EQ(pty.Read(), "\x06\x06");  // one acknowledgement for each pass
}

TEST_F(ReaderPassTest, MessageWithLineErrorsIsDroppedUnacknowledgedAndTheNextDecodesOnTime) {
  PseudoTerminal pty;
  OpenPort(pty, 6, kSecutron);
  std::mutex errors_mu;
  std::deque<LineErrors> errors;
  station_.ports.Port(6).SetLineErrorSourceForTesting([&] {
    std::lock_guard<std::mutex> l(errors_mu);
    if (errors.empty()) return LineErrors{0};
    LineErrors e = errors.front();
    errors.pop_front();
    return e;
  });
  SendAndWaitShown(pty, 6, "s\r", "s<Synchro>");
  {
    std::lock_guard<std::mutex> l(errors_mu);
    errors = {kFramingError};
  }
  SendAndWaitShown(pty, 6, "BAD\r", "BAD");
  EXPECT_TRUE(Decoded().empty());
  EXPECT_EQ(pty.ReadNow(), "");  // the receiver sends it again

  {
    std::lock_guard<std::mutex> l(errors_mu);
    errors = {0, kParityError, 0};
  }
  SendAsOneRead(pty, 6, "G1\rBAD2\rG2\r");
  ASSERT_TRUE(WaitFor([&] { return Decoded().size() == 2 && Armed(6); }));
  SendAndWaitShown(pty, 6, "G3\r", "G3<CR>");
  EXPECT_EQ(Decoded(), (std::vector<std::string>{"6:G1\r", "6:G2\r", "6:G3\r"}));
  EXPECT_EQ(pty.Read(), "\x06\x06");
  EXPECT_EQ(station_.ports.Counters(6).Dropped(DropReason::kLineError), 2u);
}

// Every port's failure is counted and written to error.log with its cause; only 1 to 6 have a box.
TEST_F(ReaderPassTest, ReceiverClosingMidStreamFailsThePassAndRearmsThePort) {
  dir_.MakeDir("ORBA");
  for (int port : {1, 7, 16}) {
    SCOPED_TRACE(port);
    PseudoTerminal pty;
    OpenPort(pty, port, kSecutron);
    SendAndWaitShown(pty, port, "s\r", "s<Synchro>");
    // The receiver goes away while its message is decoded: the acknowledgement cannot be written.
    during_decode_ = [&](int) { pty.CloseMaster(); };
    pty.Write("M\r");
    ASSERT_TRUE(WaitFor([&] { return Decoded().size() == 1 && Armed(port); }));
    ASSERT_TRUE(WaitFor([&] { return station_.ports.Counters(port).failures == 1u; }))
        << "failures " << station_.ports.Counters(port).failures << ", acknowledgements "
        << station_.ports.Counters(port).acknowledgements << ", last " << station_.ports.Counters(port).LastFailure();
    EXPECT_NE(station_.ports.Counters(port).LastFailure().find("COM" + std::to_string(port) + " reader pass failed: "),
              std::string::npos);
    during_decode_ = nullptr;
    decoded_.clear();
    ui_.Synchronize([&] { station_.ports.Port(port).Close(); });
  }
  EXPECT_EQ(view_.Messages(), std::vector<std::string>{"thread1|thread1 failed."});
  const std::string log = dir_.ReadFile("ORBA/error.log");
  for (const char* port : {"COM1 ", "COM7 ", "COM16 "}) {
    const size_t at = log.find(std::string(port) + "reader pass failed: ");
    ASSERT_NE(at, std::string::npos) << log;
    // The cause follows, not an empty text.
    EXPECT_GT(log.find("\r\n", at), at + std::string(port).size() + 21) << log;
  }
}

// A line whose output stays full takes no acknowledgement: the pass does not count one it did not
// send, and says so in error.log; the message stays stored and the receiver sends it again.
TEST_F(ReaderPassTest, AcknowledgementAFullLineDoesNotTakeIsLoggedAndNotCounted) {
  dir_.MakeDir("ORBA");
  PseudoTerminal pty;
  OpenPort(pty, 3, kSecutron);
  SendAndWaitShown(pty, 3, "s\r", "s<Synchro>");
  // The receiver stops reading: fill the line's output from the test's own opening of it.
  const int fd = pty.slave_fd();
  ASSERT_EQ(fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK), 0);
  const std::string filler(4096, 'f');
  // The kernel moves what was written on to the master side a moment later, so the line is full
  // only once it still takes nothing after a pause.
  size_t filled = 0;
  for (int quiet = 0; quiet < 3;) {
    const ssize_t n = write(fd, filler.data(), filler.size());
    if (n > 0) {
      filled += static_cast<size_t>(n);
      quiet = 0;
    } else {
      ASSERT_EQ(errno, EAGAIN);
      ++quiet;
      usleep(50 * 1000);
    }
  }

  pty.Write("M\r");
  ASSERT_TRUE(WaitFor([&] { return Decoded().size() == 1 && Armed(3); }));
  EXPECT_EQ(station_.ports.Counters(3).acknowledgements, 0u);
  EXPECT_EQ(station_.ports.Counters(3).failures, 0u);
  EXPECT_NE(dir_.ReadFile("ORBA/error.log").find("COM3 acknowledgement not sent: the line took nothing"),
            std::string::npos);
  // Behind the filler nothing went out.
  const std::string out = pty.ReadBytes(filled + 1, 300);
  EXPECT_EQ(out.size(), filled);
  EXPECT_EQ(out.find_first_not_of('f'), std::string::npos);
}

TEST_F(ReaderPassTest, PartialMessageThenHangUpLeavesThePortArmed) {
  PseudoTerminal pty;
  OpenPort(pty, 8, kSecutron);
  SendAndWaitShown(pty, 8, "s\r", "s<Synchro>");
  pty.Write("12");
  ASSERT_TRUE(WaitFor([&] {
    std::string pending;
    ui_.Synchronize([&] { pending = station_.ports.PendingTraffic(8); });
    return pending == "12" && Armed(8);
  }));
  pty.CloseMaster();
  // The hung-up line raises no receive event, so no pass starts and fails.
  ui_.Drain();
  EXPECT_TRUE(Armed(8));
  EXPECT_TRUE(view_.Messages().empty());
  EXPECT_TRUE(Decoded().empty());
}

TEST(ReaderFailureTextTest, OnlyTheFirstSixPortsHaveABox) {
  EXPECT_EQ(ReaderFailureText(1), "thread1 failed.");
  EXPECT_EQ(ReaderFailureText(6), "thread6 failed.");
  EXPECT_EQ(ReaderFailureText(7), "");
  EXPECT_EQ(ReaderFailureText(16), "");
}

}  // namespace
}  // namespace duri
