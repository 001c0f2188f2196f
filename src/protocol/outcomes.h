// What the user is told about the outcome of each command, by its result
// code: the texts of the string table put together as the commands show
// them, in UTF-8, so that the window and the command line say the same.
#pragma once

#include <string>
#include <string_view>

#include "protocol/config_block.h"

namespace lx47 {

// A search that failed: the network message, and for PR_NO_HOST with an
// adapter description stored, the adapter line (its "0.0.0.0" form when the
// host text is "0.0.0.0").
std::string SearchFailureText(int result, std::string_view adapterDescription, std::string_view hostText);

// A settings write that did not succeed.
std::string WriteFailureText(int result);

// A factory reset's outcome; accessPoint: the shown device was in
// access-point mode (its Wi-Fi link to the PC may drop).
std::string FactoryResetResultText(int result, const MacAddress& mac, bool accessPoint);
// A factory reset that could not start: the chosen adapter has no address.
std::string FactoryResetNoHostText(std::string_view adapterDescription);

// A firmware transfer that did not succeed.
std::string FirmwareFailureText(int result);

// A router scan that did not succeed.
std::string RouterScanFailureText(int result);

}  // namespace lx47
