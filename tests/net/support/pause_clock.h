// The real clock with every pause counted, and optionally shortened, so that
// a real-socket run can compare its wall time with the pauses the protocol
// asked for, or run many exchanges quickly when the pauses are not the point.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/clock.h"

namespace lx47::nettest {

class PauseClock : public platform::Clock {
 public:
  // capMs 0: every pause as asked; otherwise no pause lasts longer than capMs.
  // finePauses false keeps the exchanges' fine-pause requests from the real
  // clock, to measure what they are worth.
  explicit PauseClock(std::uint32_t capMs = 0, bool finePauses = true)
      : real_(platform::clock()), capMs_(capMs), finePauses_(finePauses) {
    platform::setClock(this);
  }
  ~PauseClock() override { platform::setClock(nullptr); }
  PauseClock(const PauseClock&) = delete;
  PauseClock& operator=(const PauseClock&) = delete;

  void sleepMs(std::uint32_t ms) override {
    askedMs_ += ms;
    real_.sleepMs(capMs_ ? std::min(ms, capMs_) : ms);
  }
  bool localTime(platform::LocalTime& out) override { return real_.localTime(out); }
  std::uint64_t monotonicMs() override { return real_.monotonicMs(); }
  void beginFinePauses() override {
    if (finePauses_) real_.beginFinePauses();
  }
  void endFinePauses() override {
    if (finePauses_) real_.endFinePauses();
  }

  std::uint64_t askedMs() const { return askedMs_.load(); }
  void reset() { askedMs_ = 0; }

 private:
  platform::Clock& real_;
  std::uint32_t capMs_;
  bool finePauses_;
  std::atomic<std::uint64_t> askedMs_{0};
};

}  // namespace lx47::nettest
