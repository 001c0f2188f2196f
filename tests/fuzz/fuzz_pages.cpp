// Feeds arbitrary configuration blocks (392 bytes or more, as a device or a
// device pretending to be one may send) to the rules of every settings page:
// each page loads the block, then each stores what it loaded. Nothing may
// change the length, or a byte that no page field names; and a second load
// and store of what the first left must change nothing more (the pages clean
// and correct the block once, then agree with themselves).
//
// Which fields take part in the stores, and whether the extended settings
// are shown, come from the reply's first four bytes, which the stored copy
// does not keep (it begins with "IAMI"): a reply that begins with "IAMI"
// stores every field with the extended settings shown; each other bit leaves
// one field out, or hides the extended settings.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "pagerules/network_rules.h"
#include "pagerules/option_rules.h"
#include "pagerules/serial_rules.h"
#include "pagerules/extra_settings_rules.h"
#include "pagerules/wifi_rules.h"
#include "protocol/config_block.h"

namespace {

using namespace lx47;
using pagerules::FieldSet;
using pagerules::PageField;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The fields whose controls may be disabled (or off screen) when a page
// stores; the others are stored whenever the page stores at all.
constexpr PageField kSwitchable[] = {
    PageField::Local_Port,          PageField::DHCP_Enable,         PageField::Device_IP_Address,
    PageField::Subnet_Mask,         PageField::Default_Gateway,     PageField::Server_IP_Address,
    PageField::Server_Port,         PageField::Serial_Send_Time,    PageField::Serial_Send_Size,
    PageField::Serial_Send_Char,    PageField::Serial_Baud_Rate,    PageField::Serial_Data_Bits,
    PageField::Serial_Parity,       PageField::Serial_Stop_Bits,    PageField::Serial_Flow_Control,
    PageField::Search_Password,     PageField::Connect_Password_Enable, PageField::Connect_Password,
    PageField::TCP_Disconnect_Time, PageField::TCP_Keepalive_Interval, PageField::Wifi_Infra_SSID,
    PageField::Wifi_Infra_Password, PageField::Wifi_AP_SSID,        PageField::Wifi_AP_Security,
    PageField::Wifi_AP_Channel,     PageField::TCP_Password,        PageField::Msg_Connect_To_UART,
    PageField::Msg_Disconnect_To_UART, PageField::Msg_Connect_To_Client,
};
constexpr int kExtendedHiddenBit = static_cast<int>(std::size(kSwitchable));
static_assert(kExtendedHiddenBit < 32);

struct Scope {
  FieldSet enabled;
  bool extendedShown = true;
};

Scope ScopeOf(const std::uint8_t* data, std::size_t size) {
  std::uint8_t marker[4] = {'I', 'A', 'M', 'I'};
  std::memcpy(marker, data, std::min<std::size_t>(size, 4));
  const std::uint32_t bits = (std::uint32_t{marker[0]} ^ 'I') | (std::uint32_t{marker[1]} ^ 'A') << 8 |
                             (std::uint32_t{marker[2]} ^ 'M') << 16 | (std::uint32_t{marker[3]} ^ 'I') << 24;
  Scope s;
  s.enabled = FieldSet::All();
  for (int i = 0; i < kExtendedHiddenBit; ++i)
    if (bits & (1u << i)) s.enabled.set(kSwitchable[i], false);
  s.extendedShown = (bits & (1u << kExtendedHiddenBit)) == 0;
  return s;
}

// The bytes some page may write: its fields, and the extra time that the
// Special page corrects on load.
using ByteMask = std::array<bool, kConfigBlockSize>;
ByteMask WritableBytes() {
  ByteMask w{};
  const auto mark = [&w](std::size_t offset, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) w[offset + i] = true;
  };
  for (const auto& f : {field::Operation_Mode, field::DHCP_Enable, field::Serial_Baud_Rate, field::Serial_Data_Bits,
                        field::Serial_Parity, field::Serial_Stop_Bits, field::Serial_Flow_Control,
                        field::Serial_Send_Char, field::DNS_Connect_Enable, field::Connect_Password_Enable,
                        field::Wifi_AP_Security, field::Wifi_AP_Channel})
    mark(f.offset, 1);
  for (const auto& f : {field::Local_Port, field::Server_Port, field::Serial_Send_Size, field::Serial_Send_Time,
                        field::TCP_Disconnect_Time, field::TCP_Keepalive_Interval})
    mark(f.offset, 2);
  for (const auto& f : {field::DHCP_Lease_Time, field::Disconnect_Judge_Time, field::Extra_Time_Value}) mark(f.offset, 2);
  for (const auto& f : {field::Device_IP_Address, field::Subnet_Mask, field::Default_Gateway, field::Server_IP_Address,
                        field::DNS_Server_IP_Address})
    mark(f.offset, 4);
  for (const auto& f : {field::Server_Domain_Name, field::Connect_Password, field::Search_Password})
    mark(f.offset, f.width);
  for (const auto& f : {field::Wifi_Infra_SSID, field::Wifi_Infra_Password, field::Wifi_AP_SSID,
                        field::Wifi_AP_Password, field::Msg_Connect_To_UART, field::Msg_Disconnect_To_UART,
                        field::Msg_Connect_To_Client, field::TCP_Password})
    mark(f.offset, f.width);
  return w;
}

// Every page loads the block, then every page stores what it loaded; a
// refused field stops its page, and the block keeps what the page stored.
void LoadAndStore(ConfigBlock block, const Scope& scope) {
  const pagerules::NetworkValues network = pagerules::LoadNetwork(block).values;
  const pagerules::SerialValues serial = pagerules::LoadSerial(block).values;
  const pagerules::OptionValues option = pagerules::LoadOption(block);
  const pagerules::WifiValues wifi = pagerules::LoadWifi(block).values;
  const pagerules::SpecialValues special = pagerules::LoadSpecial(block);
  pagerules::StoreNetwork(block, network, scope.enabled, scope.extendedShown);
  pagerules::StoreSerial(block, serial, scope.enabled);
  pagerules::StoreOption(block, option, scope.enabled);
  pagerules::StoreWifi(block, wifi, scope.enabled);
  pagerules::StoreSpecial(block, special, scope.enabled);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ByteMask writable = WritableBytes();
  const Scope scope = ScopeOf(data, size);

  std::vector<std::uint8_t> reply(data, data + std::min<std::size_t>(size, 2048));
  if (reply.size() < kConfigBlockSize) reply.resize(kConfigBlockSize, 0);
  std::copy_n("IAMI", 4, reply.begin());
  const std::vector<std::uint8_t> original = reply;

  LoadAndStore(ConfigBlock(reply), scope);
  Check(reply.size() == original.size());
  for (std::size_t i = 0; i < kConfigBlockSize; ++i)
    if (!writable[i]) Check(reply[i] == original[i]);
  Check(std::equal(reply.begin() + kConfigBlockSize, reply.end(), original.begin() + kConfigBlockSize));
  const std::vector<std::uint8_t> once = reply;
  LoadAndStore(ConfigBlock(reply), scope);
  Check(reply == once);
  return 0;
}
