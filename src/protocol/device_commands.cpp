#include "protocol/device_commands.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/background_thread.h"
#include "platform/net.h"
#include "protocol/cycle.h"

namespace lx47 {

namespace {

int RunShortCommand(const DeviceEntry& entry, const ToolSettings& settings, const ExchangeContext& x,
                    const char* reply, std::size_t minLength, std::function<void(std::vector<std::uint8_t>&)> build) {
  x.abort.ClearAbort();
  const MacAddress mac = entry.Device_MAC;
  CycleSpec cycle;
  cycle.host = entry.Host_IP;
  cycle.request = [build](int, std::vector<std::uint8_t>& req) { build(req); };
  cycle.destination = [](int) { return platform::kBroadcastAddr; };
  cycle.bufferSize = 4096;
  TakeTiming(cycle, settings);
  cycle.successMarker = reply;
  cycle.minLength = minLength;
  cycle.accept = [mac](const CycleReply& r) { return ReplyMacIs(r, mac); };
  cycle.onAccepted = [](const CycleReply&) -> std::optional<int> { return PR_OK; };
  return RunCycle(cycle, x);
}

}  // namespace

std::vector<std::uint8_t> ClockRequest(const MacAddress& mac, const platform::LocalTime* t) {
  std::vector<std::uint8_t> req{'T', 'I', 'M', 'C'};
  req.insert(req.end(), mac.begin(), mac.end());
  const unsigned year = t ? static_cast<unsigned>(t->year) : 0;
  req.push_back(static_cast<std::uint8_t>(year));  // low byte first
  req.push_back(static_cast<std::uint8_t>(year >> 8));
  if (t) {
    for (int v : {t->month, t->day, t->hour, t->minute, t->second}) req.push_back(static_cast<std::uint8_t>(v));
  } else {
    req.insert(req.end(), {0, 0, 255, 255, 255});
  }
  req.insert(req.end(), 4, 0);
  return req;
}

int SetDeviceClock(const DeviceEntry& entry, const ToolSettings& settings, const ExchangeContext& x) {
  const MacAddress mac = entry.Device_MAC;
  platform::Clock& clock = x.io.clock;
  return RunShortCommand(entry, settings, x, "TIMR", 21, [mac, &clock](std::vector<std::uint8_t>& req) {
    platform::LocalTime now;
    const bool known = clock.localTime(now);  // afresh for every send
    req = ClockRequest(mac, known ? &now : nullptr);
  });
}

int DisconnectTcp(const DeviceEntry& entry, const ToolSettings& settings, const ExchangeContext& x) {
  const MacAddress mac = entry.Device_MAC;
  return RunShortCommand(entry, settings, x, "TDSR", 14, [mac](std::vector<std::uint8_t>& req) {
    req.assign({'T', 'D', 'S', 'C'});
    req.insert(req.end(), mac.begin(), mac.end());
    req.insert(req.end(), 4, 0);
  });
}

bool DeviceCommandThreads::Start(DeviceCommand command, const DeviceEntry& entry, const ToolSettings& settings,
                                 Io io) {
  DeviceEntry copy;
  copy.Host_IP = entry.Host_IP;
  copy.Device_IP = entry.Device_IP;
  copy.Device_MAC = entry.Device_MAC;
  running_.fetch_add(1);
  const bool started = platform::StartBackgroundThread([this, command, copy, settings, io] {
    const ExchangeContext x{io, abort_};
    if (command == DeviceCommand::SetClock)
      (void)SetDeviceClock(copy, settings, x);
    else
      (void)DisconnectTcp(copy, settings, x);
    running_.fetch_sub(1);
  });
  if (!started) running_.fetch_sub(1);
  return started;
}

bool DeviceCommandThreads::WaitAll(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (running_.load() > 0) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // Asked again at every look: a command clears the flag as it starts, so
    // one request made just before that would be lost.
    abort_.RequestAbort();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace lx47
