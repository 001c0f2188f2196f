#include "ctl/runner.h"

#include <chrono>

#include "ctl/interrupt.h"
#include "protocol/result_codes.h"

namespace lx47::ctl {

namespace {
// How often an interrupt is looked for while a job runs; well below the
// exchanges' own pause between receive attempts.
constexpr auto kPoll = std::chrono::milliseconds(10);
}  // namespace

void JobRunner::post(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) {
  // Notified under the lock: once the end message is seen the runner may
  // go, and the worker must be done with it by then.
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back({message, wParam, lParam});
  posted_.notify_one();
}

int JobRunner::Run(Job job, const Progress& progress) {
  session_.Abort.ClearAbort();
  if (Interrupted()) return PR_ABORTED;
  if (!StartJob(std::move(job), ExchangeContext{io_, session_.Abort, this})) return PR_WORKER_NOT_STARTED;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    posted_.wait_for(lock, kPoll, [this] { return !queue_.empty(); });
    if (Interrupted()) session_.Abort.RequestAbort();
    while (!queue_.empty()) {
      const Message m = queue_.front();
      queue_.pop_front();
      if (m.message == UWM_PROCESS_END) return static_cast<int>(m.wParam);
      if (m.message == UWM_PROCESS_PROGRESS && progress) {
        lock.unlock();
        progress(static_cast<std::uint32_t>(m.wParam), static_cast<std::uint32_t>(m.lParam));
        lock.lock();
      }
    }
  }
}

}  // namespace lx47::ctl
