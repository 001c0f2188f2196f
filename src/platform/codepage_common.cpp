// The code-page helpers that do not depend on the platform's conversion.
#include "platform/codepage.h"

namespace lx47::platform {

std::size_t Utf8CharLength(const char* p, std::size_t left) {
  unsigned char c = static_cast<unsigned char>(*p);
  std::size_t n = 1;
  if (c >= 0xF0 && c <= 0xF4) n = 4;
  else if (c >= 0xE0 && c <= 0xEF) n = 3;
  else if (c >= 0xC2 && c <= 0xDF) n = 2;
  if (n > left) return 1;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(p[k]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

std::size_t AnsiPrefixLength(std::string_view ansi, std::size_t maxBytes) {
  std::size_t limit = ansi.size() < maxBytes ? ansi.size() : maxBytes;
  std::size_t i = 0;
  while (i < limit) {
    std::size_t n = IsAnsiLeadByte(static_cast<unsigned char>(ansi[i])) ? 2 : 1;
    if (i + n > limit) break;
    i += n;
  }
  return i;
}

}  // namespace lx47::platform
