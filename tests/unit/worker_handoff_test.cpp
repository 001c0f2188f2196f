// The hand-off between the window thread and a worker: the worker's table
// writes are visible once its end message has been posted, and an abort
// from the window thread reaches a running exchange. Run under
// ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>

#include "protocol/device_commands.h"
#include "protocol/process_param.h"
#include "protocol/result_codes.h"
#include "protocol_fixture.h"

namespace lx47 {
namespace {

using test::Datagram;
using test::Mac;

// Waits for the end message the way the runner does: nothing is read from
// the tables before it has arrived.
class WaitingNotifier : public platform::Notifier {
 public:
  void post(std::uint32_t message, std::intptr_t wParam, std::intptr_t) override {
    std::lock_guard lock(mu_);
    if (message == UWM_PROCESS_END) {
      ended_ = true;
      result_ = static_cast<int>(wParam);
      cv_.notify_all();
    }
  }
  // The end's result, or -100 after the timeout.
  int waitEnd(std::chrono::seconds timeout = std::chrono::seconds(20)) {
    std::unique_lock lock(mu_);
    return cv_.wait_for(lock, timeout, [this] { return ended_; }) ? result_ : -100;
  }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  bool ended_ = false;
  int result_ = 0;
};

class Handoff : public test::ProtocolTest {
 protected:
  Handoff() { host.addRow("10.47.0.1"); }
};

TEST_F(Handoff, DiscoveryResultsAreVisibleAfterTheEndMessage) {
  net.onSend = [this](const Datagram& d) {
    for (std::uint8_t i = 0; i < 3; ++i) net.replyTo(d, test::DeviceReply("IAMI", Mac(i)));
  };
  MaxSendCmdLoopCount = 2;
  WaitingNotifier notifier;
  ProcessParam param;
  param.hNotifyWnd = &notifier;
  ASSERT_TRUE(StartWorker(WorkerForKind(OP_SEARCH), &param));
  ASSERT_EQ(notifier.waitEnd(), PR_OK);
  EXPECT_EQ(DeviceCount, 3);
  EXPECT_EQ(DeviceTable[2].Device_MAC, Mac(2));
  EXPECT_EQ(DeviceTable[2].Block_Length(), 392u);
}

TEST_F(Handoff, AbortFromTheWindowThreadEndsAWrite) {
  DeviceEntry entry;
  entry.storeReply(test::DeviceReply("IAMI", Mac(1)), test::Ip("10.47.0.1"));
  MaxSendCmdLoopCount = 1000;  // would run far longer than the test without the abort
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
  WaitingNotifier notifier;
  ProcessParam param;
  param.hNotifyWnd = &notifier;
  param.TargetEntry = &entry;
  ASSERT_TRUE(StartWorker(WorkerForKind(OP_WRITE), &param));
  {
    std::unique_lock lock(mu);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(20), [&] { return receiving; }));
  }
  RequestAbort();
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
  ASSERT_TRUE(StartDeviceCommand(DeviceCommand::SetClock, entry));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(WaitForDeviceCommands(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
  EXPECT_LT(net.sent().size(), 10u);
  EXPECT_EQ(net.openSockets(), 0);
  EXPECT_TRUE(WaitForDeviceCommands(0)) << "nothing left running";
}

TEST(Workers, UnknownKindHasNoWorker) {
  EXPECT_EQ(WorkerForKind(0), nullptr);
  EXPECT_EQ(WorkerForKind(4), nullptr);
  EXPECT_FALSE(StartWorker(nullptr, nullptr));
}

}  // namespace
}  // namespace lx47
