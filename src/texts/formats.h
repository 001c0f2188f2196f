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

// The command line's texts (lx47ctl).
std::string CtlUnknownCommandText(std::string_view a);
std::string CtlUnknownOptionText(std::string_view a);
std::string CtlOptionNeedsValueText(std::string_view a);
std::string CtlBadMacText(std::string_view a);
std::string CtlUnknownFieldText(std::string_view a);
std::string CtlFieldTwiceText(std::string_view a);
std::string CtlKeptAsIsText(std::string_view a);
std::string CtlSavedText(std::string_view a);
std::string CtlNotConfigFileText(std::string_view a);
std::string CtlOptionNotForCommandText(std::string_view a, std::string_view b);
std::string CtlValueNotAcceptedText(std::string_view a, std::string_view b);
std::string CtlFieldMessageText(std::string_view a, std::string_view b);
std::string CtlFileUnwritableText(std::string_view a, std::string_view b);
std::string CtlConfigVersionText(std::string_view a, std::string_view b);
std::string CtlConfigOtherDeviceText(std::string_view a, std::string_view b);
std::string CtlConfigMissingText(std::string_view a, std::string_view b);
std::string CtlConfigWrongTypeText(std::string_view a, std::string_view b);
std::string CtlConfigUnknownText(std::string_view a, std::string_view b);
std::string CtlFirmwareVersionChangeText(std::string_view a, std::string_view b);
std::string CtlBadArgumentsText(std::string_view command);  // the command twice
std::string CtlChangeLineText(std::string_view field, std::string_view before, std::string_view after);
std::string CtlFileNotJsonText(std::string_view file, unsigned line, unsigned column);
std::string CtlTooLongText(unsigned characters);
std::string CtlSummaryText(unsigned devices, unsigned succeeded);
std::string CtlProgressText(unsigned percent, unsigned sent, unsigned total);

// A page's refusal (TextId 500 to 599) with the page's title in its "[%s]";
// the refusals that name no page come back as they are.
std::string RefusalText(TextId refusal, std::string_view pageTitle);

}  // namespace lx47::texts
