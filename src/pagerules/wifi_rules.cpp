#include "pagerules/wifi_rules.h"

#include <algorithm>
#include <compare>

#include "pagerules/text_fields.h"
#include "platform/codepage.h"

namespace lx47::pagerules {

namespace {

// Each byte as the character of the same value (ISO 8859-1), in UTF-8.
std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  for (char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

// A Latin-1 character as a case-blind comparison sees it (Unicode's simple
// case folding of the first 256 code points).
char32_t Folded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char32_t(c) + 0x20;
  if (c == 0xB5) return 0x3BC;
  return c;
}

}  // namespace

std::string RouterListText(const RouterScanRecord& record) { return Latin1ToUtf8(record.ssid()); }

std::vector<int> RouterListOrder(std::span<const RouterScanRecord> records) {
  std::vector<std::string> ssids;
  for (const RouterScanRecord& r : records) ssids.push_back(r.ssid());
  std::vector<int> order(records.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&ssids](int a, int b) {
    const std::string& sa = ssids[static_cast<std::size_t>(a)];
    const std::string& sb = ssids[static_cast<std::size_t>(b)];
    const auto blind = std::lexicographical_compare_three_way(
        sa.begin(), sa.end(), sb.begin(), sb.end(), [](char x, char y) {
          return Folded(static_cast<unsigned char>(x)) <=> Folded(static_cast<unsigned char>(y));
        });
    if (blind != 0) return blind < 0;
    return std::lexicographical_compare(sa.begin(), sa.end(), sb.begin(), sb.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  });
  return order;
}

texts::TextId WifiModeName(std::uint8_t mode) {
  switch (mode) {
    case 0: return texts::TextId::ModeInfrastructure;
    case 1: return texts::TextId::ModeAccessPoint;
    case 2: return texts::TextId::ModeAdHoc;
    case 3: return texts::TextId::ModeProvisioning;
    default: return texts::TextId{};
  }
}

WifiShown LoadWifi(const ConfigBlock& block) {
  WifiShown shown;
  shown.modeName = WifiModeName(block.get(field::Wifi_Mode));
  shown.linkSecurity = SecurityModeName(block.get(field::Wifi_Security));
  shown.linkChannel = block.get(field::Wifi_Channel);

  WifiValues& v = shown.values;
  v.infraSsid = LoadZeroText(block, field::Wifi_Infra_SSID);
  v.infraPassword = LoadZeroText(block, field::Wifi_Infra_Password);
  v.apSsid = LoadZeroText(block, field::Wifi_AP_SSID);
  v.apPassword = LoadZeroText(block, field::Wifi_AP_Password);

  const std::uint8_t code = block.get(field::Wifi_AP_Security);
  v.apSecurity = kUnlistedSecurity;
  for (std::size_t i = 0; i < kApSecurityChoices.size(); ++i)
    if (kApSecurityChoices[i].code == code) v.apSecurity = static_cast<int>(i);
  if (v.apSecurity == kOpenSecurity) v.apPassword.clear();

  const int channel = block.get(field::Wifi_AP_Channel);
  v.apChannel = channel >= 1 && channel <= kChannelCount ? channel - 1 : -1;
  return shown;
}

StoreResult StoreWifi(ConfigBlock& block, const WifiValues& v, const FieldSet& enabled) {
  StoreResult result;
  if (enabled.has(PageField::Wifi_Infra_SSID)) StoreZeroText(block, field::Wifi_Infra_SSID, v.infraSsid);
  if (enabled.has(PageField::Wifi_Infra_Password)) StoreZeroText(block, field::Wifi_Infra_Password, v.infraPassword);
  if (enabled.has(PageField::Wifi_AP_SSID)) StoreZeroText(block, field::Wifi_AP_SSID, v.apSsid);

  const bool securityChosen = v.apSecurity >= 0 && v.apSecurity < static_cast<int>(kApSecurityChoices.size());
  if (enabled.has(PageField::Wifi_AP_Security) && securityChosen) {
    block.set(field::Wifi_AP_Security, kApSecurityChoices[static_cast<std::size_t>(v.apSecurity)].code);
    if (v.apSecurity == kOpenSecurity)
      ClearZeroText(block, field::Wifi_AP_Password);
    else if (Utf16Length(Trimmed(v.apPassword)) < kApPasswordMinLength)
      result = StoreResult::Refuse(PageField::Wifi_AP_Password, TextId::ApPasswordTooShort);
    else
      StoreZeroText(block, field::Wifi_AP_Password, v.apPassword);
  }
  if (enabled.has(PageField::Wifi_AP_Channel) && v.apChannel >= 0 && v.apChannel < kChannelCount)
    block.set(field::Wifi_AP_Channel, static_cast<std::uint8_t>(v.apChannel + 1));
  return result;
}

std::string RouterSsidText(const RouterScanRecord& record) {
  const std::string raw = record.ssid();
  std::string utf8 = platform::AnsiToUtf8(raw);
  if (platform::Utf8ToAnsi(utf8) == raw) return utf8;
  return Latin1ToUtf8(raw);
}

bool ChooseRouter(WifiValues& values, const std::string& ssid) {
  if (ssid == values.infraSsid) return false;
  values.infraSsid = ssid;
  values.infraPassword.clear();
  return true;
}

}  // namespace lx47::pagerules
