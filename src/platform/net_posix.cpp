// POSIX sockets behind the socket layer.
#include "platform/net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/broadcast_listeners_posix.h"

namespace lx47::platform {
namespace {

sockaddr_in toSockaddr(Endpoint e) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = e.addr;
  sa.sin_port = htons(e.port);
  return sa;
}

int fd(SocketHandle s) { return static_cast<int>(s); }

class PosixNet final : public NetApi {
 public:
  bool startup() override {
    // A peer that stops reading must fail a send, not kill the process.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
  }
  SocketHandle udpSocket() override {
    int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    return s < 0 ? kInvalidSocket : s;
  }
  SocketHandle tcpSocket() override {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return kInvalidSocket;
    // A peer that accepts and then stops reading would block a send for
    // ever; after kStreamSendTimeoutMs without progress the send fails.
    timeval tv{kStreamSendTimeoutMs / 1000, (kStreamSendTimeoutMs % 1000) * 1000};
    (void)::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    return s;
  }
  bool setBroadcast(SocketHandle s, bool on) override {
    int v = on ? 1 : 0;
    return ::setsockopt(fd(s), SOL_SOCKET, SO_BROADCAST, &v, sizeof v) == 0;
  }
  bool bind(SocketHandle s, Endpoint local) override {
    sockaddr_in sa = toSockaddr(local);
    if (::bind(fd(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) return false;
    // From here on the socket hears its port's broadcasts on its address's
    // interface too, as a Winsock socket bound to that address does.
    posix::OpenBroadcastListeners(fd(s));
    return true;
  }
  bool localEndpoint(SocketHandle s, Endpoint& out) override {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(fd(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return false;
    out.addr = sa.sin_addr.s_addr;
    out.port = ntohs(sa.sin_port);
    return true;
  }
  bool sendTo(SocketHandle s, const std::uint8_t* data, std::size_t len, Endpoint to) override {
    sockaddr_in sa = toSockaddr(to);
    ssize_t n = ::sendto(fd(s), data, len, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    return n >= 0 && static_cast<std::size_t>(n) == len;
  }
  std::ptrdiff_t recvFrom(SocketHandle s, std::uint8_t* buf, std::size_t cap) override {
    return posix::ReceiveDatagram(fd(s), buf, cap);
  }
  bool setNonBlocking(SocketHandle s, bool on) override {
    int flags = ::fcntl(fd(s), F_GETFL, 0);
    if (flags < 0) return false;
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd(s), F_SETFL, flags) == 0;
  }
  ConnectStart connect(SocketHandle s, Endpoint to) override {
    sockaddr_in sa = toSockaddr(to);
    if (::connect(fd(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) return ConnectStart::Connected;
    return errno == EINPROGRESS || errno == EWOULDBLOCK ? ConnectStart::InProgress : ConnectStart::Failed;
  }
  WaitResult waitConnected(SocketHandle s, int timeoutMs) override {
    fd_set r, w, e;
    FD_ZERO(&r);
    FD_ZERO(&w);
    FD_ZERO(&e);
    FD_SET(fd(s), &r);
    FD_SET(fd(s), &w);
    FD_SET(fd(s), &e);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int n = ::select(fd(s) + 1, &r, &w, &e, &tv);
    if (n < 0) return WaitResult::Failed;
    if (n == 0) return WaitResult::TimedOut;
    if (!FD_ISSET(fd(s), &r) && !FD_ISSET(fd(s), &w)) return WaitResult::NotReady;
    // Unlike Winsock, a refused connection shows as writable here: the
    // pending error tells the two apart.
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd(s), SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) return WaitResult::NotReady;
    return WaitResult::Ready;
  }
  std::ptrdiff_t send(SocketHandle s, const std::uint8_t* data, std::size_t len) override {
    ssize_t n = ::send(fd(s), data, len, MSG_NOSIGNAL);
    return n < 0 ? -1 : n;
  }
  void shutdownBoth(SocketHandle s) override { ::shutdown(fd(s), SHUT_RDWR); }
  void close(SocketHandle s) override {
    posix::CloseBroadcastListeners(fd(s));
    ::close(fd(s));
  }
};

}  // namespace

NetApi& systemNet() {
  static PosixNet instance;
  return instance;
}

}  // namespace lx47::platform
