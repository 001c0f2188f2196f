// Fake clock, host network and notifier for unit tests.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "hostnet/host_address.h"
#include "platform/clock.h"
#include "platform/notify.h"
#include "protocol/result_codes.h"

namespace lx47::test {

// Records every pause instead of waiting; time moves only by the pauses.
class FakeClock : public platform::Clock {
 public:
  FakeClock() { platform::setClock(this); }
  ~FakeClock() override { platform::setClock(nullptr); }
  void sleepMs(std::uint32_t ms) override {
    {
      std::lock_guard lock(mu);
      sleeps.push_back(ms);
      now += ms;
      if (fineLevel == 0) ++coarseSleeps;
    }
    if (onSleep) onSleep(ms);
  }
  bool localTime(platform::LocalTime& out) override {
    out = time;
    return timeAvailable;
  }
  std::uint64_t monotonicMs() override {
    std::lock_guard lock(mu);
    return now;
  }
  void beginFinePauses() override {
    std::lock_guard lock(mu);
    ++fineLevel;
    ++fineRequests;
  }
  void endFinePauses() override {
    std::lock_guard lock(mu);
    --fineLevel;
  }
  std::uint64_t total() const {
    std::uint64_t t = 0;
    for (auto s : sleeps) t += s;
    return t;
  }

  std::mutex mu;
  std::vector<std::uint32_t> sleeps;
  std::uint64_t now = 0;
  platform::LocalTime time{2026, 12, 10, 9, 8, 7};
  bool timeAvailable = true;
  std::function<void(std::uint32_t)> onSleep;
  int fineLevel = 0;     // fine-pause requests not yet given back
  int fineRequests = 0;  // fine-pause requests made
  int coarseSleeps = 0;  // pauses made while no request was held
};

class FakeHostNet : public hostnet::HostNetSource {
 public:
  FakeHostNet() { hostnet::setHostNetSource(this); }
  ~FakeHostNet() override { hostnet::setHostNetSource(nullptr); }
  bool addressTable(std::vector<hostnet::HostAddressRow>& out) override {
    out = rows;
    return tableReadable;
  }
  bool adapters(std::vector<hostnet::AdapterInfo>& out) override {
    if (onAdapters) onAdapters();
    out = adapterList;
    return adaptersReadable;
  }
  // Adds an address row; addr is dotted text.
  void addRow(const char* addr, std::uint16_t type = 0);

  std::vector<hostnet::HostAddressRow> rows;
  std::vector<hostnet::AdapterInfo> adapterList;
  bool tableReadable = true;
  bool adaptersReadable = true;
  std::function<void()> onAdapters;  // runs at every read of the adapter list
};

struct Posted {
  std::uint32_t message;
  std::intptr_t wParam;
  std::intptr_t lParam;
};

class RecordingNotifier : public platform::Notifier {
 public:
  void post(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) override {
    std::lock_guard lock(mu);
    posts.push_back({message, wParam, lParam});
    if (message == UWM_PROCESS_END) ended.notify_all();
  }
  std::vector<Posted> snapshot() {
    std::lock_guard lock(mu);
    return posts;
  }
  // Waits for the end message the way the runner does, before anything is
  // read from a worker's result: its code, or -100 after the timeout.
  int waitEnd(std::chrono::seconds timeout = std::chrono::seconds(20)) {
    std::unique_lock lock(mu);
    const auto isEnd = [](const Posted& p) { return p.message == UWM_PROCESS_END; };
    // Short waits that look again each time, so the end is seen even if its
    // wake-up is lost (one run of many under Wine timed out here).
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!std::any_of(posts.begin(), posts.end(), isEnd)) {
      if (std::chrono::steady_clock::now() >= deadline) return -100;
      ended.wait_for(lock, std::chrono::milliseconds(50));
    }
    return static_cast<int>(std::find_if(posts.begin(), posts.end(), isEnd)->wParam);
  }
  std::mutex mu;
  std::condition_variable ended;
  std::vector<Posted> posts;
};

// Dotted text to a network-order address; fails the test on bad text.
std::uint32_t Ip(const char* dotted);

}  // namespace lx47::test
