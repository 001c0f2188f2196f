// The parts of the real-socket test support that are the same on every
// platform: addresses, and reading what lx47-sim left in its folder.
#include "sim_process.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/net.h"

namespace lx47::nettest {

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::uint32_t Ip(const char* text) {
  std::uint32_t a = 0;
  if (!platform::parseIpv4(text, a)) {
    std::fprintf(stderr, "bad address in a test: %s\n", text);
    std::abort();
  }
  return a;
}

std::string IpText(std::uint32_t addr) {
  char t[16];
  platform::formatIpv4(addr, t);
  return t;
}

void SimProcess::removeDir() {
  if (!dir_.empty() && !std::getenv("LX47_KEEP_SIM_DIRS")) {
    std::error_code ec;
    std::filesystem::remove_all(HostPath(dir_), ec);
  }
  dir_.clear();
}

std::vector<std::string> SimProcess::logLines() const {
  std::vector<std::string> lines;
  std::ifstream in(HostPath(dir_ + "/log"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> SimProcess::logLinesWith(const std::vector<std::string>& pieces) const {
  std::vector<std::string> out;
  for (const std::string& l : logLines()) {
    bool all = true;
    for (const std::string& p : pieces) all = all && l.find(p) != std::string::npos;
    if (all) out.push_back(l);
  }
  return out;
}

std::map<std::string, std::string> SimProcess::state(int device) const {
  std::map<std::string, std::string> kv;
  std::ifstream in(HostPath(dir_ + "/device-" + std::to_string(device) + ".state"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t eq = line.find('=');
    if (eq != std::string::npos) kv[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return kv;
}

std::vector<std::uint8_t> SimProcess::block(int device) const {
  return ReadFile(HostPath(dir_ + "/device-" + std::to_string(device) + ".block"));
}

std::vector<std::uint8_t> SimProcess::image(int device) const {
  return ReadFile(HostPath(dir_ + "/device-" + std::to_string(device) + ".image"));
}

ToolSettings FastSettings() {
  ToolSettings s;
  s.MaxSendCmdLoopCount = 2;
  s.MaxRecvLoopCount = 10;
  s.RecvDelay_msec = 20;
  return s;
}

}  // namespace lx47::nettest
