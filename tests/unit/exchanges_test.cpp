// Settings write, factory reset, router scan, clock set and TCP disconnect:
// each exchange's own parameters of the shared cycle.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "protocol/device_commands.h"
#include "protocol/discovery.h"
#include "protocol/factory_reset.h"
#include "protocol/firmware.h"
#include "protocol/job.h"
#include "protocol/result_codes.h"
#include "protocol/router_scan.h"
#include "protocol/settings_write.h"
#include "protocol_fixture.h"

namespace lx47 {
namespace {

using test::Bytes;
using test::Datagram;
using test::Ip;
using test::Mac;

class Exchange : public test::ProtocolTest {
 protected:
  Exchange() {
    entry.storeReply(test::DeviceReply("IAMI", Mac(1)), Ip("10.47.0.1"));
    host.addRow("10.47.0.1");
  }
  std::vector<std::uint32_t> destinations() const {
    std::vector<std::uint32_t> d;
    for (const Datagram& s : net.sent()) d.push_back(s.to.addr);
    return d;
  }
  // Replies to every request with the given datagrams.
  void answerWith(std::vector<Bytes> replies) {
    net.onSend = [this, replies](const Datagram& d) {
      for (const Bytes& r : replies) net.replyTo(d, r);
    };
  }

  DeviceEntry entry;
  const std::uint32_t bc = platform::kBroadcastAddr;
};

TEST_F(Exchange, WriteSendsTheBlockAsSetsToTheseDestinations) {
  settings.USE_BC_CFG = 0;
  settings.MaxRecvLoopCount = 2;
  settings.MaxSendCmdLoopCount = 1;
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_NO_REPLY);
  EXPECT_EQ(destinations(), (std::vector<std::uint32_t>{entry.Device_IP}));
  Bytes expected(entry.Block.begin(), entry.Block.begin() + 392);
  std::memcpy(expected.data(), "SETS", 4);
  EXPECT_EQ(net.sent()[0].bytes, expected);
  EXPECT_EQ(net.sent()[0].from.addr, Ip("10.47.0.1"));

  const std::size_t before = net.sent().size();
  settings.MaxSendCmdLoopCount = 3;
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_NO_REPLY);
  const std::vector<std::uint32_t> all = destinations();
  EXPECT_EQ(std::vector<std::uint32_t>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
            (std::vector<std::uint32_t>{entry.Device_IP, entry.Device_IP, bc}));

  settings.USE_BC_CFG = 1;
  settings.MaxSendCmdLoopCount = 2;
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_NO_REPLY);
  const std::vector<std::uint32_t> last = destinations();
  EXPECT_EQ(last[last.size() - 1], bc);
  EXPECT_EQ(last[last.size() - 2], bc);
}

TEST_F(Exchange, WriteStoresTheDevicesOwnAnswer) {
  Bytes other = test::DeviceReply("SETI", Mac(2));
  Bytes mine = test::DeviceReply("SETI", Mac(1), 500);
  mine[32] = 9;  // the device changed a value
  answerWith({other, Bytes{'j', 'u', 'n', 'k'}, mine});
  settings.MaxRecvLoopCount = 2;  // the foreign datagram and the junk use none of the two attempts
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_OK);
  EXPECT_EQ(entry.Block_Length(), 500u);
  EXPECT_EQ(entry.Block, mine);
  EXPECT_EQ(entry.Block[32], 9);
  EXPECT_EQ(net.sent().size(), 1u);
}

TEST_F(Exchange, WriteRefusalIsFinalAndKeepsTheEditedBlock) {
  const Bytes sentBlock = entry.Block;
  answerWith({test::DeviceReply("SETn", Mac(1))});
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_REFUSED);
  EXPECT_EQ(entry.Block, sentBlock);
  EXPECT_EQ(net.sent().size(), 1u);
}

TEST_F(Exchange, WriteAbortAndNoReply) {
  settings.MaxRecvLoopCount = 3;
  settings.MaxSendCmdLoopCount = 2;
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_NO_REPLY);
  EXPECT_EQ(net.sent().size(), 2u);
  net.beforeRecv = [this](int) { session.Abort.RequestAbort(); };
  EXPECT_EQ(WriteSettings(entry, settings, x()), PR_ABORTED);
}

class Reset : public Exchange {
 protected:
  Reset() {
    request.MacAddress = Mac(1);
    request.EraseMode = 0xA7;
    request.Device_IP = entry.Device_IP;
  }
  int reset() {
    request.settings = settings;
    return FactoryReset(request, x());
  }
  FactoryResetRequest request;
};

