// The flag that asks a running exchange to stop. The runner sets it on the
// user's Escape, the leave of the tool sets it too; the exchanges poll it
// before each send and each receive attempt. Written on the user-interface
// thread and read on a worker: relaxed atomic accesses keep the plain-flag
// semantics without a data race.
#pragma once

#include <atomic>

namespace lx47 {

class AbortFlag {
 public:
  void RequestAbort() { AbortRequested.store(1, std::memory_order_relaxed); }
  void ClearAbort() { AbortRequested.store(0, std::memory_order_relaxed); }
  bool IsAbortRequested() const { return AbortRequested.load(std::memory_order_relaxed) != 0; }

 private:
  std::atomic<int> AbortRequested{0};
};

}  // namespace lx47
