// One run of the operation runner: a job behind the modal progress dialog.
#pragma once

#include <QString>

#include "pages/operation_runner.h"
#include "protocol/job.h"

namespace lx47 {
struct Session;
}

namespace lx47::app {

struct Operation {
  int kind = 0;  // OP_*
  QString title;
  QString message;
  Job job;
};

// Runs the operation modally over parent; returns when its worker has ended.
// ok: the runner closed through the end message; result: the code it
// carried (-1 when the worker did not start).
pages::RunnerOutcome RunOperation(Session& session, QWidget* parent, Operation operation);

// The runner the pages are handed: the router scan of the router selection
// dialog, whose routers go into the session once it has ended.
pages::OperationRunner PageRunner(Session& session);

}  // namespace lx47::app
