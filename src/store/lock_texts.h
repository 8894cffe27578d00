// The texts of the lock refusal messages. English until the language table fills them.
#ifndef DURIDUVAZE_STORE_LOCK_TEXTS_H_
#define DURIDUVAZE_STORE_LOCK_TEXTS_H_

#include <string>

namespace duri {

struct LockTexts {
  std::string operator_number = "Operator number";
  std::string computer_name_is = "The computer name is: ";
  std::string user_lock = " has logged in on another computer.";
  std::string client_lock = " has locked this account on another computer.";
  std::string note_lock = " has locked this note on another computer.";
  std::string general_lock = " has exit from Torvane abnormally on another computer.";
};

}  // namespace duri

#endif  // DURIDUVAZE_STORE_LOCK_TEXTS_H_
