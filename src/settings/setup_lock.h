// The lock on the receiver setup: locked at start, unlocked by the password of a level-'A' operator,
// locked again by the button or five minutes after unlocking.
#ifndef DURIDUVAZE_SETTINGS_SETUP_LOCK_H_
#define DURIDUVAZE_SETTINGS_SETUP_LOCK_H_

#include <string>
#include <string_view>

#include "store/data_dir.h"

namespace duri {

inline constexpr int kSetupTimerMs = 300000;

enum class PasswordOutcome {
  kPanelHidden,  // empty password: the panel closes, nothing else changes
  kUnlocked,     // beep, timer started, panel hidden
  kInvalid,      // message " Invalid", panel stays open
};

class SetupLock {
 public:
  bool locked() const { return locked_; }
  bool timer_running() const { return locked_ == false; }

  // The "Unlock setup" / "Lock setup" button and the five-minute timer. Returns true when the password
  // panel is to be shown (the setup was locked); false when this call locked the setup.
  bool ButtonClick();
  // The panel's "Ok" (Enter or Escape): checks the entered text against the security file.
  PasswordOutcome CheckPassword(DataDir& dir, std::string_view entered);

 private:
  bool locked_ = true;
};

// The upper-cased password as compared: folded like every account text, at most 255 characters.
std::string FoldPassword(std::string_view entered);

}  // namespace duri

#endif  // DURIDUVAZE_SETTINGS_SETUP_LOCK_H_
