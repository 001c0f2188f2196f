// Discovery over real sockets against lx47-sim on the other side of the veth
// links.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "hostnet/host_address.h"
#include "platform/net.h"
#include "protocol/discovery.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "support/sim_process.h"

namespace lx47::nettest {
namespace {

MacAddress SimMac(int i) { return {0x02, 0x47, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(1 + i)}; }

class DiscoveryNet : public ::testing::Test {
 protected:
  DiscoveryNet() { settings = FastSettings(); }
  void SetUp() override { ASSERT_TRUE(platform::net().startup()); }

  // A search into the session, as the search command leaves it.
  int Discover(const char* password = "") {
    SearchResult found;
    const SearchRequest request{settings, session.SelectedHostAddress, PadSearchPassword(password)};
    EXPECT_EQ(DiscoverDevices(request, found, ExchangeContext{Io::Current(), session.Abort}), PR_OK);
    session.Take(std::move(found));
    return session.DeviceCount;
  }

  Session session;
  ToolSettings& settings = session.Settings;
  DeviceTableArray& DeviceTable = session.DeviceTable;
  SimProcess sim;
};

TEST_F(DiscoveryNet, FindsEveryDeviceWithItsMacVersionAndHostAddress) {
  ASSERT_TRUE(sim.start({"--devices", "3", "--firmware", "2.5.7"}));
  settings.ALL_HOST_SCAN = 0;
  session.SelectedHostAddress = Ip("10.47.0.1");

  ASSERT_EQ(Discover(), 3);
  std::vector<MacAddress> macs;
  for (int i = 0; i < 3; ++i) {
    const DeviceEntry& e = DeviceTable[static_cast<std::size_t>(i)];
    macs.push_back(e.Device_MAC);
    EXPECT_EQ(e.Entry_Status, kEntryFilled);
    EXPECT_EQ(IpText(e.Host_IP), "10.47.0.1");
    EXPECT_EQ(FirmwareVersionText(e), "2.5.7");
    EXPECT_EQ(e.Block_Length(), kConfigBlockSize);
    EXPECT_EQ(std::memcmp(e.Block.data(), "IAMI", 4), 0);
    // Each device reports its own address, which is not the PC's.
    const int k = e.Device_MAC[5] - 1;
    EXPECT_EQ(IpText(e.Device_IP), "10.47.0." + std::to_string(100 + k));
  }
  std::sort(macs.begin(), macs.end());
  EXPECT_EQ(macs, (std::vector<MacAddress>{SimMac(0), SimMac(1), SimMac(2)}));
  EXPECT_TRUE(DeviceTable[3].Block.empty());
  // Every send of the search was made and answered by all three.
  EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=FOND", "src=10.47.0.1:"}).size(), 2u);
  EXPECT_EQ(sim.logLinesWith({" SEND ", "cmd=IAMI"}).size(), 6u);
}

TEST_F(DiscoveryNet, DeviceReachableThroughTwoLinksIsListedOnce) {
  if (std::getenv("LX47_LINKS") == nullptr || std::string(std::getenv("LX47_LINKS")) != "2")
    GTEST_SKIP() << "the harness made one link only";
  ASSERT_TRUE(sim.start({"--devices", "3", "--extra-ip-base", "10.48.0.100"}));
  settings.ALL_HOST_SCAN = 1;

  // The first usable row of the address table is scanned first and keeps the devices.
  std::vector<hostnet::HostAddressRow> rows;
  ASSERT_GT(hostnet::GetHostAddressTable(hostnet::hostNetSource(), rows), 0);
  std::uint32_t first = 0;
  for (const auto& r : rows)
    if (!first && r.addr != Ip("127.0.0.1")) first = r.addr;
  ASSERT_EQ(IpText(first), "10.47.0.1");

  ASSERT_EQ(Discover(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(IpText(DeviceTable[static_cast<std::size_t>(i)].Host_IP), "10.47.0.1");
  EXPECT_TRUE(DeviceTable[3].Block.empty());
  // The devices did answer through the second link too: those were duplicates.
  EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=FOND", "src=10.48.0.1:"}).size(), 2u);
  EXPECT_EQ(sim.logLinesWith({" SEND ", "cmd=IAMI", "src=10.48.0.10", "dst=10.48.0.1:"}).size(), 6u);
}

TEST_F(DiscoveryNet, DiscoveryFromTheSelectedAddressSendsOnlyFromIt) {
  if (std::getenv("LX47_LINKS") == nullptr || std::string(std::getenv("LX47_LINKS")) != "2")
    GTEST_SKIP() << "the harness made one link only";
  ASSERT_TRUE(sim.start({"--devices", "2", "--extra-ip-base", "10.48.0.100"}));
  settings.ALL_HOST_SCAN = 0;
  session.SelectedHostAddress = Ip("10.48.0.1");

  ASSERT_EQ(Discover(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(IpText(DeviceTable[static_cast<std::size_t>(i)].Host_IP), "10.48.0.1");
  EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=FOND"}).size(), 2u);
  EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=FOND", "src=10.48.0.1:"}).size(), 2u);
}

// Devices that answer by broadcast (to 255.255.255.255, or to their
// subnet's broadcast address) are heard by the socket bound to the host
// address of the link they answer on, and are listed with that address;
// every descriptor the listening took is given back.
TEST_F(DiscoveryNet, DevicesAnsweringByBroadcastAreFound) {
  for (const char* mode : {"broadcast", "subnet"}) {
    SCOPED_TRACE(mode);
    ASSERT_TRUE(sim.start({"--devices", "3", "--reply-to", mode}));
    settings.ALL_HOST_SCAN = 0;
    session.SelectedHostAddress = Ip("10.47.0.1");
    const int handles = OpenHandleCount();
    ASSERT_EQ(Discover(), 3);
    EXPECT_EQ(OpenHandleCount(), handles);
    std::vector<MacAddress> macs;
    for (int i = 0; i < 3; ++i) {
      macs.push_back(DeviceTable[static_cast<std::size_t>(i)].Device_MAC);
      EXPECT_EQ(IpText(DeviceTable[static_cast<std::size_t>(i)].Host_IP), "10.47.0.1");
    }
    std::sort(macs.begin(), macs.end());
    EXPECT_EQ(macs, (std::vector<MacAddress>{SimMac(0), SimMac(1), SimMac(2)}));
    const char* dst = std::string(mode) == "broadcast" ? "dst=255.255.255.255:" : "dst=10.47.0.255:";
    EXPECT_EQ(sim.logLinesWith({" SEND ", "cmd=IAMI", dst}).size(), 6u) << "every answer went by broadcast";
    sim.stop();
  }
}

// One simulator per link, each device with an address on its own link only,
// all answering by broadcast. Each simulator hears the requests of both host
// addresses (they share the device side) and answers them all out of its own
// link, so while one address listens, the other link carries broadcast
// answers to the same port: they count for the address of the link they came
// in through, never for the other one.
TEST_F(DiscoveryNet, BroadcastAnswersCountOnlyForTheLinkTheyCameThrough) {
  if (!std::getenv("LX47_LINKS") || std::string(std::getenv("LX47_LINKS")) != "2")
    GTEST_SKIP() << "the harness made one link only";
  ASSERT_TRUE(sim.start({"--devices", "2", "--reply-to", "broadcast"}));
  SimProcess second;
  std::string why;
  ASSERT_TRUE(second.start({"--devices", "2", "--reply-to", "broadcast", "--ip-base", "10.48.0.100", "--mac-base",
                            "02:47:00:00:01:01", "--firmware-port", "5076"},
                           &why))
      << why;
  settings.ALL_HOST_SCAN = 1;
  ASSERT_EQ(Discover(), 4);
  std::map<std::string, std::string> hostOf;  // MAC -> Host_IP
  for (int i = 0; i < 4; ++i) {
    const DeviceEntry& e = DeviceTable[static_cast<std::size_t>(i)];
    char mac[18];
    std::snprintf(mac, sizeof mac, "%02X:%02X:%02X:%02X:%02X:%02X", e.Device_MAC[0], e.Device_MAC[1], e.Device_MAC[2],
                  e.Device_MAC[3], e.Device_MAC[4], e.Device_MAC[5]);
    hostOf[mac] = IpText(e.Host_IP);
  }
  EXPECT_EQ(hostOf, (std::map<std::string, std::string>{{"02:47:00:00:00:01", "10.47.0.1"},
                                                        {"02:47:00:00:00:02", "10.47.0.1"},
                                                        {"02:47:00:00:01:01", "10.48.0.1"},
                                                        {"02:47:00:00:01:02", "10.48.0.1"}}));
  // The answers that had to be passed over were sent.
  EXPECT_FALSE(sim.logLinesWith({" RECV ", "cmd=FOND", "src=10.48.0.1:"}).empty());
  EXPECT_FALSE(second.logLinesWith({" RECV ", "cmd=FOND", "src=10.47.0.1:"}).empty());
  EXPECT_EQ(second.logLinesWith({" SEND ", "cmd=IAMI", "src=10.48.0.10", "dst=255.255.255.255:"}).size(),
            second.logLinesWith({" RECV ", "cmd=FOND"}).size() * 2);
}

struct PasswordCase {
  const char* device;  // the device's search password
  const char* search;  // what the user typed
  int found;
};

class DiscoveryPassword : public DiscoveryNet, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(DiscoveryPassword, OnlyTheDevicesPasswordFindsIt) {
  const PasswordCase& c = GetParam();
  ASSERT_TRUE(sim.start({"--devices", "2", "--password", c.device}));
  settings.ALL_HOST_SCAN = 0;
  session.SelectedHostAddress = Ip("10.47.0.1");
  EXPECT_EQ(Discover(c.search), c.found);
  // The request did arrive; the devices chose not to answer.
  EXPECT_EQ(sim.logLinesWith({" RECV ", "cmd=FOND"}).size(), 2u);
  if (c.found == 0) {
    EXPECT_EQ(sim.logLinesWith({" SEND "}).size(), 0u);
    EXPECT_TRUE(DeviceTable[0].Block.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DiscoveryPassword,
                         ::testing::Values(PasswordCase{"", "", 2}, PasswordCase{"secret1", "secret1", 2},
                                           PasswordCase{"secret1", "wrong", 0}, PasswordCase{"secret1", "", 0},
                                           PasswordCase{"", "x", 0},
                                           // Eight characters count: the rest is cut on both sides.
                                           PasswordCase{"abcdefghXYZ", "abcdefgh", 2}));

TEST_F(DiscoveryNet, LongReplyWithBytesBeforeTheMarkerIsStoredWholeFromTheMarker) {
  ASSERT_TRUE(sim.start({"--devices", "1", "--prefix", "xx", "--reply-length", "500"}));
  settings.ALL_HOST_SCAN = 0;
  session.SelectedHostAddress = Ip("10.47.0.1");
  ASSERT_EQ(Discover(), 1);
  EXPECT_EQ(DeviceTable[0].Block_Length(), 500u);
  EXPECT_EQ(std::memcmp(DeviceTable[0].Block.data(), "IAMI", 4), 0);
  EXPECT_EQ(DeviceTable[0].Device_MAC, SimMac(0));
}

// A datagram longer than the 2047 bytes a discovery receives is not cut to
// fit: it is dropped whole, and one that just fits is stored.
TEST_F(DiscoveryNet, ReplyLongerThanTheReceiveBufferIsDroppedWhole) {
  struct Case {
    std::size_t prefix;  // bytes before the 2000 from the marker on
    int found;
  };
  for (const Case& c : {Case{47, 1}, Case{48, 0}}) {
    SCOPED_TRACE(2000 + c.prefix);
    ASSERT_TRUE(sim.start({"--devices", "1", "--reply-length", "2000", "--prefix", std::string(c.prefix, 'x')}));
    settings.ALL_HOST_SCAN = 0;
    session.SelectedHostAddress = Ip("10.47.0.1");
    EXPECT_EQ(Discover(), c.found);
    if (c.found) EXPECT_EQ(DeviceTable[0].Block_Length(), 2000u);
    const std::string len = "len=" + std::to_string(2000 + c.prefix);
    EXPECT_EQ(sim.logLinesWith({" SEND ", "cmd=IAMI", len}).size(), 2u) << "both sends were answered";
    sim.stop();
  }
}

TEST_F(DiscoveryNet, RepliesOneByteShortAreNeverStored) {
  ASSERT_TRUE(sim.start({"--devices", "2", "--fault", "short"}));
  settings.ALL_HOST_SCAN = 0;
  session.SelectedHostAddress = Ip("10.47.0.1");
  EXPECT_EQ(Discover(), 0);
  EXPECT_EQ(sim.logLinesWith({" SEND ", "cmd=IAMI", "len=391"}).size(), 4u);
}

}  // namespace
}  // namespace lx47::nettest
