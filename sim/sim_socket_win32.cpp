// Windows side of lx47-sim's OS calls (Winsock 2).
// The simulator waits on one socket per device address plus the listener and
// its connections: more than select's default set of 64.
#define FD_SETSIZE 1024
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "sim_socket.h"

namespace sim::os {
namespace {

volatile int* g_stopFlag = nullptr;

BOOL WINAPI onConsoleStop(DWORD) {
  if (g_stopFlag) *g_stopFlag = 1;
  return TRUE;  // the main loop sees the flag within its wait and ends cleanly
}

sockaddr_in toSockaddr(std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = addr;
  sa.sin_port = htons(port);
  return sa;
}

SOCKET sock(Handle h) { return static_cast<SOCKET>(h); }

// Unlike a POSIX socket, a Winsock UDP socket bound to one address also
// receives the broadcasts that arrive on that address's interface, so every
// broadcast would reach the wildcard socket and each device address's socket
// and be answered twice. Sockets bound to an address therefore read each
// datagram's destination (IP_PKTINFO) and pass over those not sent to it.
std::mutex g_boundMu;
std::map<Handle, std::uint32_t> g_bound;  // socket -> its own address (not 0)
LPFN_WSARECVMSG g_recvMsg = nullptr;

LPFN_WSARECVMSG RecvMsgFunction(SOCKET s) {
  if (g_recvMsg) return g_recvMsg;
  GUID id = WSAID_WSARECVMSG;
  LPFN_WSARECVMSG fn = nullptr;
  DWORD bytes = 0;
  if (::WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &fn, sizeof fn, &bytes, nullptr, nullptr) == 0)
    g_recvMsg = fn;
  return g_recvMsg;
}

std::uint32_t BoundAddress(Handle h) {
  std::lock_guard lock(g_boundMu);
  auto it = g_bound.find(h);
  return it == g_bound.end() ? 0 : it->second;
}

bool setNonBlocking(SOCKET s) {
  u_long on = 1;
  return ::ioctlsocket(s, FIONBIO, &on) == 0;
}

}  // namespace

bool startup(std::string& err) {
  WSADATA data{};
  const int rc = ::WSAStartup(MAKEWORD(2, 2), &data);
  if (rc != 0) {
    err = "WSAStartup failed: " + std::to_string(rc);
    return false;
  }
  return true;
}

Handle udpOpen(std::uint32_t addr, std::uint16_t port, std::string& err) {
  SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    err = "socket: " + lastError();
    return kInvalid;
  }
  BOOL one = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
  ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&one), sizeof one);
  int rcvbuf = 1 << 20;
  ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&rcvbuf), sizeof rcvbuf);
  sockaddr_in sa = toSockaddr(addr, port);
  if (::bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    err = "bind UDP port " + std::to_string(port) + ": " + lastError();
    ::closesocket(s);
    return kInvalid;
  }
  setNonBlocking(s);
  if (addr != 0) {
    DWORD on = 1;
    ::setsockopt(s, IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on), sizeof on);
    RecvMsgFunction(s);
    std::lock_guard lock(g_boundMu);
    g_bound[static_cast<Handle>(s)] = addr;
  }
  return static_cast<Handle>(s);
}

namespace {

// One datagram with its destination address; false when none is queued.
// dst stays 0 when the destination cannot be read.
bool ReceiveWithDestination(SOCKET s, std::uint8_t* buf, std::size_t cap, sockaddr_in& from, int& n,
                            bool& truncated, std::uint32_t& dst) {
  LPFN_WSARECVMSG recvMsg = RecvMsgFunction(s);
  dst = 0;
  truncated = false;
  if (!recvMsg) {
    int len = sizeof from;
    n = ::recvfrom(s, reinterpret_cast<char*>(buf), static_cast<int>(cap), 0, reinterpret_cast<sockaddr*>(&from),
                   &len);
    if (n == SOCKET_ERROR) {
      if (::WSAGetLastError() != WSAEMSGSIZE) return false;
      n = static_cast<int>(cap);
      truncated = true;
    }
    return true;
  }
  WSABUF data{static_cast<ULONG>(cap), reinterpret_cast<char*>(buf)};
  char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
  WSAMSG msg{};
  msg.name = reinterpret_cast<sockaddr*>(&from);
  msg.namelen = sizeof from;
  msg.lpBuffers = &data;
  msg.dwBufferCount = 1;
  msg.Control = WSABUF{sizeof control, control};
  DWORD got = 0;
  if (recvMsg(s, &msg, &got, nullptr, nullptr) == SOCKET_ERROR) {
    if (::WSAGetLastError() != WSAEMSGSIZE) return false;
    got = static_cast<DWORD>(cap);
    truncated = true;
  }
  if (msg.dwFlags & MSG_TRUNC) truncated = true;
  n = static_cast<int>(got);
  for (WSACMSGHDR* c = WSA_CMSG_FIRSTHDR(&msg); c; c = WSA_CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      IN_PKTINFO info;
      std::memcpy(&info, WSA_CMSG_DATA(c), sizeof info);
      dst = info.ipi_addr.s_addr;
    }
  }
  return true;
}

}  // namespace

