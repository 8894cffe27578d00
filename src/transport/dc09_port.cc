#include "transport/dc09_port.h"

#include <chrono>

#include "platform/ui_thread.h"
#include "transport/dc09_accounts.h"
#include "transport/dc09_automation.h"
#include "transport/dc09_loop.h"

namespace duri {
namespace {

// Bytes left unread are raised again this often, so a pass that was busy when they came takes them.
constexpr auto kReraise = std::chrono::milliseconds(200);
constexpr auto kTick = std::chrono::milliseconds(200);

int64_t SystemUtc() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string TokenOf(const std::string& frame) {
  dc09::Content content;
  if (frame.size() > dc09::kHeadSize) dc09::ParseContent(frame.substr(dc09::kHeadSize), content);
  return content.token;
}

}  // namespace

Dc09Port::Loop::Loop(Dc09Port& owner, dc09::AccountTable accounts)
    : port(owner), receiver(std::move(accounts), owner.settings_.window, owner.settings_.utc_now ? owner.settings_.utc_now() : SystemUtc()) {}

Dc09Port::Loop::~Loop() { Stop(); }

int64_t Dc09Port::Loop::Now() const { return port.settings_.utc_now ? port.settings_.utc_now() : SystemUtc(); }

void Dc09Port::Loop::Log(const std::string& text) {
  if (port.log_) port.log_(port.LinkName() + ": " + text);
}

void Dc09Port::Loop::Start() {
  asio::error_code ec;
  const asio::ip::address address = asio::ip::make_address(port.settings_.address, ec);
  if (ec) throw Dc09Error("DC-09 address " + port.settings_.address + " is not an IP address");
  const asio::ip::tcp::endpoint tcp_end(address, port.settings_.port);
  acceptor.open(tcp_end.protocol(), ec);
  if (!ec) acceptor.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) acceptor.bind(tcp_end, ec);
  if (!ec) acceptor.listen(asio::socket_base::max_listen_connections, ec);
  const uint16_t bound = ec ? 0 : acceptor.local_endpoint().port();
  if (!ec) udp.open(asio::ip::udp::endpoint(address, bound).protocol(), ec);
  if (!ec) udp.bind(asio::ip::udp::endpoint(address, bound), ec);
  if (ec) throw Dc09Error("Unable to bind " + port.LinkName() + ": " + ec.message());
  raise_link = std::make_shared<Dc09RaiseLink>();
  raise_link->on_receive = port.on_receive_;
  // The intake's framing takes its first terminator as a synchronisation only: give it one, so the
  // first report is not lost to it.
  {
    std::lock_guard<std::mutex> lock(mu);
    input.assign(1, dc09::kSurGardTerminator);
    appended = input.size();
  }
  last_handed = std::chrono::steady_clock::now();
  Accept();
  ReceiveDatagram();
  Tick();
  thread = std::thread([this] { io.run(); });
  asio::post(io, [this] { Raise(); });
}

void Dc09Port::Loop::Stop() {
  if (raise_link) {
    std::lock_guard<std::recursive_mutex> guard(raise_link->mu);
    raise_link->alive = false;
  }
  io.stop();
  if (thread.joinable()) thread.join();
}

void Dc09Port::Loop::Tick() {
  tick.expires_after(kTick);
  tick.async_wait([this](const asio::error_code& ec) {
    if (ec) return;
    const int heartbeat = port.settings_.heartbeat_seconds;
    if (heartbeat > 0 && !in_flight && queue.empty() &&
        std::chrono::steady_clock::now() - last_handed >= std::chrono::seconds(heartbeat)) {
      queue.push_back(Pending{Origin{}, true, dc09::Outcome{dc09::Verdict::kPost, {}, dc09::kSurGardHeartbeat}});
    }
    for (std::string& message : receiver.Supervise(Now())) {
      Log("supervision: " + message.substr(0, message.size() - 1));
      queue.push_back(Pending{Origin{}, true, dc09::Outcome{dc09::Verdict::kPost, {}, std::move(message)}});
    }
    Pump();
    bool again = false;
    {
      std::lock_guard<std::mutex> lock(mu);
      again = !input.empty() && std::chrono::steady_clock::now() - last_raise >= kReraise;
    }
    if (again) Raise();
    Tick();
  });
}

void Dc09Port::Loop::Raise() {
  int count = 0;
  {
    std::lock_guard<std::mutex> lock(mu);
    count = static_cast<int>(input.size());
    last_raise = std::chrono::steady_clock::now();
  }
  UiThread* ui = port.ui_;
  if (count == 0 || ui == nullptr || !raise_link) return;
  ui->Post([link = raise_link, count] {
    std::lock_guard<std::recursive_mutex> guard(link->mu);
    if (link->alive && link->on_receive) link->on_receive(count);
  });
}

