#include "station.h"

#include "events/add_event.h"
#include "events/notify_event.h"
#include "intake/decode_step.h"
#include "intake/reader_pass.h"
#include "store/error_log.h"

namespace duri {

Station::Station(std::string root, Clock& clock, StationView& view)
    : data(std::move(root), clock, view),
      smtp_client(clock),
      ports(data.root()),
      clock_(&clock),
      view_(&view),
      event_context_{data, clock, view_, printer_, launcher_, errors_, company_settings, local_settings,
                     language, stack_backlog, mail_message, smtp_client, smtp_port, notify_event,
                     events_recorded, events_failed, last_event_failure} {}

Station::~Station() { ports.Shutdown(ui_); }

void Station::set_ui_thread(UiThread& ui) {
  ui_ = &ui;
  ConnectReceiverPorts(*this);
}

void Station::LoggedErrors::Report(const std::string& text) {
  LogError(station_.data, text);
  station_.view().ShowDebug(text);
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
  EventContext& events = station.event_context();
  station.add_event = [&events](const DateRecord& date, const TimeRecord& time, std::string_view text,
                                std::string_view second_text) {
    AddEvent(events, date, time, text, second_text, NoPresetEntry(), 1);
  };
  station.notify_event = [&events](const NotifyAccount& account, const EventRecord& event) {
    NotifyEvent(events, account, event);
  };
}

}  // namespace duri
