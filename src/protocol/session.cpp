#include "protocol/session.h"

namespace lx47 {

void Session::Take(SearchResult&& result) {
  DeviceTable = std::move(result.DeviceTable);
  DeviceCount = result.FoundCount;
}

void Session::Take(RouterScanResult&& result) {
  RouterScanTable = result.RouterScanTable;
  RouterScanCount = result.RouterScanCount;
}

bool Session::StartDeviceCommand(DeviceCommand command, const DeviceEntry& entry) {
  return DeviceCommands.Start(command, entry, Settings, Io::Current());
}

void Session::ReleaseDeviceTable() {
  EmptyDeviceTable(DeviceTable);
  DeviceCount = 0;
}

}  // namespace lx47
