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
  // Asks for pauses as fine as the system can make them, and gives that back;
  // calls nest. See FinePauses.
  virtual void beginFinePauses() {}
  virtual void endFinePauses() {}
};

// The system's clock unless a test installed another. Exchanges are handed
// the clock they use (see protocol/exchange_context.h); this is where the
// one they are handed comes from.
Clock& clock();
void setClock(Clock* replacement);  // nullptr restores the real clock

// Held while an exchange runs, so that its pauses last what they ask for.
// Windows rounds a pause up to its timer tick, 15.6 ms unless a program asks
// for finer: Sleep(20) would last about 31 ms and a search half as long again
// as its pauses add up to. Elsewhere pauses are fine already.
class FinePauses {
 public:
  explicit FinePauses(Clock& clock) : clock_(clock) { clock_.beginFinePauses(); }
  ~FinePauses() { clock_.endFinePauses(); }
  FinePauses(const FinePauses&) = delete;
  FinePauses& operator=(const FinePauses&) = delete;

 private:
  Clock& clock_;
};

}  // namespace lx47::platform
