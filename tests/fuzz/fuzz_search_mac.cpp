// Feeds arbitrary text to the stored search-MAC parser: it must never read
// outside the text, and what it accepts must survive the way the search
// command writes it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/search_mac.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Two bytes a UTF-16 unit, as the store hands text over.
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  lx47::MacAddress mac{};
  if (!lx47::ParseSearchMacAdrs(text, mac)) return 0;
  const std::string stored = lx47::FormatSearchMacAdrs(mac);
  if (stored.size() != 12) std::abort();
  lx47::MacAddress again{};
  if (!lx47::ParseSearchMacAdrs(std::u16string(stored.begin(), stored.end()), again) || again != mac) std::abort();
  return 0;
}
