#include "pagerules/network_rules.h"

#include <cstring>

#include "pagerules/text_fields.h"
#include "protocol/number_parse.h"

namespace lx47::pagerules {

namespace {

// A port number as typed: untrimmed, nothing may follow the number, 1..65535.
bool ReadPort(const std::string& text, std::uint16_t& port) {
  const NumberResult r = ParseNumber(text, number_rules::kPort);
  if (!r.ok()) return false;
  port = static_cast<std::uint16_t>(r.value);
  return true;
}

// The first octet of an address kept in network order.
std::uint8_t FirstOctet(std::uint32_t address) {
  std::uint8_t octets[4];
  std::memcpy(octets, &address, 4);
  return octets[0];
}

}  // namespace

NetworkShown LoadNetwork(ConfigBlock& block) {
  NetworkShown shown;
  NetworkValues& v = shown.values;
  v.dhcp = block.get(field::DHCP_Enable) != 0;
  v.localPort = std::to_string(block.get(field::Local_Port));
  v.deviceIp = block.get(field::Device_IP_Address);
  v.subnetMask = block.get(field::Subnet_Mask);
  v.defaultGateway = block.get(field::Default_Gateway);
  // Only a TCP Client entry offers the mode choice; Server and Mixed entries
  // keep their mode.
  switch (block.get(field::Operation_Mode)) {
    case kModeServer:
      v.mode = ModeChoice::Server;
      break;
    case kModeClient:
      v.mode = ModeChoice::Client;
      shown.modeGroupShown = true;
      break;
    default:
      break;
  }
  v.serverPort = std::to_string(block.get(field::Server_Port));
  v.serverIp = block.get(field::Server_IP_Address);
  v.dnsConnect = block.get(field::DNS_Connect_Enable) != 0;
  v.dnsServer = block.get(field::DNS_Server_IP_Address);
  v.domainName = std::string(Trimmed(CleanAndLoadSpaceText(block, field::Server_Domain_Name)));
  return shown;
}

StoreResult StoreNetwork(ConfigBlock& block, const NetworkValues& v, const FieldSet& enabled, bool extendedShown) {
  if (enabled.has(PageField::Local_Port)) {
    std::uint16_t port = 0;
    if (!ReadPort(v.localPort, port)) return StoreResult::Refuse(PageField::Local_Port, TextId::LocalPortInvalid);
    block.set(field::Local_Port, port);
  }

  if (enabled.has(PageField::DHCP_Enable)) {
    if (v.dhcp) {
      block.set(field::DHCP_Enable, 1);
    } else {
      block.set(field::DHCP_Enable, 0);
      if (enabled.has(PageField::Device_IP_Address)) {
        if (FirstOctet(v.deviceIp) == 0)
          return StoreResult::Refuse(PageField::Device_IP_Address, TextId::LocalAddressInvalid);
        block.set(field::Device_IP_Address, v.deviceIp);
      }
      if (enabled.has(PageField::Subnet_Mask)) {
        if (v.subnetMask == 0) return StoreResult::Refuse(PageField::Subnet_Mask, TextId::SubnetMaskInvalid);
        block.set(field::Subnet_Mask, v.subnetMask);
      }
      if (enabled.has(PageField::Default_Gateway)) block.set(field::Default_Gateway, v.defaultGateway);
    }

    // The mode can only be changed away from TCP Client.
    if (block.get(field::Operation_Mode) == kModeClient) {
      if (v.mode == ModeChoice::Server) {
        block.set(field::Operation_Mode, kModeServer);
      } else if (v.mode == ModeChoice::Client || v.mode == ModeChoice::Mixed) {
        block.set(field::Operation_Mode, v.mode == ModeChoice::Client ? kModeClient : kModeMixed);
        if (enabled.has(PageField::Server_IP_Address)) block.set(field::Server_IP_Address, v.serverIp);
        if (enabled.has(PageField::Server_Port)) {
          std::uint16_t port = 0;
          if (!ReadPort(v.serverPort, port))
            return StoreResult::Refuse(PageField::Server_Port, TextId::ServerPortInvalid);
          block.set(field::Server_Port, port);
        }
      }
    }
  }

  if (extendedShown) {
    block.set(field::DNS_Connect_Enable, v.dnsConnect ? 1 : 0);
    block.set(field::DNS_Server_IP_Address, v.dnsServer);
    StoreSpaceText(block, field::Server_Domain_Name, Trimmed(v.domainName));
  }
  return {};
}

}  // namespace lx47::pagerules
