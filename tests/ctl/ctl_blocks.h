// Device entries for the command line's tests: a device as a search leaves
// it, with every page's fields at plain values, and the bytes a store
// leaves of it already in place, so that an edit changes only what it names.
#pragma once

#include <gtest/gtest.h>

#include "device_reply.h"
#include "fakes.h"
#include "pagerules/device_form.h"
#include "protocol/device_table.h"

namespace lx47::test {

inline DeviceEntry CtlDevice(std::uint8_t last = 1, std::uint8_t mode = pagerules::kModeClient, bool dhcp = false) {
  Bytes b = DeviceReply("IAMI", Mac(last));
  for (std::size_t off = 112; off < 388; ++off) b[off] = 0;
  ConfigBlock c(b);
  c.set(field::Operation_Mode, mode);
  c.set(field::DHCP_Enable, dhcp ? 1 : 0);
  c.set(field::Subnet_Mask, Ip("255.255.255.0"));
  c.set(field::Default_Gateway, Ip("10.47.0.1"));
  c.set(field::Local_Port, 10001);
  c.set(field::Server_IP_Address, Ip("10.47.0.9"));
  c.set(field::Server_Port, 5000);
  c.set(field::Serial_Baud_Rate, 0xF4);
  c.set(field::Serial_Data_Bits, 8);
  c.set(field::Serial_Parity, 0);
  c.set(field::Serial_Stop_Bits, 1);
  c.set(field::Serial_Flow_Control, 0);
  c.set(field::Serial_Send_Char, 0);
  c.set(field::Serial_Send_Size, 0);
  c.set(field::Serial_Send_Time, 0);
  c.set(field::TCP_Disconnect_Time, 300);
  c.set(field::TCP_Keepalive_Interval, 60);
  c.set(field::Search_Password, "        ");
  c.set(field::DHCP_Lease_Time, 1440);
  c.set(field::Disconnect_Judge_Time, 300);
  c.set(field::Wifi_Mode, 1);
  c.set(field::Wifi_AP_SSID, "LX47_AP");
  c.set(field::Wifi_AP_Password, "lx47-config");
  c.set(field::Wifi_AP_Security, 3);
  c.set(field::Wifi_AP_Channel, 6);
  // What the first store of the pages makes of the rest.
  pagerules::DeviceForm form = pagerules::LoadDeviceForm(c, true);
  form.optionOnDisplay = true;
  if (!pagerules::StoreDeviceForm(c, form).ok()) ADD_FAILURE() << "the test device stores as it is";
  DeviceEntry e;
  e.storeReply(b, Ip("10.47.0.1"));
  return e;
}

}  // namespace lx47::test
