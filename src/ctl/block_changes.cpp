#include "ctl/block_changes.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "ctl/fields.h"
#include "ctl/json.h"
#include "protocol/config_block.h"
#include "platform/codepage.h"

namespace lx47::ctl {

namespace {

enum class Kind { U8, U16BE, U16LE, Ipv4, SpaceText, ZeroText, Bytes };

struct Layout {
  const char* name;
  Kind kind;
  std::size_t offset, width;
};

// The whole block after its marker, in order.
constexpr Layout kLayout[] = {
    {"Device_MAC_Address", Kind::Bytes, 4, 6},
    {"Operation_Mode", Kind::U8, 10, 1},
    {"DHCP_Enable", Kind::U8, 11, 1},
    {"Device_IP_Address", Kind::Ipv4, 12, 4},
    {"Subnet_Mask", Kind::Ipv4, 16, 4},
    {"Default_Gateway", Kind::Ipv4, 20, 4},
    {"Local_Port", Kind::U16BE, 24, 2},
    {"Server_IP_Address", Kind::Ipv4, 26, 4},
    {"Server_Port", Kind::U16BE, 30, 2},
    {"Serial_Baud_Rate", Kind::U8, 32, 1},
    {"Serial_Data_Bits", Kind::U8, 33, 1},
    {"Serial_Parity", Kind::U8, 34, 1},
    {"Serial_Stop_Bits", Kind::U8, 35, 1},
    {"Serial_Flow_Control", Kind::U8, 36, 1},
    {"Serial_Send_Char", Kind::U8, 37, 1},
    {"Serial_Send_Size", Kind::U16BE, 38, 2},
    {"Serial_Send_Time", Kind::U16BE, 40, 2},
    {"TCP_Disconnect_Time", Kind::U16BE, 42, 2},
    {"TCP_Keepalive_Interval", Kind::U16BE, 44, 2},
    {"Firmware_Version_Revision", Kind::U8, 46, 1},
    {"Firmware_Version_Major", Kind::U8, 47, 1},
    {"Firmware_Version_Minor", Kind::U8, 48, 1},
    {nullptr, Kind::Bytes, 49, 2},
    {"DNS_Connect_Enable", Kind::U8, 51, 1},
    {"DNS_Server_IP_Address", Kind::Ipv4, 52, 4},
    {"Server_Domain_Name", Kind::SpaceText, 56, 32},
    {nullptr, Kind::Bytes, 88, 1},
    {"Connect_Password_Enable", Kind::U8, 89, 1},
    {"Connect_Password", Kind::SpaceText, 90, 8},
    {"Search_Password", Kind::SpaceText, 98, 8},
    {"DHCP_Lease_Time", Kind::U16LE, 106, 2},
    {nullptr, Kind::Bytes, 108, 2},
    {"Wifi_Mode", Kind::U8, 110, 1},
    {nullptr, Kind::Bytes, 111, 1},
    {"Wifi_Infra_SSID", Kind::ZeroText, 112, 32},
    {"Wifi_Infra_Password", Kind::ZeroText, 144, 64},
    {"Wifi_Security", Kind::U8, 208, 1},
    {"Wifi_Channel", Kind::U8, 209, 1},
    {"Wifi_AP_SSID", Kind::ZeroText, 210, 32},
    {"Wifi_AP_Password", Kind::ZeroText, 242, 64},
    {"Wifi_AP_Security", Kind::U8, 306, 1},
    {"Wifi_AP_Channel", Kind::U8, 307, 1},
    {"Msg_Connect_To_UART", Kind::ZeroText, 308, 16},
    {"Msg_Disconnect_To_UART", Kind::ZeroText, 324, 16},
    {"Msg_Connect_To_Client", Kind::ZeroText, 340, 16},
    {"TCP_Password", Kind::ZeroText, 356, 32},
    {"Disconnect_Judge_Time", Kind::U16LE, 388, 2},
    {"Extra_Time_Value", Kind::U16LE, 390, 2},
};

constexpr bool CoversTheBlock() {
  std::size_t next = 4;
  for (const Layout& l : kLayout) {
    if (l.offset != next) return false;
    next += l.width;
  }
  return next == kConfigBlockSize;
}
static_assert(CoversTheBlock(), "every byte after the marker belongs to one entry, in order");

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string out;
  char two[3];
  for (std::uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    std::snprintf(two, sizeof two, "%02X", unsigned(b));
    out += two;
  }
  return out;
}

std::string Read(const Layout& l, std::span<const std::uint8_t> b) {
  const std::uint8_t* p = b.data() + l.offset;
  switch (l.kind) {
    case Kind::U8: return std::to_string(p[0]);
    case Kind::U16BE: return std::to_string((unsigned(p[0]) << 8) | p[1]);
    case Kind::U16LE: return std::to_string(p[0] | (unsigned(p[1]) << 8));
    case Kind::Ipv4: {
      std::uint32_t address = 0;
      std::memcpy(&address, p, 4);
      return IpText(address);
    }
    case Kind::SpaceText:
    case Kind::ZeroText: {
      std::size_t n = 0;
      while (n < l.width && !(l.kind == Kind::ZeroText && p[n] == 0)) ++n;
      // Quoted, so that blanks and the end of the text can be seen.
      return Json::String(platform::AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(p), n))).dump();
    }
    case Kind::Bytes: return Hex(std::span<const std::uint8_t>(p, l.width));
  }
  return {};
}

}  // namespace

std::vector<BlockChange> BlockChanges(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
  std::vector<BlockChange> changes;
  if (before.size() < kConfigBlockSize || after.size() < kConfigBlockSize) return changes;
  for (const Layout& l : kLayout) {
    bool same = true;
    for (std::size_t i = l.offset; i < l.offset + l.width; ++i) same = same && before[i] == after[i];
    if (same) continue;
    std::string name = l.name ? l.name : std::to_string(l.offset);
    if (!l.name && l.width > 1) name += ".." + std::to_string(l.offset + l.width - 1);
    std::string b = Read(l, before), a = Read(l, after);
    // Two texts that read alike differ in bytes the code page does not show.
    if (b == a) b = Hex(before.subspan(l.offset, l.width)), a = Hex(after.subspan(l.offset, l.width));
    changes.push_back({std::move(name), std::move(b), std::move(a)});
  }
  return changes;
}

}  // namespace lx47::ctl
