// Builders for device replies in unit tests.
#pragma once

#include <cstdint>
#include <string>

#include "fake_net.h"
#include "protocol/config_block.h"

namespace lx47::test {

inline MacAddress Mac(std::uint8_t last) { return {0x00, 0x80, 0x47, 0x00, 0x00, last}; }

// A reply of `length` bytes from the marker on: marker, MAC, a device
// address 10.47.0.(100+last), firmware 1.2.3, every other byte a pattern
// that shows where it came from.
inline Bytes DeviceReply(const char* marker, const MacAddress& mac, std::size_t length = kConfigBlockSize) {
  Bytes b(length);
  for (std::size_t i = 0; i < length; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 1);
  std::copy(marker, marker + 4, b.begin());
  std::copy(mac.begin(), mac.end(), b.begin() + 4);
  if (length >= 49) {
    b[12] = 10; b[13] = 47; b[14] = 0; b[15] = static_cast<std::uint8_t>(100 + mac[5]);
    b[47] = 1; b[48] = 2; b[46] = 3;
  }
  return b;
}

}  // namespace lx47::test
