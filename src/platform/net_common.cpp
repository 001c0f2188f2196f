#include "platform/net.h"

#include <cstdio>
#include <cstring>

namespace lx47::platform {

namespace {
NetApi* g_replacement = nullptr;
}

NetApi& systemNet();  // defined by the platform's own file

NetApi& net() { return g_replacement ? *g_replacement : systemNet(); }

void setNet(NetApi* replacement) { g_replacement = replacement; }

void Socket::close() {
  if (handle_ == kInvalidSocket) return;
  net_->shutdownBoth(handle_);
  net_->close(handle_);
  handle_ = kInvalidSocket;
}

bool parseIpv4(const char* text, std::uint32_t& out) {
  if (!text) return false;
  std::uint32_t octets[4];
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    if (*p < '0' || *p > '9') return false;
    std::uint32_t v = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9') {
      v = v * 10 + static_cast<std::uint32_t>(*p - '0');
      if (++digits > 3 || v > 255) return false;
      ++p;
    }
    octets[i] = v;
    if (i < 3) {
      if (*p != '.') return false;
      ++p;
    }
  }
  if (*p != '\0') return false;
  // Network order: the first octet is the lowest byte in memory.
  std::uint8_t bytes[4] = {static_cast<std::uint8_t>(octets[0]), static_cast<std::uint8_t>(octets[1]),
                           static_cast<std::uint8_t>(octets[2]), static_cast<std::uint8_t>(octets[3])};
  std::uint32_t v;
  static_assert(sizeof v == sizeof bytes);
  std::memcpy(&v, bytes, 4);
  out = v;
  return true;
}

void formatIpv4(std::uint32_t addr, char (&text)[16]) {
  std::uint8_t b[4];
  std::memcpy(b, &addr, 4);
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}

}  // namespace lx47::platform
