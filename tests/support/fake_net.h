// In-memory socket layer for unit tests: scripted devices, a failure
// injectable at any call, every datagram sent recorded, open sockets counted.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/net.h"

namespace lx47::test {

using Bytes = std::vector<std::uint8_t>;

enum class Call {
  Startup, UdpSocket, TcpSocket, SetBroadcast, Bind, LocalEndpoint, SendTo, RecvFrom,
  SetNonBlocking, Connect, WaitConnected, Send
};

struct Datagram {
  platform::Endpoint from;
  platform::Endpoint to;
  Bytes bytes;
};

class FakeNet : public platform::NetApi {
 public:
  FakeNet();
  ~FakeNet() override;

  // Makes the nth call (1-based, counted from now) of the given kind fail.
  void failCall(Call c, int nth = 1);
  // Called for every datagram sent; it may queue replies with reply().
  std::function<void(const Datagram&)> onSend;
  // Called before every recvFrom with its 0-based number.
  std::function<void(int)> beforeRecv;
  // Queues a datagram for the socket bound to `to`.
  void reply(platform::Endpoint to, Bytes bytes);
  // Queues a reply to the sender of a datagram.
  void replyTo(const Datagram& d, Bytes bytes) { reply(d.from, std::move(bytes)); }

  int openSockets() const;
  const std::vector<Datagram>& sent() const { return sent_; }
  int recvCalls() const { return recvCalls_; }
  int calls(Call c) const;

  // TCP: how connect() and waitConnected() answer, and what send() accepts.
  platform::ConnectStart connectAnswer = platform::ConnectStart::InProgress;
  std::vector<platform::WaitResult> waitAnswers{platform::WaitResult::Ready};
  std::ptrdiff_t sendChunkLimit = -1;  // -1: accept everything offered
  Bytes streamed;                      // bytes accepted by send()
  std::vector<platform::Endpoint> connects;
  std::vector<int> waitTimeouts;
  bool shutdownBeforeEveryClose() const { return closedWithoutShutdown_ == 0; }

  // NetApi
  bool startup() override;
  platform::SocketHandle udpSocket() override;
  platform::SocketHandle tcpSocket() override;
  bool setBroadcast(platform::SocketHandle s, bool on) override;
  bool bind(platform::SocketHandle s, platform::Endpoint local) override;
  bool localEndpoint(platform::SocketHandle s, platform::Endpoint& out) override;
  bool sendTo(platform::SocketHandle s, const std::uint8_t* data, std::size_t len, platform::Endpoint to) override;
  std::ptrdiff_t recvFrom(platform::SocketHandle s, std::uint8_t* buf, std::size_t cap) override;
  bool setNonBlocking(platform::SocketHandle s, bool on) override;
  platform::ConnectStart connect(platform::SocketHandle s, platform::Endpoint to) override;
  platform::WaitResult waitConnected(platform::SocketHandle s, int timeoutMs) override;
  std::ptrdiff_t send(platform::SocketHandle s, const std::uint8_t* data, std::size_t len) override;
  void shutdownBoth(platform::SocketHandle s) override;
  void close(platform::SocketHandle s) override;

 private:
  struct Sock {
    bool bound = false;
    bool broadcast = false;
    bool shut = false;
    platform::Endpoint local;
  };
  bool fails(Call c);
  static std::uint64_t key(platform::Endpoint e) { return (std::uint64_t{e.addr} << 16) | e.port; }

  mutable std::recursive_mutex mu_;
  std::map<platform::SocketHandle, Sock> socks_;
  std::map<Call, std::vector<int>> failures_;  // remaining call numbers that fail
  std::map<Call, int> counts_;
  std::map<std::uint64_t, std::deque<Bytes>> inbox_;
  std::vector<Datagram> sent_;
  platform::SocketHandle next_ = 100;
  std::uint16_t nextPort_ = 40000;
  int recvCalls_ = 0;
  int closedWithoutShutdown_ = 0;
  std::size_t waitIndex_ = 0;
};

}  // namespace lx47::test
