#include "transport/port_link.h"

namespace duri {

LinkError::LinkError(const char* text, int code)
    : std::runtime_error(code == 0 ? std::string(text)
                                   : std::string(text) + " (system error code: " + std::to_string(code) + ")"),
      code_(code) {}

}  // namespace duri
