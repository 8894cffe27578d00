// A station directory for the account-side tests, built with the station loader.
#ifndef DURIDUVAZE_TESTS_ACCOUNTS_ACCOUNT_FIXTURE_H_
#define DURIDUVAZE_TESTS_ACCOUNTS_ACCOUNT_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "station_json/station_loader.h"
#include "platform/clock.h"
#include "store/data_dir.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace duri::testing {

class AccountFixture : public ::testing::Test {
 protected:
  void Load(const std::string& description) {
    std::string error;
    ASSERT_TRUE(LoadStation(dir_, nlohmann::json::parse(description), &error)) << error;
  }
  std::string Bytes(const std::string& name) { return tmp_.ReadFile("ORBA/" + name); }

  TempDir tmp_;
  ManualClock clock_;
  RecordingView view_;
  DataDir dir_{tmp_.path(), clock_, view_};
};

}  // namespace duri::testing

#endif  // DURIDUVAZE_TESTS_ACCOUNTS_ACCOUNT_FIXTURE_H_
