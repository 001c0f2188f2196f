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
#include "protocol/device_table.h"
#include "protocol/discovery.h"
#include "protocol/result_codes.h"
#include "protocol/settings.h"
#include "support/sim_process.h"

namespace lx47::nettest {

inline MacAddress SimMac(int i) { return {0x02, 0x47, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(1 + i)}; }

inline std::array<std::uint8_t, 8> SearchPassword(const char* text) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%-8.8s", text);
  std::array<std::uint8_t, 8> pw;
  std::memcpy(pw.data(), buf, 8);
  return pw;
}

inline bool TwoLinks() {
  const char* links = std::getenv("LX47_LINKS");
  return links && std::string(links) == "2";
}

class NetFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::net().startup());
    UseFastSettings();
    for (auto& e : DeviceTable) e.clear();
  }
  void TearDown() override {
    sim.stop();
    for (auto& e : DeviceTable) e.clear();
    UseFastSettings();
  }

  // Discovery from 10.47.0.1 only; returns the number found.
  int Discover(const char* password = "") {
    const int savedScan = ALL_HOST_SCAN;
    const std::uint32_t savedHost = SelectedHostAddress;
    ALL_HOST_SCAN = 0;
    SelectedHostAddress = Ip("10.47.0.1");
    ProcessParam p;
    p.Password = SearchPassword(password);
    p.TargetEntry = DeviceTable.data();
    EmptyDeviceTable();
    const int r = DiscoverDevices(&p);
    ALL_HOST_SCAN = savedScan;
    SelectedHostAddress = savedHost;
    EXPECT_EQ(r, PR_OK);
    DeviceCount = p.FoundCount;
    return p.FoundCount;
  }

  // The table entry of simulated device i, or nullptr.
  DeviceEntry* EntryOf(int i) {
    for (DeviceEntry& e : DeviceTable)
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

  SimProcess sim;
};

}  // namespace lx47::nettest
