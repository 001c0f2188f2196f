// lx47-sim's command line: every option it takes is in --help, and a value
// out of range or an unknown name is refused rather than run with.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim_options.h"

namespace sim {
namespace {

int Parse(std::vector<std::string> args, Options& opt, std::string& err) {
  args.insert(args.begin(), "lx47-sim");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return ParseOptions(static_cast<int>(argv.size()), argv.data(), opt, err);
}

struct OptionCase {
  const char* option;
  const char* good;  // nullptr: takes no value
  const char* bad;   // nullptr: every value is taken
};

const OptionCase kOptions[] = {
    {"--devices", "3", "65"},
    {"--mac-base", "02:47:00:00:01:00", "02:47:00"},
    {"--ip-base", "10.47.0.100", "10.47.0.300"},
    {"--extra-ip-base", "10.48.0.100", "ten"},
    {"--password", "secret1", nullptr},
    {"--firmware", "2.5.7", "2.5"},
    {"--firmware-after", "2.6.0", "2.6.256"},
    {"--wifi-mode", "0", "4"},
    {"--router", "Office, 2nd floor,2A:47:00:00:09:01,11,3,-40", "NoFields"},
    {"--no-routers", nullptr, nullptr},
    {"--delay-ms", "0", "10001"},
    {"--scan-ms", "3000", "-1"},
    {"--reply-length", "500", "3"},
    {"--reply-to", "broadcast", "multicast"},
    {"--prefix", "x#!", nullptr},
    {"--prefix-hex", "00ff", "0"},
    {"--flood-count", "5", "1001"},
    {"--wfsr-count", "255", "256"},
    {"--stall-seconds", "2", "0"},
    {"--idle-seconds", "2", "0"},
    {"--fault", "silent=0", "loud"},
    {"--ready-file", "/tmp/ready", nullptr},
    {"--log", "/tmp/log", nullptr},
    {"--quiet", nullptr, nullptr},
    {"--state-dir", "/tmp", nullptr},
    {"--max-runtime", "60", "x"},
    {"--bind", "10.47.0.100", "10.47.0"},
    {"--port", "5074", "65536"},
    {"--firmware-port", "5075", "0"},
};

TEST(SimOptions, EveryOptionIsDocumentedTakenAndCheckedForRange) {
  const std::string help = HelpText();
  for (const OptionCase& c : kOptions) {
    SCOPED_TRACE(c.option);
    EXPECT_NE(help.find(std::string("  ") + c.option + " "), std::string::npos) << "missing from --help";
    Options opt;
    std::string err;
    std::vector<std::string> args = {c.option};
    if (c.good) args.push_back(c.good);
    EXPECT_EQ(Parse(args, opt, err), 0) << err;
    if (c.bad) {
      Options bad;
      EXPECT_EQ(Parse({c.option, c.bad}, bad, err), 2);
      EXPECT_FALSE(err.empty());
    }
    if (c.good) {
      Options missing;
      EXPECT_EQ(Parse({c.option}, missing, err), 2) << "a missing value is refused";
    }
  }
}

TEST(SimOptions, EveryFaultModeIsDocumentedAndReachesOnlyTheDevicesNamed) {
  const std::string help = HelpText();
  const char* const modes[] = {"silent", "refuse-write", "refuse-reset", "wrong-mac",
                               "short", "flood", "stall-tcp", "wfsr-overcount"};
  unsigned all = 0;
  for (const char* m : modes) {
    SCOPED_TRACE(m);
    EXPECT_NE(help.find(std::string("  ") + m + " "), std::string::npos) << "missing from --help";
    Options opt;
    std::string err;
    ASSERT_EQ(Parse({"--devices", "3", "--fault", std::string(m) + "=0,2"}, opt, err), 0) << err;
    ASSERT_EQ(opt.faults.size(), 3u);
    EXPECT_NE(opt.faults[0], 0u);
    EXPECT_EQ(opt.faults[1], 0u);
    EXPECT_EQ(opt.faults[2], opt.faults[0]);
    EXPECT_EQ(all & opt.faults[0], 0u) << "two names for one mode";
    all |= opt.faults[0];
  }
  Options opt;
  std::string err;
  EXPECT_EQ(Parse({"--devices", "2", "--fault", "silent=2"}, opt, err), 2) << "device beyond --devices";
  EXPECT_EQ(Parse({"--frobnicate"}, opt, err), 2);
}

TEST(SimOptions, HelpPrintsAndAsksToExit) {
  Options opt;
  std::string err;
  std::fflush(stdout);
  EXPECT_EQ(Parse({"--help"}, opt, err), 1);
  EXPECT_EQ(Parse({"-h"}, opt, err), 1);
}

}  // namespace
}  // namespace sim