TEST_F(Reset, RequestCarriesMacAndEraseModeToTheChosenDestination) {
  struct Case { int useBc; int bcCfg; bool broadcast; };
  for (Case c : {Case{0, 0, false}, Case{1, 0, true}, Case{0, 1, true}}) {
    request.UseBroadcast = c.useBc;
    settings.USE_BC_CFG = c.bcCfg;
    const std::size_t before = net.sent().size();
    answerWith({test::DeviceReply("REOK", Mac(1), 11)});
    EXPECT_EQ(reset(), PR_OK);
    ASSERT_EQ(net.sent().size(), before + 1);
    const Datagram& d = net.sent().back();
    EXPECT_EQ(d.to.addr, c.broadcast ? bc : entry.Device_IP);
    EXPECT_EQ(d.bytes, (Bytes{'R', 'E', 'S', 'T', 0x00, 0x80, 0x47, 0x00, 0x00, 0x01, 0xA7}));
  }
}

TEST_F(Reset, WalksEveryUsableAddressAndReportsTheLast) {
  host.addRow("127.0.0.1");
  host.addRow("10.48.0.1");
  host.addRow("10.49.0.1", hostnet::kAddrDeleted);
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 2;
  EXPECT_EQ(reset(), PR_NO_REPLY);
  std::vector<std::uint32_t> from;
  for (const Datagram& d : net.sent()) from.push_back(d.from.addr);
  EXPECT_EQ(from, (std::vector<std::uint32_t>{Ip("10.47.0.1"), Ip("10.48.0.1")}));

  // A socket failure on the first address is not final.
  net.failCall(test::Call::Bind);
  answerWith({test::DeviceReply("REOK", Mac(1))});
  EXPECT_EQ(reset(), PR_OK);
}

TEST_F(Reset, RefusalThroughOneAdapterIsNotLostToALaterSilence) {
  host.addRow("10.48.0.1");
  settings.MaxSendCmdLoopCount = 1;
  net.onSend = [this](const Datagram& d) {
    if (d.from.addr == Ip("10.47.0.1")) net.replyTo(d, test::DeviceReply("REng", Mac(1), 11));
  };
  EXPECT_EQ(reset(), PR_REFUSED);
}

TEST_F(Reset, AbortBetweenAddressesAndNoUsableAddress) {
  host.addRow("10.48.0.1");
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 1;
  net.onSend = [this](const Datagram&) { session.Abort.RequestAbort(); };  // lands after the first address's attempts
  net.beforeRecv = nullptr;
  // The cycle polls before each attempt too, so the abort shows there first.
  EXPECT_EQ(reset(), PR_ABORTED);
  EXPECT_EQ(net.sent().size(), 1u);

  session.Abort.ClearAbort();
  host.rows.clear();
  host.addRow("10.47.0.1", hostnet::kAddrDisconnected);
  EXPECT_EQ(reset(), PR_NO_HOST_ADDRESS);
  host.tableReadable = false;
  EXPECT_EQ(reset(), PR_NO_HOST_ADDRESS);
  EXPECT_EQ(net.sent().size(), 1u);
}

TEST_F(Reset, SelectedAddressIsUsedWithoutLookingItUp) {
  settings.ALL_HOST_SCAN = 0;
  request.SelectedHostAddress = Ip("10.99.0.1");
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 1;
  EXPECT_EQ(reset(), PR_NO_REPLY);
  ASSERT_EQ(net.sent().size(), 1u);
  EXPECT_EQ(net.sent()[0].from.addr, Ip("10.99.0.1"));
}

Bytes RouterReply(const MacAddress& mac, std::uint8_t claimed, std::size_t records) {
  Bytes r{'W', 'F', 'S', 'R'};
  r.insert(r.end(), mac.begin(), mac.end());
  r.push_back(0);
  r.push_back(claimed);
  for (std::size_t i = 0; i < records; ++i) {
    Bytes rec(42, 0);
    rec[1] = static_cast<std::uint8_t>(i + 1);
    std::memcpy(&rec[2], "net", 3);
    rec[2 + 3] = static_cast<std::uint8_t>('0' + i % 10);
    rec[41] = 0xC4;  // -60
    r.insert(r.end(), rec.begin(), rec.end());
  }
  return r;
}

