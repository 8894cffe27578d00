// The company settings section of a station description: the fields of CompanySettings by their
// names; what is left out keeps the record's defaults.
#ifndef DURIDUVAZE_STATION_JSON_STATION_COMPANY_H_
#define DURIDUVAZE_STATION_JSON_STATION_COMPANY_H_

#include <nlohmann/json.hpp>

#include "settings/company_settings.h"

namespace duri::station_json {

// Throws std::invalid_argument naming the field.
void FromJson(const nlohmann::json& j, CompanySettings& settings);
nlohmann::json ToJson(const CompanySettings& settings);

}  // namespace duri::station_json

#endif  // DURIDUVAZE_STATION_JSON_STATION_COMPANY_H_
