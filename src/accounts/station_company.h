// The company settings section of a station description: the 1925-byte record that the operators'
// application keeps in "\ORBA\CIE.DTC" and the module's copy "\ORBA\TVCIE.DTA", filled from its
// defaults and the fields given.
#ifndef DURIDUVAZE_ACCOUNTS_STATION_COMPANY_H_
#define DURIDUVAZE_ACCOUNTS_STATION_COMPANY_H_

#include <cstdint>
#include <vector>

#include <nlohmann/json.hpp>

namespace duri::station_json {

inline constexpr int kCompanyRecordSize = 1925;

// The record's bytes from the description's "company" object (throws std::invalid_argument).
std::vector<uint8_t> CompanyImageFromJson(const nlohmann::json& j);
nlohmann::json CompanyImageToJson(const std::vector<uint8_t>& image);
// The default opening and closing delay of new schedules held in the image.
int16_t CompanyScheduleDelay(const std::vector<uint8_t>& image);

}  // namespace duri::station_json

#endif  // DURIDUVAZE_ACCOUNTS_STATION_COMPANY_H_
