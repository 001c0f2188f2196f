#include "protocol/outcomes.h"

#include "protocol/result_codes.h"
#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47 {

using texts::Text;
using texts::TextId;

namespace {

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out += p;
  return out;
}

}  // namespace

std::string SearchFailureText(int result, std::string_view adapterDescription, std::string_view hostText) {
  std::string text(Text(TextId::NetworkProblem));
  if (result == PR_NO_HOST && !adapterDescription.empty()) {
    if (hostText == "0.0.0.0")
      text += texts::AdapterUnusableText(adapterDescription);
    else
      text += texts::AdapterAddressInvalidText(adapterDescription, hostText);
  }
  return text;
}

std::string WriteFailureText(int result) {
  switch (result) {
    case PR_ABORTED: return std::string(Text(TextId::Aborted));
    case PR_NO_REPLY: return std::string(Text(TextId::NoReply));
    case PR_REFUSED: return Join({Text(TextId::SettingsNotWritten), "\n\n", Text(TextId::DeviceMayBeBusy)});
    default: return Join({Text(TextId::SettingsSendFailed), "\n\n", Text(TextId::SendFailed)});
  }
}

std::string FactoryResetResultText(int result, const MacAddress& mac, bool accessPoint) {
  switch (result) {
    case PR_OK:
      return Join({Text(TextId::FactoryResetDone),
                   Text(accessPoint ? TextId::ReconnectAfterApMode : TextId::SearchAgain)});
    case PR_ABORTED: return Join({Text(TextId::Aborted), "\n\n", Text(TextId::ReconnectIfDropped)});
    case PR_NO_REPLY:
      return Join({Text(TextId::FactoryResetFailed), "\n", Text(TextId::NoReply), "\n\n",
                   texts::CheckMacAddressText(mac), "\n\n", Text(TextId::ReconnectIfDropped)});
    case PR_REFUSED:
      return Join({Text(TextId::FactoryResetFailed), Text(TextId::DeviceMayBeBusy), "\n\n",
                   Text(TextId::ReconnectIfDropped)});
    default:
      return Join({Text(TextId::FactoryResetFailed), "\n", Text(TextId::NetworkProblem), "\n\n",
                   Text(TextId::ReconnectIfDropped)});
  }
}

std::string FactoryResetNoHostText(std::string_view adapterDescription) {
  return Join({Text(TextId::FactoryResetFailed), "\n\n", Text(TextId::NetworkProblem),
               texts::AdapterUnusableText(adapterDescription)});
}

std::string FirmwareFailureText(int result) {
  switch (result) {
    case PR_ABORTED: return std::string(Text(TextId::FirmwareAborted));
    case PR_CONNECT: return Join({Text(TextId::FirmwareUpdateFailed), "\n", Text(TextId::CannotConnect)});
    default: return std::string(Text(TextId::FirmwareUpdateFailed));
  }
}

std::string RouterScanFailureText(int result) {
  switch (result) {
    case PR_ABORTED: return std::string(Text(TextId::Aborted));
    case PR_NO_REPLY: return std::string(Text(TextId::NoReply));
    default: return Join({Text(TextId::SettingsSendFailed), "\n\n", Text(TextId::SendFailed)});
  }
}

}  // namespace lx47
