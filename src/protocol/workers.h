// The worker procedures: what runs on the worker thread around each
// exchange. Each is handed one typed request, a copy of everything it reads,
// and gives back one typed result; besides them it touches only the abort
// flag, the platform and (the firmware transfer) the progress messages.
#pragma once

#include <cstdint>

#include "protocol/device_table.h"
#include "protocol/discovery.h"
#include "protocol/exchange_context.h"
#include "protocol/factory_reset.h"
#include "protocol/router_scan.h"
#include "protocol/tool_settings.h"

namespace lx47 {

struct WriteRequest {
  ToolSettings settings;
  DeviceEntry TargetEntry;  // its block holds what the pages stored
};
struct WriteResult {
  int code = 0;
  DeviceEntry TargetEntry;  // as the exchange left it: the device's answer on success
};

struct RouterScanRequest {
  ToolSettings settings;
  DeviceEntry TargetEntry;
};
struct RouterScanResult {
  int code = 0;
  RouterScanTableArray RouterScanTable{};
  std::uint8_t RouterScanCount = 0;
};

struct FirmwareRequest {
  ToolSettings settings;
  DeviceEntry TargetEntry;
  const std::uint8_t* DataPtr = nullptr;  // the image; outlives the transfer
  std::int32_t DataSize = 0;
};

// Each runs its exchange with the pauses around it; the code is the one the
// end message carries.
SearchResult DiscoveryWorker(const SearchRequest& request, const ExchangeContext& x);
WriteResult SettingsWriteWorker(const WriteRequest& request, const ExchangeContext& x);
int FactoryResetWorker(const FactoryResetRequest& request, const ExchangeContext& x);
RouterScanResult RouterScanWorker(const RouterScanRequest& request, const ExchangeContext& x);
int FirmwareWorker(const FirmwareRequest& request, const ExchangeContext& x);

}  // namespace lx47
