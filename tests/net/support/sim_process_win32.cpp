// The Windows build of the real-socket tests runs under Wine on the PC side
// of the private namespaces (scripts/windows-check.sh). lx47-sim stays the
// Linux program on the device side: Wine starts Linux programs as well, so a
// small shell script in the simulator's folder enters the device side and
// runs it, and leaves its pid for the stop. Files on the Linux side are read
// through Wine's drive Z:, which is the Linux root.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "hostnet/host_address.h"
#include "platform/net.h"
#include "sim_process.h"

namespace lx47::nettest {

namespace {

[[noreturn]] void Refuse(const std::string& why) {
  std::fprintf(stderr,
               "net tests: refusing to run: %s.\n"
               "They send real datagrams and run only through scripts/windows-check.sh.\n",
               why.c_str());
  std::fflush(stderr);
  std::_Exit(2);
}

std::string ReadText(const std::string& unixPath) {
  std::ifstream in(HostPath(unixPath), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& unixPath) {
  return ::GetFileAttributesA(HostPath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A Linux process that has ended (gone, or a zombie nobody reaped yet).
bool Alive(long pid) {
  const std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t paren = stat.rfind(')');
  if (paren == std::string::npos || paren + 2 >= stat.size()) return false;
  const char state = stat[paren + 2];
  return state != 'Z' && state != 'X';
}

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Starts a Linux program through Wine without waiting for it.
bool RunLinux(std::string commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  if (pi.hThread) ::CloseHandle(pi.hThread);
  if (pi.hProcess) ::CloseHandle(pi.hProcess);
  return true;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The guard runs before main, so that no test can open a socket first.
struct HarnessGuard {
  HarnessGuard() { RequireHarness(); }
} g_guard;

}  // namespace

std::string HostPath(const std::string& path) { return path.empty() || path[0] != '/' ? path : "Z:" + path; }

int OpenHandleCount() {
  DWORD n = 0;
  return ::GetProcessHandleCount(::GetCurrentProcess(), &n) ? static_cast<int>(n) : -1;
}

ScopedTimeZone::ScopedTimeZone(const char*) {}
ScopedTimeZone::~ScopedTimeZone() = default;

void RequireHarness() {
  const char* flag = std::getenv("LX47_NETNS");
  if (!flag || std::strcmp(flag, "1") != 0 || !std::getenv("LX47_INITIAL_NETNS") ||
      !std::getenv("LX47_DEVICE_NETNS") || !std::getenv("LX47_SIM_TMP"))
    Refuse("not started by the network-namespace harness");
  // The interfaces of this process's network namespace, as Linux lists them.
  const std::string dev = ReadText("/proc/self/net/dev");
  if (dev.empty()) Refuse("cannot list the network interfaces");
  static const std::set<std::string> allowed = {"lo", "lx0", "lx2"};
  std::istringstream lines(dev);
  std::string line;
  int seen = 0;
  while (std::getline(lines, line)) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;  // the two heading lines
    std::string name = line.substr(0, colon);
    name.erase(0, name.find_first_not_of(' '));
    if (!allowed.count(name)) Refuse("interface " + name + " is not one of the harness's");
    ++seen;
  }
  if (seen == 0) Refuse("no network interface listed");
  // And the addresses the exchanges will send from, as Windows sees them.
  std::vector<hostnet::HostAddressRow> rows;
  hostnet::GetHostAddressTable(hostnet::hostNetSource(), rows);
  for (const hostnet::HostAddressRow& r : rows) {
    const std::string a = IpText(r.addr);
    if (a != "10.47.0.1" && a != "10.48.0.1" && a.rfind("127.", 0) != 0)
      Refuse("address " + a + " is not one of the harness's");
  }
}

bool SimProcess::start(const std::vector<std::string>& args, std::string* why) {
  auto fail = [&](const std::string& w) {
    if (why) *why = w;
    stop();
    return false;
  };
  stop();
  removeDir();
  const char* root = std::getenv("LX47_SIM_TMP");
  const char* sim = std::getenv("LX47_SIM");
  const char* ns = std::getenv("LX47_DEVICE_NETNS");
  if (!root || !sim || !ns) return fail("LX47_SIM_TMP, LX47_SIM or LX47_DEVICE_NETNS not set");
  static int serial = 0;
  dir_ = std::string(root) + "/sim-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
  if (!::CreateDirectoryA(HostPath(dir_).c_str(), nullptr)) return fail("cannot make " + dir_);

  std::vector<std::string> argv = {"nsenter", std::string("--net=") + ns, "--", sim};
  argv.insert(argv.end(), args.begin(), args.end());
  for (const std::string& a : std::initializer_list<std::string>{"--log", dir_ + "/log", "--ready-file", dir_ + "/ready", "--state-dir", dir_,
                                "--max-runtime", std::string("300")})
    argv.push_back(a);
  // exec keeps the shell's pid through nsenter (which needs no fork for a
  // network namespace) to lx47-sim, so the pid file names the simulator.
  std::string script = "PATH=/usr/sbin:/usr/bin:/sbin:/bin; export PATH\necho $$ > " + Quoted(dir_ + "/pid") +
                       "\nexec";
  for (const std::string& a : argv) script += " " + Quoted(a);
  script += "\n";
  {
    std::ofstream out(HostPath(dir_ + "/run.sh"), std::ios::binary);
    out << script;
    if (!out) return fail("cannot write the start script");
  }
  if (!RunLinux("/bin/sh " + dir_ + "/run.sh")) return fail("cannot start /bin/sh through Wine");

  for (int i = 0; i < 200; ++i) {
    if (pid_ <= 0) pid_ = std::atol(ReadText(dir_ + "/pid").c_str());
    if (Exists(dir_ + "/ready")) return true;
    if (pid_ > 0 && !Alive(pid_)) {
      pid_ = -1;
      return fail("lx47-sim exited early");
    }
    SleepMs(50);
  }
  return fail("lx47-sim not ready within 10 s");
}

void SimProcess::stop() {
  if (pid_ <= 0 && !dir_.empty()) pid_ = std::atol(ReadText(dir_ + "/pid").c_str());
  if (pid_ > 0) {
    const std::string pid = std::to_string(pid_);
    bool gone = !Alive(pid_);
    if (!gone) RunLinux("/bin/kill -TERM " + pid);
    for (int i = 0; i < 60 && !gone; ++i) {
      SleepMs(50);
      gone = !Alive(pid_);
    }
    if (!gone) {
      RunLinux("/bin/kill -KILL " + pid);
      for (int i = 0; i < 40 && Alive(pid_); ++i) SleepMs(50);
    }
    pid_ = -1;
  }
}

bool SetDeviceLink(const std::string&, const std::string&, bool) { return false; }

}  // namespace lx47::nettest
