// The real clock on POSIX systems.
#include <time.h>

#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace lx47::platform {
namespace {

class PosixClock final : public Clock {
 public:
  void sleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  bool localTime(LocalTime& out) override {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!localtime_r(&now, &tm)) return false;
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
  }
  std::uint64_t monotonicMs() override {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

}  // namespace

Clock& systemClock() {
  static PosixClock instance;
  return instance;
}

}  // namespace lx47::platform