class RouterScan : public Exchange {
 protected:
  RouterScan() {
    for (auto& r : table) r.bytes.fill(0xEE);
  }
  std::array<RouterScanRecord, 50> table;
  std::uint8_t count = 0;
};

TEST_F(RouterScan, ExtraWaitsPerSendAndNoReply) {
  settings.MaxSendCmdLoopCount = 2;
  settings.MaxRecvLoopCount = 3;
  EXPECT_EQ(ScanRouters(entry, count, table.data(), 50, settings, x()), PR_NO_REPLY);
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{1750, 1750, 20, 20, 100, 1750, 1750, 20, 20, 100}));
  EXPECT_EQ(count, 0);
  Bytes req{'W', 'F', 'S', 'C', 0x00, 0x80, 0x47, 0x00, 0x00, 0x01};
  EXPECT_EQ(net.sent()[0].bytes, req);
  EXPECT_EQ(net.sent()[0].to.addr, bc);
}

TEST_F(RouterScan, StoresTheAnnouncedRecordsOnly) {
  answerWith({RouterReply(Mac(1), 3, 3)});
  EXPECT_EQ(ScanRouters(entry, count, table.data(), 50, settings, x()), PR_OK);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(table[2].channel(), 3);
  EXPECT_EQ(table[2].ssid(), "net2");
  EXPECT_EQ(table[2].rssi(), -60);
  EXPECT_EQ(table[3].bytes[0], 0xEE);  // slot 4 keeps its old contents
}

TEST_F(RouterScan, ShortAndEmptyReplies) {
  Bytes eleven = RouterReply(Mac(1), 0, 0);
  eleven.pop_back();
  settings.MaxRecvLoopCount = 3;
  answerWith({eleven, RouterReply(Mac(2), 1, 1), RouterReply(Mac(1), 0, 0)});
  count = 7;
  EXPECT_EQ(ScanRouters(entry, count, table.data(), 50, settings, x()), PR_OK);
  EXPECT_EQ(count, 0);
}

// The count byte is the device's claim: only whole records received and
// fitting the table are stored, and the count says how many.
TEST_F(RouterScan, CountNeverExceedsTheRecordsStored) {
  struct Case { std::uint8_t claimed; std::size_t carried; int expected; };
  for (Case c : {Case{5, 2, 2}, Case{255, 60, 50}, Case{60, 97, 50}}) {
    answerWith({RouterReply(Mac(1), c.claimed, c.carried)});
    count = 0;
    EXPECT_EQ(ScanRouters(entry, count, table.data(), 50, settings, x()), PR_OK);
    EXPECT_EQ(count, c.expected) << int(c.claimed) << "/" << c.carried;
  }
}

TEST(RouterRecord, SecurityNamesAndFullSsid) {
  EXPECT_EQ(SecurityModeName(0), "open");
  EXPECT_EQ(SecurityModeName(4), "WPA/WPA2");
  EXPECT_EQ(SecurityModeName(7), "WPA2/WPA3");
  EXPECT_EQ(SecurityModeName(5), "unknown (5)");
  RouterScanRecord r;
  std::memset(r.bytes.data() + 2, 'S', 32);
  r.bytes[34] = 0x41;  // BSSID right after: not part of the SSID
  EXPECT_EQ(r.ssid(), std::string(32, 'S'));
}

TEST_F(Exchange, ClockRequestBytes) {
  platform::LocalTime t{2025, 12, 31, 23, 59, 59};
  Bytes req = ClockRequest(Mac(1), &t);
  ASSERT_EQ(req.size(), 21u);
  EXPECT_EQ(Bytes(req.begin() + 10, req.begin() + 17), (Bytes{0xE9, 0x07, 0x0C, 0x1F, 0x17, 0x3B, 0x3B}));
  EXPECT_EQ(Bytes(req.begin() + 17, req.end()), (Bytes{0, 0, 0, 0}));
  Bytes unknown = ClockRequest(Mac(1), nullptr);
  EXPECT_EQ(Bytes(unknown.begin() + 10, unknown.begin() + 17), (Bytes{0, 0, 0, 0, 255, 255, 255}));
}

