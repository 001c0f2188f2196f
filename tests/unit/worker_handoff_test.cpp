// The hand-off between the window thread and a worker: the worker's result
// is visible once its end message has been posted, and an abort from the
// window thread reaches a running exchange. Run under ThreadSanitizer as
// well.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>

#include "protocol/device_commands.h"
#include "protocol/job.h"
#include "protocol/result_codes.h"
#include "protocol_fixture.h"

namespace lx47 {
namespace {

using test::Datagram;
using test::Mac;

class Handoff : public test::ProtocolTest {
 protected:
  Handoff() { host.addRow("10.47.0.1"); }
};

TEST_F(Handoff, DiscoveryResultsAreVisibleAfterTheEndMessage) {
  net.onSend = [this](const Datagram& d) {
    for (std::uint8_t i = 0; i < 3; ++i) net.replyTo(d, test::DeviceReply("IAMI", Mac(i)));
  };
  settings.MaxSendCmdLoopCount = 2;
  // The notifier waits for the end message the way the runner does:
  // nothing is read from the result before it has arrived.
  test::RecordingNotifier notifier;
  std::optional<SearchResult> result;
  ASSERT_TRUE(StartJob(SearchJob(SearchRequest{settings}, result), x(&notifier)));
  ASSERT_EQ(notifier.waitEnd(), PR_OK);
  ASSERT_TRUE(result.has_value());
  session.Take(std::move(*result));
  EXPECT_EQ(session.DeviceCount, 3);
  EXPECT_EQ(session.DeviceTable[2].Device_MAC, Mac(2));
  EXPECT_EQ(session.DeviceTable[2].Block_Length(), 392u);
}

TEST_F(Handoff, AbortFromTheWindowThreadEndsAWrite) {
  DeviceEntry entry;
  entry.storeReply(test::DeviceReply("IAMI", Mac(1)), test::Ip("10.47.0.1"));
  settings.MaxSendCmdLoopCount = 1000;  // would run far longer than the test without the abort
  std::mutex mu;
  std::condition_variable cv;
  bool receiving = false;
  bool aborted = false;
  // The worker holds at its first receive until the abort is in: with the
  // fake clock it would otherwise run all its sends before a slow thread
  // switch (as under Wine) lets the abort through.
  net.beforeRecv = [&](int) {
    std::unique_lock lock(mu);
    receiving = true;
    cv.notify_all();
    cv.wait_for(lock, std::chrono::seconds(20), [&] { return aborted; });
  };
  test::RecordingNotifier notifier;
  std::optional<WriteResult> result;
  ASSERT_TRUE(StartJob(WriteJob(WriteRequest{settings, entry}, result), x(&notifier)));
  {
    std::unique_lock lock(mu);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(20), [&] { return receiving; }));
  }
  session.Abort.RequestAbort();
  {
    std::lock_guard lock(mu);
    aborted = true;
    cv.notify_all();
  }
  EXPECT_EQ(notifier.waitEnd(), PR_ABORTED);
}

// The tool's end stops a clock set still running on its own thread: the
// command sees the abort although it clears the flag as it starts, and its
// sockets are closed once the wait returns.
TEST_F(Handoff, WaitingForDeviceCommandsStopsARunningOne) {
  DeviceEntry entry;
  entry.storeReply(test::DeviceReply("IAMI", Mac(1)), test::Ip("10.47.0.1"));
  // No device answers, and every receive takes 2 ms of real time: the
  // command would run 10 sends x 60 attempts, 1.2 s.
  net.beforeRecv = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
  ASSERT_TRUE(session.DeviceCommands.Start(DeviceCommand::SetClock, entry, settings, x().io));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(session.DeviceCommands.WaitAll(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
  EXPECT_LT(net.sent().size(), 10u);
  EXPECT_EQ(net.openSockets(), 0);
  EXPECT_TRUE(session.DeviceCommands.WaitAll(0)) << "nothing left running";
}

TEST(Jobs, NoJobStartsNothing) {
  Session session;
  test::RecordingNotifier notifier;
  EXPECT_FALSE(StartJob(Job{}, ExchangeContext{Io::Current(), session.Abort, &notifier}));
  EXPECT_TRUE(notifier.snapshot().empty());
}

}  // namespace
}  // namespace lx47
