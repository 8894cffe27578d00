// The acknowledgement's promise, end to end: a Sur-Gard receiver on a real pseudo-terminal, the real
// station (loader-built account, reader pass, decoder, intake, history, stack and its backlog), and
// outages of the files an event touches. Whatever fails, no event is acknowledged that is not in the
// history and, when it waits for an operator, on the stack or in its backlog; once the file is back the
// receiver's resends are stored once and stacked once.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "station_json/station_loader.h"
#include "events/event_record.h"
#include "events/stack.h"
#include "events/stack_backlog.h"
#include "intake/receiver_setup.h"
#include "station_settings.h"
#include "station.h"
#include "support/immutable_file.h"
#include "support/pty.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

using nlohmann::json;
using testing::ImmutableFiles;
using testing::PseudoTerminal;
using testing::RecordingView;
using testing::TempDir;
using testing::WaitFor;

constexpr int kSurgard = 7;
constexpr char kDc4 = 20;
constexpr char kAckByte = 6;
constexpr int kMaxAttempts = 3;  // the receiver's sends of one message before the test gives up

// A burglary (stacked for an operator) or an opening (armed status under lock "11" of GENERAL.LCK,
// handled automatically) of account 1234, told apart by the zone.
std::string Burglary(int zone) {
  char text[32];
  std::snprintf(text, sizeof text, "5011 181234E13001%03d", zone);
  return text;
}
std::string Opening(int zone) {
  char text[32];
  std::snprintf(text, sizeof text, "5011 181234E40101%03d", zone);
  return text;
}
// The decoded code at the head of the stored description, which names the message.
std::string CodeOf(const std::string& message) { return message.substr(11, 4) + message.substr(17, 3); }

// A station on a temporary directory with COM1 on a pseudo-terminal, stopped and started again on the
// same files at will.
class PromiseStation {
 public:
  PromiseStation() {
    dir_.MakeDir("ORBA");
    clock_.Set(2026, 12, 8, 10, 30, 0);
    std::string error;
    json fire = {{"code_pattern", "E13"}, {"description", "Burglary"}, {"type", 10}, {"priority", 1}};
    json open = {{"code_pattern", "E40"}, {"description", "Opening"}, {"type", 4}, {"priority", 5}};
    DataDir data(dir_.path(), clock_, view_);
    EXPECT_TRUE(LoadStation(data,
                            {{"clients", {{{"account_number", "1234"}, {"areas", {{{"code_table_record_number", 0}}}}}}},
                             {"code_tables", {{{"entries", {fire, open}}}}}},
                            &error))
        << error;
    Start();
  }
  ~PromiseStation() { station_.reset(); }

  void Start() {
    station_ = std::make_unique<Station>(dir_.path(), clock_, view_);
    station_->ports.SetDeviceDir(dir_.Join("no-dev"));
    station_->set_ui_thread(ui_);
    pty_ = std::make_unique<PseudoTerminal>();
    pty_->Link(dir_.path(), "COM1");
    station_->ports.Config(1).receiver_type = kSurgard;
    bool opened = false;
    ui_.Synchronize([&] {
      LoadStartupSettings(*station_);
      InstallEventIntake(*station_);
      opened = OpenReceiverPort(*station_, 1);
    });
    ASSERT_TRUE(opened);
    Send("sync", "<Synchro>");  // the first terminator only synchronises the framing
  }
  // Ends the station as a crash would: no tick, no drain, nothing flushed beyond what each
  // acknowledgement already flushed.
  void Stop() {
    station_.reset();
    std::filesystem::remove(dir_.Join("ports/COM1"));
  }

  // The receiver sends the message once; true when the station acknowledged it.
  bool Send(const std::string& message, const char* mark = "<DC4>") {
    const std::string shown = message + mark;
    const size_t before = Count(Memo(), shown);
    pty_->Write(message + kDc4);
    EXPECT_TRUE(WaitFor([&] { return Count(Memo(), shown) > before && station_->ports.PortArmed(1); }, 20000))
        << Memo();
    const std::string back = pty_->ReadNow();
    return back.find(kAckByte) != std::string::npos;
  }
  // The receiver sends until acknowledged, at most kMaxAttempts times; the sends that got no answer.
  int SendUntilAcknowledged(const std::string& message) {
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
      if (Send(message)) {
        acknowledged_.push_back(message);
        return attempt;
      }
    }
    return kMaxAttempts;
  }

  // Every acknowledged message is in the history exactly once; one waiting for an operator is on the
  // stack or in its backlog exactly once.
  void CheckPromise() {
    std::vector<EventRecord> history;
    std::vector<StackEntry> stacked;
    std::vector<StackEntry> waiting;
    ui_.Synchronize([&] {
      history = History();
      StackTable table;
      ReadStack(station_->data, table);
      for (const StackEntry& e : table)
        if (e.in_use()) stacked.push_back(e);
      waiting = ReadStackBacklog(station_->data);
    });
    for (const std::string& m : acknowledged_) {
      SCOPED_TRACE(m);
      std::vector<const EventRecord*> records;
      for (const EventRecord& e : history)
        if (e.description.str().rfind(CodeOf(m), 0) == 0) records.push_back(&e);
      ASSERT_GE(records.size(), 1u) << "acknowledged and not stored";
      EXPECT_EQ(records.size(), 1u);
      for (const EventRecord* e : records) {
        if (e->auto_handled) continue;
        auto same = [&](const StackEntry& s) { return s.record_number == e->history_rec_no; };
        EXPECT_EQ(std::count_if(stacked.begin(), stacked.end(), same) +
                      std::count_if(waiting.begin(), waiting.end(), same),
                  1)
            << "record " << e->history_rec_no << " neither stacked nor waiting, or twice";
      }
    }
  }

  std::vector<EventRecord> History() {
    std::vector<EventRecord> records;
    const std::string bytes = dir_.Exists("ORBA/202612.EVT/EVENT.MDC") ? dir_.ReadFile("ORBA/202612.EVT/EVENT.MDC") : "";
    for (size_t at = 0; at + EventRecord::kSize <= bytes.size(); at += EventRecord::kSize) {
      EventRecord e;
      e.Decode(std::span<const uint8_t, EventRecord::kSize>(reinterpret_cast<const uint8_t*>(bytes.data()) + at,
                                                            EventRecord::kSize));
      records.push_back(e);
    }
    return records;
  }
  std::vector<std::string> StackedCodes() {
    std::vector<std::string> codes;
    const std::vector<EventRecord> history = History();
    StackTable table;
    ui_.Synchronize([&] { ReadStack(station_->data, table); });
    for (const StackEntry& e : table)
      if (e.in_use()) codes.push_back(history.at(static_cast<size_t>(e.record_number)).description.str().substr(0, 7));
    return codes;
  }
  std::string ErrorLog() { return dir_.Exists("ORBA/error.log") ? dir_.ReadFile("ORBA/error.log") : ""; }

  TempDir& dir() { return dir_; }
  Station& station() { return *station_; }
  RecordingView& view() { return view_; }

 private:
  std::string Memo() {
    std::string m;
    ui_.Synchronize([&] { m = station_->ports.Traffic(1); });
    return m;
  }
  static size_t Count(const std::string& haystack, const std::string& needle) {
    size_t n = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
    return n;
  }

  EventLoopThread ui_;
  TempDir dir_;
  ManualClock clock_;
  RecordingView view_;
  std::unique_ptr<Station> station_;
  std::unique_ptr<PseudoTerminal> pty_;
  std::vector<std::string> acknowledged_;
};

