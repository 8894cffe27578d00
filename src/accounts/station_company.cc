#include "accounts/station_company.h"

#include <stdexcept>
#include <string_view>

#include "accounts/record_json.h"
#include "store/coding.h"

namespace duri::station_json {
namespace {

enum class Kind { kText, kInt16, kByte, kChars };

struct CompanyField {
  const char* name;
  int offset;
  Kind kind;
  int width;  // capacity of a text, count of characters
};

// The fields some part of the module reads, in file order.
constexpr CompanyField kFields[] = {
    {"company_name", 0, Kind::kText, 40},
    {"station_code", 279, Kind::kInt16, 0},
    {"handle_all_automatically", 317, Kind::kByte, 0},
    {"schedule_delay_minutes", 395, Kind::kInt16, 0},
    {"link_supervision", 399, Kind::kByte, 0},
    {"report_late_openings", 400, Kind::kByte, 0},
    {"refuse_second_pending", 401, Kind::kByte, 0},
    {"auto_unknown_accounts", 403, Kind::kByte, 0},
    {"language", 406, Kind::kByte, 0},
    {"smtp_server", 407, Kind::kText, 60},
    {"sender_address", 468, Kind::kText, 60},
    {"mail_subject", 529, Kind::kText, 30},
    {"header_line1", 560, Kind::kText, 50},
    {"header_line2", 611, Kind::kText, 50},
    {"closing_line", 662, Kind::kText, 50},
    {"smtp_user", 901, Kind::kText, 30},
    {"smtp_password", 932, Kind::kText, 30},
    {"sms_prefix", 963, Kind::kText, 20},
    {"pager_switches", 984, Kind::kChars, 10},
};

constexpr int kScheduleDelayOffset = 395;

std::vector<uint8_t> DefaultImage() {
  std::vector<uint8_t> image(kCompanyRecordSize, 0);
  constexpr std::string_view kName = "Torvane";
  image[0] = static_cast<uint8_t>(kName.size());
  for (size_t i = 0; i < kName.size(); ++i) image[1 + i] = static_cast<uint8_t>(kName[i]);
  EncodeSigned16(&image[279], -1);  // station code not set
  image[326] = 1;
  EncodeSigned16(&image[kScheduleDelayOffset], 30);
  EncodeSigned16(&image[397], 15);
  image[399] = 1;   // link supervision on
  image[402] = 10;
  image[406] = 99;  // no language chosen: English
  return image;
}

}  // namespace

std::vector<uint8_t> CompanyImageFromJson(const nlohmann::json& j) {
  if (!j.is_object()) throw std::invalid_argument("company: not an object");
  for (auto it = j.begin(); it != j.end(); ++it) {
    bool known = false;
    for (const auto& f : kFields) known = known || it.key() == f.name;
    if (!known) throw std::invalid_argument("company: unknown field \"" + it.key() + "\"");
  }
  std::vector<uint8_t> image = DefaultImage();
  for (const auto& f : kFields) {
    if (!j.contains(f.name)) continue;
    uint8_t* p = &image[f.offset];
    switch (f.kind) {
      case Kind::kText:
      case Kind::kChars: {
        std::string text = TextFromJson(j[f.name], f.name);
        if (text.size() > static_cast<size_t>(f.width))
          throw std::invalid_argument(std::string(f.name) + ": longer than " + std::to_string(f.width));
        if (f.kind == Kind::kText) *p++ = static_cast<uint8_t>(text.size());
        for (char c : text) *p++ = static_cast<uint8_t>(c);
        break;
      }
      case Kind::kInt16:
        EncodeSigned16(p, static_cast<int16_t>(*GetInt(j, f.name, INT16_MIN, INT16_MAX)));
        break;
      case Kind::kByte:
        *p = static_cast<uint8_t>(*GetInt(j, f.name, 0, 255));
        break;
    }
  }
  return image;
}

nlohmann::json CompanyImageToJson(const std::vector<uint8_t>& image) {
  std::vector<uint8_t> full = image;
  full.resize(kCompanyRecordSize, 0);
  nlohmann::json j = nlohmann::json::object();
  for (const auto& f : kFields) {
    const uint8_t* p = &full[f.offset];
    switch (f.kind) {
      case Kind::kText: {
        int n = p[0] > f.width ? f.width : p[0];
        j[f.name] = TextToJson(std::string_view(reinterpret_cast<const char*>(p + 1), static_cast<size_t>(n)));
        break;
      }
      case Kind::kChars: {
        std::string text(reinterpret_cast<const char*>(p), static_cast<size_t>(f.width));
        while (!text.empty() && text.back() == '\0') text.pop_back();
        j[f.name] = TextToJson(text);
        break;
      }
      case Kind::kInt16:
        j[f.name] = DecodeSigned16(p);
        break;
      case Kind::kByte:
        j[f.name] = p[0];
        break;
    }
  }
  return j;
}

int16_t CompanyScheduleDelay(const std::vector<uint8_t>& image) {
  if (image.size() < kScheduleDelayOffset + 2) return 30;
  return DecodeSigned16(&image[kScheduleDelayOffset]);
}

}  // namespace duri::station_json
