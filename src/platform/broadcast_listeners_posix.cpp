// Linux: the broadcast listeners of a bound UDP socket (see the header).
#include "platform/broadcast_listeners_posix.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace lx47::platform::posix {
namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

// Datagrams of another interface passed over by one read. Winsock never
// queues them; here they are read and dropped, and beyond this many the read
// reports nothing, so that a flood on another link cannot hold it.
constexpr int kMaxPassedOver = 256;

struct Listeners {
  unsigned ifindex = 0;  // H's interface: the only one whose broadcasts count
  std::vector<int> fds;  // one per broadcast address, all on H's port
};

// Socket -> its listeners. Never destroyed, so that a socket closed while the
// process ends still finds the table.
std::mutex& TableMutex() {
  static auto* m = new std::mutex;
  return *m;
}
std::map<int, Listeners>& Table() {
  static auto* t = new std::map<int, Listeners>;
  return *t;
}

struct BroadcastInterface {
  unsigned index = 0;
  std::vector<std::uint32_t> subnetBroadcasts;  // network order
};

// The interface holding addr and its subnet broadcast addresses, when it
// carries broadcasts at all (loopback and point-to-point links do not).
bool BroadcastInterfaceOf(std::uint32_t addr, BroadcastInterface& out) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  bool found = false;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    if (reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr != addr) continue;
    if (a->ifa_flags & IFF_BROADCAST) {
      // An address label ("eth0:1") names its interface before the colon.
      std::string name = a->ifa_name;
      name = name.substr(0, name.find(':'));
      out.index = ::if_nametoindex(name.c_str());
      // The address with every host bit set is a broadcast for the kernel
      // (and Windows) whether or not one was given with the address; one
      // given explicitly counts as well.
      if (a->ifa_netmask && a->ifa_netmask->sa_family == AF_INET) {
        const std::uint32_t mask = reinterpret_cast<const sockaddr_in*>(a->ifa_netmask)->sin_addr.s_addr;
        if (ntohl(mask) < 0xFFFFFFFEu) out.subnetBroadcasts.push_back(addr | ~mask);
      }
      if (a->ifa_broadaddr && a->ifa_broadaddr->sa_family == AF_INET)
        out.subnetBroadcasts.push_back(reinterpret_cast<const sockaddr_in*>(a->ifa_broadaddr)->sin_addr.s_addr);
      found = out.index != 0;
    }
    break;
  }
  ::freeifaddrs(list);
  return found;
}

int OpenListener(std::uint32_t addr, std::uint16_t portNetOrder) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  const int one = 1;
  // SO_REUSEADDR: another tool's socket may hold the same port on another
  // address and listen here too; a broadcast reaches every such listener.
  // IP_PKTINFO: the arrival interface. SO_TIMESTAMPNS: the arrival time.
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = addr;
  sa.sin_port = portNetOrder;
  if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &one, sizeof one) != 0 ||
      ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one) != 0 ||
      ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Room for the arrival time and the packet information of one datagram.
union Control {
  cmsghdr align;
  char bytes[CMSG_SPACE(sizeof(timespec)) + CMSG_SPACE(sizeof(in_pktinfo))];
};

// The arrival time of the datagram at the head of fd's queue; false when the
// queue is empty.
bool HeadArrival(int fd, timespec& at) {
  std::uint8_t byte = 0;
  iovec iov{&byte, 1};
  Control control{};
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control.bytes;
  msg.msg_controllen = sizeof control.bytes;
  if (::recvmsg(fd, &msg, MSG_PEEK | MSG_DONTWAIT) < 0) return false;
  at = timespec{};  // without a time stamp it counts as the oldest
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) std::memcpy(&at, CMSG_DATA(c), sizeof at);
  return true;
}

// The descriptor whose head datagram arrived first; -1 when all are empty.
// On a tie the earlier descriptor wins: the socket itself before its listeners.
int Oldest(const std::vector<int>& fds) {
  int pick = -1;
  timespec best{};
  for (int fd : fds) {
    timespec at{};
    if (!HeadArrival(fd, at)) continue;
    if (pick < 0 || at.tv_sec < best.tv_sec || (at.tv_sec == best.tv_sec && at.tv_nsec < best.tv_nsec)) {
      pick = fd;
      best = at;
    }
  }
  return pick;
}

struct Read {
  std::ptrdiff_t length = -1;  // -1: nothing for the caller
  bool passedOver = false;     // it came through another interface
};

