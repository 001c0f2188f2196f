#include <gtest/gtest.h>

#include <set>

#include "protocol/discovery.h"
#include "protocol/job.h"
#include "protocol/result_codes.h"
#include "protocol_fixture.h"

namespace lx47 {
namespace {

using test::Bytes;
using test::Call;
using test::Datagram;
using test::Ip;
using test::Mac;

class Discovery : public test::ProtocolTest {
 protected:
  Discovery() {
    request.Password = {'s', 'e', 'c', 'r', 'e', 't', ' ', ' '};
    host.addRow("10.47.0.1");
  }
  // Devices that answer each FOND, once per request, in order.
  void answerWith(std::vector<Bytes> replies) {
    net.onSend = [this, replies](const Datagram& d) {
      for (const Bytes& r : replies) net.replyTo(d, r);
    };
  }
  // A discovery into a new result, with the settings as the test left them.
  int run() {
    request.settings = settings;
    found = SearchResult{};
    return DiscoverDevices(request, found, x());
  }

  SearchRequest request;
  SearchResult found;
};

TEST_F(Discovery, RequestIsFondAndPasswordBroadcastFromTheHostAddress) {
  settings.MaxSendCmdLoopCount = 2;
  EXPECT_EQ(run(), PR_OK);
  ASSERT_EQ(net.sent().size(), 2u);
  const Datagram& d = net.sent()[0];
  EXPECT_EQ(d.bytes, (Bytes{'F', 'O', 'N', 'D', 's', 'e', 'c', 'r', 'e', 't', ' ', ' '}));
  EXPECT_EQ(d.to.addr, platform::kBroadcastAddr);
  EXPECT_EQ(d.to.port, 5074);
  EXPECT_EQ(d.from.addr, Ip("10.47.0.1"));
}

// "%-8.8s": the first 8 bytes, a zero byte ending the text early, blanks
// after it; the search dialog, a repeated search and the request all use it.
TEST(SearchPasswordPadding, EightBytesBlankPadded) {
  const std::pair<std::string_view, const char*> cases[] = {
      {"abc", "abc     "},
      {"", "        "},
      {"12345678", "12345678"},
      {"123456789ABC", "12345678"},
      {std::string_view("ab\0cd", 5), "ab      "},
  };
  for (const auto& [text, padded] : cases) {
    const SearchPassword p = PadSearchPassword(text);
    EXPECT_EQ(std::string(p.begin(), p.end()), padded) << text.size();
  }
}

TEST_F(Discovery, PausesOfAnEmptySendFollowTheFormula) {
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 5;
  EXPECT_EQ(run(), PR_OK);
  // No pause before the first attempt, RecvDelay before the others, and 100 ms more before the last.
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{20, 20, 20, 20, 100}));
  EXPECT_EQ(net.recvCalls(), 5);
}

TEST_F(Discovery, DefaultsCostTheirPauseSums) {
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(clock.total(), 10u * (59 * 20 + 100));
  clock.sleeps.clear();
  request.OneDevice = 1;
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(clock.total(), 10u * (69 * 20 + 100));
}

TEST_F(Discovery, ReplyLengthAndMarkerPosition) {
  Bytes prefixed = test::DeviceReply("IAMI", Mac(2));
  prefixed.insert(prefixed.begin(), {'x', 'y', 'z'});
  Bytes zeroFirst = test::DeviceReply("IAMI", Mac(3));
  zeroFirst.insert(zeroFirst.begin(), 0);
  answerWith({test::DeviceReply("IAMI", Mac(1), 391), prefixed, zeroFirst, test::DeviceReply("IAMI", Mac(4), 500)});
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 6;
  EXPECT_EQ(run(), PR_OK);
  ASSERT_EQ(found.FoundCount, 2);
  EXPECT_EQ(found.DeviceTable[0].Device_MAC, Mac(2));
  EXPECT_EQ(found.DeviceTable[0].Block_Length(), 392u);
  EXPECT_EQ(std::string(found.DeviceTable[0].Block.begin(), found.DeviceTable[0].Block.begin() + 4), "IAMI");
  EXPECT_EQ(found.DeviceTable[1].Device_MAC, Mac(4));
  EXPECT_EQ(found.DeviceTable[1].Block_Length(), 500u);
  EXPECT_EQ(found.DeviceTable[1].Host_IP, Ip("10.47.0.1"));
  // The short reply cleared the pause before the second attempt.
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{20, 20, 20, 20, 100}));
}

