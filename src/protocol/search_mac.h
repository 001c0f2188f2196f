// The MAC address of a search by MAC as the settings keep it ("SearchMacAdrs":
// twelve hexadecimal digits, no separators). Qt-free, so that it can be
// tested and fuzzed on its own.
#pragma once

#include <string>
#include <string_view>

#include "protocol/config_block.h"

namespace lx47 {

// Reads a stored "SearchMacAdrs". White space at both ends is ignored; the
// value counts only when exactly 12 characters remain. Byte i comes from
// characters 2i and 2i+1: the pair, trimmed, read like strtoul with base 16
// (an optional sign, then hexadecimal digits in either case up to the first
// character that is not one; a minus negates modulo 2^32), kept in 8 bits.
// False (and out untouched) when the value does not count.
bool ParseSearchMacAdrs(std::u16string_view text, MacAddress& out);

// "%02X%02X%02X%02X%02X%02X": how the search command stores the address.
std::string FormatSearchMacAdrs(const MacAddress& mac);

}  // namespace lx47
