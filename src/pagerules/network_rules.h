// The Network page's rules: addressing (manual or DHCP), the device's
// address, mask, gateway and port, the TCP operation mode with the server
// the device connects to, and the extended DNS settings.
#pragma once

#include <cstdint>
#include <string>

#include "pagerules/page_fields.h"
#include "protocol/config_block.h"

namespace lx47::pagerules {

// Operation_Mode values.
inline constexpr std::uint8_t kModeClient = 0, kModeMixed = 1, kModeServer = 2;

// Which operation-mode radio is checked; None when the page checked none
// (no mode radio was ever set, or the loaded mode is not one it offers).
enum class ModeChoice { None, Server, Client, Mixed };
// The radios' texts.
inline constexpr const char* kServerModeText = "TCP Server";
inline constexpr const char* kClientModeText = "TCP Client";
inline constexpr const char* kMixedModeText = "Mixed (Sever & Client)";

// What the page's controls hold. Addresses are in network order, as the
// block keeps them; numbers are texts, as typed.
struct NetworkValues {
  bool dhcp = false;  // the DHCP radio checked (else manual addressing)
  std::string localPort;
  std::uint32_t deviceIp = 0;
  std::uint32_t subnetMask = 0;
  std::uint32_t defaultGateway = 0;
  ModeChoice mode = ModeChoice::None;
  std::uint32_t serverIp = 0;
  std::string serverPort;
  bool dnsConnect = false;
  std::uint32_t dnsServer = 0;
  std::string domainName;  // trimmed
};

struct NetworkShown {
  NetworkValues values;
  // Only a TCP Client entry offers the mode choice: the group of mode radios
  // and server fields shows for it alone, and only then does the server
  // port's text replace what the page showed before. values.mode is None
  // for a mode other than Client and Server: the radios stay as they were.
  bool modeGroupShown = false;
};

// Fills the values from the block. Cleans the domain name's bytes in the
// block itself (see CleanAndLoadSpaceText).
NetworkShown LoadNetwork(ConfigBlock& block);

// Stores in the page's order: the port; with the DHCP radio taking part, the
// addressing, the addresses and, for a TCP Client entry only, the mode with
// the server's address and port; with the extended settings shown, the DNS
// fields and the domain name (cut at 32 bytes without a message).
StoreResult StoreNetwork(ConfigBlock& block, const NetworkValues& values, const FieldSet& enabled, bool extendedShown);

}  // namespace lx47::pagerules
