// The exchanges after discovery over real sockets against lx47-sim: settings
// write, factory reset, router scan, firmware over TCP, clock set and TCP
// disconnect. The same file runs on Linux and, built for Windows, under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "platform/net.h"
#include "protocol/config_block.h"
#include "protocol/device_commands.h"
#include "protocol/device_table.h"
#include "protocol/discovery.h"
#include "protocol/factory_reset.h"
#include "protocol/firmware.h"
#include "protocol/result_codes.h"
#include "protocol/router_scan.h"
#include "protocol/session.h"
#include "protocol/settings_write.h"
#include "support/sim_process.h"

namespace lx47::nettest {
namespace {

MacAddress SimMac(int i) { return {0x02, 0x47, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(1 + i)}; }

class Progress final : public platform::Notifier {
 public:
  void post(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) override {
    std::lock_guard lock(mu_);
    if (message == UWM_PROCESS_PROGRESS) last_ = {wParam, lParam};
  }
  std::pair<std::intptr_t, std::intptr_t> last() {
    std::lock_guard lock(mu_);
    return last_;
  }

 private:
  std::mutex mu_;
  std::pair<std::intptr_t, std::intptr_t> last_{-1, -1};
};

class ExchangeNet : public ::testing::Test {
 protected:
  ExchangeNet() {
    settings = FastSettings();
    settings.ALL_HOST_SCAN = 0;
    session.SelectedHostAddress = Ip("10.47.0.1");
  }
  void SetUp() override { ASSERT_TRUE(platform::net().startup()); }

  ExchangeContext x(platform::Notifier* notify = nullptr) {
    return ExchangeContext{Io::Current(), session.Abort, notify};
  }

  // Starts the simulator with args and finds its one device.
  DeviceEntry& StartAndFind(const std::vector<std::string>& args) {
    std::string why;
    EXPECT_TRUE(sim.start(args, &why)) << why;
    SearchResult found;
    EXPECT_EQ(DiscoverDevices(SearchRequest{settings, session.SelectedHostAddress, PadSearchPassword("")}, found, x()),
              PR_OK);
    EXPECT_EQ(found.FoundCount, 1);
    session.Take(std::move(found));
    return session.DeviceTable[0];
  }

