// The real clock on Windows: Sleep, the local time of the system's time
// zone, the tick count for time-outs, and the timer resolution for fine pauses.
#include <windows.h>
// timeapi.h after windows.h
#include <timeapi.h>

#include "platform/clock.h"

namespace lx47::platform {
namespace {

class WinClock final : public Clock {
 public:
  void sleepMs(std::uint32_t ms) override { ::Sleep(ms); }
  bool localTime(LocalTime& out) override {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    if (st.wYear == 0) return false;
    out = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    return true;
  }
  // Unlike GetTickCount, it does not wrap after 49.7 days.
  std::uint64_t monotonicMs() override { return ::GetTickCount64(); }
  // 1 ms is the finest the multimedia timer offers; each request is given
  // back with the same period, as the system asks.
  void beginFinePauses() override { ::timeBeginPeriod(1); }
  void endFinePauses() override { ::timeEndPeriod(1); }
};

}  // namespace

Clock& systemClock() {
  static WinClock instance;
  return instance;
}

}  // namespace lx47::platform
