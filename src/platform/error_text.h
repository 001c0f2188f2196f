// The operating system's own text for an error code, for messages that show
// the code to the user.
#pragma once

#include <cstdint>
#include <string>

namespace lx47::platform {

// UTF-8 text of at most 256 characters, as the system words it (Windows
// ends its texts with a line break); empty when the system has none.
std::string SystemErrorText(std::uint32_t code);

}  // namespace lx47::platform
