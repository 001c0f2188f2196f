// The worker procedures: what runs on the worker thread around each exchange.
#include <thread>

#include "platform/clock.h"
#include "protocol/discovery.h"
#include "protocol/factory_reset.h"
#include "protocol/firmware.h"
#include "protocol/process_param.h"
#include "protocol/router_scan.h"
#include "protocol/result_codes.h"
#include "protocol/settings.h"
#include "protocol/settings_write.h"

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

void SettingsWriteWorker(ProcessParam* param) {
  platform::Sleep(500);
  const int result = param->TargetEntry ? WriteSettings(*param->TargetEntry) : PR_SEND;
  platform::Sleep(1500);
  PostEnd(param, result);
}

void FactoryResetWorker(ProcessParam* param) {
  PostEnd(param, FactoryReset(param->TargetEntry, param));
}

void RouterScanWorker(ProcessParam* param) {
  platform::Sleep(500);
  std::uint8_t count = static_cast<std::uint8_t>(param->FoundCount);
  // DataPtr is RouterScanTable: records of 42 bytes, DataSize of them.
  auto* table = reinterpret_cast<RouterScanRecord*>(param->DataPtr);
  const int result = param->TargetEntry ? ScanRouters(*param->TargetEntry, count, table, param->DataSize) : PR_SEND;
  RouterScanCount = count;
  platform::Sleep(1500);
  PostEnd(param, result);
}

void FirmwareWorker(ProcessParam* param) {
  const int result = param->TargetEntry
                         ? TransferFirmware(*param->TargetEntry, param->hNotifyWnd, param->DataPtr, param->DataSize)
                         : PR_SEND;
  platform::Sleep(500);
  PostEnd(param, result);
}

WorkerProc WorkerForKind(int kind) {
  switch (kind) {
    case OP_SEARCH: return DiscoveryWorker;
    case OP_WRITE: return SettingsWriteWorker;
    case OP_FIRMWARE: return FirmwareWorker;
    case OP_FACTORY_RESET: return FactoryResetWorker;
    case OP_ROUTER_SCAN: return RouterScanWorker;
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
