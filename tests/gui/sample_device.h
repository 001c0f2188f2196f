// A device block as a simulated KD-LX47 fresh from the factory reports it,
// in TCP Client mode: every field valid for the pages, the space-padded
// texts filled with zero bytes as some firmware sends them.
#pragma once

#include "page_support.h"

namespace lx47::test {

inline DeviceEntry SimulatedDevice(std::uint8_t last = 1) {
  DeviceEntry e = EntryWithBlock(last);
  ConfigBlock b = e.block();
  b.set(field::Operation_Mode, 0);
  b.set(field::DHCP_Enable, 0);
  b.set(field::Device_IP_Address, Ip("10.47.0.101"));
  b.set(field::Subnet_Mask, Ip("255.255.255.0"));
  b.set(field::Default_Gateway, Ip("10.47.0.1"));
  b.set(field::Local_Port, 10001);
  b.set(field::Server_IP_Address, Ip("10.47.0.9"));
  b.set(field::Server_Port, 5000);
  b.set(field::Serial_Baud_Rate, 0xFF);  // 115200
  b.set(field::Serial_Data_Bits, 8);
  b.set(field::Serial_Parity, 2);
  b.set(field::Serial_Stop_Bits, 1);
  b.set(field::Serial_Flow_Control, 2);
  b.set(field::Serial_Send_Char, 0x0D);
  b.set(field::Serial_Send_Size, 512);
  b.set(field::Serial_Send_Time, 100);
  b.set(field::TCP_Disconnect_Time, 300);
  b.set(field::TCP_Keepalive_Interval, 60);
  b.set(field::DNS_Connect_Enable, 0);
  b.set(field::DNS_Server_IP_Address, Ip("10.47.0.53"));
  for (field::SpaceText f : {field::Server_Domain_Name, field::Connect_Password, field::Search_Password}) {
    auto raw = b.raw(f);
    std::fill(raw.begin(), raw.end(), 0);
  }
  b.set(field::Connect_Password_Enable, 0);
  b.set(field::DHCP_Lease_Time, 1440);
  b.set(field::Wifi_Mode, 1);
  b.set(field::Wifi_AP_SSID, "LX47_000001");
  b.set(field::Wifi_AP_Password, "lx47-config");
  b.set(field::Wifi_AP_Security, 3);
  b.set(field::Wifi_AP_Channel, 6);
  b.set(field::Disconnect_Judge_Time, 300);
  b.set(field::Extra_Time_Value, 300);
  return e;
}

}  // namespace lx47::test