void Dc09Port::Loop::Take(std::string_view content, const Origin& origin) {
  ++port.counters_.frames;
  dc09::Outcome outcome = receiver.Handle(content, Now());
  if (!outcome.log.empty()) Log(origin.name + ": " + outcome.log);
  for (std::string& message : outcome.link_messages) {
    queue.push_back(Pending{Origin{}, true, dc09::Outcome{dc09::Verdict::kPost, {}, std::move(message)}});
  }
  outcome.link_messages.clear();
  if (outcome.verdict == dc09::Verdict::kAnswer) {
    const std::string token = TokenOf(outcome.answer);
    if (token == dc09::kAckToken) ++port.counters_.acks;
    if (token == dc09::kNakToken) port.Refuse(port.counters_.naks);
    if (token == dc09::kDuhToken) port.Refuse(port.counters_.duhs);
    SendTo(origin, outcome.answer);
  } else if (queue.size() >= port.settings_.queue_limit) {
    port.Refuse(port.counters_.queue_full);
    Log(origin.name + ": queue full, report of account " + outcome.account + " left unanswered");
  } else {
    queue.push_back(Pending{origin, false, std::move(outcome)});
  }
  Pump();
}

void Dc09Port::Loop::Pump() {
  while (!in_flight && !queue.empty()) {
    Pending next = std::move(queue.front());
    queue.pop_front();
    // A report whose connection is gone was never posted: its panel sends it again, so it is dropped
    // here rather than posted twice.
    if (!next.link_only && !next.origin.udp && next.origin.session.expired()) continue;
    {
      std::lock_guard<std::mutex> lock(mu);
      input += next.outcome.message;
      appended += next.outcome.message.size();
      flight_end = appended;
      ++flight_number;
    }
    in_flight = std::move(next);
    last_handed = std::chrono::steady_clock::now();
    if (!in_flight->link_only) ++port.counters_.posted;
    Raise();
  }
}

void Dc09Port::Loop::FlightRead(uint64_t number) {
  if (!in_flight || number != flight_number) return;
  ack_timer.expires_after(std::chrono::milliseconds(port.settings_.ack_wait_ms));
  ack_timer.async_wait([this, number](const asio::error_code& ec) {
    if (ec || !in_flight || number != flight_number) return;
    ++port.counters_.not_acknowledged;
    Log(in_flight->origin.name + (in_flight->link_only ? ": supervision message" : ": report of account " + in_flight->outcome.account) +
        " not acknowledged by the station; no ACK sent");
    in_flight.reset();
    Pump();
  });
}

void Dc09Port::Loop::StationAcknowledged() {
  if (!in_flight) return;
  {
    std::lock_guard<std::mutex> lock(mu);
    if (taken < flight_end) return;  // a late acknowledgement of a report already given up
  }
  ack_timer.cancel();
  if (!in_flight->link_only) {
    receiver.Acknowledged(in_flight->outcome);
    ++port.counters_.acks;
    SendTo(in_flight->origin, in_flight->outcome.answer);
  }
  in_flight.reset();
  Pump();
}

Dc09Port::Dc09Port(Dc09Settings settings) : settings_(std::move(settings)) {}

Dc09Port::~Dc09Port() { Close(); }

std::string Dc09Port::LinkName() const { return "dc09://" + settings_.address + ":" + std::to_string(settings_.port); }

void Dc09Port::SetHandlers(UiThread* ui, ReceiveHandler on_receive, LinkStateHandler) {
  ui_ = ui;
  on_receive_ = std::move(on_receive);
}

void Dc09Port::SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

void Dc09Port::SetRefusalCounter(std::function<void()> count) { count_refusal_ = std::move(count); }

void Dc09Port::Open() {
  if (loop_) return;
  dc09::AccountTable accounts;
  std::string why;
  if (!settings_.accounts_path.empty() && !dc09::LoadAccounts(settings_.accounts_path, accounts, why)) {
    throw Dc09Error(why);
  }
  auto loop = std::make_unique<Loop>(*this, std::move(accounts));
  loop->Start();
  loop_ = std::move(loop);
}

void Dc09Port::Close() {
  if (!loop_) return;
  loop_->Stop();
  loop_.reset();
}

bool Dc09Port::Connected() const { return loop_ != nullptr; }

uint16_t Dc09Port::bound_port() const {
  if (!loop_) return 0;
  asio::error_code ec;
  const auto end = loop_->acceptor.local_endpoint(ec);
  return ec ? 0 : end.port();
}

int Dc09Port::InputCount() {
  if (!loop_) return 0;
  std::lock_guard<std::mutex> lock(loop_->mu);
  return static_cast<int>(loop_->input.size());
}

int Dc09Port::ReadStr(std::string& text, int count) {
  text.clear();
  if (!loop_ || count <= 0) return 0;
  Loop* loop = loop_.get();
  std::lock_guard<std::mutex> lock(loop->mu);
  const size_t n = std::min(static_cast<size_t>(count), loop->input.size());
  text.assign(loop->input, 0, n);
  loop->input.erase(0, n);
  const bool crossed = loop->taken < loop->flight_end && loop->taken + n >= loop->flight_end;
  loop->taken += n;
  if (crossed) asio::post(loop->io, [loop, number = loop->flight_number] { loop->FlightRead(number); });
  return static_cast<int>(n);
}

int Dc09Port::WriteStr(std::string_view text) {
  if (!loop_ || text.empty()) return 0;
  Loop* loop = loop_.get();
  asio::post(loop->io, [loop] { loop->StationAcknowledged(); });
  return static_cast<int>(text.size());
}

}  // namespace duri
