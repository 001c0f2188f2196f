#include "pagerules/page_fields.h"

#include <array>

namespace lx47::pagerules {

namespace {

constexpr std::array<std::string_view, kPageFieldCount> kNames = {
    "Local_Port",          "DHCP_Enable",         "Device_IP_Address",       "Subnet_Mask",
    "Default_Gateway",     "Operation_Mode",      "Server_IP_Address",       "Server_Port",
    "DNS_Connect_Enable",  "DNS_Server_IP_Address", "Server_Domain_Name",    "Serial_Send_Time",
    "Serial_Send_Size",    "Serial_Send_Char",    "Serial_Baud_Rate",        "Serial_Data_Bits",
    "Serial_Parity",       "Serial_Stop_Bits",    "Serial_Flow_Control",     "Search_Password",
    "Connect_Password_Enable", "Connect_Password", "TCP_Disconnect_Time",    "TCP_Keepalive_Interval",
    "Wifi_Infra_SSID",     "Wifi_Infra_Password", "Wifi_AP_SSID",            "Wifi_AP_Password",
    "Wifi_AP_Security",    "Wifi_AP_Channel",     "DHCP_Lease_Time",         "Msg_Connect_To_UART",
    "Msg_Disconnect_To_UART", "Msg_Connect_To_Client", "TCP_Password",       "Disconnect_Judge_Time",
};

}  // namespace

std::string_view FieldName(PageField f) { return kNames[static_cast<std::size_t>(f)]; }

}  // namespace lx47::pagerules
