#include "hostnet/host_address.h"

#include "platform/net.h"

namespace lx47::hostnet {

HostNetSource& systemHostNetSource();  // the platform's own file

namespace {
HostNetSource* g_replacement = nullptr;
}

HostNetSource& hostNetSource() { return g_replacement ? *g_replacement : systemHostNetSource(); }
void setHostNetSource(HostNetSource* replacement) { g_replacement = replacement; }

int GetHostAddressTable(std::vector<HostAddressRow>& rows) {
  rows.clear();
  if (!hostNetSource().addressTable(rows)) rows.clear();
  return static_cast<int>(rows.size());
}

int EnumAdapters(std::vector<AdapterInfo>& list) {
  list.clear();
  if (!hostNetSource().adapters(list)) list.clear();
  return static_cast<int>(list.size());
}

std::uint32_t FindAdapterAddress(const std::string& name) {
  std::vector<AdapterInfo> list;
  const int count = EnumAdapters(list);
  for (int i = 0; i < count; ++i) {
    const AdapterInfo& a = list[static_cast<std::size_t>(i)];
    if (a.type != kAdapterEthernet && a.type != kAdapterWireless) continue;
    if (a.firstAddress.empty() || a.firstAddress == "0.0.0.0") continue;
    if (a.name != name) continue;
    std::uint32_t addr = 0;
    return platform::parseIpv4(a.firstAddress.c_str(), addr) ? addr : 0;
  }
  return 0;
}

const char* AdapterTypeName(unsigned type) {
  switch (type) {
    case 1: return "何らかのネットワーク インターフェイス";
    case 6: return "イーサーネット インターフェイス";
    case 9: return "トークンリング";
    case 15: return "FDDI";
    case 23: return "PPP ネットワーク インターフェイス";
    case 24: return "ループバック";
    case 28: return "ATM ネットワーク インターフェイス";
    case 71: return "無線ネットワーク インターフェイス";
    default: return "何らかのネットワークインターフェイス";
  }
}

}  // namespace lx47::hostnet
