// Runs one job of the protocol core the way the window's runner does: on a
// thread of its own, the caller waiting for its end message. While it
// waits, an interrupt (Ctrl-C) asks the job to stop through the session's
// abort flag, again every poll, since an exchange clears the flag as it
// starts.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/notify.h"
#include "protocol/exchange_context.h"
#include "protocol/job.h"
#include "protocol/session.h"

namespace lx47::ctl {

class JobRunner final : public platform::Notifier {
 public:
  using Progress = std::function<void(std::uint32_t sent, std::uint32_t total)>;

  JobRunner(Session& session, Io io) : session_(session), io_(io) {}

  // The job's code, or PR_WORKER_NOT_STARTED when no thread could start.
  int Run(Job job, const Progress& progress = {});

  void post(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) override;

 private:
  struct Message {
    std::uint32_t message;
    std::intptr_t wParam, lParam;
  };

  Session& session_;
  Io io_;
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Message> queue_;
};

}  // namespace lx47::ctl
