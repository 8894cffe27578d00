// The station: everything the module keeps while it runs, owned in one place and passed by reference.
// The window, the tools and the tests each make one.
#ifndef DURIDUVAZE_STATION_H_
#define DURIDUVAZE_STATION_H_

#include <string>

#include "platform/clock.h"
#include "platform/station_view.h"
#include "store/data_dir.h"

namespace duri {

class Station {
 public:
  // root: the station directory (the current directory at start-up in the program).
  Station(std::string root, Clock& clock, StationView& view);

  Clock& clock() { return *clock_; }
  StationView& view() { return *view_; }
  void set_view(StationView& view);

  // DataDrive with LastIoResult.
  DataDir data;

 private:
  Clock* clock_;
  StationView* view_;
};

}  // namespace duri

#endif  // DURIDUVAZE_STATION_H_
