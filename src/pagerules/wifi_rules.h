// The Wi-Fi page's rules: the device's current Wi-Fi state, the router it
// joins in infrastructure mode and the network it offers in access-point
// mode.
#pragma once

#include <array>
#include <span>
#include <vector>
#include <cstdint>
#include <string>
#include <string_view>

#include "pagerules/page_fields.h"
#include "protocol/config_block.h"
#include "protocol/router_scan.h"

namespace lx47::pagerules {

// The access-point security list: each item's text and Wifi_AP_Security code.
struct SecurityChoice {
  const char* text;
  std::uint8_t code;
};
inline constexpr std::array<SecurityChoice, 6> kApSecurityChoices = {
    {{"open", 0}, {"WPA", 2}, {"WPA2", 3}, {"WPA/WPA2", 4}, {"WPA3", 6}, {"WPA2/WPA3", 7}}};
inline constexpr int kOpenSecurity = 0;      // the item without a password
inline constexpr int kUnlistedSecurity = 3;  // "WPA/WPA2", shown for 1, 5 and above 7

// The access-point channel list: channels 1..13 at positions 0..12.
inline constexpr int kChannelCount = 13;
inline constexpr int kDefaultChannelPosition = 10;  // channel 11, before any load

// What the edits take, in characters; the fields may hold more bytes.
inline constexpr int kInfraSsidMaxLength = 32;
inline constexpr int kInfraPasswordMaxLength = 64;
inline constexpr int kApSsidMaxLength = 31;
inline constexpr int kApPasswordMaxLength = 63;
inline constexpr std::size_t kApPasswordMinLength = 8;

// What the page's controls hold.
struct WifiValues {
  std::string infraSsid;
  std::string infraPassword;
  std::string apSsid;
  std::string apPassword;
  int apSecurity = kOpenSecurity;         // position in kApSecurityChoices; -1 none
  int apChannel = kDefaultChannelPosition;  // channel - 1; -1 none
};

struct WifiShown {
  WifiValues values;
  // The status lines: the text of the current mode's name (TextId{}, no
  // text, for a mode without one), the link's security mode name and channel.
  texts::TextId modeName{};
  std::string linkSecurity;
  unsigned linkChannel = 0;
};

// Fills the values from the block; the block is not changed. "open" shows
// no password; a channel outside 1..13 selects nothing, so that storing
// keeps the block's value instead of writing a list error value.
WifiShown LoadWifi(const ConfigBlock& block);

// The text of a Wifi_Mode's name; TextId{} (no text) when the mode has none.
texts::TextId WifiModeName(std::uint8_t mode);

// Stores in the page's order: the infrastructure SSID and password, the
// access-point SSID, the security mode with its password, the channel. An
// access-point password shorter than 8 characters (after trimming, counted
// as the edit counts them) is refused, yet the channel after it is stored
// all the same.
StoreResult StoreWifi(ConfigBlock& block, const WifiValues& values, const FieldSet& enabled);

// The SSID text the page takes from a chosen router record. Widened byte by
// byte, an SSID with bytes above 0x7F could never be stored back as the
// same bytes: the code page has no form for those characters. When the
// bytes read as code-page text and encode back to themselves, that text is
// what the device must get again; otherwise each byte becomes the character
// of the same value, as the router list shows it.
std::string RouterSsidText(const RouterScanRecord& record);

// The router list's text of a record: each SSID byte widened to the
// character of the same value.
std::string RouterListText(const RouterScanRecord& record);

// The first count records in the router list's order: alphabetical without
// regard to case, as a sorted list box orders its lines, texts that differ
// only in case in code order, equal ones in table order.
std::vector<int> RouterListOrder(std::span<const RouterScanRecord> records);

// Takes a chosen router's SSID into the values: the same SSID keeps the
// password typed for that router; another SSID empties it, as the router's
// password must be typed again. Returns whether the values changed.
bool ChooseRouter(WifiValues& values, const std::string& ssid);

}  // namespace lx47::pagerules
