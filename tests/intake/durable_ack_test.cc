// The acknowledgement promises the receiver that its message is in the history: a pass whose history
// write fails writes none, and the receiver's resend is stored once the data directory takes writes
// again. The test is the receiver on a real pseudo-terminal; the decoder stores each message as an
// event in the real history and, like the event intake, keeps a failed write to itself.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "events/event_record.h"
#include "events/history.h"
#include "events/stack.h"
#include "intake/framing.h"
#include "intake/reader_pass.h"
#include "intake/receiver_setup.h"
#include "station.h"
#include "store/io_result.h"
#include "support/immutable_file.h"
#include "support/pty.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using testing::ImmutableFiles;
using testing::PseudoTerminal;
using testing::RecordingView;
using testing::TempDir;
using testing::WaitFor;

constexpr int kSecutron = 10;  // terminator CR, no supervision
constexpr char kMonth[] = "ORBA/202612.EVT/";

class DurableAckTest : public ::testing::Test {
 protected:
  DurableAckTest() : station_(dir_.path(), clock_, view_) {
    clock_.Set(2026, 12, 8, 4, 7, 9);
    dir_.MakeDir("ORBA");
    station_.ports.SetDeviceDir(dir_.Join("no-dev"));
    station_.set_ui_thread(ui_);
    station_.decode_message = [this](int, PortState& s, const ReceiverConfig&) {
      std::string message;
      for (;;) {
        const uint8_t b = s.At(s.read_index);
        s.read_index = static_cast<int16_t>(s.read_index == PortState::kRingSize ? 1 : s.read_index + 1);
        if (b == s.terminator) break;
        message += static_cast<char>(b);
      }
      --s.complete_count;
      EventRecord event;
      event.date = clock_.Now().date;
      event.time = clock_.Now().time;
      event.description = message;
      StackEntry entry;
      try {
        WriteHistory(station_.data, event, entry, "1234");
      } catch (const IoError&) {
        ++failed_writes_;
      }
      return MessageOutcome::kEvents;
    };
  }

  void OpenPort(PseudoTerminal& pty, int n) {
    pty.Link(dir_.path(), "COM" + std::to_string(n));
    station_.ports.Config(n).receiver_type = kSecutron;
    bool opened = false;
    ui_.Synchronize([&] { opened = OpenReceiverPort(station_, n); });
    ASSERT_TRUE(opened);
  }
  std::string Memo(int n) {
    std::string m;
    ui_.Synchronize([&] { m = station_.ports.Traffic(n); });
    return m;
  }
  // Sends one message and waits until its pass has ended.
  void Send(PseudoTerminal& pty, int n, const std::string& text, const char* mark = "<CR>") {
    const std::string shown = text + mark;
    const size_t before = Count(Memo(n), shown);
    pty.Write(text + "\r");
    ASSERT_TRUE(WaitFor([&] { return Count(Memo(n), shown) > before && station_.ports.PortArmed(n); })) << Memo(n);
  }
  static size_t Count(const std::string& haystack, const std::string& needle) {
    size_t n = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
    return n;
  }
  std::vector<std::string> StoredTexts() {
    const std::string bytes = dir_.ReadFile(std::string(kMonth) + "EVENT.MDC");
    std::vector<std::string> texts;
    for (size_t at = 0; at + EventRecord::kSize <= bytes.size(); at += EventRecord::kSize) {
      EventRecord e;
      e.Decode(std::span<const uint8_t, EventRecord::kSize>(
          reinterpret_cast<const uint8_t*>(bytes.data()) + at, EventRecord::kSize));
      texts.push_back(std::string(e.description.view()));
    }
    return texts;
  }

  EventLoopThread ui_;
  TempDir dir_;
  ManualClock clock_;
  RecordingView view_;
  Station station_;
  int failed_writes_ = 0;  // on the user-interface thread only
};

TEST_F(DurableAckTest, NoAcknowledgementWhileTheHistoryRefusesWritesAndTheResendIsStoredOnce) {
  PseudoTerminal pty;
  OpenPort(pty, 1);
  Send(pty, 1, "s", "<Synchro>");  // synchronises, never decoded
  Send(pty, 1, "A1");
  EXPECT_EQ(pty.Read(), "\x06");
  ASSERT_EQ(StoredTexts(), std::vector<std::string>{"A1"});
  EXPECT_TRUE(station_.data.pending_sync.empty());  // flushed before the acknowledgement

  {
    ImmutableFiles outage;
    if (!outage.Set(dir_.Join(std::string(kMonth) + "EVENT.MDC"))) {
      GTEST_SKIP() << "cannot make the history unwritable here: " << outage.error();
    }
    // The receiver sends A2 and, without an acknowledgement, sends it again.
    Send(pty, 1, "A2");
    Send(pty, 1, "A2");
    EXPECT_EQ(pty.ReadNow(), "");
    int failed = 0;
    ui_.Synchronize([&] { failed = failed_writes_; });
    EXPECT_EQ(failed, 2);
    const std::vector<std::string> boxes = view_.Messages();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "thread1|thread1 failed.");
  }
  Send(pty, 1, "A2");
  EXPECT_EQ(pty.Read(), "\x06");
  Send(pty, 1, "A3");
  EXPECT_EQ(pty.Read(), "\x06");
  EXPECT_EQ(StoredTexts(), (std::vector<std::string>{"A1", "A2", "A3"}));
  EXPECT_EQ(dir_.ReadFile(std::string(kMonth) + "EVENT.MDX").size(), 3u * EventRecord::kIndexSize);
}

TEST_F(DurableAckTest, NewMonthFolderUnwritableGivesNoAcknowledgementUntilItIsBack) {
  PseudoTerminal pty;
  OpenPort(pty, 2);
  Send(pty, 2, "s", "<Synchro>");
  {
    ImmutableFiles outage;
    if (!outage.Set(dir_.Join("ORBA"))) GTEST_SKIP() << "cannot make ORBA unwritable here: " << outage.error();
    Send(pty, 2, "B1");
    EXPECT_EQ(pty.ReadNow(), "");
  }
  Send(pty, 2, "B1");
  EXPECT_EQ(pty.Read(), "\x06");
  EXPECT_EQ(StoredTexts(), std::vector<std::string>{"B1"});
}

}  // namespace
}  // namespace duri
