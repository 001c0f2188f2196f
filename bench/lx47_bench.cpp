// Benchmark of discovery and every exchange over real sockets against
// lx47-sim, with the tool's default settings: the wall time of each exchange
// against the pauses the protocol asks for, and the CPU time it costs. Not a
// test: it prints figures. Runs only through scripts/bench.sh (or, as a
// Windows program under Wine, scripts/windows-check.sh), which make the
// private namespaces. --coarse-pauses leaves out the fine-pause request that
// the exchanges make, to show what it is worth.
#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/net.h"
#include "protocol/device_commands.h"
#include "protocol/device_table.h"
#include "protocol/discovery.h"
#include "protocol/factory_reset.h"
#include "protocol/firmware.h"
#include "protocol/result_codes.h"
#include "protocol/router_scan.h"
#include "protocol/session.h"
#include "protocol/settings_write.h"
#include "support/pause_clock.h"
#include "support/sim_process.h"

using namespace lx47;
using namespace lx47::nettest;

namespace {

// CPU time of every thread of this process.
double CpuMs() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;  // 100 ns ticks
#else
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
#endif
}

struct Row {
  std::string name;
  int runs = 0;
  int failed = 0;
  double wallMs = 0, pauseMs = 0, cpuMs = 0;
};

Row Measure(const char* name, int runs, PauseClock& clock, const std::function<int()>& exchange, int expected) {
  Row r{name, runs};
  for (int i = 0; i < runs; ++i) {
    clock.reset();
    const double cpu0 = CpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    const int result = exchange();
    const auto t1 = std::chrono::steady_clock::now();
    r.cpuMs += CpuMs() - cpu0;
    r.wallMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
    r.pauseMs += static_cast<double>(clock.askedMs());
    if (result != expected) ++r.failed;
  }
  return r;
}

// What the exchanges run with: the real sockets, the bench's clock and the
// session's abort flag.
ExchangeContext Context(Session& session) { return ExchangeContext{Io::Current(), session.Abort}; }

int FindDevices(Session& session, int expected) {
  SearchResult found;
  const SearchRequest request{session.Settings, session.SelectedHostAddress, PadSearchPassword("")};
  const int r = DiscoverDevices(request, found, Context(session));
  session.Take(std::move(found));
  return r == PR_OK && session.DeviceCount == expected ? PR_OK : -100 - session.DeviceCount;
}

}  // namespace

int main(int argc, char** argv) {
  int scale = 1;  // --quick: one run of each
  bool finePauses = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) scale = 0;
    if (std::strcmp(argv[i], "--coarse-pauses") == 0) finePauses = false;
  }
  if (!platform::net().startup()) return 1;

  SimProcess sim;
  std::string why;
  if (!sim.start({"--devices", "3", "--quiet"}, &why)) {
    std::fprintf(stderr, "bench: %s\n", why.c_str());
    return 1;
  }
  // The tool's defaults, from the one address of the PC side.
  Session session;
  ToolSettings& settings = session.Settings;
  settings.ALL_HOST_SCAN = 0;
  session.SelectedHostAddress = Ip("10.47.0.1");

  PauseClock clock(0, finePauses);
  std::printf("fine pauses %s\n", finePauses ? "requested while an exchange runs" : "not requested (--coarse-pauses)");
  std::vector<Row> rows;
  rows.push_back(
      Measure("discovery (3 devices)", 1 + scale, clock, [&session] { return FindDevices(session, 3); }, PR_OK));
  if (FindDevices(session, 3) != PR_OK) {
    std::fprintf(stderr, "bench: the devices were not found\n");
    return 1;
  }
  DeviceEntry& e = session.DeviceTable[0];
  const ExchangeContext x = Context(session);
  const int few = 1 + 9 * scale;
  rows.push_back(Measure("settings write", few, clock, [&] { return WriteSettings(e, settings, x); }, PR_OK));
  rows.push_back(Measure("factory reset", few, clock, [&] {
    FactoryResetRequest request{settings, session.SelectedHostAddress, e.Device_MAC};
    request.Device_IP = e.Device_IP;
    return FactoryReset(request, x);
  }, PR_OK));
  rows.push_back(Measure("router scan", 1 + scale, clock, [&] {
    std::uint8_t count = 0;
    std::vector<RouterScanRecord> table(kRouterScanCapacity);
    return ScanRouters(e, count, table.data(), kRouterScanCapacity, settings, x);
  }, PR_OK));
  std::vector<std::uint8_t> image(20 * kFirmwarePiece);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
  rows.push_back(Measure("firmware (100 KiB)", 1, clock, [&] {
    return TransferFirmware(e, image.data(), static_cast<std::int32_t>(image.size()), settings, x);
  }, PR_OK));
  rows.push_back(Measure("clock set", few, clock, [&] { return SetDeviceClock(e, settings, x); }, PR_OK));
  rows.push_back(Measure("TCP disconnect", few, clock, [&] { return DisconnectTcp(e, settings, x); }, PR_OK));

  std::printf("%-22s %4s %11s %11s %7s %9s %6s\n", "exchange", "runs", "wall ms", "pauses ms", "ratio", "CPU ms",
              "CPU %");
  Row total{"all", 0};
  bool ok = true;
  for (const Row& r : rows) {
    const double ratio = r.pauseMs > 0 ? r.wallMs / r.pauseMs : 0;
    const double cpuPct = r.wallMs > 0 ? 100.0 * r.cpuMs / r.wallMs : 0;
    std::printf("%-22s %4d %11.1f %11.1f %7.4f %9.1f %6.2f%s\n", r.name.c_str(), r.runs, r.wallMs, r.pauseMs, ratio,
                r.cpuMs, cpuPct, r.failed ? "  (some runs failed)" : "");
    total.runs += r.runs;
    total.wallMs += r.wallMs;
    total.pauseMs += r.pauseMs;
    total.cpuMs += r.cpuMs;
    ok = ok && r.failed == 0;
  }
  const double ratio = total.wallMs / total.pauseMs;
  const double cpuPct = 100.0 * total.cpuMs / total.wallMs;
  std::printf("%-22s %4d %11.1f %11.1f %7.4f %9.1f %6.2f\n", "all", total.runs, total.wallMs, total.pauseMs, ratio,
              total.cpuMs, cpuPct);
  std::printf("targets: ratio <= 1.03 (%s), CPU < 2 %% of wall (%s)\n", ratio <= 1.03 ? "met" : "missed",
              cpuPct < 2.0 ? "met" : "missed");
  return ok ? 0 : 1;
}
