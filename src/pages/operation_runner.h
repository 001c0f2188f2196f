// How a page asks for an exchange to run behind the progress dialog. The
// runner itself belongs to the application layer, above the pages, so the
// page that needs it is handed one when it is made (see page_factory.cpp).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "protocol/device_table.h"

class QWidget;

namespace lx47::pages {

struct RunnerRequest {
  int kind = 0;                    // an operation kind, e.g. OP_ROUTER_SCAN
  DeviceEntry* target = nullptr;   // the entry addressed
  QString title;
  QString message;
};

struct RunnerOutcome {
  bool ok = false;           // the runner closed normally
  std::int32_t result = -1;  // the worker's result code
};

// Runs the request modally over parent and returns when the worker has ended.
using OperationRunner = std::function<RunnerOutcome(QWidget* parent, const RunnerRequest& request)>;

}  // namespace lx47::pages
