// Linux: the address table and adapter list from getifaddrs and /sys/class/net.
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "hostnet/host_address.h"
#include "platform/net.h"

namespace lx47::hostnet {
namespace {

std::string readSysFile(const std::string& ifname, const char* leaf) {
  std::ifstream in("/sys/class/net/" + ifname + "/" + leaf);
  std::string line;
  if (in) std::getline(in, line);
  return line;
}

// ARPHRD_* of /sys/class/net/<if>/type to the adapter type codes.
unsigned adapterType(const std::string& ifname) {
  const std::string arp = readSysFile(ifname, "type");
  if (arp == "772") return kAdapterLoopback;
  if (arp == "512") return 23;  // PPP
  if (arp == "1") {
    std::ifstream wireless("/sys/class/net/" + ifname + "/wireless");
    std::ifstream phy("/sys/class/net/" + ifname + "/phy80211");
    return (wireless || phy) ? kAdapterWireless : kAdapterEthernet;
  }
  return 1;
}

std::vector<std::uint8_t> parseMac(const std::string& text) {
  std::vector<std::uint8_t> mac;
  unsigned b[6];
  if (std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]) == 6) {
    for (unsigned v : b) mac.push_back(static_cast<std::uint8_t>(v));
  }
  return mac;
}

class LinuxHostNet final : public HostNetSource {
 public:
  bool addressTable(std::vector<HostAddressRow>& rows) override {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
      if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
      HostAddressRow row;
      row.addr = reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr;
      row.index = ::if_nametoindex(a->ifa_name);
      if (a->ifa_netmask) row.mask = reinterpret_cast<sockaddr_in*>(a->ifa_netmask)->sin_addr.s_addr;
      if ((a->ifa_flags & IFF_BROADCAST) && a->ifa_broadaddr)
        row.bcast = reinterpret_cast<sockaddr_in*>(a->ifa_broadaddr)->sin_addr.s_addr;
      row.reasmSize = 65535;
      // An interface that is down or has no carrier cannot carry a search.
      if (!(a->ifa_flags & IFF_UP) || !(a->ifa_flags & IFF_RUNNING)) row.type |= kAddrDisconnected;
      rows.push_back(row);
    }
    ::freeifaddrs(list);
    return true;
  }

  bool adapters(std::vector<AdapterInfo>& out) override {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    std::map<std::string, std::size_t> seen;  // interface name -> index in out
    for (ifaddrs* a = list; a; a = a->ifa_next) {
      const std::string name = a->ifa_name;
      auto it = seen.find(name);
      if (it == seen.end()) {
        AdapterInfo info;
        info.name = name;
        info.type = adapterType(name);
        info.mac = parseMac(readSysFile(name, "address"));
        std::string model = readSysFile(name, "device/uevent");  // first line: DRIVER=...
        if (model.rfind("DRIVER=", 0) == 0) model = model.substr(7);
        else model.clear();
        info.description = model.empty() ? name : name + " (" + model + ")";
        it = seen.emplace(name, out.size()).first;
        out.push_back(std::move(info));
      }
      AdapterInfo& info = out[it->second];
      // An adapter whose cable is out or whose link is down shows no address
      // ("0.0.0.0"), as on Windows, though Linux keeps a static address on
      // it: it is neither offered nor resolved, and a search through it ends
      // at once instead of sending into nothing.
      const bool carrier = (a->ifa_flags & IFF_UP) && (a->ifa_flags & IFF_RUNNING);
      if (carrier && a->ifa_addr && a->ifa_addr->sa_family == AF_INET && info.firstAddress == "0.0.0.0") {
        char text[16];
        platform::formatIpv4(reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr, text);
        info.firstAddress = text;
      }
    }
    ::freeifaddrs(list);
    return true;
  }
};

}  // namespace

HostNetSource& systemHostNetSource() {
  static LinuxHostNet instance;
  return instance;
}

}  // namespace lx47::hostnet
