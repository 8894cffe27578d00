// How a receiver behaves towards the computer's acknowledgements, without any input or output: the
// runner hands it the bytes the station wrote and asks it what to put on the line next, both with the
// time in milliseconds, so tests can step it through time-outs at once.
//
// A receiver sends one message and waits for the model's acknowledgement character. Without one within
// the time-out (4 seconds) it sends the message again, at most three times; then it declares "computer
// fail": it keeps its events, sends only heartbeats (one per time-out) and resumes with the kept events
// when a heartbeat is acknowledged. It also starts that way, so that the first message the station only
// synchronises on is a heartbeat, not an event.
#ifndef DURIDUVAZE_TOOLS_SIM_LINK_PROTOCOL_H_
#define DURIDUVAZE_TOOLS_SIM_LINK_PROTOCOL_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace duri::sim {

struct LinkOptions {
  int ack_timeout_ms = 4000;
  int max_resends = 3;
  // Heartbeat after this long without traffic while linked; 0: none.
  int heartbeat_interval_ms = 30000;
  // Messages put on the line before the first acknowledgement is awaited (a burst); 1 for a real
  // receiver.
  int window = 1;
};

enum class MessageKind { kEvent, kHeartbeat, kStatus };

struct OutMessage {
  MessageKind kind = MessageKind::kEvent;
  std::string bytes;
  int id = -1;        // the caller's number for an event
  int attempts = 0;   // times put on the line
  int round_attempts = 0;  // times put on the line since the link was last up
  int64_t last_sent_ms = 0;
};

struct LinkCounts {
  int sent = 0;          // events put on the line a first time
  int acknowledged = 0;  // events acknowledged
  int resent = 0;        // events put on the line again after a time-out
  int computer_fail = 0;  // times the receiver gave up on the computer
  int heartbeats_sent = 0;
  int heartbeats_acknowledged = 0;
  int status_sent = 0;
  int status_acknowledged = 0;
  int unexpected_acks = 0;  // acknowledgements with nothing waiting for one
  std::vector<int64_t> ack_latency_ms;  // one per acknowledged event, from its last sending
};

class LinkProtocol {
 public:
  // ack: the model's acknowledgement character. heartbeat and status build the model's messages; an
  // empty heartbeat means the model has none (it then starts linked and retries its events instead).
  LinkProtocol(uint8_t ack, bool answers_status_poll, LinkOptions options, std::function<std::string()> heartbeat,
               std::function<std::string()> status);

  void QueueEvent(std::string bytes, int id);
  // The bytes the station wrote at now_ms.
  void OnReceived(std::string_view bytes, int64_t now_ms);
  // The next message to put on the line at now_ms, nullptr when nothing is due. The message stays the
  // protocol's; the caller writes its bytes and calls Sent.
  const OutMessage* NextToSend(int64_t now_ms);
  // The caller finished writing the message NextToSend gave, at now_ms.
  void Sent(int64_t now_ms);
  // The time NextToSend should be asked again at the latest.
  int64_t NextDeadline(int64_t now_ms) const;

  bool linked() const { return linked_; }
  // No event queued or awaiting its acknowledgement.
  bool EventsDone() const;
  // Events still queued or unacknowledged.
  int EventsPending() const;
  const LinkCounts& counts() const { return counts_; }
  // Called with the event id each time an event is acknowledged.
  std::function<void(int id, int64_t latency_ms)> on_event_ack;

 private:
  void OnAck(int64_t now_ms);
  void OnTimeout(int64_t now_ms);
  void Requeue();

  uint8_t ack_;
  bool answers_status_poll_;
  LinkOptions options_;
  std::function<std::string()> heartbeat_;
  std::function<std::string()> status_;
  bool has_heartbeat_;
  bool linked_;
  std::deque<OutMessage> queue_;
  std::deque<OutMessage> in_flight_;
  OutMessage sending_;
  bool sending_pending_ = false;
  int64_t last_traffic_ms_ = 0;
  bool sent_anything_ = false;
  LinkCounts counts_;
};

}  // namespace duri::sim

#endif  // DURIDUVAZE_TOOLS_SIM_LINK_PROTOCOL_H_
