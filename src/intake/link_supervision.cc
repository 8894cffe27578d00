#include "intake/link_supervision.h"

#include "receivers/receiver_catalogue.h"
#include "station.h"

namespace duri {
namespace {

constexpr char kLinkAccount[] = "0000 ";

void PostLinkEvent(Station& station, const LocalDateTime& now, const std::string& text) {
  if (station.add_event) station.add_event(now.date, now.time, text, "");
}

// Receivers that answer a status request: asked only while every byte they sent has been decoded, so
// the poll never cuts into a message on its way.
void PollStatus(Station& station) {
  for (int n = 1; n <= kPortCount; ++n) {
    const int type = station.ports.Config(n).receiver_type;
    if (type != kTypeAdemco685 && type != kTypeFbiCp220) continue;
    const PortState& state = station.ports.State(n);
    if (state.write_index != state.read_index) continue;
    PortLink& port = station.ports.Link(n);
    // A port that did not open cannot be polled; the link check below still reports it.
    if (!port.Connected()) continue;
    try {
      port.WriteStr(kStatusPoll);
    } catch (const LinkError& e) {
      const std::string line = port.LinkName() + ": status request not written: " + e.what();
      ++station.ports.Counters(n).failures;
      station.ports.Counters(n).SetLastFailure(line);
      station.errors().Report(line);
    }
  }
}

}  // namespace

std::string LinkLossText(int port) { return std::string(kLinkAccount) + "ACOM" + std::to_string(port) + "\r"; }

std::string LinkRestoreText(int port) {
  return std::string(kLinkAccount) + "RCOM" + std::to_string(port) + "\r";
}

void SuperviseLinks(Station& station) {
  if (station.company_settings.link_supervision == 0) return;
  const LocalDateTime now = station.clock().Now();
  if (now.time.minute == station.supervision_minute) return;
  station.supervision_minute = now.time.minute;

  PollStatus(station);
  for (int n = 1; n <= kPortCount; ++n) {
    PortState& state = station.ports.State(n);
    if (state.link_activity == 1) {
      state.link_activity = 0;
      if (state.link_alarm == 1) {
        state.link_alarm = 0;
        PostLinkEvent(station, now, LinkRestoreText(n));
      }
    } else if (state.link_alarm == 0) {
      // The flag changes first: a post that fails is not repeated at the next check.
      state.link_alarm = 1;
      PostLinkEvent(station, now, LinkLossText(n));
    }
  }
}

}  // namespace duri