struct Outage {
  const char* name;
  const char* file;       // under ORBA
  bool directory;         // the file replaced by a directory instead of made immutable
  bool message_is_opening;
  bool acknowledged;      // during the outage
  const char* logged;     // in error.log during the outage
};

TEST(AckPromise, OutagesNeverAcknowledgeWhatIsNotStoredAndStackedAndResendsAreStoredOnce) {
  const Outage outages[] = {
      {"lock file immutable", "GENERAL.LCK", false, true, false, "\\ORBA\\GENERAL.LCK"},
      {"lock file a directory", "GENERAL.LCK", true, true, false, "\\ORBA\\GENERAL.LCK"},
      {"100EVT.DAT immutable", "100EVT.DAT", false, false, true, "Last-100 copy \\ORBA\\100EVT.DAT not updated"},
      {"EVT.STK immutable", "EVT.STK", false, false, true, "Pending stack not opened (result 5)"},
  };
  for (const Outage& o : outages) {
    SCOPED_TRACE(o.name);
    PromiseStation s;
    // Before the outage: every file the case needs exists.
    ASSERT_EQ(s.SendUntilAcknowledged(Opening(1)), 0);
    ASSERT_EQ(s.SendUntilAcknowledged(Burglary(1)), 0);
    const std::string message = o.message_is_opening ? Opening(2) : Burglary(2);
    int unanswered = 0;
    {
      ImmutableFiles immutable;
      const std::string path = s.dir().Join(std::string("ORBA/") + o.file);
      if (o.directory) {
        std::filesystem::remove(path);
        std::filesystem::create_directory(path);
      } else if (!immutable.Set(path)) {
        GTEST_SKIP() << "cannot make " << o.file << " immutable here: " << immutable.error();
      }
      unanswered = s.SendUntilAcknowledged(message);
      EXPECT_EQ(unanswered, o.acknowledged ? 0 : kMaxAttempts);
      const std::string log = s.ErrorLog();
      EXPECT_NE(log.find(o.logged), std::string::npos) << log;
      if (o.acknowledged) {
        EXPECT_EQ(log.find("Event not recorded"), std::string::npos) << log;
      }
      s.CheckPromise();
      if (o.directory) std::filesystem::remove(path);
    }
    // The file is back: the receiver's next send (a resend when it got no answer) is stored once, and a
    // waiting stack entry lands before the next new one.
    if (!o.acknowledged) {
      EXPECT_EQ(s.SendUntilAcknowledged(message), 0);
    }
    ASSERT_EQ(s.SendUntilAcknowledged(Burglary(3)), 0);
    s.CheckPromise();
    const std::vector<std::string> codes = s.StackedCodes();
    const std::vector<std::string> expected =
        o.message_is_opening ? std::vector<std::string>{"E130001", "E130003"}
                             : std::vector<std::string>{"E130001", "E130002", "E130003"};
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(ReadStackBacklog(s.station().data).empty());
  }
}

TEST(AckPromise, FullStackBacklogSurvivesACrashAndReachesTheEmptiedStackInOrder) {
  PromiseStation s;
  for (int zone = 1; zone <= 200; ++zone) ASSERT_EQ(s.SendUntilAcknowledged(Burglary(zone)), 0) << zone;
  s.CheckPromise();
  EXPECT_EQ(s.view().stack_backlog, 25);
  // The crash: the station ends without a tick or any other chance to drain. The operators then handle
  // every pending event, and the station starts again.
  s.Stop();
  s.dir().WriteFile("ORBA/EVT.STK", std::string(kStackFileSize, '\xFF'));
  s.Start();
  std::vector<std::string> expected;
  for (int zone = 176; zone <= 200; ++zone) expected.push_back(CodeOf(Burglary(zone)));
  EXPECT_EQ(s.StackedCodes(), expected);
  EXPECT_TRUE(ReadStackBacklog(s.station().data).empty());
  EXPECT_EQ(s.view().stack_backlog, 0);
}

}  // namespace
}  // namespace duri
