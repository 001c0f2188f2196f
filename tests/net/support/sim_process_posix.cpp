// Linux: lx47-sim is spawned through nsenter and stopped by its pid.
#include "sim_process.h"

#include <dirent.h>
#include <ifaddrs.h>
#include <time.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "platform/net.h"

extern char** environ;

namespace lx47::nettest {

namespace {

[[noreturn]] void Refuse(const std::string& why) {
  std::fprintf(stderr,
               "net tests: refusing to run: %s.\n"
               "They send real datagrams and run only through scripts/netns/run-net-tests.sh.\n",
               why.c_str());
  std::fflush(stderr);
  std::_Exit(2);
}

std::string ReadLink(const char* path) {
  char buf[256];
  ssize_t n = ::readlink(path, buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}


// The guard runs before main, so that no test can open a socket first.
struct HarnessGuard {
  HarnessGuard() { RequireHarness(); }
} g_guard;

}  // namespace

void RequireHarness() {
  const char* flag = std::getenv("LX47_NETNS");
  const char* initial = std::getenv("LX47_INITIAL_NETNS");
  if (!flag || std::strcmp(flag, "1") != 0 || !initial || !std::getenv("LX47_DEVICE_NETNS"))
    Refuse("not started by the network-namespace harness");
  const std::string self = ReadLink("/proc/self/ns/net");
  if (self.empty() || self == initial) Refuse("this is the machine's own network namespace");
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) Refuse("cannot list the network interfaces");
  static const std::set<std::string> allowed = {"lo", "lx0", "lx2"};
  std::string stranger;
  for (ifaddrs* a = list; a; a = a->ifa_next)
    if (!allowed.count(a->ifa_name)) stranger = a->ifa_name;
  ::freeifaddrs(list);
  if (!stranger.empty()) Refuse("interface " + stranger + " is not one of the harness's");
}

std::string HostPath(const std::string& path) { return path; }

int OpenHandleCount() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n;
}

ScopedTimeZone::ScopedTimeZone(const char* tz) {
  if (const char* old = std::getenv("TZ")) {
    had_ = true;
    old_ = old;
  }
  ::setenv("TZ", tz, 1);
  ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (had_) ::setenv("TZ", old_.c_str(), 1);
  else ::unsetenv("TZ");
  ::tzset();
}

bool SimProcess::start(const std::vector<std::string>& args, std::string* why) {
  auto fail = [&](const std::string& w) {
    if (why) *why = w;
    stop();
    return false;
  };
  stop();
  removeDir();
  char tmpl[] = "/tmp/lx47-sim-test.XXXXXX";
  if (!::mkdtemp(tmpl)) return fail("mkdtemp failed");
  dir_ = tmpl;
  const char* sim = std::getenv("LX47_SIM");
  const char* ns = std::getenv("LX47_DEVICE_NETNS");
  if (!sim || !ns) return fail("LX47_SIM or LX47_DEVICE_NETNS not set");

  std::vector<std::string> argv = {"nsenter", std::string("--net=") + ns, "--", sim};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.push_back("--log");
  argv.push_back(dir_ + "/log");
  argv.push_back("--ready-file");
  argv.push_back(dir_ + "/ready");
  argv.push_back("--state-dir");
  argv.push_back(dir_);
  argv.push_back("--max-runtime");
  argv.push_back("300");
  std::vector<char*> cargv;
  for (std::string& s : argv) cargv.push_back(s.data());
  cargv.push_back(nullptr);

  // A simulator that cannot bind its ports exits at once. The ports of one
  // just stopped can stay taken for a few seconds (Wine's wineserver frees
  // a killed process's sockets only once it has noticed the death), so an
  // early exit is tried again, for at most 16 s.
  std::string early;
  for (int attempt = 0; attempt < 8; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::seconds(2));
    pid_t pid = -1;
    if (::posix_spawnp(&pid, "nsenter", nullptr, nullptr, cargv.data(), environ) != 0) return fail("spawn failed");
    pid_ = pid;
    const std::string ready = dir_ + "/ready";
    bool exited = false;
    for (int i = 0; i < 200 && !exited; ++i) {
      struct stat st;
      if (::stat(ready.c_str(), &st) == 0) return true;
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        exited = true;
        early = "lx47-sim exited early (status " + std::to_string(status) + ")";
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
    if (!exited) return fail("lx47-sim not ready within 10 s");
  }
  return fail(early + ", 8 times");
}

bool SetDeviceLink(const std::string& deviceSide, const std::string& pcSide, bool up) {
  const char* ns = std::getenv("LX47_DEVICE_NETNS");
  if (!ns) return false;
  std::vector<std::string> argv = {"nsenter", std::string("--net=") + ns, "--", "ip", "link", "set", deviceSide,
                                   up ? "up" : "down"};
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawnp(&pid, "nsenter", nullptr, nullptr, cargv.data(), environ) != 0) return false;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  const std::string carrier = "/sys/class/net/" + pcSide + "/carrier";
  for (int i = 0; i < 100; ++i) {
    std::ifstream in(carrier);
    std::string v;
    std::getline(in, v);
    if (v == (up ? "1" : "0")) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void SimProcess::stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    bool gone = false;
    for (int i = 0; i < 60 && !gone; ++i) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) gone = true;
      else std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!gone) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
}

}  // namespace lx47::nettest
