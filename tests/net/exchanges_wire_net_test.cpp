// The exchanges after discovery over real sockets, down to the wire: where
// each request went, which fields the device kept, what an unknown MAC gets
// on every adapter, the version after a firmware image, the time zone of the
// clock set. exchanges_net_test.cpp has the plain round trips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/clock.h"
#include "protocol/device_commands.h"
#include "protocol/factory_reset.h"
#include "protocol/firmware.h"
#include "protocol/router_scan.h"
#include "protocol/settings_write.h"
#include "support/net_fixture.h"

namespace lx47::nettest {
namespace {

using Exchanges = NetFixture;

struct WriteCase {
  int useBcCfg;
  const char* dst;  // where the simulator saw the SETS arrive
};

class SettingsWriteNet : public NetFixture, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(SettingsWriteNet, ChangesTheDeviceAndTheEntryHoldsItsAnswer) {
  StartAndDiscover({"--devices", "2"}, 2);
  settings.USE_BC_CFG = GetParam().useBcCfg;
  settings.MaxSendCmdLoopCount = 3;  // device, device, broadcast without USE_BC_CFG
  DeviceEntry* e = EntryOf(1);
  ASSERT_NE(e, nullptr);
  const std::vector<std::uint8_t> otherBefore = sim.block(0);

  ConfigBlock b = e->block();
  b.set(field::Local_Port, 8080);
  b.set(field::Server_Domain_Name, "host.example");
  b.set(field::DHCP_Lease_Time, 720);
  // Fields the device keeps whatever arrives: its answer, not this copy,
  // must end up in the entry.
  b.set(field::Firmware_Version_Revision, 99);
  ASSERT_EQ(WriteSettings(*e, settings, x()), PR_OK);

  std::vector<std::uint8_t> now = sim.block(1);
  ASSERT_EQ(now.size(), kConfigBlockSize);
  const ConfigBlock dev{std::span<std::uint8_t>(now)};
  EXPECT_EQ(dev.get(field::Local_Port), 8080);
  EXPECT_EQ(dev.get(field::Server_Domain_Name).substr(0, 12), "host.example");
  EXPECT_EQ(dev.get(field::DHCP_Lease_Time), 720);
  EXPECT_EQ(dev.get(field::Firmware_Version_Revision), 0);

  ASSERT_EQ(e->Block_Length(), kConfigBlockSize);
  EXPECT_EQ(std::memcmp(e->Block.data(), "SETI", 4), 0);
  EXPECT_TRUE(std::equal(now.begin() + 4, now.end(), e->Block.begin() + 4)) << "entry differs from the device";
  EXPECT_EQ(e->Fw_Revision, 0);
  EXPECT_EQ(IpText(e->Host_IP), "10.47.0.1");
  EXPECT_EQ(sim.block(0), otherBefore) << "the other device must not change";

  const auto sets = sim.logLinesWith({" RECV ", "cmd=SETS", "len=392", "mac=02:47:00:00:00:02"});
  // One send is answered; a loaded machine may miss that answer and send again.
  ASSERT_GE(sets.size(), 1u);
  EXPECT_NE(sets[0].find(std::string("dst=") + GetParam().dst + " "), std::string::npos) << sets[0];
  EXPECT_NE(sim.state(1)["writes"], "0");
}

INSTANTIATE_TEST_SUITE_P(Destinations, SettingsWriteNet,
                         ::testing::Values(WriteCase{1, "any"}, WriteCase{0, "10.47.0.101"}));

struct ResetCase {
  const char* name;
  int lastOctet;  // of the MAC asked for; the simulator has ...:01 and ...:02
  int expected;
};

class FactoryResetNet : public NetFixture, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(FactoryResetNet, ResetsOnlyTheDeviceWithThatMac) {
  StartAndDiscover({"--devices", "2"}, 2);
  // A changed setting that the reset must undo.
  DeviceEntry* e = EntryOf(1);
  ASSERT_NE(e, nullptr);
  e->block().set(field::Local_Port, 8080);
  ASSERT_EQ(WriteSettings(*e, settings, x()), PR_OK);

  FactoryResetRequest request{settings, 0, {0x02, 0x47, 0x00, 0x00, 0x00, std::uint8_t(GetParam().lastOctet)}};
  request.UseBroadcast = 1;
  request.EraseMode = 1;
  request.settings.ALL_HOST_SCAN = 1;  // every adapter in turn, as the tool does
  EXPECT_EQ(FactoryReset(request, x()), GetParam().expected);

