// Fixture for exchange tests: fake network, clock and host addresses, and a
// fresh session (the tool settings at their defaults, empty tables).
#pragma once

#include <gtest/gtest.h>

#include "device_reply.h"
#include "fake_net.h"
#include "fakes.h"
#include "protocol/exchange_context.h"
#include "protocol/session.h"

namespace lx47::test {

class ProtocolTest : public ::testing::Test {
 protected:
  // Every exchange must leave no socket open, whatever its path.
  void TearDown() override {
    EXPECT_EQ(net.openSockets(), 0);
    EXPECT_TRUE(net.shutdownBeforeEveryClose());
    EXPECT_EQ(clock.fineLevel, 0) << "a fine-pause request was not given back";
  }

  // What an exchange runs with: the fakes and the session's abort flag.
  ExchangeContext x(platform::Notifier* notify = nullptr) {
    return ExchangeContext{Io{net, clock, host}, session.Abort, notify};
  }

  FakeNet net;
  FakeClock clock;
  FakeHostNet host;
  Session session;
  ToolSettings& settings = session.Settings;
};

}  // namespace lx47::test
