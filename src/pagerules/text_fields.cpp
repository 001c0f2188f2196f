#include "pagerules/text_fields.h"

#include <algorithm>

#include "platform/codepage.h"

namespace lx47::pagerules {

std::string CleanAndLoadSpaceText(ConfigBlock& block, field::SpaceText f) {
  auto raw = block.raw(f);
  for (std::uint8_t& b : raw)
    if (b < 0x20 || b > 0x7E) b = ' ';
  return platform::AnsiToUtf8(block.get(f));
}

void StoreSpaceText(ConfigBlock& block, field::SpaceText f, std::string_view utf8) {
  std::string ansi = platform::Utf8ToAnsi(utf8);
  ansi.resize(platform::AnsiPrefixLength(ansi, f.width));
  block.set(f, ansi);
}

std::string LoadZeroText(const ConfigBlock& block, field::ZeroText f) { return platform::AnsiToUtf8(block.get(f)); }

void StoreZeroText(ConfigBlock& block, field::ZeroText f, std::string_view utf8) {
  const std::string ansi = platform::Utf8ToAnsi(Trimmed(utf8));
  block.set(f, std::string_view(ansi.data(), platform::AnsiPrefixLength(ansi, f.width)));
}

void ClearZeroText(ConfigBlock& block, field::ZeroText f) {
  auto raw = block.raw(f);
  std::fill(raw.begin(), raw.end(), 0);
}

}  // namespace lx47::pagerules
