// The receiver side of DC-09, without the network: what one message from a panel gets. It reads and
// (when encrypted) decrypts the message, checks its time stamp, keeps each account's supervision, and
// decides between an answer at once (ACK for a NULL or a repeated message, NAK, DUH), no answer (a
// frame that failed its CRC or length never reaches this), or a Sur-Gard message for the port's
// intake, whose ACK goes out only once the station has acknowledged that message.
//
// A repeated message: a panel that got no ACK sends the same message again with the same sequence
// number. The last message each account had acknowledged is remembered; the same sequence number with
// the same data is acknowledged again without a second event. Anything else with a sequence number
// seen before is a new report (panels restart their numbering) and is posted.
//
// Not thread-safe: the port's event loop owns it.
#ifndef DURIDUVAZE_TRANSPORT_DC09_RECEIVER_H_
#define DURIDUVAZE_TRANSPORT_DC09_RECEIVER_H_

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "transport/dc09_accounts.h"
#include "transport/dc09_frame.h"

namespace duri::dc09 {

// How far a message's time stamp may be from the station's clock (UTC), in seconds.
struct StampWindow {
  int past = 40;
  int future = 20;
};

enum class Verdict {
  kAnswer,  // send answer now; nothing for the intake
  kPost,    // feed message to the intake; send answer once the station has acknowledged it
};

struct Outcome {
  Verdict verdict = Verdict::kAnswer;
  std::string answer;   // a whole frame
  std::string message;  // kPost: the Sur-Gard message
  std::string log;      // why a message was refused or only answered, for the port's log; may be empty
  std::string account;  // upper-case, when read
  std::string sequence;
  std::string data;     // what a repeat is compared by
  // Supervision restores of the account, to be fed to the intake before message.
  std::vector<std::string> link_messages;
};

class Receiver {
 public:
  // now: seconds since the epoch, UTC, when the port opens: supervision of every account with an
  // interval starts then.
  Receiver(AccountTable accounts, StampWindow window, int64_t now);

  // content: one frame's content as CutFrame gave it.
  Outcome Handle(std::string_view content, int64_t now);
  // The station acknowledged outcome's message: later repeats of it are answered without an event.
  void Acknowledged(const Outcome& outcome);
  // Supervision losses due at now, as Sur-Gard messages for the intake.
  std::vector<std::string> Supervise(int64_t now);

 private:
  struct Panel {
    int interval = 0;  // seconds; 0: not supervised
    int64_t last_seen = 0;
    bool lost = false;
    bool cid = false;
    std::string receiver = "00";
    std::string line = "0";
    std::string last_sequence;  // of the last acknowledged message
    std::string last_data;
  };

  Outcome Duh(const Content& content, const std::string& why) const;
  Outcome Nak(const std::string& why, int64_t now) const;
  Outcome Ack(const Content& content, const AccountEntry* entry, int64_t now) const;
  void Seen(Panel& panel, const Content& content, Outcome& outcome, int64_t now);

  AccountTable accounts_;
  StampWindow window_;
  std::map<std::string, Panel> panels_;
};

}  // namespace duri::dc09

#endif  // DURIDUVAZE_TRANSPORT_DC09_RECEIVER_H_
