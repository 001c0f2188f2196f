#include "protocol/cycle.h"

#include <algorithm>
#include <cstring>

#include "platform/clock.h"
#include "platform/net.h"

namespace lx47 {

using platform::Endpoint;
using platform::Socket;

std::ptrdiff_t FindMarker(const std::uint8_t* buf, std::size_t len, const char* marker) {
  const std::size_t m = std::strlen(marker);
  // The text ends at the first zero byte: nothing after it is searched.
  const std::size_t textLen = static_cast<std::size_t>(std::find(buf, buf + len, 0) - buf);
  if (m == 0 || textLen < m) return -1;
  for (std::size_t i = 0; i + m <= textLen; ++i) {
    if (std::memcmp(buf + i, marker, m) == 0) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

void TakeTiming(CycleSpec& cycle, const ToolSettings& settings) {
  cycle.sends = settings.MaxSendCmdLoopCount;
  cycle.attempts = settings.MaxRecvLoopCount;
  cycle.recvDelayMs = settings.RecvDelay_msec;
}

bool ReplyMacIs(const CycleReply& reply, std::span<const std::uint8_t> mac) {
  return reply.bytes.size() >= 10 && mac.size() == 6 && std::equal(mac.begin(), mac.end(), reply.bytes.begin() + 4);
}

namespace {

enum class Step { NextSend, End };

// One send and its receive loop (steps 1 to 12 of a send). Sets result and
// returns End when the exchange is over. Both sockets close as they go out
// of scope, whichever way the send ends.
Step OneSend(const CycleSpec& cycle, const ExchangeContext& x, int k, std::vector<std::uint8_t>& request,
             std::vector<std::uint8_t>& buf, int& result) {
  platform::NetApi& net = x.io.net;
  if (x.abort.IsAbortRequested()) {
    result = cycle.abortResult;
    return Step::End;
  }

  Endpoint local{cycle.host, 0};
  {
    Socket s1(net, net.udpSocket());
    if (!s1.valid()) {
      result = PR_SOCKET;
      return Step::End;
    }
    if (!net.setBroadcast(s1.get(), true)) {
      result = PR_SOCKOPT;
      return Step::End;
    }
    if (!net.bind(s1.get(), local) || !net.localEndpoint(s1.get(), local)) {
      result = PR_BIND;
      return Step::End;
    }
    request.clear();
    cycle.request(k, request);
    if (!net.sendTo(s1.get(), request.data(), request.size(), Endpoint{cycle.destination(k), kDevicePort})) {
      result = PR_SEND;
      return Step::End;
    }
  }
  if (cycle.waitAfterSendMs) x.io.clock.sleepMs(cycle.waitAfterSendMs);

  Socket s2(net, net.udpSocket());
  if (!s2.valid()) {
    result = PR_SOCKET;
    return Step::End;
  }
  if (!net.bind(s2.get(), Endpoint{cycle.host, local.port})) {
    result = PR_BIND;
    return Step::End;
  }
  (void)net.setNonBlocking(s2.get(), true);  // a failure here is ignored
  if (cycle.waitAfterBindMs) x.io.clock.sleepMs(cycle.waitAfterBindMs);

  bool delay = false;
  for (int i = 0; i < cycle.attempts;) {
    if (x.abort.IsAbortRequested()) {
      result = cycle.abortResult;
      return Step::End;
    }
    if (delay) {
      x.io.clock.sleepMs(static_cast<std::uint32_t>(cycle.recvDelayMs));
      if (i == cycle.attempts - 1) x.io.clock.sleepMs(100);
    }
    delay = true;

    std::fill(buf.begin(), buf.end(), 0);
    // At most B-1 bytes, so the buffer always holds a zero after the datagram.
    const std::ptrdiff_t n = net.recvFrom(s2.get(), buf.data(), buf.size() - 1);
    if (n <= 0) {
      ++i;
      continue;
    }
    const std::size_t len = std::min(static_cast<std::size_t>(n), buf.size() - 1);

    bool refused = false;
    std::ptrdiff_t at = FindMarker(buf.data(), len, cycle.successMarker);
    if (at < 0 && cycle.refusalMarker) {
      at = FindMarker(buf.data(), len, cycle.refusalMarker);
      refused = at >= 0;
    }
    if (at < 0) {
      if (cycle.markerlessUsesAttempt) ++i;
      continue;
    }
    CycleReply reply{std::span<const std::uint8_t>(buf.data() + at, len - static_cast<std::size_t>(at)), refused};
    if (reply.bytes.size() < cycle.minLength) {
      delay = false;
      ++i;
      continue;
    }
    if (!cycle.accept(reply)) {
      ++i;
      continue;
    }
    if (std::optional<int> code = cycle.onAccepted(reply)) {
      result = *code;
      return Step::End;
    }
    ++i;
  }
  return Step::NextSend;
}

}  // namespace

int RunCycle(const CycleSpec& cycle, const ExchangeContext& x) {
  const platform::FinePauses pace(x.io.clock);
  std::vector<std::uint8_t> request;
  std::vector<std::uint8_t> buf(cycle.bufferSize);
  for (int k = 0; k < cycle.sends; ++k) {
    int result = cycle.exhaustedResult;
    if (OneSend(cycle, x, k, request, buf, result) == Step::End) return result;
  }
  return cycle.exhaustedResult;
}

}  // namespace lx47
