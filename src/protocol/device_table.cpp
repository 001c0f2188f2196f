#include "protocol/device_table.h"

#include <algorithm>
#include <cstdio>

namespace lx47 {

void DeviceEntry::storeReply(std::span<const std::uint8_t> reply, std::uint32_t hostIp) {
  Entry_Status = kEntryFilled;
  Block.assign(reply.begin(), reply.end());
  ConfigBlock b = block();
  Device_IP = b.get(field::Device_IP_Address);
  std::copy_n(reply.begin() + 4, 6, Device_MAC.begin());
  Host_IP = hostIp;
  Fw_Major = b.get(field::Firmware_Version_Major);
  Fw_Minor = b.get(field::Firmware_Version_Minor);
  Fw_Revision = b.get(field::Firmware_Version_Revision);
}

void EmptyDeviceTable(DeviceTableArray& table) {
  for (DeviceEntry& e : table) {
    if (!e.Block.empty()) e.clear();
  }
}

std::string FirmwareVersionText(const DeviceEntry& e) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u", e.Fw_Major, e.Fw_Minor, e.Fw_Revision);
  return text;
}

}  // namespace lx47
