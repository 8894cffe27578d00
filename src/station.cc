#include "station.h"

namespace duri {

Station::Station(std::string root, Clock& clock, StationView& view)
    : data(std::move(root), clock, view), clock_(&clock), view_(&view) {}

void Station::set_view(StationView& view) {
  view_ = &view;
  data.set_view(view);
}

}  // namespace duri