bool udpReceive(Handle h, std::uint8_t* buf, std::size_t cap, Datagram& info) {
  const std::uint32_t own = BoundAddress(h);
  // Datagrams for another address are passed over, a bounded number a call.
  for (int skipped = 0; skipped < 64; ++skipped) {
    sockaddr_in from{};
    int n = 0;
    bool truncated = false;
    std::uint32_t dst = 0;
    if (!ReceiveWithDestination(sock(h), buf, cap, from, n, truncated, dst)) return false;
    if (own != 0 && dst != 0 && dst != own) continue;  // a broadcast: the wildcard socket has it
    info = Datagram{};
    info.src = from.sin_addr.s_addr;
    info.srcPort = ntohs(from.sin_port);
    info.length = static_cast<std::size_t>(n);
    info.truncated = truncated;
    return true;
  }
  return false;
}

bool udpSend(Handle h, std::uint32_t to, std::uint16_t port, const std::uint8_t* data, std::size_t len) {
  sockaddr_in sa = toSockaddr(to, port);
  int n = ::sendto(sock(h), reinterpret_cast<const char*>(data), static_cast<int>(len), 0,
                   reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  return n != SOCKET_ERROR && static_cast<std::size_t>(n) == len;
}

Handle tcpListen(std::uint32_t addr, std::uint16_t port, int recvBuffer, std::string& err) {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    err = "socket: " + lastError();
    return kInvalid;
  }
  BOOL one = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
  if (recvBuffer > 0)
    ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&recvBuffer), sizeof recvBuffer);
  sockaddr_in sa = toSockaddr(addr, port);
  if (::bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(s, 8) != 0) {
    err = "listen TCP port " + std::to_string(port) + ": " + lastError();
    ::closesocket(s);
    return kInvalid;
  }
  setNonBlocking(s);
  return static_cast<Handle>(s);
}

Handle tcpAccept(Handle listener, std::uint32_t& local, std::uint32_t& peer, std::uint16_t& peerPort) {
  sockaddr_in sa{};
  int len = sizeof sa;
  SOCKET s = ::accept(sock(listener), reinterpret_cast<sockaddr*>(&sa), &len);
  if (s == INVALID_SOCKET) return kInvalid;
  // Winsock's accepted socket inherits the listener's non-blocking mode;
  // set it anyway, the reads below must never wait.
  setNonBlocking(s);
  peer = sa.sin_addr.s_addr;
  peerPort = ntohs(sa.sin_port);
  sockaddr_in me{};
  len = sizeof me;
  local = ::getsockname(s, reinterpret_cast<sockaddr*>(&me), &len) == 0 ? me.sin_addr.s_addr : 0;
  return static_cast<Handle>(s);
}

std::ptrdiff_t tcpReceive(Handle h, std::uint8_t* buf, std::size_t cap) {
  int n = ::recv(sock(h), reinterpret_cast<char*>(buf), static_cast<int>(cap), 0);
  if (n > 0) return n;
  if (n == 0) return 0;
  const int e = ::WSAGetLastError();
  return (e == WSAEWOULDBLOCK || e == WSAEINTR) ? -1 : -2;
}

bool waitReadable(const Handle* handles, std::size_t count, bool* ready, int timeoutMs) {
  for (std::size_t i = 0; i < count; ++i) ready[i] = false;
  if (count > FD_SETSIZE) return false;
  fd_set r, e;
  FD_ZERO(&r);
  FD_ZERO(&e);
  for (std::size_t i = 0; i < count; ++i) {
    FD_SET(sock(handles[i]), &r);
    FD_SET(sock(handles[i]), &e);
  }
  // Winsock refuses a select over empty sets; there is nothing to wait for.
  if (count == 0) {
    ::Sleep(static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs));
    return true;
  }
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  int n = ::select(0, &r, nullptr, &e, &tv);
  if (n == SOCKET_ERROR) return false;
  for (std::size_t i = 0; i < count; ++i)
    ready[i] = FD_ISSET(sock(handles[i]), &r) || FD_ISSET(sock(handles[i]), &e);
  return true;
}

void closeHandle(Handle& h) {
  if (h == kInvalid) return;
  {
    std::lock_guard lock(g_boundMu);
    g_bound.erase(h);
  }
  ::shutdown(sock(h), SD_BOTH);
  ::closesocket(sock(h));
  h = kInvalid;
}

void installStopHandler(volatile int* flag) {
  g_stopFlag = flag;
  ::SetConsoleCtrlHandler(onConsoleStop, TRUE);
}

std::uint64_t monotonicMs() { return ::GetTickCount64(); }

double wallSeconds() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() / 1e6;
}

long processId() { return static_cast<long>(::GetCurrentProcessId()); }

std::string lastError() {
  const int code = ::WSAGetLastError();
  char buf[256] = {};
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buf, sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\n' || buf[n - 1] == '\r')) --n;
  std::string text(buf, n);
  return (text.empty() ? "error" : text) + " (" + std::to_string(code) + ")";
}

bool writeFileAtomically(const std::string& path, const void* data, std::size_t len) {
  const std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, len, f) == len;
  ok = (std::fclose(f) == 0) && ok;
  // rename does not replace an existing file on Windows; MoveFileEx does.
  if (!ok || !::MoveFileExA(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace sim::os
