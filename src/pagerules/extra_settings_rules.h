// The Special page's rules: the DHCP lease time, the three connection
// messages, the disconnect-judgement time and the TCP connection password.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "pagerules/page_fields.h"
#include "protocol/config_block.h"

namespace lx47::pagerules {

inline constexpr std::uint16_t kDefaultLeaseTime = 1440;  // minutes
inline constexpr std::uint16_t kDefaultJudgeTime = 300;   // seconds
inline constexpr std::uint16_t kDefaultExtraTime = 300;
inline constexpr std::uint32_t kMinTime = 10;            // lease and judgement, both
inline constexpr std::uint32_t kMinExtraTime = 3;
inline constexpr int kMessageMaxLength = 16;             // characters
inline constexpr int kTcpPasswordMaxLength = 32;         // characters

// The three connection messages, in page order.
inline constexpr int kMessageCount = 3;
inline constexpr std::array<field::ZeroText, kMessageCount> kMessageFields = {
    field::Msg_Connect_To_UART, field::Msg_Disconnect_To_UART, field::Msg_Connect_To_Client};
inline constexpr std::array<PageField, kMessageCount> kMessagePageFields = {
    PageField::Msg_Connect_To_UART, PageField::Msg_Disconnect_To_UART, PageField::Msg_Connect_To_Client};

// What the page's controls hold: each text field with the check box that
// switches it on.
struct SpecialValues {
  std::string leaseTime;  // as typed
  std::string judgeTime;  // as typed
  bool tcpPasswordOn = false;
  std::string tcpPassword;
  std::array<bool, kMessageCount> messageOn{};
  std::array<std::string, kMessageCount> message;
};

// Fills the values from the block, first correcting in the block itself a
// lease time of 0 (to 1440), a judgement time below 10 (to 300) and the
// unshown extra time below 3 (to 300), so that the next write sends the
// corrected values even if the user touches nothing. A text field whose
// first byte is zero is off.
SpecialValues LoadSpecial(ConfigBlock& block);

// What "restore defaults" shows: lease 1440, judgement 300, every message
// and the password empty and off. Nothing reaches the block before a store.
SpecialValues SpecialDefaults();

// Stores in the page's order: the lease time and the judgement time (always;
// empty or 0 stores the default, 1..9 and above 65535 are refused), then the
// password and each message whose check box takes part: its trimmed text
// when ticked, zeros when not.
StoreResult StoreSpecial(ConfigBlock& block, const SpecialValues& values, const FieldSet& enabled);

}  // namespace lx47::pagerules
