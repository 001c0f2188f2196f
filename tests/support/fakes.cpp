#include "fakes.h"

#include <gtest/gtest.h>

#include "platform/net.h"

namespace lx47::test {

std::uint32_t Ip(const char* dotted) {
  std::uint32_t a = 0;
  EXPECT_TRUE(platform::parseIpv4(dotted, a)) << dotted;
  return a;
}

void FakeHostNet::addRow(const char* addr, std::uint16_t type) {
  hostnet::HostAddressRow r;
  r.addr = Ip(addr);
  r.index = static_cast<std::uint32_t>(rows.size() + 1);
  r.type = type;
  rows.push_back(r);
}

}  // namespace lx47::test
