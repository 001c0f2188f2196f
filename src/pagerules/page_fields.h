// The fields of the settings pages, the set of them that a store may write,
// and what a store says when it refuses one. Shared by the rules of every
// page, so that a front end names a field, and learns which one failed, the
// same way on each page.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "texts/text_ids.h"

namespace lx47::pagerules {

// One value that a page shows and stores, named after the block field it is
// written to; page order within each page.
enum class PageField : std::uint8_t {
  // Network page.
  Local_Port,
  DHCP_Enable,
  Device_IP_Address,
  Subnet_Mask,
  Default_Gateway,
  Operation_Mode,
  Server_IP_Address,
  Server_Port,
  DNS_Connect_Enable,
  DNS_Server_IP_Address,
  Server_Domain_Name,
  // Serial page.
  Serial_Send_Time,
  Serial_Send_Size,
  Serial_Send_Char,
  Serial_Baud_Rate,
  Serial_Data_Bits,
  Serial_Parity,
  Serial_Stop_Bits,
  Serial_Flow_Control,
  // Option page.
  Search_Password,
  Connect_Password_Enable,
  Connect_Password,
  TCP_Disconnect_Time,
  TCP_Keepalive_Interval,
  // Wi-Fi page.
  Wifi_Infra_SSID,
  Wifi_Infra_Password,
  Wifi_AP_SSID,
  Wifi_AP_Password,
  Wifi_AP_Security,
  Wifi_AP_Channel,
  // Special page.
  DHCP_Lease_Time,
  Msg_Connect_To_UART,
  Msg_Disconnect_To_UART,
  Msg_Connect_To_Client,
  TCP_Password,
  Disconnect_Judge_Time,
};
inline constexpr int kPageFieldCount = static_cast<int>(PageField::Disconnect_Judge_Time) + 1;

// The field's name as the block knows it ("Local_Port").
std::string_view FieldName(PageField f);

// The fields whose controls take part in a store: a page writes a field only
// while its control is enabled (and, where the page says so, on screen). A
// front end without controls passes All().
class FieldSet {
 public:
  constexpr FieldSet() = default;
  constexpr FieldSet(std::initializer_list<PageField> fields) {
    for (PageField f : fields) add(f);
  }
  static constexpr FieldSet All() {
    FieldSet s;
    s.bits_ = (std::uint64_t{1} << kPageFieldCount) - 1;
    return s;
  }
  constexpr FieldSet& add(PageField f) {
    bits_ |= Bit(f);
    return *this;
  }
  constexpr FieldSet& set(PageField f, bool on) {
    bits_ = on ? bits_ | Bit(f) : bits_ & ~Bit(f);
    return *this;
  }
  constexpr bool has(PageField f) const { return (bits_ & Bit(f)) != 0; }
  constexpr bool operator==(const FieldSet&) const = default;

 private:
  static constexpr std::uint64_t Bit(PageField f) { return std::uint64_t{1} << static_cast<int>(f); }
  std::uint64_t bits_ = 0;
};
static_assert(kPageFieldCount <= 64, "FieldSet keeps one bit per field");

// Why a store refused a field: the string table's text for the refusal (the
// pages' refusals, numbered from 500), so that every front end shows the same
// message; texts::RefusalText puts the page's title into its "[%s]".
using texts::TextId;
inline constexpr TextId kNoRefusal{};  // no text: the store took every field

// What a store did: ok, or the refused field with its message. Fields the
// page stores before the refused one stay written in the block.
struct StoreResult {
  PageField field{};
  TextId message = kNoRefusal;

  bool ok() const { return message == kNoRefusal; }
  static StoreResult Refuse(PageField f, TextId m) { return StoreResult{f, m}; }
};

}  // namespace lx47::pagerules
