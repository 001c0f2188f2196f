// Command line of lx47-sim.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using Mac = std::array<std::uint8_t, 6>;

struct Router {
  std::string ssid;  // up to 32 single-byte characters
  Mac bssid{};
  std::uint8_t channel = 1;
  std::uint8_t security = 3;
  std::int8_t rssi = -50;
};

// Fault modes; each can be given to all devices or to some of them.
enum Fault : unsigned {
  kFaultSilent = 1u << 0,         // answers nothing
  kFaultRefuseWrite = 1u << 1,    // SETS answered with SETn, block unchanged
  kFaultRefuseReset = 1u << 2,    // REST answered with REng, nothing reset
  kFaultWrongMac = 1u << 3,       // replies carry another MAC
  kFaultShort = 1u << 4,          // every reply one byte shorter than the tool accepts
  kFaultFlood = 1u << 5,          // foreign datagrams before each reply
  kFaultStallTcp = 1u << 6,       // firmware connection accepted, never read
  kFaultWfsrOvercount = 1u << 7,  // WFSR count byte claims more records than it carries
};

// Where the replies go: back to the request's sender (address and port), or
// to a broadcast address with the request's source port, as a device whose
// own address lies outside the PC's subnet may answer.
enum class ReplyTo { Sender, Broadcast, SubnetBroadcast };

struct FirmwareVersion {
  std::uint8_t major = 1, minor = 0, revision = 0;
};

struct Options {
  int devices = 1;
  Mac macBase{0x02, 0x47, 0x00, 0x00, 0x00, 0x01};
  std::uint32_t ipBase = 0;  // network order; set to 10.47.0.100 by the parser
  std::vector<std::uint32_t> extraIpBases;
  std::string password;  // factory search password
  FirmwareVersion firmware;
  std::optional<FirmwareVersion> firmwareAfter;
  int wifiMode = 1;
  std::vector<Router> routers;
  int delayMs = 5;
  int scanMs = 2500;  // WFSR answers wait this long instead: the device scans first
  int replyLength = 0;  // 0: 392 for the replies that carry the block
  std::vector<std::uint8_t> prefix;
  ReplyTo replyTo = ReplyTo::Sender;
  int floodCount = 20;
  int wfsrCount = -1;  // explicit count byte; -1: the number of records
  int stallSeconds = 30;
  int idleSeconds = 30;
  std::vector<unsigned> faults;  // per device, sized `devices`
  std::string readyFile;
  std::string logPath;  // empty: stdout
  bool quiet = false;
  std::string stateDir;
  int maxRuntimeSeconds = 0;  // 0: until SIGTERM/SIGINT
  std::uint16_t port = 5074;
  std::uint16_t firmwarePort = 5075;
  std::uint32_t bindAddr = 0;
};

inline constexpr int kMaxDevices = 64;
inline constexpr int kMaxRouters = 97;  // what one 4095-byte WFSR can hold
inline constexpr std::size_t kMaxImageBytes = 16u << 20;

// Parses argv into opt. Returns 0 to run, 1 after --help (printed), 2 on an
// error (message in err).
int ParseOptions(int argc, char** argv, Options& opt, std::string& err);

const char* HelpText();

bool ParseIpv4(const std::string& text, std::uint32_t& out);
std::string FormatIpv4(std::uint32_t addr);
bool ParseMac(const std::string& text, Mac& out);
std::string FormatMac(const std::uint8_t* mac);
bool ParseRouter(const std::string& text, Router& out, std::string& err);

}  // namespace sim
