#include "ctl/fields.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "pagerules/text_fields.h"
#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47::ctl {

using pagerules::DeviceForm;
using pagerules::Page;
using pagerules::PageField;
using texts::TextId;

namespace {

FieldError Error(TextId id) { return {std::string(texts::Text(id))}; }
FieldError Error(std::string text) { return {std::move(text)}; }

// Lower case, blanks dropped: "CTS / RTS" and "cts/rts" are one value.
std::string Folded(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool Same(std::string_view a, std::string_view b) { return Folded(a) == Folded(b); }

// Check boxes and radio pairs.
bool ReadBool(std::string_view typed, bool& on) {
  static constexpr std::array<std::string_view, 4> kOn = {"on", "1", "true", "yes"};
  static constexpr std::array<std::string_view, 4> kOff = {"off", "0", "false", "no"};
  for (std::string_view w : kOn)
    if (Same(typed, w)) return on = true, true;
  for (std::string_view w : kOff)
    if (Same(typed, w)) return on = false, true;
  return false;
}

std::string BoolText(bool on) { return on ? "on" : "off"; }

// The IP address control: four fields of 0..255.
bool ReadAddress(std::string_view typed, std::uint32_t& address) {
  std::uint8_t octets[4];
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= typed.size() || typed[pos] != '.') return false;
      ++pos;
    }
    unsigned value = 0;
    std::size_t digits = 0;
    while (pos < typed.size() && std::isdigit(static_cast<unsigned char>(typed[pos])) && digits < 3) {
      value = value * 10 + unsigned(typed[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || value > 255) return false;
    octets[i] = static_cast<std::uint8_t>(value);
  }
  if (pos != typed.size()) return false;
  std::memcpy(&address, octets, 4);
  return true;
}

FieldError SetAddress(std::uint32_t& to, std::string_view typed) {
  if (!ReadAddress(typed, to)) return Error(TextId::CtlAddressExpected);
  return {};
}

// A digits-only edit takes 0..9 and nothing else; what the digits mean
// (010 is octal, as the pages read it) is the store's to judge.
FieldError SetDigits(std::string& to, std::string_view typed) {
  for (char c : typed)
    if (!std::isdigit(static_cast<unsigned char>(c))) return Error(TextId::CtlDigitsOnly);
  to = std::string(typed);
  return {};
}

// An edit with a limit counts its characters as the platform's edits do.
FieldError SetText(std::string& to, std::string_view typed, std::size_t maxLength) {
  if (maxLength && pagerules::Utf16Length(typed) > maxLength)
    return Error(texts::CtlTooLongText(static_cast<unsigned>(maxLength)));
  to = std::string(typed);
  return {};
}

// A text with the check box that switches it on: an empty text is off.
FieldError SetSwitchedText(bool& on, std::string& to, std::string_view typed, std::size_t maxLength) {
  FieldError e = SetText(to, typed, maxLength);
  if (e.ok()) on = !pagerules::Trimmed(typed).empty();
  return e;
}

std::optional<std::string> SwitchedText(bool on, const std::string& text) {
  return on ? text : std::string();
}

// A list: the position of the item whose text is typed.
template <typename Items, typename TextOf>
FieldError SetPosition(int& to, std::string_view typed, const Items& items, TextOf textOf, std::string_view accepted) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (Same(typed, textOf(items[i]))) return to = static_cast<int>(i), FieldError{};
  return Error(texts::CtlValueNotAcceptedText(typed, accepted));
}

template <typename Items, typename TextOf>
std::optional<std::string> ItemText(int position, const Items& items, TextOf textOf) {
  if (position < 0 || position >= static_cast<int>(items.size())) return std::nullopt;
  return std::string(textOf(items[static_cast<std::size_t>(position)]));
}

constexpr auto kCText = [](const char* t) { return std::string_view(t); };
constexpr auto kRateText = [](std::uint32_t r) { return std::to_string(r); };
constexpr auto kSecurityText = [](const pagerules::SecurityChoice& c) { return std::string_view(c.text); };

constexpr std::array<int, pagerules::kChannelCount> kChannels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
constexpr auto kChannelText = [](int c) { return std::to_string(c); };

// The operation-mode radios by the texts they show, and shorter names.
struct ModeName {
  pagerules::ModeChoice mode;
  const char* text;
  const char* shortName;
};
constexpr std::array<ModeName, 3> kModes = {{{pagerules::ModeChoice::Server, pagerules::kServerModeText, "server"},
                                             {pagerules::ModeChoice::Client, pagerules::kClientModeText, "client"},
                                             {pagerules::ModeChoice::Mixed, pagerules::kMixedModeText, "mixed"}}};

