// The search half of code resolution: reading code records, walking an area's chain, redirections and
// the fallback to account "0".
#include <set>
#include <vector>

#include "accounts/account_files.h"
#include "accounts/client_files.h"
#include "accounts/schedule.h"
#include "accounts/code_pattern.h"
#include "events/code_resolution.h"
#include "store/number_conversion.h"
#include "store/shared_file.h"
#include "store/text.h"
#include "settings/company_settings.h"

namespace duri {
namespace {

constexpr char kFallbackAccount[] = "0";
constexpr int kRedirectAreaDigits = 4;

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// A chain of code records, ended at -1 or at the first record number seen twice (a chain whose "next
// record" numbers form a cycle would otherwise be walked for ever).
class CodeChain {
 public:
  CodeChain(DataDir& dir, int32_t first) : dir_(dir), next_(first) {}
  // The next record of the chain; false at its end.
  bool Next(CodeRecord& record) {
    if (next_ < 0 || !seen_.insert(next_).second) return false;
    ReadCodeRecord(dir_, next_, record);
    next_ = record.next;
    return true;
  }

 private:
  DataDir& dir_;
  int32_t next_;
  std::set<int32_t> seen_;
};

struct Redirection {
  bool replace = false;  // "*": the other account replaces the client
  std::string account;
  int area = 0;
};

// Takes the redirection mark off the description and reads the account and area it names.
Redirection ParseRedirection(CodeEntry& entry, int current_area) {
  Redirection r;
  r.replace = entry.description.At(1) == '*';
  std::string text = entry.description.str().substr(1);
  r.area = current_area;
  const size_t comma = text.find(',');
  if (comma != std::string::npos && comma > 0) {
    r.area = static_cast<int>(LenientValue(std::string_view(text).substr(comma + 1, kRedirectAreaDigits)));
    text.erase(comma, 1 + kRedirectAreaDigits);
  }
  // When the account does not exist the entry is used as it now reads: the account without its area.
  entry.description = text;
  // An area the account cannot have falls back to the whole account.
  if (r.area < 0 || r.area > kHighestArea) r.area = 0;
  r.account = text;
  return r;
}

}  // namespace

void ReadAreaSchedule(DataDir& dir, const CompanySettings& company, int32_t rec_no, AreaSchedule& schedule) {
  ReadSchedule(dir, rec_no, schedule.record, company.schedule_delay_minutes);
  schedule.rec_no = rec_no;
}

void ReadCodeRecord(DataDir& dir, int32_t n, CodeRecord& record) {
  record.Clear();
  if (n < 0) return;
  SharedFile file;
  if (OpenShared(dir, file, kCodeFile, CodeRecord::kSize) != kIoOk) return;
  // A record past the end (or cut short) reads as kIoReadPastEnd: no need to size the file first.
  std::vector<uint8_t> bytes(CodeRecord::kSize);
  if (file.ReadRecord(n, bytes) != kIoOk) return;
  record.Decode(bytes.data());
}

uint8_t FindCodeOfType(DataDir& dir, int32_t first_record, uint8_t type, EventRecord& event) {
  CodeChain chain(dir, first_record);
  CodeRecord record;
  while (chain.Next(record)) {
    for (const CodeEntry& entry : record.entries) {
      if (entry.type != type) continue;
      std::string actions = entry.action1.str();
      TrimChar(actions, ' ', TrimMode::kAll);
      if (actions.empty()) continue;
      event.action_list = entry.action1.view();
      event.priority = entry.priority;
      event.code_value = entry.code_value;
      return entry.notify;
    }
  }
  event.action_list = kDefaultActionList;
  return 0;
}

bool MayFallBack(std::string_view code) {
  if (code.size() == 7) return true;
  return code.size() >= 3 && code.size() <= 6 && IsCapital(code[0]) && IsCapital(code[1]);
}

std::optional<CodeEntry> SearchCode(DataDir& dir, const CompanySettings& company, ClientRecord& client,
                                    int32_t& client_rec_no, AreaSchedule& schedule, std::string_view code) {
  const bool may_fall_back = MayFallBack(code);
  bool fell_back = false;
  int redirections = 0;
  int32_t first = client.current().code_table;
  for (;;) {
    CodeChain chain(dir, first);
    CodeRecord record;
    bool restart = false;
    while (!restart && chain.Next(record)) {
      for (CodeEntry& entry : record.entries) {
        // A redirection to an account that does not exist leaves the entry without its mark, and the
        // entry is looked at again as an ordinary one.
        while (!restart && MatchCodePattern(entry.pattern.view(), code)) {
          const char mark = entry.description.At(1);
          if (mark != '#' && mark != '*') return entry;
          Redirection to = ParseRedirection(entry, client.current_area);
          ClientRecord other;
          int32_t other_rec_no = -1;
          LookUpClient(dir, to.account, other_rec_no, other);
          if (other.found == 0) continue;
          if (++redirections > kMaxRedirections) return std::nullopt;
          if (to.replace) {
            client = other;
            client.current_area = 0;
            client_rec_no = other_rec_no;
            ReadAreaSchedule(dir, company, client.areas[0].schedule, schedule);
            first = client.areas[0].code_table;
          } else {
            first = other.areas[static_cast<size_t>(to.area)].code_table;
          }
          restart = true;
        }
        if (restart) break;
      }
    }
    if (restart) continue;
    if (!may_fall_back || fell_back) return std::nullopt;
    fell_back = true;
    ClientRecord zero;
    int32_t zero_rec_no = -1;
    LookUpClient(dir, kFallbackAccount, zero_rec_no, zero);
    if (zero.found == 0) return std::nullopt;
    if (client.current_area > kHighestArea || zero.areas[client.current_area].code_table == -1) {
      client.current_area = 0;
    }
    first = zero.areas[client.current_area].code_table;
  }
}

}  // namespace duri
