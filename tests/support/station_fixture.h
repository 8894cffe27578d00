// A station root in a fresh temporary folder with its ORBA data directory, a manual clock and a
// recording view: the files the tests read back are real files.
#ifndef DURIDUVAZE_TESTS_SUPPORT_STATION_FIXTURE_H_
#define DURIDUVAZE_TESTS_SUPPORT_STATION_FIXTURE_H_

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "store/data_dir.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri::testing {

class DataDirTest : public ::testing::Test {
 protected:
  DataDirTest() : data_(tmp_.path(), clock_, view_) {
    tmp_.MakeDir("ORBA");
    clock_.Set(2026, 12, 8, 10, 30, 0);
  }

  TempDir tmp_;
  ManualClock clock_;
  RecordingView view_;
  DataDir data_;
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_SUPPORT_STATION_FIXTURE_H_
