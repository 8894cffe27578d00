// The network side of a Dc09Port: TCP connections of panels and UDP datagrams. A TCP connection is a
// stream of frames, cut as they complete; a half frame left by a connection that drops is forgotten
// with it. A datagram is one frame.
#include <chrono>

#include "transport/dc09_loop.h"

namespace duri {
namespace {

std::string Name(const asio::ip::tcp::socket& socket) {
  asio::error_code ec;
  const auto end = socket.remote_endpoint(ec);
  return ec ? std::string("tcp ?") : "tcp " + end.address().to_string() + ":" + std::to_string(end.port());
}

}  // namespace

void Dc09Port::Loop::Accept() {
  acceptor.async_accept([this](const asio::error_code& ec, asio::ip::tcp::socket socket) {
    if (ec == asio::error::operation_aborted) return;
    if (!ec) {
      if (sessions >= port.settings_.max_connections) {
        ++port.counters_.refused_connections;
        Log(Name(socket) + ": refused, " + std::to_string(sessions) + " connections already");
        asio::error_code ignored;
        socket.close(ignored);
      } else {
        ++port.counters_.connections;
        std::make_shared<Dc09Session>(*this, std::move(socket))->Start();
      }
    }
    Accept();
  });
}

void Dc09Port::Loop::ReceiveDatagram() {
  udp.async_receive_from(asio::buffer(datagram), datagram_from, [this](const asio::error_code& ec, size_t n) {
    if (ec == asio::error::operation_aborted) return;
    if (!ec) {
      const std::string_view bytes(datagram.data(), n);
      const dc09::Cut cut = dc09::CutFrame(bytes, port.settings_.max_content);
      Origin origin;
      origin.udp = true;
      origin.endpoint = datagram_from;
      origin.name = "udp " + datagram_from.address().to_string() + ":" + std::to_string(datagram_from.port());
      if (cut.result == dc09::CutResult::kFrame && cut.consumed == n) {
        Take(cut.content, origin);
      } else {
        port.Refuse(port.counters_.bad_frames);
        Log(origin.name + ": datagram that is not one whole frame (CRC, length or size); no answer");
      }
    }
    ReceiveDatagram();
  });
}

void Dc09Port::Loop::SendTo(const Origin& origin, const std::string& frame) {
  if (origin.udp) {
    asio::error_code ignored;
    udp.send_to(asio::buffer(frame), origin.endpoint, 0, ignored);
    return;
  }
  if (auto session = origin.session.lock()) session->Send(frame);
}

Dc09Session::Dc09Session(Dc09Port::Loop& owner, asio::ip::tcp::socket s)
    : loop(owner), socket(std::move(s)), idle(loop.io), name(Name(socket)) {
  ++loop.sessions;
}

Dc09Session::~Dc09Session() { --loop.sessions; }

void Dc09Session::Start() {
  asio::error_code ignored;
  socket.set_option(asio::ip::tcp::no_delay(true), ignored);
  socket.set_option(asio::socket_base::keep_alive(true), ignored);
  ArmIdle();
  Read();
}

void Dc09Session::ArmIdle() {
  idle.expires_after(std::chrono::seconds(loop.port.settings_.idle_seconds));
  idle.async_wait([self = shared_from_this()](const asio::error_code& ec) {
    if (ec || self->closed) return;
    ++self->loop.port.counters_.idle_closed;
    self->Close();
  });
}

void Dc09Session::Read() {
  socket.async_read_some(asio::buffer(chunk), [self = shared_from_this()](const asio::error_code& ec, size_t n) {
    if (ec) {
      if (!self->buffer.empty() && ec != asio::error::operation_aborted) {
        self->loop.Log(self->name + ": connection lost with " + std::to_string(self->buffer.size()) +
                       " bytes of an unfinished frame, dropped");
      }
      self->Close();
      return;
    }
    self->OnData(n);
  });
}

void Dc09Session::OnData(size_t n) {
  buffer.append(chunk.data(), n);
  ArmIdle();
  Dc09Port::Loop::Origin origin;
  origin.session = weak_from_this();
  origin.name = name;
  std::string_view rest(buffer);
  while (!rest.empty() && !closed) {
    const dc09::Cut cut = dc09::CutFrame(rest, loop.port.settings_.max_content);
    if (cut.result == dc09::CutResult::kIncomplete) break;
    rest.remove_prefix(cut.consumed);
    switch (cut.result) {
      case dc09::CutResult::kFrame:
        loop.Take(cut.content, origin);
        break;
      case dc09::CutResult::kNoise:
        break;
      case dc09::CutResult::kTooLong:
        loop.port.Refuse(loop.port.counters_.bad_frames);
        loop.Log(name + ": frame longer than " + std::to_string(loop.port.settings_.max_content) +
                 " bytes; connection closed");
        Close();
        break;
      default:
        loop.port.Refuse(loop.port.counters_.bad_frames);
        loop.Log(name + (cut.result == dc09::CutResult::kBadCrc ? ": bad CRC" : ": bad length") + ", no answer");
        break;
    }
  }
  buffer.erase(0, buffer.size() - rest.size());
  if (!closed) Read();
}

void Dc09Session::Send(std::string frame) {
  if (closed) return;
  writes.push_back(std::move(frame));
  if (writes.size() == 1) Write();
}

void Dc09Session::Write() {
  asio::async_write(socket, asio::buffer(writes.front()),
                    [self = shared_from_this()](const asio::error_code& ec, size_t) {
                      if (ec) {
                        self->Close();
                        return;
                      }
                      self->writes.pop_front();
                      if (!self->writes.empty()) self->Write();
                    });
}

void Dc09Session::Close() {
  if (closed) return;
  closed = true;
  asio::error_code ignored;
  idle.cancel();
  socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
  socket.close(ignored);
}

}  // namespace duri
