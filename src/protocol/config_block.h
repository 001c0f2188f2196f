// The device's 392-byte configuration block. Fields are described by small
// typed descriptors named after the fields; ConfigBlock reads and writes them
// with the encoding each one has. Bytes no field names are never touched.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace lx47 {

inline constexpr std::size_t kConfigBlockSize = 392;

namespace field {

struct U8 { std::size_t offset; };
struct U16BE { std::size_t offset; };  // high byte first
struct U16LE { std::size_t offset; };  // low byte first
struct Ipv4 { std::size_t offset; };   // network order, kept as it travels
struct Bytes { std::size_t offset; std::size_t width; };
struct SpaceText { std::size_t offset; std::size_t width; };  // padded with 0x20, no terminator
struct ZeroText { std::size_t offset; std::size_t width; };   // padded with 0x00

inline constexpr Bytes Reply_Marker{0, 4};
inline constexpr Bytes Device_MAC_Address{4, 6};
inline constexpr U8 Operation_Mode{10};
inline constexpr U8 DHCP_Enable{11};
inline constexpr Ipv4 Device_IP_Address{12};
inline constexpr Ipv4 Subnet_Mask{16};
inline constexpr Ipv4 Default_Gateway{20};
inline constexpr U16BE Local_Port{24};
inline constexpr Ipv4 Server_IP_Address{26};
inline constexpr U16BE Server_Port{30};
inline constexpr U8 Serial_Baud_Rate{32};
inline constexpr U8 Serial_Data_Bits{33};
inline constexpr U8 Serial_Parity{34};
inline constexpr U8 Serial_Stop_Bits{35};
inline constexpr U8 Serial_Flow_Control{36};
inline constexpr U8 Serial_Send_Char{37};
inline constexpr U16BE Serial_Send_Size{38};
inline constexpr U16BE Serial_Send_Time{40};
inline constexpr U16BE TCP_Disconnect_Time{42};
inline constexpr U16BE TCP_Keepalive_Interval{44};
inline constexpr U8 Firmware_Version_Revision{46};
inline constexpr U8 Firmware_Version_Major{47};
inline constexpr U8 Firmware_Version_Minor{48};
inline constexpr U8 DNS_Connect_Enable{51};
inline constexpr Ipv4 DNS_Server_IP_Address{52};
inline constexpr SpaceText Server_Domain_Name{56, 32};
inline constexpr U8 Connect_Password_Enable{89};
inline constexpr SpaceText Connect_Password{90, 8};
inline constexpr SpaceText Search_Password{98, 8};
inline constexpr U16LE DHCP_Lease_Time{106};
inline constexpr U8 Wifi_Mode{110};
inline constexpr ZeroText Wifi_Infra_SSID{112, 32};
inline constexpr ZeroText Wifi_Infra_Password{144, 64};
inline constexpr U8 Wifi_Security{208};
inline constexpr U8 Wifi_Channel{209};
inline constexpr ZeroText Wifi_AP_SSID{210, 32};
inline constexpr ZeroText Wifi_AP_Password{242, 64};
inline constexpr U8 Wifi_AP_Security{306};
inline constexpr U8 Wifi_AP_Channel{307};
inline constexpr ZeroText Msg_Connect_To_UART{308, 16};
inline constexpr ZeroText Msg_Disconnect_To_UART{324, 16};
inline constexpr ZeroText Msg_Connect_To_Client{340, 16};
inline constexpr ZeroText TCP_Password{356, 32};
inline constexpr U16LE Disconnect_Judge_Time{388};
inline constexpr U16LE Extra_Time_Value{390};

}  // namespace field

// A view over a stored or sent block; it does not own the bytes. The span
// must hold at least kConfigBlockSize bytes (a stored reply may be longer).
class ConfigBlock {
 public:
  explicit ConfigBlock(std::span<std::uint8_t> bytes) : b_(bytes) {}

  std::uint8_t get(field::U8 f) const { return b_[f.offset]; }
  void set(field::U8 f, std::uint8_t v) { b_[f.offset] = v; }

  std::uint16_t get(field::U16BE f) const {
    return static_cast<std::uint16_t>((b_[f.offset] << 8) | b_[f.offset + 1]);
  }
  void set(field::U16BE f, std::uint16_t v) {
    b_[f.offset] = static_cast<std::uint8_t>(v >> 8);
    b_[f.offset + 1] = static_cast<std::uint8_t>(v);
  }

  std::uint16_t get(field::U16LE f) const {
    return static_cast<std::uint16_t>(b_[f.offset] | (b_[f.offset + 1] << 8));
  }
  void set(field::U16LE f, std::uint16_t v) {
    b_[f.offset] = static_cast<std::uint8_t>(v);
    b_[f.offset + 1] = static_cast<std::uint8_t>(v >> 8);
  }

  // Network order in, network order out: the four octets are copied as they are.
  std::uint32_t get(field::Ipv4 f) const {
    std::uint32_t v;
    std::memcpy(&v, &b_[f.offset], 4);
    return v;
  }
  void set(field::Ipv4 f, std::uint32_t v) { std::memcpy(&b_[f.offset], &v, 4); }

  std::span<std::uint8_t> get(field::Bytes f) const { return b_.subspan(f.offset, f.width); }

  // The whole field, padding included.
  std::span<std::uint8_t> raw(field::SpaceText f) const { return b_.subspan(f.offset, f.width); }
  std::span<std::uint8_t> raw(field::ZeroText f) const { return b_.subspan(f.offset, f.width); }

  // Zero-padded text: the bytes up to the first zero or the field's width.
  std::string get(field::ZeroText f) const {
    std::size_t n = 0;
    while (n < f.width && b_[f.offset + n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(&b_[f.offset]), n);
  }
  // Stores at most the field's width; the rest of the field becomes zero.
  void set(field::ZeroText f, std::string_view text) {
    std::size_t n = text.size() < f.width ? text.size() : f.width;
    std::memset(&b_[f.offset], 0, f.width);
    std::memcpy(&b_[f.offset], text.data(), n);
  }

  // Space-padded text: all the field's bytes, padding included.
  std::string get(field::SpaceText f) const {
    return std::string(reinterpret_cast<const char*>(&b_[f.offset]), f.width);
  }
  // Stores at most the field's width, padded on the right with spaces.
  void set(field::SpaceText f, std::string_view text) {
    std::size_t n = text.size() < f.width ? text.size() : f.width;
    std::memset(&b_[f.offset], ' ', f.width);
    std::memcpy(&b_[f.offset], text.data(), n);
  }

  std::span<std::uint8_t> bytes() const { return b_; }

 private:
  std::span<std::uint8_t> b_;
};

using MacAddress = std::array<std::uint8_t, 6>;

}  // namespace lx47
