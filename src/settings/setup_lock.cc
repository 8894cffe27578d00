#include "settings/setup_lock.h"

#include "settings/security_file.h"
#include "store/text.h"

namespace duri {

std::string FoldPassword(std::string_view entered) { return FoldUpper(entered.substr(0, 255)); }

bool SetupLock::ButtonClick() {
  if (!locked_) {
    locked_ = true;
    return false;
  }
  return true;
}

PasswordOutcome SetupLock::CheckPassword(DataDir& dir, std::string_view entered) {
  const std::string text = FoldPassword(entered);
  if (text.empty()) return PasswordOutcome::kPanelHidden;
  SecurityBlock block = ReadSecurityFile(dir);
  for (const OperatorRecord& op : block.operators) {
    if (op.level == 'A' && FoldUpper(op.password.view()) == text) {
      locked_ = false;
      return PasswordOutcome::kUnlocked;
    }
  }
  return PasswordOutcome::kInvalid;
}

}  // namespace duri
