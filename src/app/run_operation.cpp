#include "app/run_operation.h"

#include "app/DlgProcess.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"

namespace lx47::app {

pages::RunnerOutcome RunOperation(Session& session, QWidget* parent, Operation operation) {
  DlgProcess dlg(session, parent);
  dlg.m_Kind = operation.kind;
  dlg.m_Title = operation.title;
  dlg.m_Message = operation.message;
  dlg.m_Job = std::move(operation.job);
  const int code = dlg.exec();
  return {code == QDialog::Accepted, dlg.m_Result};
}

pages::OperationRunner PageRunner(Session& session) {
  return [&session](QWidget* parent, const pages::RunnerRequest& request) {
    std::optional<RouterScanResult> scanned;
    Operation operation{request.kind, request.title, request.message, {}};
    // The pages ask for nothing else; any other kind starts no worker.
    if (request.kind == OP_ROUTER_SCAN && request.target)
      operation.job = RouterScanJob(RouterScanRequest{session.Settings, *request.target}, scanned);
    const pages::RunnerOutcome outcome = RunOperation(session, parent, std::move(operation));
    if (scanned) session.Take(std::move(*scanned));
    return outcome;
  };
}

}  // namespace lx47::app
