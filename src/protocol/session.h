// One run of the tool: what the exchanges use and leave behind, owned in one
// place and handed to whoever needs a part of it. The application object
// holds the session of the process; every test makes a fresh one.
//
// Threads: the user-interface thread owns all of it. A worker reads only the
// copy its request carries and writes only its own result, which the
// command takes into the session once the end message has come; the abort
// flag is the one member both threads touch.
#pragma once

#include <cstdint>

#include "protocol/abort_flag.h"
#include "protocol/device_commands.h"
#include "protocol/device_table.h"
#include "protocol/router_scan.h"
#include "protocol/tool_settings.h"
#include "protocol/workers.h"

namespace lx47 {

struct Session {
  // The devices found by the last search; DeviceCount entries from the
  // first on are valid.
  DeviceTableArray DeviceTable{};
  int DeviceCount = 0;
  // The routers of the last router scan.
  RouterScanTableArray RouterScanTable{};
  std::uint8_t RouterScanCount = 0;
  // Read from the store at start-up; the tool settings dialog changes them.
  ToolSettings Settings;
  // Network order; the one host address the search and the factory reset
  // use while ALL_HOST_SCAN is 0, set by those commands before they run.
  std::uint32_t SelectedHostAddress = 0;
  AbortFlag Abort;
  // The clock set and TCP disconnect threads (they share Abort).
  DeviceCommandThreads DeviceCommands{Abort};
  // The runner's workers whose end message has not arrived yet, and whether
  // the tool is leaving (then no further worker starts).
  int WorkersRunning = 0;
  bool Leaving = false;

  // Whether index names a device of the last search (0 <= index <
  // DeviceCount, within the table).
  bool IsListed(int index) const { return index >= 0 && index < DeviceCount && index < kDeviceTableSize; }
  // The listed entry at index, or nullptr.
  DeviceEntry* ListedEntry(int index) {
    return IsListed(index) ? &DeviceTable[static_cast<std::size_t>(index)] : nullptr;
  }

  // What a finished search or router scan leaves behind.
  void Take(SearchResult&& result);
  void Take(RouterScanResult&& result);

  // Starts a clock set or TCP disconnect for entry, on the platform in use.
  bool StartDeviceCommand(DeviceCommand command, const DeviceEntry& entry);

  // At the end of the run: every stored block released, the count 0.
  void ReleaseDeviceTable();
};

}  // namespace lx47
