#include "protocol/mac_text.h"

namespace lx47 {

std::string MacText(std::span<const std::uint8_t> mac, std::string_view separator, HexCase letters) {
  const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < mac.size(); ++i) {
    if (i > 0) text += separator;
    text += digits[mac[i] >> 4];
    text += digits[mac[i] & 0x0F];
  }
  return text;
}

}  // namespace lx47
