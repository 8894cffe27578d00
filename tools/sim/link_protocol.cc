#include "link_protocol.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace duri::sim {

LinkProtocol::LinkProtocol(uint8_t ack, bool answers_status_poll, LinkOptions options,
                           std::function<std::string()> heartbeat, std::function<std::string()> status)
    : ack_(ack),
      answers_status_poll_(answers_status_poll),
      options_(options),
      heartbeat_(std::move(heartbeat)),
      status_(std::move(status)) {
  options_.window = std::max(1, options_.window);
  has_heartbeat_ = heartbeat_ && !heartbeat_().empty();
  linked_ = !has_heartbeat_;
}

void LinkProtocol::QueueEvent(std::string bytes, int id) {
  OutMessage m;
  m.kind = MessageKind::kEvent;
  m.bytes = std::move(bytes);
  m.id = id;
  queue_.push_back(std::move(m));
}

void LinkProtocol::OnReceived(std::string_view bytes, int64_t now_ms) {
  for (char c : bytes) {
    if (static_cast<uint8_t>(c) == ack_) {
      OnAck(now_ms);
    } else if (answers_status_poll_ && c == 'S' && status_) {
      // A poll is answered before the waiting events; one answer is enough for polls that pile up.
      bool queued = std::any_of(queue_.begin(), queue_.end(),
                                [](const OutMessage& m) { return m.kind == MessageKind::kStatus; });
      if (!queued) {
        OutMessage m;
        m.kind = MessageKind::kStatus;
        m.bytes = status_();
        if (!m.bytes.empty()) queue_.push_front(std::move(m));
      }
    }
  }
}

void LinkProtocol::OnAck(int64_t now_ms) {
  if (in_flight_.empty()) {
    ++counts_.unexpected_acks;
    return;
  }
  OutMessage m = std::move(in_flight_.front());
  in_flight_.pop_front();
  last_traffic_ms_ = now_ms;
  const int64_t latency = now_ms - m.last_sent_ms;
  switch (m.kind) {
    case MessageKind::kEvent:
      ++counts_.acknowledged;
      counts_.ack_latency_ms.push_back(latency);
      if (on_event_ack) on_event_ack(m.id, latency);
      break;
    case MessageKind::kHeartbeat:
      ++counts_.heartbeats_acknowledged;
      linked_ = true;
      break;
    case MessageKind::kStatus:
      ++counts_.status_acknowledged;
      break;
  }
}

// Everything on the line goes back to the head of the queue, in order, to be sent again.
void LinkProtocol::Requeue() {
  while (!in_flight_.empty()) {
    queue_.push_front(std::move(in_flight_.back()));
    in_flight_.pop_back();
  }
}

void LinkProtocol::OnTimeout(int64_t now_ms) {
  (void)now_ms;
  if (!linked_) {
    // Computer fail: an unanswered heartbeat is simply followed by the next one.
    in_flight_.clear();
    return;
  }
  if (in_flight_.front().round_attempts <= options_.max_resends) {
    Requeue();
    return;
  }
  ++counts_.computer_fail;
  Requeue();
  std::deque<OutMessage> kept;
  for (OutMessage& m : queue_) {
    if (m.kind == MessageKind::kHeartbeat) continue;
    m.round_attempts = 0;
    kept.push_back(std::move(m));
  }
  queue_ = std::move(kept);
  // A model without a link test keeps trying its events; the others wait for a heartbeat's answer.
  if (has_heartbeat_) linked_ = false;
}

const OutMessage* LinkProtocol::NextToSend(int64_t now_ms) {
  if (sending_pending_) return &sending_;
  if (!in_flight_.empty() && now_ms - in_flight_.front().last_sent_ms >= options_.ack_timeout_ms) OnTimeout(now_ms);
  if (!linked_) {
    if (!in_flight_.empty()) return nullptr;
    if (sent_anything_ && now_ms - last_traffic_ms_ < options_.ack_timeout_ms) return nullptr;
    sending_ = OutMessage{MessageKind::kHeartbeat, heartbeat_(), -1, 0, 0, 0};
  } else if (static_cast<int>(in_flight_.size()) < options_.window && !queue_.empty() &&
             (in_flight_.empty() || queue_.front().round_attempts == 0)) {
    // A message sent again waits until everything before it is answered.
    sending_ = std::move(queue_.front());
    queue_.pop_front();
  } else if (in_flight_.empty() && queue_.empty() && has_heartbeat_ && options_.heartbeat_interval_ms > 0 &&
             now_ms - last_traffic_ms_ >= options_.heartbeat_interval_ms) {
    sending_ = OutMessage{MessageKind::kHeartbeat, heartbeat_(), -1, 0, 0, 0};
  } else {
    return nullptr;
  }
  sending_pending_ = true;
  return &sending_;
}

void LinkProtocol::Sent(int64_t now_ms) {
  if (!sending_pending_) return;
  sending_pending_ = false;
  OutMessage m = std::move(sending_);
  ++m.attempts;
  ++m.round_attempts;
  m.last_sent_ms = now_ms;
  switch (m.kind) {
    case MessageKind::kEvent:
      ++(m.attempts == 1 ? counts_.sent : counts_.resent);
      break;
    case MessageKind::kHeartbeat:
      ++counts_.heartbeats_sent;
      break;
    case MessageKind::kStatus:
      ++counts_.status_sent;
      break;
  }
  in_flight_.push_back(std::move(m));
  last_traffic_ms_ = now_ms;
  sent_anything_ = true;
}

int64_t LinkProtocol::NextDeadline(int64_t now_ms) const {
  int64_t next = std::numeric_limits<int64_t>::max();
  if (!in_flight_.empty()) next = in_flight_.front().last_sent_ms + options_.ack_timeout_ms;
  if (!linked_ && in_flight_.empty()) next = sent_anything_ ? last_traffic_ms_ + options_.ack_timeout_ms : now_ms;
  if (linked_ && !queue_.empty() && static_cast<int>(in_flight_.size()) < options_.window) next = now_ms;
  if (linked_ && in_flight_.empty() && queue_.empty() && has_heartbeat_ && options_.heartbeat_interval_ms > 0) {
    next = std::min(next, last_traffic_ms_ + options_.heartbeat_interval_ms);
  }
  return std::max(next, now_ms);
}

bool LinkProtocol::EventsDone() const { return EventsPending() == 0; }

int LinkProtocol::EventsPending() const {
  auto events = [](const std::deque<OutMessage>& q) {
    return static_cast<int>(
        std::count_if(q.begin(), q.end(), [](const OutMessage& m) { return m.kind == MessageKind::kEvent; }));
  };
  return events(queue_) + events(in_flight_) + (sending_pending_ && sending_.kind == MessageKind::kEvent ? 1 : 0);
}

}  // namespace duri::sim
