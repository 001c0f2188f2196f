// POSIX side of lx47-sim's OS calls.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim_socket.h"

namespace sim::os {
namespace {

volatile int* g_stopFlag = nullptr;

extern "C" void onStopSignal(int) {
  if (g_stopFlag) *g_stopFlag = 1;
}

sockaddr_in toSockaddr(std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = addr;
  sa.sin_port = htons(port);
  return sa;
}

bool setNonBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL, 0);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

bool startup(std::string&) {
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}

Handle udpOpen(std::uint32_t addr, std::uint16_t port, std::string& err) {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    err = "socket: " + lastError();
    return kInvalid;
  }
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  int rcvbuf = 1 << 20;
  ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &rcvbuf, sizeof rcvbuf);
  sockaddr_in sa = toSockaddr(addr, port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    err = "bind UDP port " + std::to_string(port) + ": " + lastError();
    ::close(fd);
    return kInvalid;
  }
  setNonBlocking(fd);
  return fd;
}

bool udpReceive(Handle h, std::uint8_t* buf, std::size_t cap, Datagram& info) {
  sockaddr_in from{};
  iovec iov{buf, cap};
  msghdr msg{};
  msg.msg_name = &from;
  msg.msg_namelen = sizeof from;
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  ssize_t n = ::recvmsg(static_cast<int>(h), &msg, MSG_DONTWAIT);
  if (n < 0) return false;
  info = Datagram{};
  info.src = from.sin_addr.s_addr;
  info.srcPort = ntohs(from.sin_port);
  info.length = static_cast<std::size_t>(n);
  info.truncated = (msg.msg_flags & MSG_TRUNC) != 0;
  return true;
}

bool udpSend(Handle h, std::uint32_t to, std::uint16_t port, const std::uint8_t* data, std::size_t len) {
  sockaddr_in sa = toSockaddr(to, port);
  ssize_t n = ::sendto(static_cast<int>(h), data, len, MSG_DONTWAIT | MSG_NOSIGNAL,
                       reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  return n >= 0 && static_cast<std::size_t>(n) == len;
}

Handle tcpListen(std::uint32_t addr, std::uint16_t port, int recvBuffer, std::string& err) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    err = "socket: " + lastError();
    return kInvalid;
  }
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (recvBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &recvBuffer, sizeof recvBuffer);
  sockaddr_in sa = toSockaddr(addr, port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 8) != 0) {
    err = "listen TCP port " + std::to_string(port) + ": " + lastError();
    ::close(fd);
    return kInvalid;
  }
  setNonBlocking(fd);
  return fd;
}

Handle tcpAccept(Handle listener, std::uint32_t& local, std::uint32_t& peer, std::uint16_t& peerPort) {
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  int fd = ::accept4(static_cast<int>(listener), reinterpret_cast<sockaddr*>(&sa), &len,
                     SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return kInvalid;
  peer = sa.sin_addr.s_addr;
  peerPort = ntohs(sa.sin_port);
  sockaddr_in me{};
  len = sizeof me;
  local = ::getsockname(fd, reinterpret_cast<sockaddr*>(&me), &len) == 0 ? me.sin_addr.s_addr : 0;
  return fd;
}

std::ptrdiff_t tcpReceive(Handle h, std::uint8_t* buf, std::size_t cap) {
  ssize_t n = ::recv(static_cast<int>(h), buf, cap, MSG_DONTWAIT);
  if (n > 0) return n;
  if (n == 0) return 0;
  return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? -1 : -2;
}

bool waitReadable(const Handle* handles, std::size_t count, bool* ready, int timeoutMs) {
  std::vector<pollfd> fds(count);
  for (std::size_t i = 0; i < count; ++i) {
    fds[i].fd = static_cast<int>(handles[i]);
    fds[i].events = POLLIN;
    ready[i] = false;
  }
  int n = ::poll(fds.data(), fds.size(), timeoutMs);
  if (n < 0) return false;
  for (std::size_t i = 0; i < count; ++i) ready[i] = (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  return true;
}

void closeHandle(Handle& h) {
  if (h == kInvalid) return;
  ::shutdown(static_cast<int>(h), SHUT_RDWR);
  ::close(static_cast<int>(h));
  h = kInvalid;
}

void installStopHandler(volatile int* flag) {
  g_stopFlag = flag;
  struct sigaction sa{};
  sa.sa_handler = onStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: the wait returns at once
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
}

std::uint64_t monotonicMs() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

double wallSeconds() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() / 1e6;
}

long processId() { return static_cast<long>(::getpid()); }

std::string lastError() { return std::strerror(errno); }

bool writeFileAtomically(const std::string& path, const void* data, std::size_t len) {
  const std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, len, f) == len;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace sim::os
