#include "pagerules/extra_settings_rules.h"

#include "pagerules/text_fields.h"

namespace lx47::pagerules {

namespace {

// An unsigned decimal number as the digit-only edits hold it: leading
// digits, nothing (or no digit) reads as 0. kTooLarge for anything above
// 65535, which the page refuses rather than silently keeping its low 16 bits.
constexpr std::uint32_t kTooLarge = 0x10000;
std::uint32_t ReadTime(std::string_view text) {
  std::uint32_t v = 0;
  for (char c : Trimmed(text)) {
    if (c < '0' || c > '9') break;
    v = v * 10 + static_cast<std::uint32_t>(c - '0');
    if (v > 0xFFFF) return kTooLarge;
  }
  return v;
}

// A time as stored: 0 (or empty) is the default; 1..9 and above 65535 are
// refused.
bool TimeToStore(std::string_view text, std::uint16_t byDefault, std::uint16_t& value) {
  std::uint32_t t = ReadTime(text);
  if (t == 0) t = byDefault;
  if (t < kMinTime || t > 0xFFFF) return false;
  value = static_cast<std::uint16_t>(t);
  return true;
}

void LoadSwitchedText(const ConfigBlock& block, field::ZeroText f, bool& on, std::string& text) {
  on = block.raw(f)[0] != 0;
  text = on ? LoadZeroText(block, f) : std::string();
}

void StoreSwitchedText(ConfigBlock& block, field::ZeroText f, bool on, const std::string& text) {
  if (on)
    StoreZeroText(block, f, text);
  else
    ClearZeroText(block, f);  // the edit may keep its text, the device gets none
}

}  // namespace

SpecialValues LoadSpecial(ConfigBlock& block) {
  if (block.get(field::DHCP_Lease_Time) == 0) block.set(field::DHCP_Lease_Time, kDefaultLeaseTime);
  if (block.get(field::Disconnect_Judge_Time) < kMinTime) block.set(field::Disconnect_Judge_Time, kDefaultJudgeTime);
  if (block.get(field::Extra_Time_Value) < kMinExtraTime) block.set(field::Extra_Time_Value, kDefaultExtraTime);

  SpecialValues v;
  v.leaseTime = std::to_string(block.get(field::DHCP_Lease_Time));
  v.judgeTime = std::to_string(block.get(field::Disconnect_Judge_Time));
  LoadSwitchedText(block, field::TCP_Password, v.tcpPasswordOn, v.tcpPassword);
  for (int i = 0; i < kMessageCount; ++i) LoadSwitchedText(block, kMessageFields[i], v.messageOn[i], v.message[i]);
  return v;
}

SpecialValues SpecialDefaults() {
  SpecialValues v;
  v.leaseTime = std::to_string(kDefaultLeaseTime);
  v.judgeTime = std::to_string(kDefaultJudgeTime);
  // The password's box follows whether the password has text: now it has none.
  v.tcpPasswordOn = false;
  return v;
}

StoreResult StoreSpecial(ConfigBlock& block, const SpecialValues& v, const FieldSet& enabled) {
  std::uint16_t time = 0;
  if (!TimeToStore(v.leaseTime, kDefaultLeaseTime, time))
    return StoreResult::Refuse(PageField::DHCP_Lease_Time, TextId::LeaseTimeInvalid);
  block.set(field::DHCP_Lease_Time, time);
  if (!TimeToStore(v.judgeTime, kDefaultJudgeTime, time))
    return StoreResult::Refuse(PageField::Disconnect_Judge_Time, TextId::JudgeTimeInvalid);
  block.set(field::Disconnect_Judge_Time, time);

  if (enabled.has(PageField::TCP_Password)) StoreSwitchedText(block, field::TCP_Password, v.tcpPasswordOn, v.tcpPassword);
  for (int i = 0; i < kMessageCount; ++i)
    if (enabled.has(kMessagePageFields[i])) StoreSwitchedText(block, kMessageFields[i], v.messageOn[i], v.message[i]);
  return {};
}

}  // namespace lx47::pagerules
