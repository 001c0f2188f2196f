// Two short commands to the selected device: set its clock to the PC's local
// time ("TIMC"), and drop its current TCP connection ("TDSC").
#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "protocol/device_table.h"

namespace lx47 {

// Both clear AbortRequested first and block until a reply, the last send or
// a socket error.
int SetDeviceClock(const DeviceEntry& entry);
int DisconnectTcp(const DeviceEntry& entry);

// The 21-byte clock request for a MAC and a local time (nullptr: the time
// is unknown, sent as 0 for the date and 255 for the time of day).
std::vector<std::uint8_t> ClockRequest(const MacAddress& mac, const platform::LocalTime* time);

enum class DeviceCommand { SetClock, DisconnectTcp };
// Runs a command on a thread of its own so the window never waits on the
// network; the caller ignores the result. The entry's address and MAC are
// copied, so the entry may change meanwhile. False if no thread could start.
bool StartDeviceCommand(DeviceCommand command, const DeviceEntry& entry);

// Asks the commands started so far to stop and waits, at most timeoutMs,
// until their threads are done with the sockets and the settings; the tool
// calls it before it ends. True when none runs any more.
bool WaitForDeviceCommands(int timeoutMs);

}  // namespace lx47
