// Thin socket layer. The exchanges call only these functions, so that one
// implementation per operating system (and an in-memory fake for tests) can
// stand behind them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lx47::platform {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;

// IPv4 endpoint. The address is in network order (first octet in the lowest
// byte of memory), as it travels in the configuration block; the port is a
// plain host-order number.
struct Endpoint {
  std::uint32_t addr = 0;
  std::uint16_t port = 0;
};

// 255.255.255.255 is the same in either byte order.
inline constexpr std::uint32_t kBroadcastAddr = 0xFFFFFFFFu;

inline constexpr int kStreamSendTimeoutMs = 30000;

enum class ConnectStart { Connected, InProgress, Failed };
enum class WaitResult { Ready, NotReady, TimedOut, Failed };

class NetApi {
 public:
  virtual ~NetApi() = default;

  // Library start-up (WSAStartup on Windows); false when it cannot be used.
  virtual bool startup() = 0;

  virtual SocketHandle udpSocket() = 0;
  virtual SocketHandle tcpSocket() = 0;
  virtual bool setBroadcast(SocketHandle s, bool on) = 0;
  // A UDP socket bound to a host address receives, besides what is sent to
  // that address, what is sent to 255.255.255.255 and to the address's
  // subnet broadcast address on its port, when it comes in through the
  // address's interface (a device may answer by broadcast).
  virtual bool bind(SocketHandle s, Endpoint local) = 0;
  virtual bool localEndpoint(SocketHandle s, Endpoint& out) = 0;  // getsockname
  virtual bool sendTo(SocketHandle s, const std::uint8_t* data, std::size_t len, Endpoint to) = 0;
  // One datagram of at most cap bytes; returns its length, or -1 when nothing
  // was received (would block or any other error). A longer datagram is used
  // up and counts as nothing received: no part of it is handed on.
  virtual std::ptrdiff_t recvFrom(SocketHandle s, std::uint8_t* buf, std::size_t cap) = 0;
  virtual bool setNonBlocking(SocketHandle s, bool on) = 0;
  virtual ConnectStart connect(SocketHandle s, Endpoint to) = 0;
  // select() with the socket in the read, write and exception sets. Ready
  // means readable or writable; NotReady that only the exception set fired.
  virtual WaitResult waitConnected(SocketHandle s, int timeoutMs) = 0;
  // Blocking send on a connected stream; bytes sent (possibly fewer than
  // len) or -1. A send that makes no progress for kStreamSendTimeoutMs fails.
  virtual std::ptrdiff_t send(SocketHandle s, const std::uint8_t* data, std::size_t len) = 0;
  virtual void shutdownBoth(SocketHandle s) = 0;
  virtual void close(SocketHandle s) = 0;
};

// The system's socket layer unless a test installed another. Exchanges are
// handed the layer they use (see protocol/exchange_context.h); this is where
// the one they are handed comes from.
NetApi& net();
// Installs a replacement (nullptr restores the real one). Not thread-safe:
// call only while no exchange runs.
void setNet(NetApi* replacement);

// Owns one socket: shut down in both directions and closed when it goes, on
// every path out of the code that made it.
class Socket {
 public:
  Socket(NetApi& net, SocketHandle handle) : net_(&net), handle_(handle) {}
  ~Socket() { close(); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  SocketHandle get() const { return handle_; }
  bool valid() const { return handle_ != kInvalidSocket; }
  // Shuts down and closes now; nothing when it is closed already.
  void close();

 private:
  NetApi* net_;
  SocketHandle handle_;
};

// Dotted text <-> network-order address. parseIpv4 accepts exactly four
// decimal octets; it returns false (and leaves out untouched) otherwise.
bool parseIpv4(const char* text, std::uint32_t& out);
void formatIpv4(std::uint32_t addr, char (&text)[16]);

}  // namespace lx47::platform
