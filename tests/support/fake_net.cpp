#include "fake_net.h"

#include <algorithm>
#include <cstring>

namespace lx47::test {

using platform::ConnectStart;
using platform::Endpoint;
using platform::SocketHandle;
using platform::WaitResult;

FakeNet::FakeNet() { platform::setNet(this); }
FakeNet::~FakeNet() { platform::setNet(nullptr); }

void FakeNet::failCall(Call c, int nth) {
  std::lock_guard lock(mu_);
  failures_[c].push_back(counts_[c] + nth);
}

bool FakeNet::fails(Call c) {
  const int n = ++counts_[c];
  auto& list = failures_[c];
  auto it = std::find(list.begin(), list.end(), n);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

int FakeNet::calls(Call c) const {
  std::lock_guard lock(mu_);
  auto it = counts_.find(c);
  return it == counts_.end() ? 0 : it->second;
}

void FakeNet::reply(Endpoint to, Bytes bytes) {
  std::lock_guard lock(mu_);
  inbox_[key(to)].push_back(std::move(bytes));
}

int FakeNet::openSockets() const {
  std::lock_guard lock(mu_);
  return static_cast<int>(socks_.size());
}

bool FakeNet::startup() {
  std::lock_guard lock(mu_);
  return !fails(Call::Startup);
}

SocketHandle FakeNet::udpSocket() {
  std::lock_guard lock(mu_);
  if (fails(Call::UdpSocket)) return platform::kInvalidSocket;
  socks_[next_] = Sock{};
  return next_++;
}

SocketHandle FakeNet::tcpSocket() {
  std::lock_guard lock(mu_);
  if (fails(Call::TcpSocket)) return platform::kInvalidSocket;
  socks_[next_] = Sock{};
  return next_++;
}

bool FakeNet::setBroadcast(SocketHandle s, bool on) {
  std::lock_guard lock(mu_);
  if (fails(Call::SetBroadcast) || !socks_.count(s)) return false;
  socks_[s].broadcast = on;
  return true;
}

bool FakeNet::bind(SocketHandle s, Endpoint local) {
  std::lock_guard lock(mu_);
  if (fails(Call::Bind) || !socks_.count(s)) return false;
  if (local.port == 0) local.port = nextPort_++;
  socks_[s].local = local;
  socks_[s].bound = true;
  return true;
}

bool FakeNet::localEndpoint(SocketHandle s, Endpoint& out) {
  std::lock_guard lock(mu_);
  if (fails(Call::LocalEndpoint) || !socks_.count(s) || !socks_[s].bound) return false;
  out = socks_[s].local;
  return true;
}

bool FakeNet::sendTo(SocketHandle s, const std::uint8_t* data, std::size_t len, Endpoint to) {
  Datagram d;
  {
    std::lock_guard lock(mu_);
    if (fails(Call::SendTo) || !socks_.count(s)) return false;
    // A broadcast without SO_BROADCAST fails, as on a real stack.
    if (to.addr == platform::kBroadcastAddr && !socks_[s].broadcast) return false;
    d = Datagram{socks_[s].local, to, Bytes(data, data + len)};
    sent_.push_back(d);
  }
  if (onSend) onSend(d);
  return true;
}

std::ptrdiff_t FakeNet::recvFrom(SocketHandle s, std::uint8_t* buf, std::size_t cap) {
  int n;
  {
    std::lock_guard lock(mu_);
    n = recvCalls_++;
  }
  if (beforeRecv) beforeRecv(n);
  std::lock_guard lock(mu_);
  if (fails(Call::RecvFrom) || !socks_.count(s)) return -1;
  auto& q = inbox_[key(socks_[s].local)];
  if (q.empty()) return -1;
  Bytes d = std::move(q.front());
  q.pop_front();
  // A longer datagram is used up and nothing is received, as on a real stack.
  if (d.size() > cap) return -1;
  if (!d.empty()) std::memcpy(buf, d.data(), d.size());
  return static_cast<std::ptrdiff_t>(d.size());
}

bool FakeNet::setNonBlocking(SocketHandle s, bool) {
  std::lock_guard lock(mu_);
  return !fails(Call::SetNonBlocking) && socks_.count(s);
}

ConnectStart FakeNet::connect(SocketHandle s, Endpoint to) {
  std::lock_guard lock(mu_);
  connects.push_back(to);
  if (fails(Call::Connect)) return ConnectStart::Failed;
  return connectAnswer;
}

WaitResult FakeNet::waitConnected(SocketHandle s, int timeoutMs) {
  std::lock_guard lock(mu_);
  waitTimeouts.push_back(timeoutMs);
  if (fails(Call::WaitConnected)) return WaitResult::Failed;
  if (waitAnswers.empty()) return WaitResult::Ready;
  const WaitResult r = waitAnswers[std::min(waitIndex_, waitAnswers.size() - 1)];
  ++waitIndex_;
  return r;
}

std::ptrdiff_t FakeNet::send(SocketHandle s, const std::uint8_t* data, std::size_t len) {
  std::lock_guard lock(mu_);
  if (fails(Call::Send) || !socks_.count(s)) return -1;
  std::size_t n = len;
  if (sendChunkLimit >= 0) n = std::min(n, static_cast<std::size_t>(sendChunkLimit));
  streamed.insert(streamed.end(), data, data + n);
  return static_cast<std::ptrdiff_t>(n);
}

void FakeNet::shutdownBoth(SocketHandle s) {
  std::lock_guard lock(mu_);
  if (socks_.count(s)) socks_[s].shut = true;
}

void FakeNet::close(SocketHandle s) {
  std::lock_guard lock(mu_);
  auto it = socks_.find(s);
  if (it == socks_.end()) return;
  if (!it->second.shut) ++closedWithoutShutdown_;
  socks_.erase(it);
}

}  // namespace lx47::test