FieldError SetMode(DeviceForm& form, std::string_view typed) {
  for (const ModeName& m : kModes) {
    if (!Same(typed, m.text) && !Same(typed, m.shortName)) continue;
    if (pagerules::ChooseMode(form, m.mode)) return {};
    FieldError e = Error(m.mode == pagerules::ModeChoice::Mixed && form.network.modeGroupShown
                             ? TextId::CtlNeedsExtended
                             : TextId::CtlModeFixed);
    e.unavailable = true;
    return e;
  }
  return Error(texts::CtlValueNotAcceptedText(typed, "TCP Server|TCP Client|Mixed"));
}

std::optional<std::string> ModeText(const DeviceForm& form) {
  for (const ModeName& m : kModes)
    if (m.mode == form.network.values.mode) return std::string(m.text);
  return std::nullopt;
}

// Shorthands for the table below.
using N = pagerules::NetworkValues;
constexpr std::size_t kNoLimit = 0;

#define GET(expr) [](const DeviceForm& f) -> std::optional<std::string> { return expr; }
#define SET(expr) [](DeviceForm& f, std::string_view v) -> FieldError { return expr; }

FieldError SetBool(bool& to, std::string_view typed) {
  if (!ReadBool(typed, to)) return Error(texts::CtlValueNotAcceptedText(typed, "on|off"));
  return {};
}

