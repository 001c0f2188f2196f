// The worker procedures: what runs on the worker thread around each exchange.
#include <thread>

#include "platform/clock.h"
#include "protocol/discovery.h"
#include "protocol/process_param.h"
#include "protocol/result_codes.h"
#include "protocol/settings.h"

namespace lx47 {

namespace {

void PostEnd(ProcessParam* param, int result) {
  if (param->hNotifyWnd) param->hNotifyWnd->post(UWM_PROCESS_END, result, 0);
}

}  // namespace

void DiscoveryWorker(ProcessParam* param) {
  ClearAbort();
  EmptyDeviceTable();
  DeviceCount = 0;
  param->FoundCount = 0;
  const int result = DiscoverDevices(param);
  DeviceCount = param->FoundCount;
  PostEnd(param, result);
}

WorkerProc WorkerForKind(int kind) {
  switch (kind) {
    case OP_SEARCH: return DiscoveryWorker;
    default: return nullptr;
  }
}

bool StartWorker(WorkerProc worker, ProcessParam* param) {
  if (!worker || !param) return false;
  try {
    std::thread(worker, param).detach();
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace lx47
