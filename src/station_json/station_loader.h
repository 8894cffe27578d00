// Writes a station's data files from one JSON description, and reads them back as JSON lines. The
// command-line tool's load and dump commands, the demo and the tests build their stations with it.
// The JSON form is described in docs/station-json.md.
#ifndef DURIDUVAZE_STATION_JSON_STATION_LOADER_H_
#define DURIDUVAZE_STATION_JSON_STATION_LOADER_H_

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "store/data_dir.h"

namespace duri {

// Each section present in the description replaces its files whole; files of absent sections are left
// as they are. The whole description is checked before the first file is written: on a bad description
// nothing is written and *error names the field. The files are then replaced as one set (ReplaceFiles):
// when one cannot be written or replaced, false with *error, and no file changed. The operators'
// application must not run while a station is loaded.
bool LoadStation(DataDir& dir, const nlohmann::json& description, std::string* error);

// The names DumpStation knows, in the order of the description's sections.
const std::vector<std::string_view>& DumpKinds();

// One JSON object per record of the files named by what (one of DumpKinds()), each in the form the
// loader reads, with its record number. A missing file gives no lines. False with *error for an
// unknown name.
bool DumpStation(DataDir& dir, std::string_view what, std::vector<nlohmann::json>* lines, std::string* error);

}  // namespace duri

#endif  // DURIDUVAZE_STATION_JSON_STATION_LOADER_H_
