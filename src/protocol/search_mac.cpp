#include "protocol/search_mac.h"

#include "protocol/mac_text.h"

namespace lx47 {

namespace {

bool isSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

std::u16string_view trim(std::u16string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

bool ParseSearchMacAdrs(std::u16string_view text, MacAddress& out) {
  text = trim(text);
  if (text.size() != 12) return false;
  MacAddress mac{};
  for (std::size_t i = 0; i < 6; ++i) {
    std::u16string_view pair = trim(text.substr(2 * i, 2));
    // Read as the C library's unsigned conversion reads it, which is how
    // the value has always been read: a sign may come first, and a minus
    // negates the number modulo 2^32 ("-1" is 0xFF once kept in 8 bits).
    bool negative = false;
    if (!pair.empty() && (pair.front() == u'+' || pair.front() == u'-')) {
      negative = pair.front() == u'-';
      pair.remove_prefix(1);
    }
    std::uint32_t v = 0;
    for (char16_t c : pair) {
      const int d = hexDigit(c);
      if (d < 0) break;
      v = v * 16 + static_cast<std::uint32_t>(d);
    }
    if (negative) v = 0u - v;
    mac[i] = static_cast<std::uint8_t>(v & 0xFF);
  }
  out = mac;
  return true;
}

std::string FormatSearchMacAdrs(const MacAddress& m) { return MacText(m, ""); }

}  // namespace lx47
