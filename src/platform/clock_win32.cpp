// The real clock on Windows: Sleep, the local time of the system's time
// zone, and the tick count for time-outs.
#include <windows.h>

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
};

}  // namespace

Clock& systemClock() {
  static WinClock instance;
  return instance;
}

}  // namespace lx47::platform
