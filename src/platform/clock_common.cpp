#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace lx47::platform {
namespace {

class SystemClock final : public Clock {
 public:
  void sleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  bool localTime(LocalTime& out) override {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &now) != 0) return false;
#else
    if (!localtime_r(&now, &tm)) return false;
#endif
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
  }
  std::uint64_t monotonicMs() override {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

Clock* g_replacement = nullptr;

}  // namespace

Clock& clock() {
  static SystemClock system;
  return g_replacement ? *g_replacement : system;
}

void setClock(Clock* replacement) { g_replacement = replacement; }

}  // namespace lx47::platform
