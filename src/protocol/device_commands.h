// Two short commands to the selected device: set its clock to the PC's local
// time ("TIMC"), and drop its current TCP connection ("TDSC").
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "protocol/device_table.h"
#include "protocol/exchange_context.h"
#include "protocol/tool_settings.h"

namespace lx47 {

// Both clear the abort flag first and block until a reply, the last send or
// a socket error.
int SetDeviceClock(const DeviceEntry& entry, const ToolSettings& settings, const ExchangeContext& x);
int DisconnectTcp(const DeviceEntry& entry, const ToolSettings& settings, const ExchangeContext& x);

// The 21-byte clock request for a MAC and a local time (nullptr: the time
// is unknown, sent as 0 for the date and 255 for the time of day).
std::vector<std::uint8_t> ClockRequest(const MacAddress& mac, const platform::LocalTime* time);

enum class DeviceCommand { SetClock, DisconnectTcp };

// The commands started on threads of their own, so that the window never
// waits on the network; their results are not shown. They share the abort
// flag with the runner's exchanges, as they always have.
class DeviceCommandThreads {
 public:
  explicit DeviceCommandThreads(AbortFlag& abort) : abort_(abort) {}

  // Starts one command. The entry's address and MAC and the settings are
  // copied, so they may change meanwhile. False if no thread could start.
  bool Start(DeviceCommand command, const DeviceEntry& entry, const ToolSettings& settings, Io io);

  // Asks the commands started so far to stop and waits, at most timeoutMs,
  // until their threads are done with the sockets; the tool calls it before
  // it ends. True when none runs any more.
  bool WaitAll(int timeoutMs);

 private:
  AbortFlag& abort_;
  std::atomic<int> running_{0};  // started, not yet returned
};

}  // namespace lx47
