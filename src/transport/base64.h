// Base64 with the standard alphabet and '=' padding, as the LOGIN authentication sends the user name
// and password.
#ifndef DURIDUVAZE_TRANSPORT_BASE64_H_
#define DURIDUVAZE_TRANSPORT_BASE64_H_

#include <string>
#include <string_view>

namespace duri {

std::string EncodeBase64(std::string_view bytes);

}  // namespace duri

#endif  // DURIDUVAZE_TRANSPORT_BASE64_H_