  // The simulator writes some of its state after the exchange has ended on
  // this side (a firmware image once the connection is closed): wait for it,
  // at most 5 s.
  std::map<std::string, std::string> StateWhen(const char* key, const std::string& value) {
    std::map<std::string, std::string> s;
    for (int i = 0; i < 100; ++i) {
      s = sim.state(0);
      if (s[key] == value) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return s;
  }

  Session session;
  ToolSettings& settings = session.Settings;
  SimProcess sim;
};

TEST_F(ExchangeNet, WriteAppliesTheBlockAndStoresTheDevicesAnswer) {
  DeviceEntry& e = StartAndFind({"--devices", "1"});
  ASSERT_EQ(e.Block_Length(), kConfigBlockSize);
  ConfigBlock(std::span<std::uint8_t>(e.Block)).set(field::Wifi_AP_SSID, "written-over-udp");
  ASSERT_EQ(WriteSettings(e, settings, x()), PR_OK);
  EXPECT_GE(std::atoi(sim.state(0)["writes"].c_str()), 1);  // twice if a reply came late
  std::vector<std::uint8_t> onDevice = sim.block(0);
  ASSERT_GE(onDevice.size(), kConfigBlockSize);
  EXPECT_EQ(ConfigBlock(std::span<std::uint8_t>(onDevice)).get(field::Wifi_AP_SSID), "written-over-udp");
  // The entry now holds the device's own answer, which carries the change.
  EXPECT_EQ(std::memcmp(e.Block.data(), "SETI", 4), 0);
  EXPECT_EQ(ConfigBlock(std::span<std::uint8_t>(e.Block)).get(field::Wifi_AP_SSID), "written-over-udp");
}

TEST_F(ExchangeNet, RefusedWriteLeavesTheDeviceAlone) {
  DeviceEntry& e = StartAndFind({"--devices", "1", "--fault", "refuse-write"});
  ConfigBlock(std::span<std::uint8_t>(e.Block)).set(field::Wifi_AP_SSID, "never-applied");
  EXPECT_EQ(WriteSettings(e, settings, x()), PR_REFUSED);
  std::vector<std::uint8_t> onDevice = sim.block(0);
  ASSERT_GE(onDevice.size(), kConfigBlockSize);
  EXPECT_NE(ConfigBlock(std::span<std::uint8_t>(onDevice)).get(field::Wifi_AP_SSID), "never-applied");
}

TEST_F(ExchangeNet, FactoryResetReachesTheDeviceByItsMacOrIsRefused) {
  // A reply that misses its receive window (a slow machine) brings a
  // second send, so an accepted reset counts at least once.
  struct Case { const char* fault; int result; bool reset; };
  for (Case c : {Case{nullptr, PR_OK, true}, Case{"refuse-reset", PR_REFUSED, false}}) {
    std::vector<std::string> args = {"--devices", "1"};
    if (c.fault) args.insert(args.end(), {"--fault", c.fault});
    DeviceEntry& e = StartAndFind(args);
    FactoryResetRequest request{settings, session.SelectedHostAddress, SimMac(0)};
    request.EraseMode = 1;
    request.Device_IP = e.Device_IP;
    EXPECT_EQ(FactoryReset(request, x()), c.result) << (c.fault ? c.fault : "none");
    auto state = sim.state(0);
    EXPECT_EQ(std::atoi(state["resets"].c_str()) >= 1, c.reset) << state["resets"];
    if (c.reset) EXPECT_EQ(state["erase_mode"], "1");
  }
}

TEST_F(ExchangeNet, RouterScanListsTheRoutersTheDeviceHears) {
  // A device answers a scan only after it has listened for a while, by when
  // the tool's receiving socket is bound: the reply waits 2.5 s. Discovery
  // would not wait that long, so the entry is the one a search would leave.
  std::string why;
  ASSERT_TRUE(sim.start({"--delay-ms", "2500", "--router", "office-2g,02:00:00:00:10:01,6,4,-40", "--router",
                         "guest,02:00:00:00:10:02,11,0,-71"},
                        &why))
      << why;
  std::vector<std::uint8_t> reply(kConfigBlockSize, 0);
  std::memcpy(reply.data(), "IAMI", 4);
  const MacAddress mac = SimMac(0);
  std::memcpy(reply.data() + 4, mac.data(), 6);
  DeviceEntry& e = session.DeviceTable[0];
  e.storeReply(reply, Ip("10.47.0.1"));
  std::uint8_t count = 0;
  std::array<RouterScanRecord, kRouterScanCapacity> table{};
  ASSERT_EQ(ScanRouters(e, count, table.data(), kRouterScanCapacity, settings, x()), PR_OK);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(table[0].ssid(), "office-2g");
  EXPECT_EQ(table[0].channel(), 6);
  EXPECT_EQ(table[0].security(), 4);
  EXPECT_EQ(table[0].rssi(), -40);
  EXPECT_EQ(table[1].ssid(), "guest");
  EXPECT_EQ(table[1].bssid()[5], 0x02);
  EXPECT_EQ(table[1].rssi(), -71);
}

TEST_F(ExchangeNet, FirmwareStreamsLengthAndImageOverTcp) {
  DeviceEntry& e = StartAndFind({"--devices", "1", "--firmware", "1.2.3"});
  // Three pieces, the last one short.
  std::vector<std::uint8_t> image(2 * kFirmwarePiece + 1234);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
  Progress progress;
  ASSERT_EQ(TransferFirmware(e, image.data(), static_cast<std::int32_t>(image.size()), settings, x(&progress)), PR_OK);
  const auto total = static_cast<std::intptr_t>(image.size());
  EXPECT_EQ(progress.last(), std::make_pair(total, total));

  auto s = StateWhen("image_complete", "1");
  EXPECT_EQ(s["image_complete"], "1");
  EXPECT_EQ(s["image_received"], std::to_string(image.size()));
  const std::vector<std::uint8_t> got = sim.image(0);
  ASSERT_EQ(got.size(), image.size() + 4);
  const std::uint32_t n = static_cast<std::uint32_t>(image.size());
  EXPECT_EQ(got[0], n >> 24);
  EXPECT_EQ(got[1], (n >> 16) & 0xFF);
  EXPECT_EQ(got[2], (n >> 8) & 0xFF);
  EXPECT_EQ(got[3], n & 0xFF);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), got.begin() + 4));
}

TEST_F(ExchangeNet, ClockSetAndTcpDisconnectAreAnswered) {
  DeviceEntry& e = StartAndFind({"--devices", "1"});
  ASSERT_EQ(SetDeviceClock(e, settings, x()), PR_OK);
  // The device took this PC's local date (not the zero date of an unknown time).
  platform::LocalTime now;
  ASSERT_TRUE(platform::clock().localTime(now));
  const std::string clock = sim.state(0)["clock"];
  EXPECT_EQ(clock.substr(0, 4), std::to_string(now.year)) << clock;
  ASSERT_EQ(DisconnectTcp(e, settings, x()), PR_OK);
  EXPECT_GE(std::atoi(sim.state(0)["tdsc"].c_str()), 1);
}

}  // namespace
}  // namespace lx47::nettest
