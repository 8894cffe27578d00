#include "intake/reader_pass.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "intake/framing.h"
#include "intake/port_links.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "station.h"

namespace duri {
namespace {

constexpr int kPortsWithFailureBox = 6;

// The framing step, on the user-interface thread. Returns the messages counted and the
// acknowledgement character to write.
void FrameStep(Station& station, int port, int* count, uint8_t* ack) {
  ReceiverPorts& ports = station.ports;
  PortState& state = ports.State(port);
  if (ReadAndFrame(ports.Link(port), state, ports.Config(port), ports.PendingTraffic(port), ports.Traffic(port),
                   &ports.Counters(port))) {
    station.view().ShowTraffic(port, ports.Traffic(port));
  }
  *count = state.complete_count;
  *ack = state.acknowledgement;
}

// One decoding step, on the user-interface thread. Returns the messages still counted; `acknowledge`
// tells whether the acknowledgement may follow this message. It may when the message was stored or
// recognised as one that carries no event, and then only once what the step wrote is on the disk: the
// acknowledgement promises the receiver its message is stored, so a history or stack write that failed
// ends the pass before it, and `ticket` names the writes the pass must see flushed (WaitUntilStored)
// before it answers. Only the first message of a pass that earns one is answered (wants_ack).
int DecodeStep(Station& station, int port, bool wants_ack, bool* acknowledge, uint64_t* ticket) {
  ReceiverPorts& ports = station.ports;
  PortState& state = ports.State(port);
  const uint8_t before = state.complete_count;
  if (before == 0) return 0;  // the port's state was reset since the last step
  PortCounters& counters = ports.Counters(port);
  ++counters.messages;
  counters.last_message_time = std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
  const uint64_t recorded_before = station.events_recorded;
  if (wants_ack) station.data.pending_sync.ResetFailure();
  // Without a decoder nothing is stored, so nothing may be acknowledged.
  MessageOutcome outcome = MessageOutcome::kBlank;
  if (station.decode_message) {
    outcome = station.decode_message(port, state, ports.Config(port));
  } else {
    SkipMessage(state);
  }
  counters.events += station.events_recorded - recorded_before;
  // Every step takes one message off the count, so a decoder that left it must not hold the pass.
  if (state.complete_count >= before) state.complete_count = static_cast<uint8_t>(before - 1);
  if (wants_ack && Acknowledged(outcome)) {
    PendingSync& sync = station.data.pending_sync;
    const int failure = sync.TakeFailure();
    if (failure != kIoOk) {
      throw IoError(failure, "history of COM" + std::to_string(port) + " not stored (result " +
                                 std::to_string(failure) + "); no acknowledgement");
    }
    *ticket = sync.Ticket();
    *acknowledge = true;
  }
  return state.complete_count;
}

// error.log is written on the user-interface thread; when it is gone (the station is closing) the
// line is still kept.
void LogFromPass(Station& station, const std::string& line) {
  try {
    station.ui_thread()->Synchronize([&] { LogError(station.data, line); });
  } catch (...) {
    LogError(station.data, line);
  }
}

// Every port's failure is counted and logged with its cause; ports 1 to 6 also show their box.
void ReportReaderFailure(Station& station, int port, const std::string& cause) {
  PortCounters& counters = station.ports.Counters(port);
  ++counters.failures;
  const std::string line = "COM" + std::to_string(port) + " reader pass failed: " + cause;
  counters.SetLastFailure(line);
  const std::string box = ReaderFailureText(port);
  auto show = [&] {
    LogError(station.data, line);
    // The view's box does not wait for the operator; only its showing is synchronised.
    if (!box.empty()) station.view().ShowMessage("thread" + std::to_string(port), box);
  };
  try {
    station.ui_thread()->Synchronize(show);
  } catch (...) {
    // The user-interface thread is gone (the station is closing): the line is still kept.
    LogError(station.data, line);
  }
}

// Off the user-interface thread: waits until what the acknowledged step wrote is on disk. Passes of
// other ports waiting at the same time share one flush.
void WaitUntilStored(Station& station, int port, uint64_t ticket) {
  const int r = station.data.pending_sync.FlushThrough(ticket);
  if (r != kIoOk) {
    throw IoError(r, "history of COM" + std::to_string(port) + " not stored (result " + std::to_string(r) +
                         "); no acknowledgement");
  }
}

}  // namespace

std::string ReaderFailureText(int port) {
  if (port < 1 || port > kPortsWithFailureBox) return {};
  return "thread" + std::to_string(port) + " failed.";
}

void ConnectReceiverPorts(Station& station) {
  for (int n = 1; n <= kPortCount; ++n) {
    ConnectPortLink(station, n, station.ports.Port(n));
    if (station.ports.HasNetworkLink(n)) ConnectPortLink(station, n, station.ports.Link(n));
  }
}

void ConnectPortLink(Station& station, int port, PortLink& link) {
  link.SetHandlers(
      station.ui_thread(), [&station, port](int) { ComPortRxChar(station, port); },
      [&station, port](const LinkChange& change) { PortLinkChanged(station, port, change); });
}

void ComPortRxChar(Station& station, int port) {
  ReceiverPorts& ports = station.ports;
  if (ports.closing() || !ports.PortArmed(port)) {
    ++ports.IgnoredEvents(port);
    return;
  }
  ports.PortArmed(port) = false;
  // The last pass armed the port as its final step, so this waits at most for its thread to return.
  std::thread& reader = ports.Reader(port);
  if (reader.joinable()) reader.join();
  reader = std::thread([&station, port] { RunReaderPass(station, port); });
}

void RunReaderPass(Station& station, int port) {
  ReceiverPorts& ports = station.ports;
  if (station.ui_thread() == nullptr) {
    ports.PortArmed(port) = true;
    return;
  }
  UiThread& ui = *station.ui_thread();
  PortCounters& counters = ports.Counters(port);
  // Never 0 while the pass runs, even on a clock that starts at 0.
  counters.pass_started_ms = std::max<int64_t>(station.clock().MonotonicMs(), 1);
  try {
    int count = 0;
    uint8_t ack = 0;
    ui.Synchronize([&] { FrameStep(station, port, &count, &ack); });
    bool acknowledged = false;
    while (count > 0) {
      bool acknowledge = false;
      uint64_t ticket = 0;
      ui.Synchronize([&] { count = DecodeStep(station, port, !acknowledged, &acknowledge, &ticket); });
      if (acknowledge) {
        WaitUntilStored(station, port, ticket);
        // A line whose output stays full, or a network peer that is away, takes nothing: the message
        // is stored and the receiver will send it again, which the log says rather than count it.
        if (ports.Link(port).WriteStr(std::string(1, static_cast<char>(ack))) == 1) {
          ++ports.Counters(port).acknowledgements;
        } else {
          LogFromPass(station, "COM" + std::to_string(port) + " acknowledgement not sent: the line took nothing");
        }
        acknowledged = true;
      }
    }
  } catch (const std::exception& e) {
    ReportReaderFailure(station, port, e.what());
  } catch (...) {
    ReportReaderFailure(station, port, "unknown failure");
  }
  counters.pass_started_ms = 0;
  ports.PortArmed(port) = true;
  // A receiver sends its next message as soon as it has the acknowledgement, often while this pass
  // is still ending: its receive event found the port disarmed. Have the link raise it again.
  ports.Link(port).ReaderReady();
}

}  // namespace duri
