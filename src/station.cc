#include "station.h"

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

}  // namespace duri
