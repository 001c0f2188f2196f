// The record the runner hands to a worker procedure.
#pragma once

#include <array>
#include <cstdint>

#include "platform/notify.h"
#include "protocol/config_block.h"
#include "protocol/device_table.h"

namespace lx47 {

struct ProcessParam {
  platform::Notifier* hNotifyWnd = nullptr;
  std::array<std::uint8_t, 8> Password{};  // discovery: "%-8.8s" of the search password
  lx47::MacAddress MacAddress{};           // discovery: filter; factory reset: target
  std::int32_t OneDevice = 0;
  std::int32_t UseBroadcast = 0;
  std::uint8_t EraseMode = 0;
  std::int32_t FoundCount = 0;
  // The entry addressed; for discovery and a broadcast factory reset the
  // first entry of the device table, standing for the table itself.
  DeviceEntry* TargetEntry = nullptr;
  std::uint8_t* DataPtr = nullptr;  // router scan: RouterScanTable; firmware: the image
  std::int32_t DataSize = 0;        // router scan: capacity in records; firmware: image length
};

// Worker procedures: each runs its exchange and posts UWM_PROCESS_END to
// hNotifyWnd as its last action.
void DiscoveryWorker(ProcessParam* param);
void SettingsWriteWorker(ProcessParam* param);
void FactoryResetWorker(ProcessParam* param);
void RouterScanWorker(ProcessParam* param);
void FirmwareWorker(ProcessParam* param);

using WorkerProc = void (*)(ProcessParam*);
// The worker procedure of an operation kind, or nullptr for an unknown kind.
WorkerProc WorkerForKind(int kind);

// Runs the worker on a detached thread. False when no thread could be made.
bool StartWorker(WorkerProc worker, ProcessParam* param);

}  // namespace lx47
