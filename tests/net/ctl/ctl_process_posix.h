// lx47ctl run as a user runs it, on the PC side of the harness: its own
// settings store in a private folder (the fast timing of the real-socket
// tests unless a test writes others), its output and exit status caught.
#pragma once

#include <signal.h>

#include <chrono>
#include <string>
#include <vector>

namespace lx47::nettest {

struct CtlRun {
  int status = -1;  // the exit status; 128 + the signal when one ended it
  std::string out, err;
  std::chrono::milliseconds took{0};
  std::chrono::milliseconds afterSignal{0};  // from the signal to the end
};

class Ctl {
 public:
  Ctl();
  ~Ctl();
  Ctl(const Ctl&) = delete;
  Ctl& operator=(const Ctl&) = delete;

  // The store's [Setting] section, as "Key=Value" lines.
  void setSettings(const std::vector<std::string>& lines);
  // Runs lx47ctl with args; with signalAfterMs, sends SIGINT that long after
  // the start. At most 120 s.
  CtlRun run(const std::vector<std::string>& args, int signalAfterMs = -1, int signo = SIGINT);
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

}  // namespace lx47::nettest
