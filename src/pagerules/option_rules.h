// The Option page's rules: the TCP timers, the search password kept by the
// device and the connection password a TCP client must give in TCP Server
// mode.
#pragma once

#include <cstdint>
#include <string>

#include "pagerules/page_fields.h"
#include "protocol/config_block.h"

namespace lx47::pagerules {

inline constexpr int kPasswordMaxLength = 8;   // characters, both passwords
inline constexpr std::uint32_t kMaxSeconds = 65535;  // both timers

// What the page's controls hold.
struct OptionValues {
  std::string disconnectTime;     // as typed
  std::string keepaliveInterval;  // as typed
  std::string searchPassword;
  bool connectPasswordEnable = false;
  std::string connectPassword;
};

// Fills the values from the block. Cleans both passwords' bytes in the block
// itself (see CleanAndLoadSpaceText); a password shows without its trailing
// white space, its leading spaces kept.
OptionValues LoadOption(ConfigBlock& block);

// Stores in the page's order: the search password; the connection password's
// switch (only while its check box is on screen and enabled, which the
// caller says through `enabled`) and, when switched on, the password; then
// the disconnect time and the keep-alive interval. A password whose first
// character is a space is refused unless it is spaces only ("none").
StoreResult StoreOption(ConfigBlock& block, const OptionValues& values, const FieldSet& enabled);

}  // namespace lx47::pagerules
