// A real-socket fixture: lx47-sim on the device side and a discovery that
// fills the device table, so that each exchange starts from the entry a
// search made, as it does in the tool.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/net.h"
#include "protocol/discovery.h"
#include "protocol/exchange_context.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "support/sim_process.h"

namespace lx47::nettest {

inline MacAddress SimMac(int i) { return {0x02, 0x47, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(1 + i)}; }

inline bool TwoLinks() {
  const char* links = std::getenv("LX47_LINKS");
  return links && std::string(links) == "2";
}

class NetFixture : public ::testing::Test {
 protected:
  NetFixture() { session.Settings = FastSettings(); }
  void SetUp() override { ASSERT_TRUE(platform::net().startup()); }
  void TearDown() override { sim.stop(); }

  // Discovery from 10.47.0.1 only, into the session; returns the number found.
  int Discover(const char* password = "") {
    SearchRequest request{settings, Ip("10.47.0.1"), PadSearchPassword(password)};
    request.settings.ALL_HOST_SCAN = 0;
    SearchResult found;
    EXPECT_EQ(DiscoverDevices(request, found, x()), PR_OK);
    session.Take(std::move(found));
    return session.DeviceCount;
  }

  // What an exchange runs with here: the real sockets and the session's flag.
  ExchangeContext x(platform::Notifier* notify = nullptr) {
    return ExchangeContext{Io::Current(), session.Abort, notify};
  }

  // The table entry of simulated device i, or nullptr.
  DeviceEntry* EntryOf(int i) {
    for (DeviceEntry& e : session.DeviceTable)
      if (e.hasBlock() && e.Device_MAC == SimMac(i)) return &e;
    return nullptr;
  }

  // Starts the simulator and finds its devices; the entries then stand as a
  // search left them.
  void StartAndDiscover(std::vector<std::string> args, int expected) {
    std::string why;
    ASSERT_TRUE(sim.start(args, &why)) << why;
    ASSERT_EQ(Discover(), expected);
  }

  // The simulator's state file settles a moment after its reply is sent.
  std::string StateAfter(int device, const std::string& key, const std::string& want, int ms = 2000) {
    std::string v;
    for (int waited = 0; waited <= ms; waited += 20) {
      v = sim.state(device)[key];
      if (v == want) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return v;
  }

  // A fresh session for every test.
  Session session;
  ToolSettings& settings = session.Settings;
  SimProcess sim;
};

}  // namespace lx47::nettest
