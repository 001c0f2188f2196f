// The host's IPv4 address table and adapter list: the two views of the PC's
// networking that the exchanges and the tool settings use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lx47::hostnet {

inline constexpr std::uint16_t kAddrDisconnected = 0x0008;
inline constexpr std::uint16_t kAddrDeleted = 0x0040;

struct HostAddressRow {
  std::uint32_t addr = 0;  // network order
  std::uint32_t index = 0;
  std::uint32_t mask = 0;
  std::uint32_t bcast = 0;
  std::uint32_t reasmSize = 0;
  std::uint16_t type = 0;  // kAddrDisconnected, kAddrDeleted, ...
};

inline constexpr unsigned kAdapterEthernet = 6;
inline constexpr unsigned kAdapterWireless = 71;
inline constexpr unsigned kAdapterLoopback = 24;

struct AdapterInfo {
  std::string name;         // identity, compared byte for byte
  std::string description;  // readable text for the user
  std::vector<std::uint8_t> mac;
  unsigned type = 0;
  std::string firstAddress = "0.0.0.0";  // dotted text of the first IPv4 address
};

// Where the two views come from: the operating system, or a test's fake.
class HostNetSource {
 public:
  virtual ~HostNetSource() = default;
  // False when the table cannot be read.
  virtual bool addressTable(std::vector<HostAddressRow>& rows) = 0;
  virtual bool adapters(std::vector<AdapterInfo>& list) = 0;
};

// The system's views unless a test installed its own; the exchanges are
// handed the source they use (see protocol/exchange_context.h).
HostNetSource& hostNetSource();
void setHostNetSource(HostNetSource* replacement);  // nullptr restores the system's

// Row count; 0 when the table cannot be read or is empty.
int GetHostAddressTable(HostNetSource& source, std::vector<HostAddressRow>& rows);
// A row the search and the factory reset send from when they use every
// host address: neither disconnected nor deleted, and not 127.0.0.1.
bool UsableForAllHosts(const HostAddressRow& row);
// Adapter count; 0 when the list cannot be read.
int EnumAdapters(HostNetSource& source, std::vector<AdapterInfo>& list);
// The adapters the tool settings offer: Ethernet and wireless ones whose
// first address is set.
bool Selectable(const AdapterInfo& adapter);
// Address (network order) of the selectable adapter named exactly name; 0
// when none qualifies.
std::uint32_t FindAdapterAddress(HostNetSource& source, const std::string& name);

// The name the tool settings show for an adapter type.
const char* AdapterTypeName(unsigned type);

}  // namespace lx47::hostnet
