// Real-socket test support: the guard that keeps these programs inside the
// private namespaces of scripts/netns, and lx47-sim started on the device
// side and stopped again by the test itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "protocol/tool_settings.h"

namespace lx47::nettest {

// Exits the process unless it runs on the PC side of the harness: the
// harness's variables are set, the network namespace is not the machine's
// own, and no interface but lo, lx0 and lx2 exists. Called before any socket
// is opened.
void RequireHarness();

// Network-order address of dotted text; aborts the test program on a typo.
std::uint32_t Ip(const char* text);
std::string IpText(std::uint32_t addr);

// The process's open descriptors (handles on Windows), to check for leaks.
int OpenHandleCount();

// The process's local time zone set to a POSIX TZ text for this object's
// life. A Windows process cannot change its zone: there it does nothing, and
// scripts/windows-check.sh runs Wine in a zone away from UTC instead.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  bool had_ = false;
  std::string old_;
};

// The local name of a path on the Linux side: the path itself on Linux, its
// name on Wine's drive of the Linux root in the Windows build.
std::string HostPath(const std::string& path);

class SimProcess {
 public:
  SimProcess() = default;
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  ~SimProcess() {
    stop();
    removeDir();
  }

  // Starts lx47-sim with args (plus --log, --ready-file, --state-dir and a
  // --max-runtime bound) and waits, at most 10 s, until its sockets are bound.
  bool start(const std::vector<std::string>& args, std::string* why = nullptr);
  // SIGTERM, then SIGKILL after 3 s; only the pid this object started.
  void stop();

  std::vector<std::string> logLines() const;
  // Log lines holding every one of the given pieces.
  std::vector<std::string> logLinesWith(const std::vector<std::string>& pieces) const;
  std::map<std::string, std::string> state(int device) const;
  std::vector<std::uint8_t> block(int device) const;
  std::vector<std::uint8_t> image(int device) const;
  const std::string& dir() const { return dir_; }

 private:
  void removeDir();  // kept when LX47_KEEP_SIM_DIRS is set
  long pid_ = -1;  // lx47-sim's process id on the Linux side
  std::string dir_;
};

// Takes a device-side link (lx1, lx3) down or up, so that its PC-side peer
// (lx0, lx2) loses or regains its carrier, and waits at most 5 s for the PC
// side to see it. Linux only: false elsewhere.
bool SetDeviceLink(const std::string& deviceSide, const std::string& pcSide, bool up);

// The tool settings at small values, so a test takes well under a second
// per exchange: 2 sends × 10 attempts × 20 ms.
ToolSettings FastSettings();

}  // namespace lx47::nettest
