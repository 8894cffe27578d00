#include "station_json/station_company.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "station_json/record_json.h"

namespace duri::station_json {
namespace {

template <int N>
void GetText(const nlohmann::json& j, const char* key, ShortString<N>& out) {
  if (!j.contains(key)) return;
  std::string text = TextFromJson(j[key], key);
  if (text.size() > static_cast<size_t>(N))
    throw std::invalid_argument(std::string(key) + ": longer than " + std::to_string(N) + " characters");
  out.Assign(text);
}

template <typename T>
void GetNumber(const nlohmann::json& j, const char* key, T& out) {
  if (auto v = GetInt(j, key, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()))
    out = static_cast<T>(*v);
}

}  // namespace

void FromJson(const nlohmann::json& j, CompanySettings& s) {
  CheckFields(j, "company",
              {"company_name", "station_code", "handle_all_automatically", "schedule_delay_minutes",
               "link_supervision", "report_late_openings", "refuse_second_pending", "auto_unknown_accounts",
               "language", "smtp_server", "sender_address", "mail_subject", "header_line1", "header_line2",
               "closing_line", "smtp_user", "smtp_password", "sms_prefix", "pager_switches"});
  GetText(j, "company_name", s.company_name);
  GetNumber(j, "station_code", s.station_code);
  GetNumber(j, "handle_all_automatically", s.handle_all_automatically);
  GetNumber(j, "schedule_delay_minutes", s.schedule_delay_minutes);
  GetNumber(j, "link_supervision", s.link_supervision);
  GetNumber(j, "report_late_openings", s.report_late_openings);
  GetNumber(j, "refuse_second_pending", s.refuse_second_pending);
  GetNumber(j, "auto_unknown_accounts", s.auto_unknown_accounts);
  GetNumber(j, "language", s.language);
  GetText(j, "smtp_server", s.smtp_server);
  GetText(j, "sender_address", s.sender_address);
  GetText(j, "mail_subject", s.mail_subject);
  GetText(j, "header_line1", s.header_line1);
  GetText(j, "header_line2", s.header_line2);
  GetText(j, "closing_line", s.closing_line);
  GetText(j, "smtp_user", s.smtp_user);
  GetText(j, "smtp_password", s.smtp_password);
  GetText(j, "sms_prefix", s.sms_prefix);
  if (j.contains("pager_switches")) {
    // One character per priority, "1" sends that priority to the pager; a shorter text leaves the
    // rest as zero bytes.
    std::string text = TextFromJson(j["pager_switches"], "pager_switches");
    if (text.size() > s.pager_switches.size()) throw std::invalid_argument("pager_switches: longer than 10 characters");
    s.pager_switches.fill('\0');
    for (size_t i = 0; i < text.size(); ++i) s.pager_switches[i] = text[i];
  }
}

nlohmann::json ToJson(const CompanySettings& s) {
  std::string switches(s.pager_switches.data(), s.pager_switches.size());
  while (!switches.empty() && switches.back() == '\0') switches.pop_back();
  return nlohmann::json{{"company_name", TextToJson(s.company_name)},
                        {"station_code", s.station_code},
                        {"handle_all_automatically", s.handle_all_automatically},
                        {"schedule_delay_minutes", s.schedule_delay_minutes},
                        {"link_supervision", s.link_supervision},
                        {"report_late_openings", s.report_late_openings},
                        {"refuse_second_pending", s.refuse_second_pending},
                        {"auto_unknown_accounts", s.auto_unknown_accounts},
                        {"language", s.language},
                        {"smtp_server", TextToJson(s.smtp_server)},
                        {"sender_address", TextToJson(s.sender_address)},
                        {"mail_subject", TextToJson(s.mail_subject)},
                        {"header_line1", TextToJson(s.header_line1)},
                        {"header_line2", TextToJson(s.header_line2)},
                        {"closing_line", TextToJson(s.closing_line)},
                        {"smtp_user", TextToJson(s.smtp_user)},
                        {"smtp_password", TextToJson(s.smtp_password)},
                        {"sms_prefix", TextToJson(s.sms_prefix)},
                        {"pager_switches", TextToJson(switches)}};
}

}  // namespace duri::station_json
