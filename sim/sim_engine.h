// The simulated devices and how they answer; no sockets here. The main loop
// hands every datagram and every firmware connection's bytes to the engine
// and sends what it asks for when it is due.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/config_block.h"
#include "sim_options.h"
#include "sim_socket.h"

namespace sim {

using Block = std::array<std::uint8_t, lx47::kConfigBlockSize>;

class Log {
 public:
  ~Log();
  bool open(const Options& opt, std::string& err);
  // One line: "<unix time> <event> <text>".
  void line(const char* event, const std::string& text);

 private:
  std::FILE* f_ = nullptr;
  bool own_ = false;
};

struct Device {
  int index = 0;
  Mac mac{};
  std::vector<std::uint32_t> addrs;  // first: the address in the block
  unsigned faults = 0;
  Block factory{};
  Block block{};
  // What arrived, for the state dump.
  int writes = 0;
  int resets = 0;
  int eraseMode = -1;
  std::string clock;       // "YYYY-MM-DDThh:mm:ss" as received
  std::string clockBytes;  // hex of request bytes 10..16
  int tdsc = 0;
  std::uint64_t firmAnnouncedMs = 0;  // 0: none
  std::uint64_t imageHeader = 0;
  std::uint64_t imageReceived = 0;
  std::string imageHash;
  bool imageComplete = false;
};

struct Outgoing {
  std::uint64_t dueMs = 0;
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::uint16_t port = 0;
  int device = -1;
  std::string cmd;  // for the log
  std::vector<std::uint8_t> bytes;
};

// One accepted firmware connection.
struct Transfer {
  os::Handle h = os::kInvalid;
  int device = -1;
  std::uint32_t peer = 0;
  std::uint16_t peerPort = 0;
  bool stalled = false;
  bool announced = false;
  std::uint64_t acceptedMs = 0;
  std::uint64_t lastDataMs = 0;
  std::vector<std::uint8_t> bytes;  // header included
  std::uint64_t header = 0;         // valid once 4 bytes are in
};

class Engine {
 public:
  Engine(const Options& opt, Log& log);

  // A datagram that arrived; replies are appended to out.
  void onDatagram(const std::uint8_t* data, const os::Datagram& info, std::uint64_t nowMs,
                  std::vector<Outgoing>& out);

  // Firmware connection events.
  void onAccept(Transfer& t, std::uint32_t local, std::uint64_t nowMs);
  // Bytes of an open connection; returns false when the connection is to be
  // closed (image complete or refused).
  bool onTransferData(Transfer& t, const std::uint8_t* data, std::size_t len, std::uint64_t nowMs);
  // The connection ended (peer closed, error, timeout) before the image was complete.
  void onTransferEnd(Transfer& t, const char* why);

  void dumpAll();
  std::vector<Device>& devices() { return devices_; }

 private:
  void buildFactory(Device& d);
  std::vector<int> candidates(std::uint32_t dst) const;
  int deviceByMac(const std::vector<int>& cands, const std::uint8_t* mac) const;
  int deviceByAddr(std::uint32_t addr) const;
  std::uint32_t sourceFor(const Device& d, std::uint32_t to) const;
  void reply(Device& d, const char* marker, std::vector<std::uint8_t> body, std::size_t minLength,
             const os::Datagram& info, std::uint64_t nowMs, std::vector<Outgoing>& out, int delayMs = -1);
  void imageDone(Transfer& t);
  void dump(const Device& d);

  const Options& opt_;
  Log& log_;
  std::vector<Device> devices_;
};

std::string Hex(const std::uint8_t* p, std::size_t n);
std::uint64_t Fnv1a64(const std::uint8_t* p, std::size_t n);

}  // namespace sim