// Reads the head datagram of fd. With onlyIfindex set, one that came
// through another interface is passed over.
Read ReadHead(int fd, std::uint8_t* buf, std::size_t cap, int flags, unsigned onlyIfindex) {
  iovec iov{buf, cap};
  Control control{};
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control.bytes;
  msg.msg_controllen = sizeof control.bytes;
  const ssize_t n = ::recvmsg(fd, &msg, flags);
  if (n < 0) return {};
  if (onlyIfindex != 0) {
    unsigned arrived = 0;
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
      if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO) continue;
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      arrived = static_cast<unsigned>(info.ipi_ifindex);
    }
    if (arrived != onlyIfindex) {
      // Leave the buffer as if nothing had come: Winsock never delivers it.
      std::memset(buf, 0, n < static_cast<ssize_t>(cap) ? static_cast<std::size_t>(n) : cap);
      return {-1, true};
    }
  }
  // Longer than cap: the rest is lost, and Winsock fails the whole receive
  // with WSAEMSGSIZE; a part of a datagram is never handed on.
  if (msg.msg_flags & MSG_TRUNC) return {};
  return {n, false};
}

}  // namespace

void OpenBroadcastListeners(int fd) {
  int type = 0;
  socklen_t typeLen = sizeof type;
  if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &typeLen) != 0 || type != SOCK_DGRAM) return;
  sockaddr_in local{};
  socklen_t len = sizeof local;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) != 0 || local.sin_family != AF_INET) return;
  // A socket on the wildcard address hears every broadcast already.
  if (local.sin_addr.s_addr == INADDR_ANY) return;
  BroadcastInterface iface;
  if (!BroadcastInterfaceOf(local.sin_addr.s_addr, iface)) return;

  Listeners listeners;
  listeners.ifindex = iface.index;
  std::vector<std::uint32_t> addresses{kLimitedBroadcast};
  for (std::uint32_t subnet : iface.subnetBroadcasts)
    if (subnet != 0 && subnet != local.sin_addr.s_addr &&
        std::find(addresses.begin(), addresses.end(), subnet) == addresses.end())
      addresses.push_back(subnet);
  for (std::uint32_t to : addresses) {
    const int l = OpenListener(to, local.sin_port);
    if (l >= 0) listeners.fds.push_back(l);
  }
  if (listeners.fds.empty()) return;
  // The socket's own datagrams need their arrival time too, to be ordered
  // among the listeners'.
  const int one = 1;
  (void)::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one);

  std::lock_guard lock(TableMutex());
  Listeners& slot = Table()[fd];
  for (int old : slot.fds) ::close(old);  // a descriptor number closed without this layer
  slot = std::move(listeners);
}

std::ptrdiff_t ReceiveDatagram(int fd, std::uint8_t* buf, std::size_t cap) {
  Listeners listeners;
  {
    std::lock_guard lock(TableMutex());
    auto it = Table().find(fd);
    if (it != Table().end()) listeners = it->second;
  }
  if (listeners.fds.empty()) return ReadHead(fd, buf, cap, 0, 0).length;

  std::vector<int> all{fd};
  all.insert(all.end(), listeners.fds.begin(), listeners.fds.end());
  const int fl = ::fcntl(fd, F_GETFL, 0);
  const bool blocking = fl >= 0 && !(fl & O_NONBLOCK);
  for (int passed = 0; passed < kMaxPassedOver; ++passed) {
    const int from = Oldest(all);
    if (from < 0) {
      if (!blocking) return -1;
      // A blocking socket waits for the first datagram on any of them.
      std::vector<pollfd> p;
      for (int f : all) p.push_back(pollfd{f, POLLIN, 0});
      if (::poll(p.data(), p.size(), -1) < 0) return -1;
      continue;
    }
    const Read r = ReadHead(from, buf, cap, MSG_DONTWAIT, from == fd ? 0 : listeners.ifindex);
    if (!r.passedOver) return r.length;
  }
  return -1;
}

void CloseBroadcastListeners(int fd) {
  Listeners listeners;
  {
    std::lock_guard lock(TableMutex());
    auto it = Table().find(fd);
    if (it == Table().end()) return;
    listeners = std::move(it->second);
    Table().erase(it);
  }
  for (int l : listeners.fds) {
    ::shutdown(l, SHUT_RDWR);
    ::close(l);
  }
}

}  // namespace lx47::platform::posix