const FieldDef kFields[] = {
    // Network page.
    {"DHCP_Enable", Page::Network, TextId{}, "DHCP", ValueKind::Bool, PageField::DHCP_Enable, false, true,
     GET(BoolText(f.network.values.dhcp)), SET(SetBool(f.network.values.dhcp, v)), "on|off"},
    {"Device_IP_Address", Page::Network, TextId::LocalIpAddress, "", ValueKind::Address, PageField::Device_IP_Address,
     false, true, GET(IpText(f.network.values.deviceIp)), SET(SetAddress(f.network.values.deviceIp, v)),
     "a.b.c.d"},
    {"Subnet_Mask", Page::Network, TextId::SubnetMask, "", ValueKind::Address, PageField::Subnet_Mask, false, true,
     GET(IpText(f.network.values.subnetMask)), SET(SetAddress(f.network.values.subnetMask, v)), "a.b.c.d"},
    {"Default_Gateway", Page::Network, TextId::DefaultGateway, "", ValueKind::Address, PageField::Default_Gateway,
     false, true, GET(IpText(f.network.values.defaultGateway)),
     SET(SetAddress(f.network.values.defaultGateway, v)), "a.b.c.d"},
    {"Local_Port", Page::Network, TextId::PortNumber, "", ValueKind::Number, PageField::Local_Port, false, false,
     GET(f.network.values.localPort), SET(SetDigits(f.network.values.localPort, v)), "1..65535"},
    {"Operation_Mode", Page::Network, TextId::OperationModeGroup, "", ValueKind::Choice, PageField::Operation_Mode,
     false, false, GET(ModeText(f)), SET(SetMode(f, v)), "TCP Server|TCP Client|Mixed", true},
    {"Server_IP_Address", Page::Network, TextId::ServerIpAddress, "", ValueKind::Address,
     PageField::Server_IP_Address, false, false, GET(IpText(f.network.values.serverIp)),
     SET(SetAddress(f.network.values.serverIp, v)), "a.b.c.d"},
    {"Server_Port", Page::Network, TextId::PortNumber, "", ValueKind::Number, PageField::Server_Port, false, false,
     GET(f.network.values.serverPort), SET(SetDigits(f.network.values.serverPort, v)), "1..65535"},
    {"DNS_Connect_Enable", Page::Network, TextId::DnsConnect, "", ValueKind::Bool, PageField::DNS_Connect_Enable,
     true, false, GET(BoolText(f.network.values.dnsConnect)), SET(SetBool(f.network.values.dnsConnect, v)),
     "on|off"},
    {"DNS_Server_IP_Address", Page::Network, TextId::DnsServerIpAddress, "", ValueKind::Address,
     PageField::DNS_Server_IP_Address, true, false, GET(IpText(f.network.values.dnsServer)),
     SET(SetAddress(f.network.values.dnsServer, v)), "a.b.c.d"},
    {"Server_Domain_Name", Page::Network, TextId::DomainName, "", ValueKind::Text, PageField::Server_Domain_Name,
     true, false, GET(f.network.values.domainName), SET(SetText(f.network.values.domainName, v, kNoLimit)), ""},
    // Serial page.
    {"Serial_Baud_Rate", Page::Serial, TextId::BaudRate, "", ValueKind::Number, PageField::Serial_Baud_Rate, false,
     false, GET(ItemText(f.serial.values.baudRate, pagerules::kBaudRates, kRateText)),
     SET(SetPosition(f.serial.values.baudRate, v, pagerules::kBaudRates, kRateText,
                     "1200|2400|4800|9600|19200|38400|57600|115200|230400|460800")),
     "1200..460800", true},
    {"Serial_Data_Bits", Page::Serial, TextId::DataBits, "", ValueKind::Number, PageField::Serial_Data_Bits, false,
     false, GET(ItemText(f.serial.values.dataBits, pagerules::kDataBitsItems, kCText)),
     SET(SetPosition(f.serial.values.dataBits, v, pagerules::kDataBitsItems, kCText, "7|8")), "7|8"},
    {"Serial_Parity", Page::Serial, TextId::Parity, "", ValueKind::Choice, PageField::Serial_Parity, false, false,
     GET(ItemText(f.serial.values.parity, pagerules::kParityItems, kCText)),
     SET(SetPosition(f.serial.values.parity, v, pagerules::kParityItems, kCText, "none|ODD|EVEN")),
     "none|ODD|EVEN"},
    {"Serial_Stop_Bits", Page::Serial, TextId::StopBits, "", ValueKind::Number, PageField::Serial_Stop_Bits, false,
     false, GET(ItemText(f.serial.values.stopBits, pagerules::kStopBitsItems, kCText)),
     SET(SetPosition(f.serial.values.stopBits, v, pagerules::kStopBitsItems, kCText, "1|2")), "1|2"},
    {"Serial_Flow_Control", Page::Serial, TextId::FlowControl, "", ValueKind::Choice, PageField::Serial_Flow_Control,
     false, false, GET(ItemText(f.serial.values.flowControl, pagerules::kFlowControlItems, kCText)),
     SET(SetPosition(f.serial.values.flowControl, v, pagerules::kFlowControlItems, kCText, "none|CTS / RTS")),
     "none|CTS / RTS"},
    {"Serial_Send_Time", Page::Serial, TextId::SendTime, "", ValueKind::Number, PageField::Serial_Send_Time, false,
     false, GET(f.serial.values.sendTime), SET(SetDigits(f.serial.values.sendTime, v)), "0..65535"},
    {"Serial_Send_Size", Page::Serial, TextId::SendSize, "", ValueKind::Number, PageField::Serial_Send_Size, false,
     false, GET(f.serial.values.sendSize), SET(SetDigits(f.serial.values.sendSize, v)), "0..1440"},
    {"Serial_Send_Char", Page::Serial, TextId::SendChar, "", ValueKind::Text, PageField::Serial_Send_Char, false,
     false, GET(f.serial.values.sendChar),
     SET(SetText(f.serial.values.sendChar, v, pagerules::kSendCharMaxLength)), "00..FF"},
    // Option page.
    {"TCP_Disconnect_Time", Page::Option, TextId::DisconnectTime, "", ValueKind::Number,
     PageField::TCP_Disconnect_Time, false, false, GET(f.option.disconnectTime),
     SET(SetDigits(f.option.disconnectTime, v)), "0..65535"},
    {"TCP_Keepalive_Interval", Page::Option, TextId::KeepaliveInterval, "", ValueKind::Number,
     PageField::TCP_Keepalive_Interval, false, false, GET(f.option.keepaliveInterval),
     SET(SetDigits(f.option.keepaliveInterval, v)), "0..65535"},
    {"Search_Password", Page::Option, TextId::SearchPasswordGroup, "", ValueKind::Text, PageField::Search_Password,
     false, false, GET(f.option.searchPassword),
     SET(SetText(f.option.searchPassword, v, pagerules::kPasswordMaxLength)), ""},
    {"Connect_Password_Enable", Page::Option, TextId::PasswordEnabled, "", ValueKind::Bool,
     PageField::Connect_Password_Enable, true, false, GET(BoolText(f.option.connectPasswordEnable)),
     SET(SetBool(f.option.connectPasswordEnable, v)), "on|off"},
    {"Connect_Password", Page::Option, TextId::ConnectPasswordGroup, "", ValueKind::Text,
     PageField::Connect_Password, true, false, GET(f.option.connectPassword),
     SET(SetText(f.option.connectPassword, v, pagerules::kPasswordMaxLength)), ""},
    // Wi-Fi page: the current state first, as its status lines show it.
    {"Wifi_Mode", Page::Wifi, TextId::CurrentMode, "", ValueKind::Text, std::nullopt, false, false,
     GET(f.wifi.modeName == TextId{} ? std::nullopt : std::optional<std::string>(texts::Text(f.wifi.modeName))),
     nullptr, ""},
    {"Wifi_Security", Page::Wifi, TextId::SecurityModeLabel, "", ValueKind::Text, std::nullopt, false, false,
     GET(f.wifi.linkSecurity), nullptr, ""},
    {"Wifi_Channel", Page::Wifi, TextId::ChannelLabel, "", ValueKind::Number, std::nullopt, false, false,
     GET(std::to_string(f.wifi.linkChannel)), nullptr, ""},
    {"Wifi_Infra_SSID", Page::Wifi, TextId::InfrastructureSsid, "", ValueKind::Text, PageField::Wifi_Infra_SSID,
     false, false, GET(f.wifi.values.infraSsid),
     SET(SetText(f.wifi.values.infraSsid, v, pagerules::kInfraSsidMaxLength)), ""},
    {"Wifi_Infra_Password", Page::Wifi, TextId::InfrastructurePassword, "", ValueKind::Text,
     PageField::Wifi_Infra_Password, false, false, GET(f.wifi.values.infraPassword),
     SET(SetText(f.wifi.values.infraPassword, v, pagerules::kInfraPasswordMaxLength)), ""},
    {"Wifi_AP_SSID", Page::Wifi, TextId::AccessPointSsid, "", ValueKind::Text, PageField::Wifi_AP_SSID, false, false,
     GET(f.wifi.values.apSsid), SET(SetText(f.wifi.values.apSsid, v, pagerules::kApSsidMaxLength)), ""},
    {"Wifi_AP_Security", Page::Wifi, TextId::SecurityMode, "", ValueKind::Choice, PageField::Wifi_AP_Security, false,
     false, GET(ItemText(f.wifi.values.apSecurity, pagerules::kApSecurityChoices, kSecurityText)),
     SET(SetPosition(f.wifi.values.apSecurity, v, pagerules::kApSecurityChoices, kSecurityText,
                     "open|WPA|WPA2|WPA/WPA2|WPA3|WPA2/WPA3")),
     "open|WPA|WPA2|WPA/WPA2|WPA3|WPA2/WPA3"},
    {"Wifi_AP_Password", Page::Wifi, TextId::AccessPointPassword, "", ValueKind::Text, PageField::Wifi_AP_Password,
     false, false, GET(f.wifi.values.apPassword),
     SET(SetText(f.wifi.values.apPassword, v, pagerules::kApPasswordMaxLength)), ""},
    {"Wifi_AP_Channel", Page::Wifi, TextId::WifiChannel, "", ValueKind::Number, PageField::Wifi_AP_Channel, false,
     false, GET(ItemText(f.wifi.values.apChannel, kChannels, kChannelText)),
     SET(SetPosition(f.wifi.values.apChannel, v, kChannels, kChannelText, "1..13")), "1..13", true},
    // Special page.
    {"DHCP_Lease_Time", Page::Special, TextId::LeaseTime, "", ValueKind::Number, PageField::DHCP_Lease_Time, false,
     false, GET(f.special.leaseTime), SET(SetDigits(f.special.leaseTime, v)), "10..65535"},
    {"Msg_Connect_To_UART", Page::Special, TextId::MsgConnectToUart, "", ValueKind::Text,
     PageField::Msg_Connect_To_UART, false, false, GET(SwitchedText(f.special.messageOn[0], f.special.message[0])),
     SET(SetSwitchedText(f.special.messageOn[0], f.special.message[0], v, pagerules::kMessageMaxLength)), ""},
    {"Msg_Disconnect_To_UART", Page::Special, TextId::MsgDisconnectToUart, "", ValueKind::Text,
     PageField::Msg_Disconnect_To_UART, false, false, GET(SwitchedText(f.special.messageOn[1], f.special.message[1])),
     SET(SetSwitchedText(f.special.messageOn[1], f.special.message[1], v, pagerules::kMessageMaxLength)), ""},
    {"Msg_Connect_To_Client", Page::Special, TextId::MsgConnectToClient, "", ValueKind::Text,
     PageField::Msg_Connect_To_Client, false, false, GET(SwitchedText(f.special.messageOn[2], f.special.message[2])),
     SET(SetSwitchedText(f.special.messageOn[2], f.special.message[2], v, pagerules::kMessageMaxLength)), ""},
    {"TCP_Password", Page::Special, TextId::TcpPasswordGroup, "", ValueKind::Text, PageField::TCP_Password, false,
     false, GET(SwitchedText(f.special.tcpPasswordOn, f.special.tcpPassword)),
     SET(SetSwitchedText(f.special.tcpPasswordOn, f.special.tcpPassword, v, pagerules::kTcpPasswordMaxLength)), ""},
    {"Disconnect_Judge_Time", Page::Special, TextId::JudgeTime, "", ValueKind::Number,
     PageField::Disconnect_Judge_Time, false, false, GET(f.special.judgeTime), SET(SetDigits(f.special.judgeTime, v)),
     "10..65535"},
};

