#include "ctl_process_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace lx47::nettest {

Ctl::Ctl() {
  char tmpl[] = "/tmp/lx47-ctl-test.XXXXXX";
  if (::mkdtemp(tmpl)) dir_ = tmpl;
  setSettings({"MaxSendCmdLoopCount=2", "MaxRecvLoopCount=10", "RecvDelay_msec=20"});
}

Ctl::~Ctl() {
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

void Ctl::setSettings(const std::vector<std::string>& lines) {
  std::filesystem::create_directories(dir_ + "/config/Orvane Systems");
  std::ofstream ini(dir_ + "/config/Orvane Systems/lx47-config.ini", std::ios::trunc);
  ini << "[Setting]\n";
  for (const std::string& l : lines) ini << l << '\n';
}

CtlRun Ctl::run(const std::vector<std::string>& args, int signalAfterMs, int signo) {
  CtlRun r;
  const char* program = std::getenv("LX47_CTL");
  if (!program) {
    r.err = "LX47_CTL not set";
    return r;
  }
  int outPipe[2], errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) return r;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);

  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  std::vector<std::string> env{"XDG_CONFIG_HOME=" + dir_ + "/config", "HOME=" + dir_, "LANG=C.UTF-8"};
  for (char** e = environ; *e; ++e) {
    const std::string v(*e);
    if (v.rfind("XDG_CONFIG_HOME=", 0) != 0 && v.rfind("HOME=", 0) != 0 && v.rfind("LANG=", 0) != 0) env.push_back(v);
  }
  std::vector<char*> cenv;
  for (std::string& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, program, &actions, nullptr, cargv.data(), cenv.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (spawned != 0) {
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    r.err = "spawn failed";
    return r;
  }

  bool signalled = signalAfterMs < 0;
  std::chrono::steady_clock::time_point signalAt{};
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    const auto now = std::chrono::steady_clock::now();
    if (now - start > std::chrono::seconds(120)) {
      ::kill(pid, SIGKILL);  // bounded: a hung run fails its test
      break;
    }
    if (!signalled && now - start >= std::chrono::milliseconds(signalAfterMs)) {
      ::kill(pid, signo);
      signalAt = now;
      signalled = true;
    }
    if (::poll(fds, 2, 10) <= 0) continue;
    for (pollfd& p : fds) {
      if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP))) continue;
      char buf[4096];
      const ssize_t n = ::read(p.fd, buf, sizeof buf);
      if (n > 0) {
        (p.fd == outPipe[0] ? r.out : r.err).append(buf, static_cast<std::size_t>(n));
      } else {
        ::close(p.fd);
        p.fd = -1;
        --open;
      }
    }
  }
  for (pollfd& p : fds)
    if (p.fd >= 0) ::close(p.fd);
  int status = 0;
  ::waitpid(pid, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  r.took = std::chrono::duration_cast<std::chrono::milliseconds>(end - start);
  if (signalAfterMs >= 0 && signalled)
    r.afterSignal = std::chrono::duration_cast<std::chrono::milliseconds>(end - signalAt);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

}  // namespace lx47::nettest
