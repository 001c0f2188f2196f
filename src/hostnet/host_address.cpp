#include "hostnet/host_address.h"

#include "platform/net.h"
#include "texts/texts.h"

namespace lx47::hostnet {

HostNetSource& systemHostNetSource();  // the platform's own file

namespace {
HostNetSource* g_replacement = nullptr;
}

HostNetSource& hostNetSource() { return g_replacement ? *g_replacement : systemHostNetSource(); }
void setHostNetSource(HostNetSource* replacement) { g_replacement = replacement; }

int GetHostAddressTable(HostNetSource& source, std::vector<HostAddressRow>& rows) {
  rows.clear();
  if (!source.addressTable(rows)) rows.clear();
  return static_cast<int>(rows.size());
}

bool UsableForAllHosts(const HostAddressRow& row) {
  constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1 in network order
  return !(row.type & (kAddrDisconnected | kAddrDeleted)) && row.addr != kLoopback;
}

int EnumAdapters(HostNetSource& source, std::vector<AdapterInfo>& list) {
  list.clear();
  if (!source.adapters(list)) list.clear();
  return static_cast<int>(list.size());
}

bool Selectable(const AdapterInfo& a) {
  return (a.type == kAdapterEthernet || a.type == kAdapterWireless) && !a.firstAddress.empty() &&
         a.firstAddress != "0.0.0.0";
}

std::uint32_t FindAdapterAddress(HostNetSource& source, const std::string& name) {
  std::vector<AdapterInfo> list;
  const int count = EnumAdapters(source, list);
  for (int i = 0; i < count; ++i) {
    const AdapterInfo& a = list[static_cast<std::size_t>(i)];
    if (!Selectable(a) || a.name != name) continue;
    std::uint32_t addr = 0;
    return platform::parseIpv4(a.firstAddress.c_str(), addr) ? addr : 0;
  }
  return 0;
}

const char* AdapterTypeName(unsigned type) {
  using texts::TextId;
  // The table's texts are string literals, so data() ends in a NUL.
  const auto name = [](TextId id) { return texts::Text(id).data(); };
  switch (type) {
    case 1: return name(TextId::AdapterTypeOther);
    case 6: return name(TextId::AdapterTypeEthernet);
    case 9: return name(TextId::AdapterTypeTokenRing);
    case 15: return "FDDI";
    case 23: return name(TextId::AdapterTypePpp);
    case 24: return name(TextId::AdapterTypeLoopback);
    case 28: return name(TextId::AdapterTypeAtm);
    case 71: return name(TextId::AdapterTypeWireless);
    default: return name(TextId::AdapterTypeUnknown);
  }
}

}  // namespace lx47::hostnet