  const std::vector<std::uint8_t> now = sim.block(1);
  ASSERT_EQ(now.size(), kConfigBlockSize);
  const int port = (now[24] << 8) | now[25];
  if (GetParam().expected == PR_OK) {
    EXPECT_EQ(port, 10001) << "factory port back";
    EXPECT_NE(sim.state(1)["resets"], "0");
    EXPECT_EQ(sim.state(1)["erase_mode"], "1");
    // The first adapter got the answer: the second was never tried.
    EXPECT_TRUE(sim.logLinesWith({" RECV ", "cmd=REST", "src=10.48.0.1:"}).empty());
  } else {
    EXPECT_EQ(port, 8080);
    EXPECT_EQ(sim.state(0)["resets"], "0");
    EXPECT_EQ(sim.state(1)["resets"], "0");
    // Every send from every adapter arrived and went unanswered.
    EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=REST"}).size(),
              static_cast<std::size_t>(settings.MaxSendCmdLoopCount * (TwoLinks() ? 2 : 1)));
    EXPECT_EQ(sim.logLinesWith({" SEND ", "cmd=REOK"}).size(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Macs, FactoryResetNet,
                         ::testing::Values(ResetCase{"Existing", 2, PR_OK}, ResetCase{"Missing", 9, PR_NO_REPLY}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Exchanges, RouterScanReturnsTheDevicesRouters) {
  StartAndDiscover({"--devices", "1", "--router", "Office, 2nd floor,2A:47:00:00:09:01,11,3,-40", "--router",
                    "0123456789abcdef0123456789abcdef,2A:47:00:00:09:02,1,0,-90"},
                   1);
  DeviceEntry* e = EntryOf(0);
  ASSERT_NE(e, nullptr);
  std::array<RouterScanRecord, kRouterScanCapacity> table{};
  table[2].bytes.fill(0xEE);  // beyond what the device reports: left alone
  std::uint8_t count = 77;
  ASSERT_EQ(ScanRouters(*e, count, table.data(), kRouterScanCapacity, settings, x()), PR_OK);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(table[0].ssid(), "Office, 2nd floor");
  EXPECT_EQ(table[0].channel(), 11);
  EXPECT_EQ(table[0].security(), 3);
  EXPECT_EQ(table[0].rssi(), -40);
  const std::uint8_t bssid0[6] = {0x2A, 0x47, 0x00, 0x00, 0x09, 0x01};
  EXPECT_TRUE(std::equal(bssid0, bssid0 + 6, table[0].bssid().begin()));
  EXPECT_EQ(table[1].ssid(), "0123456789abcdef0123456789abcdef") << "a full 32-byte SSID has no terminator";
  EXPECT_EQ(table[1].rssi(), -90);
  EXPECT_EQ(table[2].bytes[0], 0xEE);
  EXPECT_FALSE(sim.logLinesWith({" SEND ", "cmd=WFSR", "len=96"}).empty());  // 12 + 2 x 42
}

TEST_F(Exchanges, FirmwareImageArrivesWholeAndRaisesTheVersion) {
  StartAndDiscover({"--devices", "2", "--firmware", "1.4.2"}, 2);
  DeviceEntry* e = EntryOf(1);
  ASSERT_NE(e, nullptr);
  // Three whole pieces and a short one, with no byte value repeating in step
  // with the piece size, so a lost or repeated piece shows.
  std::vector<std::uint8_t> image(3 * kFirmwarePiece + 1001);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>((i * 131 + i / 251) & 0xFF);
  ASSERT_EQ(TransferFirmware(*e, image.data(), static_cast<std::int32_t>(image.size()), settings, x()), PR_OK);

  EXPECT_EQ(StateAfter(1, "image_complete", "1"), "1");
  const std::vector<std::uint8_t> got = sim.image(1);
  ASSERT_EQ(got.size(), image.size() + 4);
  const std::uint32_t n = static_cast<std::uint32_t>(image.size());
  EXPECT_EQ(got[0], n >> 24);
  EXPECT_EQ(got[1], (n >> 16) & 0xFF);
  EXPECT_EQ(got[2], (n >> 8) & 0xFF);
  EXPECT_EQ(got[3], n & 0xFF);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), got.begin() + 4)) << "image bytes differ";
  // The announcement named this device and went to its own address.
  EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=FIRM", "mac=02:47:00:00:00:02", "dst=10.47.0.101 "}).size(), 1u);

  ASSERT_EQ(Discover(), 2);
  EXPECT_EQ(FirmwareVersionText(*EntryOf(1)), "1.4.3");
  EXPECT_EQ(FirmwareVersionText(*EntryOf(0)), "1.4.2");
}

// The local time as the exchange reads it, in the simulator's format.
std::string LocalNowText() {
  platform::LocalTime t;
  if (!platform::clock().localTime(t)) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

TEST_F(Exchanges, ClockSetCarriesThePcsLocalTime) {
  StartAndDiscover({"--devices", "1"}, 1);
  DeviceEntry* e = EntryOf(0);
  ASSERT_NE(e, nullptr);
  // A zone nine hours from UTC, so that a UTC time would be caught.
  std::string before, after;
  int r;
  {
    ScopedTimeZone zone("JST-9");
    before = LocalNowText();
    r = SetDeviceClock(*e, settings, x());
    after = LocalNowText();
  }

  ASSERT_EQ(r, PR_OK);
  const std::string got = sim.state(0)["clock"];
  EXPECT_GE(got, before);
  EXPECT_LE(got, after);
  // Year low byte first, then month, day, hour, minute, second.
  const int year = std::stoi(before.substr(0, 4));
  char head[5];
  std::snprintf(head, sizeof head, "%02X%02X", year & 0xFF, year >> 8);
  EXPECT_EQ(sim.state(0)["clock_bytes"].substr(0, 4), head);
  EXPECT_FALSE(sim.logLinesWith({" SEND ", "cmd=TIMR"}).empty());
}

TEST_F(Exchanges, TcpDisconnectIsAnsweredByTheDeviceAsked) {
  StartAndDiscover({"--devices", "2"}, 2);
  DeviceEntry* e = EntryOf(0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(DisconnectTcp(*e, settings, x()), PR_OK);
  EXPECT_NE(sim.state(0)["tdsc"], "0");
  EXPECT_EQ(sim.state(1)["tdsc"], "0");
  EXPECT_FALSE(sim.logLinesWith({" RECV ", "cmd=TDSC", "mac=02:47:00:00:00:01", "len=14"}).empty());

  DeviceEntry gone = *e;
  gone.Device_MAC[5] = 0x33;
  EXPECT_EQ(DisconnectTcp(gone, settings, x()), PR_NO_REPLY);
}

}  // namespace
}  // namespace lx47::nettest
