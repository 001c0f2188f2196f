// Fixture for exchange tests: fake network, clock and host addresses, the
// in-memory settings at their defaults and an empty device table.
#pragma once

#include <gtest/gtest.h>

#include "device_reply.h"
#include "fake_net.h"
#include "fakes.h"
#include "protocol/device_table.h"
#include "protocol/settings.h"

namespace lx47::test {

class ProtocolTest : public ::testing::Test {
 protected:
  ProtocolTest() {
    MaxSendCmdLoopCount = 10;
    MaxRecvLoopCount = 60;
    RecvDelay_msec = 20;
    ALL_HOST_SCAN = 1;
    USE_BC_CFG = 1;
    USE_BC_FUP = 0;
    SelectedHostAddress = 0;
    ClearAbort();
    for (auto& e : DeviceTable) e.clear();
    DeviceCount = 0;
  }
  ~ProtocolTest() override {
    for (auto& e : DeviceTable) e.clear();
    DeviceCount = 0;
    ClearAbort();
  }
  // Every exchange must leave no socket open, whatever its path.
  void TearDown() override {
    EXPECT_EQ(net.openSockets(), 0);
    EXPECT_TRUE(net.shutdownBeforeEveryClose());
    EXPECT_EQ(clock.fineLevel, 0) << "a fine-pause request was not given back";
  }

  FakeNet net;
  FakeClock clock;
  FakeHostNet host;
};

}  // namespace lx47::test
