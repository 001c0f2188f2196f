// Leaving the tool by a termination signal in the middle of an exchange. The
// tool's own start-up with a scripted user (lx47_leave_probe) runs a search
// or a firmware transfer against lx47-sim and gets SIGTERM halfway: it must
// stop the worker, wait for its end, and exit with code 0 and nothing from
// the sanitizers (the sanitizer build runs this test too), within about the
// time the exchange takes to notice the abort; and no worker may go on
// storing answers after the tool has left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/sim_process.h"

extern char** environ;

namespace lx47::nettest {
namespace {

using Clock = std::chrono::steady_clock;

struct LeaveCase {
  const char* name;
  const char* mode;                  // the probe's first argument
  std::vector<std::string> sim;      // lx47-sim's arguments
  std::vector<std::string> running;  // a sim log line with these shows the exchange under way
};

std::string CaseName(const ::testing::TestParamInfo<LeaveCase>& info) { return info.param.name; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The probe is built next to this program.
std::string ProbePath() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "lx47_leave_probe").string();
}

bool Exited(pid_t pid, int& status) { return ::waitpid(pid, &status, WNOHANG) == pid; }

class Leave : public ::testing::TestWithParam<LeaveCase> {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lx47-leave.XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    if (pid_ > 0) {  // a probe that did not end: stopped, so that nothing outlives the test
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

  // Starts the probe with its output in files of a folder of its own.
  bool Spawn(std::vector<std::string> args) {
    args.insert(args.begin(), ProbePath());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, (dir_ + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, (dir_ + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int rc = ::posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (rc != 0) pid_ = -1;
    return rc == 0;
  }

  pid_t pid_ = -1;
  std::string dir_;
};

TEST_P(Leave, SigtermHalfwayStopsTheWorkerAndExitsCleanly) {
  const LeaveCase& c = GetParam();
  SimProcess sim;
  std::string why;
  ASSERT_TRUE(sim.start(c.sim, &why)) << why;

  std::vector<std::string> args{c.mode};
  if (std::string(c.mode) == "firmware") {
    const std::string image = dir_ + "/LX47_leave.bin";
    std::ofstream(image, std::ios::binary) << "LX47" << std::string(512 * 1024, '\x5A');
    args.push_back(image);
  }
  ASSERT_TRUE(Spawn(args));

  // Bounded: a Qt program built with the sanitizers starts slowly.
  int status = 0;
  bool running = false;
  for (int i = 0; i < 600 && !running; ++i) {
    ASSERT_FALSE(Exited(pid_, status)) << "the probe ended early: " << ReadAll(dir_ + "/err");
    running = !sim.logLinesWith(c.running).empty();
    if (!running) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(running) << "the exchange never started: " << ReadAll(dir_ + "/err");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // well inside it

  // The tool has left when the probe prints its line; the process ends a
  // second later, after its check of the device table.
  const Clock::time_point sent = Clock::now();
  ASSERT_EQ(::kill(pid_, SIGTERM), 0);
  long long ms = -1;
  bool exited = false;
  for (int i = 0; i < 6000 && !exited; ++i) {
    if (ms < 0 && ReadAll(dir_ + "/out").find("left") != std::string::npos)
      ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
    exited = Exited(pid_, status);
    if (!exited) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(exited) << "still running 30 s after SIGTERM";
  pid_ = -1;
  std::printf("%s: SIGTERM to the tool's end %lld ms\n", c.name, ms);

  const std::string err = ReadAll(dir_ + "/err");
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << err;
  EXPECT_EQ(WEXITSTATUS(status), 0) << err;
  EXPECT_EQ(ReadAll(dir_ + "/out"), "left 0\n");
  EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
  EXPECT_EQ(err.find("runtime error"), std::string::npos) << err;
  // The exchange's own abort latency, then the clean-up: far below the rest
  // of the exchange (seconds of search, or of transfer).
  EXPECT_GE(ms, 0);
  EXPECT_LT(ms, 5000);
}

INSTANTIATE_TEST_SUITE_P(
    Exchanges, Leave,
    ::testing::Values(
        // 12.8 s of search per host address; stopped in the first.
        LeaveCase{"Search", "search", {"--devices", "2"}, {" RECV ", "cmd=FOND"}},
        // 512 KiB at 5120 bytes every 400 ms: about 40 s of transfer.
        LeaveCase{"Firmware", "firmware", {"--devices", "1", "--wifi-mode", "0"}, {" TCP_ACCEPT "}}),
    CaseName);

}  // namespace
}  // namespace lx47::nettest
