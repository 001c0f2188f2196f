#include "app/run_operation.h"

#include "app/DlgProcess.h"

namespace lx47::app {

pages::RunnerOutcome RunOperation(QWidget* parent, const pages::RunnerRequest& request) {
  DlgProcess dlg(parent);
  dlg.m_Kind = request.kind;
  dlg.m_TargetEntry = request.target;
  dlg.m_Title = request.title;
  dlg.m_Message = request.message;
  const int code = dlg.exec();
  return {code == QDialog::Accepted, dlg.m_Result};
}

}  // namespace lx47::app
