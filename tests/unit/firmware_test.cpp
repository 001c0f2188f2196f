#include <gtest/gtest.h>

#include <cstring>

#include "protocol/firmware.h"
#include "protocol/job.h"
#include "protocol/result_codes.h"
#include "protocol_fixture.h"

namespace lx47 {
namespace {

using test::Bytes;
using test::Call;
using test::Ip;
using test::Mac;
using WR = platform::WaitResult;

class Firmware : public test::ProtocolTest {
 protected:
  Firmware() { entry.storeReply(test::DeviceReply("IAMI", Mac(1)), Ip("10.47.0.1")); }
  int run(std::size_t n) {
    image.resize(n);
    for (std::size_t i = 0; i < n; ++i) image[i] = static_cast<std::uint8_t>(i * 13);
    return TransferFirmware(entry, image.data(), static_cast<std::int32_t>(n), settings, x(&notifier));
  }
  std::vector<std::pair<std::intptr_t, std::intptr_t>> progress() {
    std::vector<std::pair<std::intptr_t, std::intptr_t>> p;
    for (const test::Posted& m : notifier.snapshot())
      if (m.message == UWM_PROCESS_PROGRESS) p.emplace_back(m.wParam, m.lParam);
    return p;
  }

  DeviceEntry entry;
  Bytes image;
  test::RecordingNotifier notifier;
};

TEST_F(Firmware, AnnouncesThenStreamsLengthAndImage) {
  EXPECT_EQ(run(5121), PR_OK);
  ASSERT_EQ(net.sent().size(), 1u);
  const test::Datagram& firm = net.sent()[0];
  EXPECT_EQ(firm.from.addr, Ip("10.47.0.1"));
  EXPECT_EQ(firm.from.port, 5074);
  EXPECT_EQ(firm.to.addr, entry.Device_IP);
  EXPECT_EQ(firm.to.port, 5074);
  Bytes expected(entry.Block.begin(), entry.Block.begin() + 392);
  std::memcpy(expected.data(), "FIRM", 4);
  EXPECT_EQ(firm.bytes, expected);

  ASSERT_EQ(net.connects.size(), 1u);
  EXPECT_EQ(net.connects[0].addr, entry.Device_IP);
  EXPECT_EQ(net.connects[0].port, 5075);
  EXPECT_EQ(net.waitTimeouts, (std::vector<int>{10000}));
  Bytes stream{0x00, 0x00, 0x14, 0x01};
  stream.insert(stream.end(), image.begin(), image.end());
  EXPECT_EQ(net.streamed, stream);

  using P = std::pair<std::intptr_t, std::intptr_t>;
  EXPECT_EQ(progress(), (std::vector<P>{{0, 5121}, {5120, 5121}, {5121, 5121}, {5121, 5121}}));
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{300, 300, 400, 400, 1000}));
}

TEST_F(Firmware, OnePieceUpTo5120AndShortSendsAdvanceByWhatWasSent) {
  EXPECT_EQ(run(5120), PR_OK);
  EXPECT_EQ(progress().size(), 3u);  // (0), after the one piece, final
  notifier.posts.clear();
  net.streamed.clear();
  net.sendChunkLimit = 3000;
  EXPECT_EQ(run(5120), PR_OK);
  using P = std::pair<std::intptr_t, std::intptr_t>;
  EXPECT_EQ(progress(), (std::vector<P>{{0, 5120}, {3000, 5120}, {5120, 5120}, {5120, 5120}}));
  EXPECT_EQ(net.streamed.size(), 4u + 5120u);  // the 4-byte header needs no second call at this limit
}

TEST_F(Firmware, BroadcastAnnouncementStillConnectsToTheDevice) {
  settings.USE_BC_FUP = 1;
  EXPECT_EQ(run(10), PR_OK);
  EXPECT_EQ(net.sent()[0].to.addr, platform::kBroadcastAddr);
  EXPECT_EQ(net.connects[0].addr, entry.Device_IP);
}

// Every failure row: the code, nothing streamed where the failure comes
// first, and every socket closed (checked by the fixture).
TEST_F(Firmware, FailureTable) {
  struct Case { const char* what; Call call; int code; };
  const Case cases[] = {
      {"udp socket", Call::UdpSocket, PR_SEND},     {"broadcast", Call::SetBroadcast, PR_SEND},
      {"bind 5074", Call::Bind, PR_SEND},           {"announce", Call::SendTo, PR_SEND},
      {"tcp socket", Call::TcpSocket, PR_SEND},     {"non-blocking", Call::SetNonBlocking, PR_CONNECT},
      {"connect", Call::Connect, PR_CONNECT},       {"select", Call::WaitConnected, PR_CONNECT},
      {"header", Call::Send, PR_SEND},
  };
  for (const Case& c : cases) {
    net.failCall(c.call);
    net.streamed.clear();
    EXPECT_EQ(run(100), c.code) << c.what;
    EXPECT_TRUE(net.streamed.empty()) << c.what;
    EXPECT_EQ(net.openSockets(), 0) << c.what;
  }
  for (WR w : {WR::TimedOut, WR::NotReady}) {
    net.waitAnswers = {w};
    EXPECT_EQ(run(100), PR_CONNECT);
  }
  net.waitAnswers = {WR::Ready};
  net.failCall(Call::Send, 2);  // the first piece
  EXPECT_EQ(run(100), PR_SEND);
}

TEST_F(Firmware, EmptyImageSendsNothing) {
  EXPECT_EQ(TransferFirmware(entry, nullptr, -5, settings, x(&notifier)), PR_SEND);
  EXPECT_EQ(run(0), PR_SEND);
  EXPECT_TRUE(net.sent().empty());
  EXPECT_TRUE(net.connects.empty());
}

TEST_F(Firmware, CancelBetweenPieces) {
  clock.onSleep = [this](std::uint32_t ms) {
    if (ms == 400) session.Abort.RequestAbort();
  };
  EXPECT_EQ(run(12000), PR_ABORTED);
  EXPECT_EQ(net.streamed.size(), 4u + 5120u);
}

TEST_F(Firmware, WorkerPausesAndPostsTheEndLast) {
  image.assign(10, 1);
  ASSERT_TRUE(StartJob(FirmwareJob(FirmwareRequest{settings, entry, image.data(), 10}), x(&notifier)));
  EXPECT_EQ(notifier.waitEnd(), PR_OK);
  EXPECT_EQ(clock.sleeps.back(), 500u);
  const auto posts = notifier.snapshot();
  EXPECT_EQ(posts.back().message, UWM_PROCESS_END);
  EXPECT_EQ(posts.back().wParam, PR_OK);
}

}  // namespace
}  // namespace lx47
