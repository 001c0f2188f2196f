// The texts that take values, each filled by a function whose parameters are
// the values its text asks for: an argument of the wrong count or type does
// not compile, and a text whose conversions stop matching its function fails
// the build of formats.cpp. All UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "texts/text_ids.h"

namespace lx47::texts {

using MacBytes = std::array<std::uint8_t, 6>;

std::string SelectionNoText(unsigned number);                    // "選択 No. 3"
std::string FactoryResetConfirmText(const MacBytes& mac);        // 140
std::string SwitchLosesEditsText(int editedNo, int chosenNo);    // 144
std::string CheckMacAddressText(const MacBytes& mac);            // 161
std::string AdapterUnusableText(std::string_view adapter);       // "\n\nネットワークアダプタ：［…］は…"
std::string AdapterAddressInvalidText(std::string_view adapter, std::string_view address);
std::string FirmwareMacLineText(std::string_view mac);           // "MACアドレス [00:80:…]"
std::string WindowMenuTipText(std::string_view menu, std::string_view reset, std::string_view tools,
                              std::string_view keys);
std::string NumberRangeText(unsigned low, unsigned high);        // "(5～60)"
std::string HostWithAddressText(std::string_view adapter, std::string_view address);
std::string StoredHostInvalidText(std::string_view adapter, std::string_view address);
std::string ErrorCodeOnlyText(std::uint32_t code);
std::string ByteCountText(std::uint32_t sent, std::uint32_t total);  // "(6/12\n)"
std::string LinkChannelText(unsigned channel);                   // ", チャネル：6"

// A page's refusal (TextId 500 to 599) with the page's title in its "[%s]";
// the refusals that name no page come back as they are.
std::string RefusalText(TextId refusal, std::string_view pageTitle);

}  // namespace lx47::texts