TEST_F(Exchange, ClockSetTakesTheTimeAndNeedsAFullReply) {
  clock.time = {2025, 12, 31, 23, 59, 59};
  Bytes shortReply = test::DeviceReply("TIMR", Mac(1), 20);
  answerWith({shortReply, test::DeviceReply("TIMR", Mac(2), 21), test::DeviceReply("TIMR", Mac(1), 21)});
  session.Abort.RequestAbort();  // cleared by the command itself
  EXPECT_EQ(SetDeviceClock(entry, settings, x()), PR_OK);
  ASSERT_EQ(net.sent().size(), 1u);
  EXPECT_EQ(net.sent()[0].bytes[10], 0xE9);
  EXPECT_EQ(net.sent()[0].to.addr, bc);

  clock.timeAvailable = false;
  EXPECT_EQ(SetDeviceClock(entry, settings, x()), PR_OK);
  EXPECT_EQ(net.sent()[1].bytes[14], 255);
}

TEST_F(Exchange, DisconnectIgnoresOtherDevices) {
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 2;
  answerWith({test::DeviceReply("TDSR", Mac(2), 14)});
  EXPECT_EQ(DisconnectTcp(entry, settings, x()), PR_NO_REPLY);
  EXPECT_EQ(net.sent()[0].bytes, (Bytes{'T', 'D', 'S', 'C', 0x00, 0x80, 0x47, 0x00, 0x00, 0x01, 0, 0, 0, 0}));
  answerWith({test::DeviceReply("TDSR", Mac(1), 14)});
  EXPECT_EQ(DisconnectTcp(entry, settings, x()), PR_OK);
}

// Windows stretches every pause to its timer tick unless a finer one is asked
// for; each exchange asks while it runs and gives it back at its end.
TEST_F(Exchange, EveryExchangePausesAtTheFinePace) {
  settings.MaxSendCmdLoopCount = 2;
  settings.MaxRecvLoopCount = 3;
  test::RecordingNotifier notifier;
  SearchRequest search{settings};
  SearchResult found;
  FactoryResetRequest reset{settings};
  std::uint8_t count = 0;
  const Bytes image(6000, 0x5A);
  const std::vector<std::pair<const char*, std::function<int()>>> exchanges = {
      {"discovery", [&] { return DiscoverDevices(search, found, x()); }},
      {"write", [&] { return WriteSettings(entry, settings, x()); }},
      {"reset", [&] { return FactoryReset(reset, x()); }},
      {"router scan", [&] { return ScanRouters(entry, count, session.RouterScanTable.data(), 50, settings, x()); }},
      {"clock", [&] { return SetDeviceClock(entry, settings, x()); }},
      {"disconnect", [&] { return DisconnectTcp(entry, settings, x()); }},
      {"firmware", [&] { return TransferFirmware(entry, image.data(), 6000, settings, x(&notifier)); }},
  };
  for (const auto& [name, run] : exchanges) {
    clock.sleeps.clear();
    clock.coarseSleeps = clock.fineRequests = 0;
    run();
    EXPECT_FALSE(clock.sleeps.empty()) << name;
    EXPECT_GE(clock.fineRequests, 1) << name;
    EXPECT_EQ(clock.coarseSleeps, 0) << name;
    EXPECT_EQ(clock.fineLevel, 0) << name;
  }
}

// The write and router scan jobs pause around their exchange, post their end
// with its code, and the scan's result replaces the session's routers.
TEST_F(Exchange, WorkersPauseAndPostTheirEnd) {
  settings.MaxSendCmdLoopCount = 0;
  std::optional<WriteResult> written;
  test::RecordingNotifier writeEnd;
  ASSERT_TRUE(StartJob(WriteJob(WriteRequest{settings, entry}, written), x(&writeEnd)));
  EXPECT_EQ(writeEnd.waitEnd(), PR_NO_REPLY);
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{500, 1500}));
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->TargetEntry.Block, entry.Block);

  clock.sleeps.clear();
  session.RouterScanCount = 9;
  std::optional<RouterScanResult> scanned;
  test::RecordingNotifier scanEnd;
  ASSERT_TRUE(StartJob(RouterScanJob(RouterScanRequest{settings, entry}, scanned), x(&scanEnd)));
  EXPECT_EQ(scanEnd.waitEnd(), PR_NO_REPLY);
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{500, 1500}));
  ASSERT_TRUE(scanned.has_value());
  session.Take(std::move(*scanned));
  EXPECT_EQ(session.RouterScanCount, 0);
  for (test::RecordingNotifier* n : {&writeEnd, &scanEnd}) {
    const std::vector<test::Posted> posts = n->snapshot();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].message, UWM_PROCESS_END);
    EXPECT_EQ(posts[0].lParam, 0);
  }
}

}  // namespace
}  // namespace lx47
