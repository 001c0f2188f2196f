// Pauses and the local clock, replaceable so that tests can record every
// pause and fix the time without waiting.
#pragma once

#include <cstdint>

namespace lx47::platform {

struct LocalTime {
  int year = 0;    // four digits
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void sleepMs(std::uint32_t ms) = 0;
  // False when the local time cannot be determined.
  virtual bool localTime(LocalTime& out) = 0;
  // Monotonic milliseconds, for timeouts.
  virtual std::uint64_t monotonicMs() = 0;
};

Clock& clock();
void setClock(Clock* replacement);  // nullptr restores the real clock

inline void Sleep(std::uint32_t ms) { clock().sleepMs(ms); }

}  // namespace lx47::platform