#undef GET
#undef SET

}  // namespace

std::span<const FieldDef> Fields() { return kFields; }

std::string IpText(std::uint32_t networkOrder) {
  std::uint8_t o[4];
  std::memcpy(o, &networkOrder, 4);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(o[0]), unsigned(o[1]), unsigned(o[2]), unsigned(o[3]));
  return text;
}

const FieldDef* FindField(std::string_view name) {
  for (const FieldDef& f : kFields) {
    if (f.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(f.name[i])) == std::tolower(static_cast<unsigned char>(name[i]));
    if (same) return &f;
  }
  return nullptr;
}

std::string FieldLabel(const FieldDef& f) {
  std::string label(f.label == TextId{} ? f.asciiLabel : texts::Text(f.label));
  // Two-line labels read as one line; a label's closing colon goes.
  for (char& c : label)
    if (c == '\n') c = ' ';
  std::string_view trimmed = pagerules::Trimmed(label);
  constexpr std::string_view kColon = "：";
  if (trimmed.size() >= kColon.size() && trimmed.substr(trimmed.size() - kColon.size()) == kColon)
    trimmed.remove_suffix(kColon.size());
  std::string out;
  for (std::size_t i = 0; i < trimmed.size(); ++i)
    if (!(trimmed[i] == ' ' && i + 1 < trimmed.size() && trimmed[i + 1] == ' ')) out += trimmed[i];
  return out;
}

