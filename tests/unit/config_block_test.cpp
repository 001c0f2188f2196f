#include <gtest/gtest.h>

#include <vector>

#include "device_reply.h"
#include "protocol/config_block.h"
#include "protocol/device_table.h"

namespace lx47 {
namespace {

TEST(ConfigBlock, ByteOrdersAreFieldByField) {
  std::vector<std::uint8_t> raw(kConfigBlockSize, 0);
  ConfigBlock b(raw);
  b.set(field::Local_Port, 8080);
  b.set(field::DHCP_Lease_Time, 1440);
  b.set(field::Disconnect_Judge_Time, 0x1234);
  b.set(field::Serial_Send_Size, 1440);
  EXPECT_EQ(raw[24], 0x1F);
  EXPECT_EQ(raw[25], 0x90);
  EXPECT_EQ(raw[106], 0xA0);
  EXPECT_EQ(raw[107], 0x05);
  EXPECT_EQ(raw[388], 0x34);
  EXPECT_EQ(raw[389], 0x12);
  EXPECT_EQ(raw[38], 0x05);
  EXPECT_EQ(raw[39], 0xA0);
  EXPECT_EQ(b.get(field::Local_Port), 8080);
  EXPECT_EQ(b.get(field::DHCP_Lease_Time), 1440);

  const std::uint8_t ip[4] = {192, 168, 1, 20};
  std::uint32_t v;
  std::memcpy(&v, ip, 4);
  b.set(field::Server_IP_Address, v);
  EXPECT_EQ(raw[26], 192);
  EXPECT_EQ(raw[29], 20);
}

TEST(ConfigBlock, WritingEveryFieldLeavesUninterpretedBytesAlone) {
  std::vector<std::uint8_t> raw(kConfigBlockSize, 0xA5);
  ConfigBlock b(raw);
  b.set(field::Operation_Mode, 1);
  b.set(field::DHCP_Enable, 1);
  b.set(field::Device_IP_Address, 0);
  b.set(field::Subnet_Mask, 0);
  b.set(field::Default_Gateway, 0);
  b.set(field::Local_Port, 1);
  b.set(field::Server_IP_Address, 0);
  b.set(field::Server_Port, 1);
  for (auto f : {field::Serial_Baud_Rate, field::Serial_Data_Bits, field::Serial_Parity, field::Serial_Stop_Bits,
                 field::Serial_Flow_Control, field::Serial_Send_Char, field::DNS_Connect_Enable,
                 field::Connect_Password_Enable, field::Wifi_Mode, field::Wifi_Security, field::Wifi_Channel,
                 field::Wifi_AP_Security, field::Wifi_AP_Channel, field::Firmware_Version_Major,
                 field::Firmware_Version_Minor, field::Firmware_Version_Revision})
    b.set(f, 0);
  for (auto f : {field::Serial_Send_Size, field::Serial_Send_Time, field::TCP_Disconnect_Time,
                 field::TCP_Keepalive_Interval})
    b.set(f, 0);
  for (auto f : {field::DHCP_Lease_Time, field::Disconnect_Judge_Time, field::Extra_Time_Value}) b.set(f, 0);
  b.set(field::DNS_Server_IP_Address, 0);
  for (auto f : {field::Server_Domain_Name, field::Connect_Password, field::Search_Password}) b.set(f, "");
  for (auto f : {field::Wifi_Infra_SSID, field::Wifi_Infra_Password, field::Wifi_AP_SSID, field::Wifi_AP_Password,
                 field::Msg_Connect_To_UART, field::Msg_Disconnect_To_UART, field::Msg_Connect_To_Client,
                 field::TCP_Password})
    b.set(f, "");
  // Marker and MAC are not written by the pages either.
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(raw[i], 0xA5) << i;
  for (std::size_t i : {49u, 50u, 88u, 108u, 109u, 111u}) EXPECT_EQ(raw[i], 0xA5) << i;
}

TEST(ConfigBlock, TextPadding) {
  std::vector<std::uint8_t> raw(kConfigBlockSize, 0xEE);
  ConfigBlock b(raw);
  b.set(field::Connect_Password, "abc");
  EXPECT_EQ(b.get(field::Connect_Password), "abc     ");
  b.set(field::Wifi_AP_SSID, std::string(40, 'x'));  // cut at the field width, no terminator
  EXPECT_EQ(b.get(field::Wifi_AP_SSID), std::string(32, 'x'));
  EXPECT_EQ(raw[242], 0xEE);  // the next field is untouched
  b.set(field::Msg_Connect_To_UART, "hi");
  EXPECT_EQ(b.get(field::Msg_Connect_To_UART), "hi");
  EXPECT_EQ(raw[310], 0);
  EXPECT_EQ(raw[323], 0);
}

TEST(DeviceEntry, StoresLongReplyWholeAndReadsItsFields) {
  const MacAddress mac = test::Mac(7);
  test::Bytes reply = test::DeviceReply("IAMI", mac, 500);
  DeviceEntry e;
  e.storeReply(reply, 0x0100000A);
  EXPECT_EQ(e.Block_Length(), 500u);
  EXPECT_EQ(e.Block, reply);
  EXPECT_EQ(e.Device_MAC, mac);
  EXPECT_EQ(e.Entry_Status, 2);
  EXPECT_EQ(e.Host_IP, 0x0100000Au);
  EXPECT_EQ(FirmwareVersionText(e), "1.2.3");  // bytes 47, 48, 46
  const std::uint8_t ip[4] = {10, 47, 0, 107};
  EXPECT_EQ(std::memcmp(&e.Device_IP, ip, 4), 0);
}

}  // namespace
}  // namespace lx47
