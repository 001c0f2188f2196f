// The few operating-system calls lx47-sim makes: UDP sockets (one on the
// wildcard address for broadcasts, one per device address, so that a reply
// leaves from the device's own address), a TCP listener, a readiness wait over a handful of handles, and the stop signal.
// One implementation per OS (sim_socket_posix.cpp; a _win32 twin for Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim::os {

using Handle = std::intptr_t;
inline constexpr Handle kInvalid = -1;

// Addresses are in network order (first octet in the lowest byte of memory),
// ports in host order.
struct Datagram {
  std::uint32_t src = 0;
  std::uint16_t srcPort = 0;
  std::uint32_t dst = 0;  // the address the datagram was sent to; 0 when unknown (set by the caller)
  std::size_t length = 0;
  bool truncated = false;  // longer than the buffer
};

bool startup(std::string& err);

// Non-blocking UDP socket bound to addr:port, broadcast allowed, the address
// shareable between a wildcard socket and the device addresses' sockets.
Handle udpOpen(std::uint32_t addr, std::uint16_t port, std::string& err);
// One datagram, without waiting; false when none is queued.
bool udpReceive(Handle h, std::uint8_t* buf, std::size_t cap, Datagram& info);
bool udpSend(Handle h, std::uint32_t to, std::uint16_t port, const std::uint8_t* data, std::size_t len);

// TCP listener; every accepted socket is non-blocking. A receive buffer size
// above 0 is set on the listener so that accepted sockets inherit it.
Handle tcpListen(std::uint32_t addr, std::uint16_t port, int recvBuffer, std::string& err);
// An accepted connection or kInvalid; local/peer as the connection sees them.
Handle tcpAccept(Handle listener, std::uint32_t& local, std::uint32_t& peer, std::uint16_t& peerPort);
// Bytes read (> 0), 0 when the peer closed, -1 when nothing is there now,
// -2 on an error.
std::ptrdiff_t tcpReceive(Handle h, std::uint8_t* buf, std::size_t cap);

// Waits at most timeoutMs for any of the handles to become readable and sets
// ready[i] accordingly. Returns false when the wait was interrupted or failed.
bool waitReadable(const Handle* handles, std::size_t count, bool* ready, int timeoutMs);

void closeHandle(Handle& h);

// SIGTERM/SIGINT (or the console's stop events) set the flag.
void installStopHandler(volatile int* flag);

// Monotonic milliseconds and the wall clock in seconds with milliseconds.
std::uint64_t monotonicMs();
double wallSeconds();

long processId();

// Last socket error as text.
std::string lastError();

// Writes a file whole under a temporary name, then renames it over path, so
// that a reader never sees a half-written file.
bool writeFileAtomically(const std::string& path, const void* data, std::size_t len);

}  // namespace sim::os
