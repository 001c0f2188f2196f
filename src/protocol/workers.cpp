#include "protocol/workers.h"

#include "protocol/firmware.h"
#include "protocol/result_codes.h"
#include "protocol/settings_write.h"

namespace lx47 {

SearchResult DiscoveryWorker(const SearchRequest& request, const ExchangeContext& x) {
  x.abort.ClearAbort();
  // A new result is an empty table with a count of 0.
  SearchResult result;
  result.code = DiscoverDevices(request, result, x);
  return result;
}

WriteResult SettingsWriteWorker(const WriteRequest& request, const ExchangeContext& x) {
  WriteResult result;
  result.TargetEntry = request.TargetEntry;
  x.io.clock.sleepMs(500);
  result.code = WriteSettings(result.TargetEntry, request.settings, x);
  x.io.clock.sleepMs(1500);
  return result;
}

int FactoryResetWorker(const FactoryResetRequest& request, const ExchangeContext& x) {
  return FactoryReset(request, x);
}

RouterScanResult RouterScanWorker(const RouterScanRequest& request, const ExchangeContext& x) {
  RouterScanResult result;
  x.io.clock.sleepMs(500);
  // The count starts at 0 and stays there unless a reply is accepted.
  result.code = ScanRouters(request.TargetEntry, result.RouterScanCount, result.RouterScanTable.data(),
                            kRouterScanCapacity, request.settings, x);
  x.io.clock.sleepMs(1500);
  return result;
}

int FirmwareWorker(const FirmwareRequest& request, const ExchangeContext& x) {
  const int result = TransferFirmware(request.TargetEntry, request.DataPtr, request.DataSize, request.settings, x);
  x.io.clock.sleepMs(500);
  return result;
}

}  // namespace lx47