// A datagram longer than the B-1 bytes a receive takes is not cut to fit: it
// is used up whole, and its attempt with it.
TEST_F(Discovery, DatagramLongerThanTheBufferIsDroppedWithItsAttempt) {
  answerWith({test::DeviceReply("IAMI", Mac(1), 2048), test::DeviceReply("IAMI", Mac(2), 2047)});
  settings.MaxSendCmdLoopCount = 1;
  settings.MaxRecvLoopCount = 3;
  EXPECT_EQ(run(), PR_OK);
  ASSERT_EQ(found.FoundCount, 1);
  EXPECT_EQ(found.DeviceTable[0].Device_MAC, Mac(2));
  EXPECT_EQ(found.DeviceTable[0].Block_Length(), 2047u);
  // The pause before every attempt after the first: the long datagram was not
  // taken for a short reply either.
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{20, 20, 100}));
}

TEST_F(Discovery, SameDeviceOnEverySendIsListedOnce) {
  answerWith({test::DeviceReply("IAMI", Mac(1))});
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(found.FoundCount, 1);
  EXPECT_EQ(net.sent().size(), 10u);
}

TEST_F(Discovery, SeventeenDevicesFillSixteenEntriesAndStop) {
  std::vector<Bytes> replies;
  for (int i = 0; i < 17; ++i) replies.push_back(test::DeviceReply("IAMI", Mac(static_cast<std::uint8_t>(i))));
  answerWith(replies);
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(found.FoundCount, 16);
  EXPECT_EQ(net.sent().size(), 1u);
  EXPECT_EQ(found.DeviceTable[15].Device_MAC, Mac(15));
}

TEST_F(Discovery, OneDeviceTakesTheFirstOrTheMatchingMac) {
  answerWith({test::DeviceReply("IAMI", Mac(1)), test::DeviceReply("IAMI", Mac(2))});
  request.OneDevice = 1;
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(found.FoundCount, 1);
  EXPECT_EQ(found.DeviceTable[0].Device_MAC, Mac(1));
  EXPECT_EQ(net.sent().size(), 1u);

  request.MacAddress = Mac(2);
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(found.FoundCount, 1);
  EXPECT_EQ(found.DeviceTable[0].Device_MAC, Mac(2));
}

TEST_F(Discovery, TwoHostAddressesListADeviceOnceWithTheFirstHost) {
  host.addRow("10.48.0.1");
  answerWith({test::DeviceReply("IAMI", Mac(1))});
  settings.MaxSendCmdLoopCount = 1;
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(found.FoundCount, 1);
  EXPECT_EQ(found.DeviceTable[0].Host_IP, Ip("10.47.0.1"));
  std::set<std::uint32_t> from;
  for (const Datagram& d : net.sent()) from.insert(d.from.addr);
  EXPECT_EQ(from, (std::set<std::uint32_t>{Ip("10.47.0.1"), Ip("10.48.0.1")}));
}

TEST_F(Discovery, SkippedRowsSendNothing) {
  host.rows.clear();
  host.addRow("127.0.0.1");
  host.addRow("10.1.0.1", hostnet::kAddrDisconnected);
  host.addRow("10.2.0.1", hostnet::kAddrDeleted);
  host.addRow("127.0.0.2");  // only 127.0.0.1 itself is skipped in this mode
  settings.MaxSendCmdLoopCount = 1;
  EXPECT_EQ(run(), PR_OK);
  ASSERT_EQ(net.sent().size(), 1u);
  EXPECT_EQ(net.sent()[0].from.addr, Ip("127.0.0.2"));
}

TEST_F(Discovery, SelectedHostMode) {
  settings.ALL_HOST_SCAN = 0;
  host.addRow("10.48.0.1", hostnet::kAddrDisconnected);  // flags are not consulted
  settings.MaxSendCmdLoopCount = 1;
  request.SelectedHostAddress = Ip("10.48.0.1");
  EXPECT_EQ(run(), PR_OK);
  ASSERT_EQ(net.sent().size(), 1u);
  EXPECT_EQ(net.sent()[0].from.addr, Ip("10.48.0.1"));

  request.SelectedHostAddress = Ip("10.49.0.1");
  EXPECT_EQ(run(), PR_NO_HOST);
  EXPECT_EQ(net.sent().size(), 1u);
}

