// The operation runner offered to the pages: one modal DlgProcess run.
#pragma once

#include "pages/operation_runner.h"

namespace lx47::app {

pages::RunnerOutcome RunOperation(QWidget* parent, const pages::RunnerRequest& request);

}  // namespace lx47::app
