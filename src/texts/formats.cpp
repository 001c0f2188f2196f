#include "texts/formats.h"

#include <cstdio>
#include <type_traits>

#include "texts/format_check.h"
#include "texts/string_table.h"
#include "texts/texts.h"

namespace lx47::texts {

namespace {

template <typename T>
constexpr bool Accepts(char letter) {
  if constexpr (std::is_same_v<T, unsigned>) return letter == 'u' || letter == 'X';
  else if constexpr (std::is_same_v<T, int>) return letter == 'd';
  else if constexpr (std::is_same_v<T, const char*>) return letter == 's';
  else return false;
}

template <typename... A>
constexpr bool Agree(const check::Conversions& c) {
  if (c.count != sizeof...(A)) return false;
  std::size_t i = 0;
  return (Accepts<A>(c.letters[i++]) && ...);
}

template <>
constexpr bool Agree<>(const check::Conversions& c) {
  return c.count == 0;
}

// snprintf on the table's text, once the compiler has seen that the text's
// conversions take exactly these arguments.
template <TextId id, typename... A>
std::string Fill(A... args) {
  static_assert(Agree<A...>(check::ConversionsOf(table::Lookup(id))),
                "the text's conversions and the arguments disagree");
  const char* format = table::Lookup(id).data();
  const int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  std::snprintf(out.data(), out.size() + 1, format, args...);
  return out;
}

template <TextId id>
std::string FillMac(const MacBytes& m) {
  return Fill<id>(unsigned{m[0]}, unsigned{m[1]}, unsigned{m[2]}, unsigned{m[3]}, unsigned{m[4]}, unsigned{m[5]});
}

constexpr bool IsRefusal(TextId id) {
  return static_cast<int>(id) >= 500 && static_cast<int>(id) < 600;
}

// Every text that asks for values is filled by one of the functions below;
// RefusalText relies on its texts taking the title or nothing.
constexpr TextId kFormats[] = {
    TextId::SelectionNo,     TextId::FactoryResetConfirm,   TextId::SwitchLosesEdits, TextId::CheckMacAddress,
    TextId::AdapterUnusable, TextId::AdapterAddressInvalid, TextId::FirmwareMacLine,  TextId::WindowMenuTip,
    TextId::NumberRange,     TextId::HostWithAddress,       TextId::StoredHostInvalid, TextId::ErrorCodeOnly,
    TextId::ByteCount,       TextId::LinkChannel,
    TextId::CtlUnknownCommand,
    TextId::CtlUnknownOption,
    TextId::CtlOptionNeedsValue,
    TextId::CtlBadMac,
    TextId::CtlUnknownField,
    TextId::CtlFieldTwice,
    TextId::CtlKeptAsIs,
    TextId::CtlSaved,
    TextId::CtlNotConfigFile,
    TextId::CtlOptionNotForCommand,
    TextId::CtlValueNotAccepted,
    TextId::CtlFieldMessage,
    TextId::CtlFileUnwritable,
    TextId::CtlConfigVersion,
    TextId::CtlConfigOtherDevice,
    TextId::CtlConfigMissing,
    TextId::CtlConfigWrongType,
    TextId::CtlConfigUnknown,
    TextId::CtlFirmwareVersionChange,
    TextId::CtlBadArguments,
    TextId::CtlChangeLine,
    TextId::CtlFileNotJson,
    TextId::CtlTooLong,
    TextId::CtlSummary,
    TextId::CtlProgress,
};

constexpr bool FormatsAccountedFor() {
  for (const table::Entry& e : table::kTable) {
    const check::Conversions c = check::ConversionsOf(e.text);
    bool listed = false;
    for (TextId f : kFormats) listed = listed || f == e.id;
    if (IsRefusal(e.id) ? !(c == "" || c == "s") : (c.count != 0) != listed) return false;
  }
  return true;
}
static_assert(FormatsAccountedFor(), "a text asks for values that no typed function gives it");

std::string Owned(std::string_view s) { return std::string(s); }

}  // namespace

std::string SelectionNoText(unsigned number) { return Fill<TextId::SelectionNo>(number); }

std::string FactoryResetConfirmText(const MacBytes& mac) { return FillMac<TextId::FactoryResetConfirm>(mac); }

std::string SwitchLosesEditsText(int editedNo, int chosenNo) {
  return Fill<TextId::SwitchLosesEdits>(editedNo, chosenNo, editedNo);
}

std::string CheckMacAddressText(const MacBytes& mac) { return FillMac<TextId::CheckMacAddress>(mac); }

std::string AdapterUnusableText(std::string_view adapter) {
  return Fill<TextId::AdapterUnusable>(Owned(adapter).c_str());
}

std::string AdapterAddressInvalidText(std::string_view adapter, std::string_view address) {
  return Fill<TextId::AdapterAddressInvalid>(Owned(adapter).c_str(), Owned(address).c_str());
}

std::string FirmwareMacLineText(std::string_view mac) { return Fill<TextId::FirmwareMacLine>(Owned(mac).c_str()); }

std::string WindowMenuTipText(std::string_view menu, std::string_view reset, std::string_view tools,
                              std::string_view keys) {
  return Fill<TextId::WindowMenuTip>(Owned(menu).c_str(), Owned(reset).c_str(), Owned(tools).c_str(),
                                     Owned(keys).c_str());
}

std::string NumberRangeText(unsigned low, unsigned high) { return Fill<TextId::NumberRange>(low, high); }

std::string HostWithAddressText(std::string_view adapter, std::string_view address) {
  return Fill<TextId::HostWithAddress>(Owned(adapter).c_str(), Owned(address).c_str());
}

std::string StoredHostInvalidText(std::string_view adapter, std::string_view address) {
  return Fill<TextId::StoredHostInvalid>(Owned(adapter).c_str(), Owned(address).c_str());
}

std::string ErrorCodeOnlyText(std::uint32_t code) { return Fill<TextId::ErrorCodeOnly>(unsigned{code}); }

std::string ByteCountText(std::uint32_t sent, std::uint32_t total) {
  return Fill<TextId::ByteCount>(unsigned{sent}, unsigned{total});
}

std::string LinkChannelText(unsigned channel) { return Fill<TextId::LinkChannel>(channel); }

std::string CtlUnknownCommandText(std::string_view a) { return Fill<TextId::CtlUnknownCommand>(Owned(a).c_str()); }
std::string CtlUnknownOptionText(std::string_view a) { return Fill<TextId::CtlUnknownOption>(Owned(a).c_str()); }
std::string CtlOptionNeedsValueText(std::string_view a) { return Fill<TextId::CtlOptionNeedsValue>(Owned(a).c_str()); }
std::string CtlBadMacText(std::string_view a) { return Fill<TextId::CtlBadMac>(Owned(a).c_str()); }
std::string CtlUnknownFieldText(std::string_view a) { return Fill<TextId::CtlUnknownField>(Owned(a).c_str()); }
std::string CtlFieldTwiceText(std::string_view a) { return Fill<TextId::CtlFieldTwice>(Owned(a).c_str()); }
std::string CtlKeptAsIsText(std::string_view a) { return Fill<TextId::CtlKeptAsIs>(Owned(a).c_str()); }
std::string CtlSavedText(std::string_view a) { return Fill<TextId::CtlSaved>(Owned(a).c_str()); }
std::string CtlNotConfigFileText(std::string_view a) { return Fill<TextId::CtlNotConfigFile>(Owned(a).c_str()); }
std::string CtlOptionNotForCommandText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlOptionNotForCommand>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlValueNotAcceptedText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlValueNotAccepted>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlFieldMessageText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlFieldMessage>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlFileUnwritableText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlFileUnwritable>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlConfigVersionText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlConfigVersion>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlConfigOtherDeviceText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlConfigOtherDevice>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlConfigMissingText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlConfigMissing>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlConfigWrongTypeText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlConfigWrongType>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlConfigUnknownText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlConfigUnknown>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlFirmwareVersionChangeText(std::string_view a, std::string_view b) {
  return Fill<TextId::CtlFirmwareVersionChange>(Owned(a).c_str(), Owned(b).c_str());
}
std::string CtlBadArgumentsText(std::string_view command) {
  return Fill<TextId::CtlBadArguments>(Owned(command).c_str(), Owned(command).c_str());
}
std::string CtlChangeLineText(std::string_view field, std::string_view before, std::string_view after) {
  return Fill<TextId::CtlChangeLine>(Owned(field).c_str(), Owned(before).c_str(), Owned(after).c_str());
}
std::string CtlFileNotJsonText(std::string_view file, unsigned line, unsigned column) {
  return Fill<TextId::CtlFileNotJson>(Owned(file).c_str(), line, column);
}
std::string CtlTooLongText(unsigned characters) { return Fill<TextId::CtlTooLong>(characters); }
std::string CtlSummaryText(unsigned devices, unsigned succeeded) {
  return Fill<TextId::CtlSummary>(devices, succeeded);
}
std::string CtlProgressText(unsigned percent, unsigned sent, unsigned total) {
  return Fill<TextId::CtlProgress>(percent, sent, total);
}

std::string RefusalText(TextId refusal, std::string_view pageTitle) {
  const std::string_view text = Text(refusal);
  if (!IsRefusal(refusal) || check::ConversionsOf(text) == "") return std::string(text);
  // Checked above for every refusal: "%s" is its only conversion.
  const std::string title(pageTitle);
  const int n = std::snprintf(nullptr, 0, text.data(), title.c_str());
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  std::snprintf(out.data(), out.size() + 1, text.data(), title.c_str());
  return out;
}

}  // namespace lx47::texts
