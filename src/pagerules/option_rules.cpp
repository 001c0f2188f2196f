#include "pagerules/option_rules.h"

#include "pagerules/text_fields.h"
#include "protocol/number_parse.h"

namespace lx47::pagerules {

namespace {

// The stored form of a typed password: trailing white space dropped; a
// leading space is refused unless the text is spaces only (then "none").
bool PasswordAcceptable(const std::string& typed, std::string_view& stored) {
  stored = TrimmedRight(typed);
  return stored.empty() || stored.front() != ' ';
}

// A time in seconds: trimmed, anything after the number ignored, 0..65535.
bool ReadSeconds(const std::string& text, std::uint16_t& value) {
  const NumberResult r = ParseNumber(text, number_rules::Lenient(kMaxSeconds));
  if (!r.ok()) return false;
  value = static_cast<std::uint16_t>(r.value);
  return true;
}

}  // namespace

OptionValues LoadOption(ConfigBlock& block) {
  OptionValues v;
  v.disconnectTime = std::to_string(block.get(field::TCP_Disconnect_Time));
  v.keepaliveInterval = std::to_string(block.get(field::TCP_Keepalive_Interval));
  v.searchPassword = std::string(TrimmedRight(CleanAndLoadSpaceText(block, field::Search_Password)));
  v.connectPassword = std::string(TrimmedRight(CleanAndLoadSpaceText(block, field::Connect_Password)));
  v.connectPasswordEnable = block.get(field::Connect_Password_Enable) != 0;
  return v;
}

StoreResult StoreOption(ConfigBlock& block, const OptionValues& v, const FieldSet& enabled) {
  std::string_view password;
  if (enabled.has(PageField::Search_Password)) {
    if (!PasswordAcceptable(v.searchPassword, password))
      return StoreResult::Refuse(PageField::Search_Password, TextId::SearchPasswordLeadingSpace);
    StoreSpaceText(block, field::Search_Password, password);
  }

  if (enabled.has(PageField::Connect_Password_Enable)) {
    if (v.connectPasswordEnable) {
      block.set(field::Connect_Password_Enable, 1);
      if (enabled.has(PageField::Connect_Password)) {
        if (!PasswordAcceptable(v.connectPassword, password))
          return StoreResult::Refuse(PageField::Connect_Password, TextId::ConnectPasswordLeadingSpace);
        StoreSpaceText(block, field::Connect_Password, password);
      }
    } else {
      block.set(field::Connect_Password_Enable, 0);  // the old password bytes stay
    }
  }

  std::uint16_t seconds = 0;
  if (enabled.has(PageField::TCP_Disconnect_Time)) {
    if (!ReadSeconds(v.disconnectTime, seconds))
      return StoreResult::Refuse(PageField::TCP_Disconnect_Time, TextId::DisconnectTimeInvalid);
    block.set(field::TCP_Disconnect_Time, seconds);
  }
  if (enabled.has(PageField::TCP_Keepalive_Interval)) {
    if (!ReadSeconds(v.keepaliveInterval, seconds))
      return StoreResult::Refuse(PageField::TCP_Keepalive_Interval, TextId::KeepaliveIntervalInvalid);
    block.set(field::TCP_Keepalive_Interval, seconds);
  }
  return {};
}

}  // namespace lx47::pagerules