std::string WhyNotWritten(const DeviceForm& form, const FieldDef& f) {
  if (!f.pageField) return std::string(texts::Text(TextId::CtlReadOnly));
  if (f.extended && !form.extendedShown) return std::string(texts::Text(TextId::CtlNeedsExtended));
  if (pagerules::TakesPart(form, *f.pageField)) return {};
  switch (*f.pageField) {
    case PageField::Device_IP_Address:
    case PageField::Subnet_Mask:
    case PageField::Default_Gateway: return std::string(texts::Text(TextId::CtlNotWrittenWithDhcp));
    case PageField::Operation_Mode: return std::string(texts::Text(TextId::CtlModeFixed));
    case PageField::Server_IP_Address:
    case PageField::Server_Port: return std::string(texts::Text(TextId::CtlServerFieldsUnused));
    case PageField::Connect_Password_Enable: return std::string(texts::Text(TextId::CtlConnectSwitchUnavailable));
    case PageField::Connect_Password:
      return std::string(
          texts::Text(form.option.connectPasswordEnable || !pagerules::TakesPart(form, PageField::Connect_Password_Enable)
                          ? TextId::CtlConnectSwitchUnavailable
                          : TextId::CtlConnectPasswordOff));
    case PageField::Wifi_AP_Password: return std::string(texts::Text(TextId::CtlOpenSecurity));
    default: return std::string(texts::Text(TextId::CtlReadOnly));
  }
}

bool ParseMac(std::string_view text, MacAddress& mac) {
  std::size_t pos = 0;
  char separator = 0;
  for (std::size_t i = 0; i < mac.size(); ++i) {
    if (i > 0 && pos < text.size() && (text[pos] == ':' || text[pos] == '-')) {
      if (separator == 0 && i == 1) separator = text[pos];
      if (text[pos] != separator) return false;
      ++pos;
    } else if (i > 0 && separator != 0) {
      return false;
    }
    if (pos + 2 > text.size() || !std::isxdigit(static_cast<unsigned char>(text[pos])) ||
        !std::isxdigit(static_cast<unsigned char>(text[pos + 1])))
      return false;
    mac[i] = static_cast<std::uint8_t>(std::stoi(std::string(text.substr(pos, 2)), nullptr, 16));
    pos += 2;
  }
  return pos == text.size();
}

}  // namespace lx47::ctl
