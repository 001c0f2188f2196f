// lx47-sim: the event loop. One UDP socket takes every request (broadcast or
// to any device address), one TCP listener takes firmware images; replies
// wait in a queue until their delay has passed.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sim_engine.h"
#include "sim_options.h"
#include "sim_socket.h"

namespace {

volatile int g_stop = 0;

constexpr std::size_t kMaxQueued = 20000;     // replies waiting for their time
constexpr std::size_t kMaxTransfers = 8;      // firmware connections at once
constexpr int kDatagramsPerTurn = 256;        // so that TCP and the queue are served too
constexpr std::size_t kDatagramBuffer = 4096;

}  // namespace

int main(int argc, char** argv) {
  using namespace sim;
  Options opt;
  std::string err;
  const int parsed = ParseOptions(argc, argv, opt, err);
  if (parsed == 1) return 0;
  if (parsed != 0) {
    std::fprintf(stderr, "lx47-sim: %s\n", err.c_str());
    return 2;
  }
  if (!os::startup(err)) {
    std::fprintf(stderr, "lx47-sim: %s\n", err.c_str());
    return 1;
  }
  Log log;
  if (!log.open(opt, err)) {
    std::fprintf(stderr, "lx47-sim: %s\n", err.c_str());
    return 1;
  }
  os::installStopHandler(&g_stop);

  Engine engine(opt, log);
  // The wildcard socket takes broadcasts; each device address has a socket
  // of its own, which takes the unicasts to it and sends its replies.
  struct Udp {
    os::Handle h;
    std::uint32_t addr;  // 0: the wildcard socket
  };
  std::vector<Udp> udps;
  auto closeAll = [&] {
    for (Udp& u : udps) os::closeHandle(u.h);
  };
  {
    os::Handle h = os::udpOpen(opt.bindAddr, opt.port, err);
    if (h == os::kInvalid) {
      std::fprintf(stderr, "lx47-sim: %s\n", err.c_str());
      return 1;
    }
    udps.push_back({h, opt.bindAddr});
  }
  std::string unbound;
  if (opt.bindAddr == 0) {
    for (const Device& d : engine.devices())
      for (std::uint32_t a : d.addrs) {
        std::string e;
        os::Handle h = os::udpOpen(a, opt.port, e);
        if (h == os::kInvalid) unbound += (unbound.empty() ? "" : ",") + FormatIpv4(a);
        else udps.push_back({h, a});
      }
  }
  // A stalled peer should fill up quickly so that the sender blocks.
  const bool anyStall = std::any_of(opt.faults.begin(), opt.faults.end(), [](unsigned f) { return f & kFaultStallTcp; });
  os::Handle listener = os::tcpListen(opt.bindAddr, opt.firmwarePort, anyStall ? 4096 : 0, err);
  if (listener == os::kInvalid) {
    std::fprintf(stderr, "lx47-sim: %s\n", err.c_str());
    closeAll();
    return 1;
  }

  engine.dumpAll();
  {
    std::string devs;
    for (const Device& d : engine.devices()) {
      devs += " dev" + std::to_string(d.index) + "=" + FormatMac(d.mac.data());
      for (std::uint32_t a : d.addrs) devs += "," + FormatIpv4(a);
    }
    log.line("READY", "port=" + std::to_string(opt.port) + " firmware_port=" + std::to_string(opt.firmwarePort) +
                          " devices=" + std::to_string(opt.devices) + devs +
                          (unbound.empty() ? "" : " not_local=" + unbound));
  }
  if (!opt.readyFile.empty()) {
    const std::string text = "ready pid=" + std::to_string(os::processId()) + "\n";
    if (!os::writeFileAtomically(opt.readyFile, text.data(), text.size())) {
      std::fprintf(stderr, "lx47-sim: cannot write %s\n", opt.readyFile.c_str());
    }
  }

  const std::uint64_t start = os::monotonicMs();
  const std::uint64_t deadline =
      opt.maxRuntimeSeconds > 0 ? start + static_cast<std::uint64_t>(opt.maxRuntimeSeconds) * 1000 : 0;
  std::vector<Outgoing> queue;
  std::vector<Transfer> transfers;
  std::vector<std::uint8_t> buf(kDatagramBuffer);
  std::vector<std::uint8_t> chunk(65536);
  const char* stopReason = "signal";

  while (!g_stop) {
    std::uint64_t now = os::monotonicMs();
    if (deadline && now >= deadline) {
      stopReason = "max-runtime";
      break;
    }
    int timeout = 200;
    if (!queue.empty()) {
      const std::uint64_t due = queue.front().dueMs;
      timeout = due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, 200));
    }
    std::vector<os::Handle> handles;
    for (const Udp& u : udps) handles.push_back(u.h);
    const std::size_t listenerAt = handles.size();
    handles.push_back(listener);
    for (const Transfer& t : transfers)
      if (!t.stalled) handles.push_back(t.h);
    std::unique_ptr<bool[]> ready(new bool[handles.size()]());
    if (!os::waitReadable(handles.data(), handles.size(), ready.get(), timeout)) {
      for (std::size_t k = 0; k < handles.size(); ++k) ready[k] = false;
    }
    now = os::monotonicMs();

    std::vector<Outgoing> out;
    for (std::size_t u = 0; u < udps.size(); ++u) {
      if (!ready[u]) continue;
      os::Datagram info;
      for (int k = 0; k < kDatagramsPerTurn && os::udpReceive(udps[u].h, buf.data(), buf.size(), info); ++k) {
        info.dst = udps[u].addr;
        engine.onDatagram(buf.data(), info, now, out);
      }
    }
    if (!out.empty()) {
      for (Outgoing& o : out) {
        if (queue.size() >= kMaxQueued) {
          log.line("DROP", "dev=" + std::to_string(o.device) + " cmd=" + o.cmd + " reason=queue-full");
          continue;
        }
        queue.push_back(std::move(o));
      }
      std::stable_sort(queue.begin(), queue.end(),
                       [](const Outgoing& a, const Outgoing& b) { return a.dueMs < b.dueMs; });
    }

    if (ready[listenerAt]) {
      for (int k = 0; k < 8; ++k) {
        Transfer t;
        std::uint32_t local = 0;
        t.h = os::tcpAccept(listener, local, t.peer, t.peerPort);
        if (t.h == os::kInvalid) break;
        if (transfers.size() >= kMaxTransfers) {
          log.line("TCP_REFUSED", "reason=too-many-connections");
          os::closeHandle(t.h);
          continue;
        }
        engine.onAccept(t, local, now);
        transfers.push_back(std::move(t));
      }
    }

    // Firmware connections: read what is there, close what has ended.
    for (std::size_t i = 0; i < transfers.size();) {
      Transfer& t = transfers[i];
      bool keep = true;
      if (t.stalled) {
        if (now - t.acceptedMs >= static_cast<std::uint64_t>(opt.stallSeconds) * 1000) {
          log.line("TCP_END", "dev=" + std::to_string(t.device) + " reason=stall-over");
          keep = false;
        }
      } else {
        for (int k = 0; k < 64 && keep; ++k) {
          std::ptrdiff_t n = os::tcpReceive(t.h, chunk.data(), chunk.size());
          if (n > 0) {
            keep = engine.onTransferData(t, chunk.data(), static_cast<std::size_t>(n), now);
          } else if (n == 0) {
            engine.onTransferEnd(t, "peer-closed");
            keep = false;
          } else if (n == -2) {
            engine.onTransferEnd(t, "error");
            keep = false;
          } else {
            break;
          }
        }
        if (keep && now - t.lastDataMs >= static_cast<std::uint64_t>(opt.idleSeconds) * 1000) {
          engine.onTransferEnd(t, "idle");
          keep = false;
        }
      }
      if (keep) {
        ++i;
      } else {
        os::closeHandle(t.h);
        transfers.erase(transfers.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }

    // Replies whose time has come.
    std::size_t sent = 0;
    while (sent < queue.size() && queue[sent].dueMs <= now) {
      const Outgoing& o = queue[sent];
      os::Handle via = udps.front().h;
      for (const Udp& u : udps)
        if (u.addr == o.from && o.from != 0) via = u.h;
      const bool ok = os::udpSend(via, o.to, o.port, o.bytes.data(), o.bytes.size());
      if (o.cmd == "noise") {
        if (sent == 0 || queue[sent - 1].cmd != "noise")
          log.line("FLOOD", "dev=" + std::to_string(o.device) + " dst=" + FormatIpv4(o.to) + ":" +
                                std::to_string(o.port));
      } else {
        log.line("SEND", "dev=" + std::to_string(o.device) + " cmd=" + o.cmd + " src=" + FormatIpv4(o.from) +
                             " dst=" + FormatIpv4(o.to) + ":" + std::to_string(o.port) +
                             " len=" + std::to_string(o.bytes.size()) + (ok ? "" : " failed=" + os::lastError()));
      }
      ++sent;
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(sent));
  }

  for (Transfer& t : transfers) os::closeHandle(t.h);
  os::closeHandle(listener);
  closeAll();
  log.line("STOP", std::string("reason=") + stopReason);
  return 0;
}
