// A MAC address as the tool writes it: two hexadecimal digits per byte,
// joined by a separator ("00:80:47:0A:0B:0C", or "0080470A0B0C" as the
// search settings keep it).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lx47 {

enum class HexCase { Upper, Lower };

// Any number of bytes: an adapter may report an address of another length.
std::string MacText(std::span<const std::uint8_t> mac, std::string_view separator = ":",
                    HexCase letters = HexCase::Upper);

}  // namespace lx47