TEST_F(Discovery, NoTableOrEmptyTableFindsNothing) {
  host.tableReadable = false;
  EXPECT_EQ(run(), PR_OK);
  host.tableReadable = true;
  host.rows.clear();
  EXPECT_EQ(run(), PR_OK);
  EXPECT_TRUE(net.sent().empty());
}

TEST_F(Discovery, NoSendsWithLoopCountBelowOne) {
  settings.MaxSendCmdLoopCount = 0;
  EXPECT_EQ(run(), PR_OK);
  EXPECT_TRUE(net.sent().empty());
}

// A failure at each socket call ends the search with its code; the device
// stored before the failure stays counted.
TEST_F(Discovery, SocketFailuresEndWithTheirCode) {
  struct Case { Call call; int nth; int code; };
  const Case cases[] = {
      {Call::UdpSocket, 3, PR_SOCKET},      // S1 of the second send
      {Call::UdpSocket, 4, PR_SOCKET},      // S2 of the second send
      {Call::SetBroadcast, 2, PR_SOCKOPT},
      {Call::Bind, 3, PR_BIND},             // S1
      {Call::Bind, 4, PR_BIND},             // S2
      {Call::LocalEndpoint, 2, PR_BIND},
      {Call::SendTo, 2, PR_SEND},
  };
  for (const Case& c : cases) {
      found.FoundCount = 0;
    int sends = 0;
    net.onSend = [&](const Datagram& d) {
      if (sends++ == 0) net.replyTo(d, test::DeviceReply("IAMI", Mac(9)));
    };
    net.failCall(c.call, c.nth);
    EXPECT_EQ(run(), c.code) << static_cast<int>(c.call) << "/" << c.nth;
    EXPECT_EQ(found.FoundCount, 1);
    EXPECT_EQ(net.openSockets(), 0);
  }
}

TEST_F(Discovery, NonBlockingFailureIsIgnored) {
  net.failCall(Call::SetNonBlocking);
  settings.MaxSendCmdLoopCount = 1;
  EXPECT_EQ(run(), PR_OK);
}

TEST_F(Discovery, AbortKeepsWhatWasFound) {
  answerWith({test::DeviceReply("IAMI", Mac(1))});
  net.beforeRecv = [this](int n) {
    if (n == 3) session.Abort.RequestAbort();
  };
  EXPECT_EQ(run(), PR_OK);
  EXPECT_EQ(found.FoundCount, 1);
  EXPECT_EQ(net.sent().size(), 1u);
}

// The search's job, as the runner starts it: an earlier cancel does not stop
// it, its result replaces the whole table of the last search, and its end
// message is the last thing it sends.
TEST_F(Discovery, JobReplacesTheTableAndPostsTheEnd) {
  session.DeviceTable[5].storeReply(test::DeviceReply("IAMI", Mac(5)), 1);
  session.DeviceCount = 6;
  session.Abort.RequestAbort();  // left from an earlier cancel: the worker clears it
  answerWith({test::DeviceReply("IAMI", Mac(1))});
  settings.MaxSendCmdLoopCount = 1;
  request.settings = settings;
  std::optional<SearchResult> result;
  test::RecordingNotifier notifier;
  ASSERT_TRUE(StartJob(SearchJob(request, result), x(&notifier)));
  ASSERT_EQ(notifier.waitEnd(), PR_OK);
  ASSERT_TRUE(result.has_value());
  session.Take(std::move(*result));
  EXPECT_EQ(session.DeviceCount, 1);
  EXPECT_EQ(session.DeviceTable[0].Device_MAC, Mac(1));
  EXPECT_FALSE(session.DeviceTable[5].hasBlock());
  EXPECT_EQ(session.DeviceTable[5].Entry_Status, 0);
  const std::vector<test::Posted> posts = notifier.snapshot();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].message, UWM_PROCESS_END);
  EXPECT_EQ(posts[0].wParam, PR_OK);
  EXPECT_EQ(posts[0].lParam, 0);
}

}  // namespace
}  // namespace lx47
