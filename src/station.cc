#include "station.h"

#include "events/add_event.h"
#include "events/notify_event.h"
#include "intake/decode_step.h"
#include "intake/reader_pass.h"

namespace duri {

Station::Station(std::string root, Clock& clock, StationView& view)
    : data(std::move(root), clock, view),
      smtp_client(clock),
      ports(data.root()),
      clock_(&clock),
      view_(&view) {}

Station::~Station() { ports.Shutdown(ui_); }

void Station::set_ui_thread(UiThread& ui) {
  ui_ = &ui;
  ConnectReceiverPorts(*this);
}

void Station::set_view(StationView& view) {
  view_ = &view;
  data.set_view(view);
}

void InstallEventIntake(Station& station) {
  // Entries that wait from before (this station's last run, or a station that never came back) are
  // counted on the window and placed if the stack has room, before any new message.
  RetryStackBacklog(station.data, station.stack_backlog);
  InstallDecodeMessage(station);
  InstallAddEvent(station);
  station.notify_event = [&station](const NotifyAccount& account, const EventRecord& event) {
    NotifyEvent(station, account, event);
  };
}

}  // namespace duri
