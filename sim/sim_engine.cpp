#include "sim_engine.h"

#include <algorithm>
#include <cstring>

namespace sim {

using lx47::ConfigBlock;
namespace field = lx47::field;

// ---------------------------------------------------------------- helpers

std::string Hex(const std::uint8_t* p, std::size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(n * 2);
  for (std::size_t i = 0; i < n; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

std::uint64_t Fnv1a64(const std::uint8_t* p, std::size_t n) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (std::size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 0x100000001b3ull;
  }
  return h;
}

namespace {

constexpr std::uint64_t kAnnouncementWindowMs = 10000;

std::uint32_t AddrPlus(std::uint32_t base, int i) {
  std::uint8_t o[4];
  std::memcpy(o, &base, 4);
  o[3] = static_cast<std::uint8_t>(o[3] + i);
  std::uint32_t a;
  std::memcpy(&a, o, 4);
  return a;
}

bool SameNet24(std::uint32_t a, std::uint32_t b) {
  return std::memcmp(&a, &b, 3) == 0;
}

// The broadcast address of addr's /24: its last octet 255.
std::uint32_t SubnetBroadcast24(std::uint32_t addr) {
  std::uint8_t o[4];
  std::memcpy(o, &addr, 4);
  o[3] = 255;
  std::memcpy(&addr, o, 4);
  return addr;
}

std::string Printable(const std::uint8_t* p, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += (p[i] >= 0x21 && p[i] <= 0x7E) ? static_cast<char>(p[i]) : '.';
  return s;
}

std::string Version(const Block& b) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u", b[47], b[48], b[46]);
  return text;
}

bool IsUsableSource(std::uint32_t addr, std::uint16_t port) {
  std::uint8_t o[4];
  std::memcpy(o, &addr, 4);
  if (port == 0 || addr == 0 || addr == 0xFFFFFFFFu) return false;
  return o[0] < 224;  // no multicast or reserved senders
}

}  // namespace

// ---------------------------------------------------------------- log

Log::~Log() {
  if (f_ && own_) std::fclose(f_);
}

bool Log::open(const Options& opt, std::string& err) {
  if (opt.quiet) return true;
  if (opt.logPath.empty()) {
    f_ = stdout;
    return true;
  }
  f_ = std::fopen(opt.logPath.c_str(), "w");
  if (!f_) {
    err = "cannot write log " + opt.logPath;
    return false;
  }
  own_ = true;
  return true;
}

void Log::line(const char* event, const std::string& text) {
  if (!f_) return;
  std::fprintf(f_, "%.3f %s %s\n", os::wallSeconds(), event, text.c_str());
  std::fflush(f_);
}

// ---------------------------------------------------------------- engine

Engine::Engine(const Options& opt, Log& log) : opt_(opt), log_(log) {
  devices_.resize(static_cast<std::size_t>(opt.devices));
  for (int i = 0; i < opt.devices; ++i) {
    Device& d = devices_[static_cast<std::size_t>(i)];
    d.index = i;
    d.mac = opt.macBase;
    // Add i to the MAC as a 48-bit number.
    unsigned carry = static_cast<unsigned>(i);
    for (int k = 5; k >= 0 && carry; --k) {
      unsigned v = d.mac[static_cast<std::size_t>(k)] + carry;
      d.mac[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v);
      carry = v >> 8;
    }
    d.addrs.push_back(AddrPlus(opt.ipBase, i));
    for (std::uint32_t b : opt.extraIpBases) d.addrs.push_back(AddrPlus(b, i));
    d.faults = opt.faults[static_cast<std::size_t>(i)];
    buildFactory(d);
    d.block = d.factory;
  }
}

// A device fresh from the factory: access point (or the chosen Wi-Fi mode),
// TCP server on port 10001, 9600 baud 8N1.
void Engine::buildFactory(Device& d) {
  Block& b = d.factory;
  b.fill(0);
  ConfigBlock c{std::span<std::uint8_t>(b)};
  std::memcpy(b.data(), "IAMI", 4);
  std::copy(d.mac.begin(), d.mac.end(), b.begin() + 4);
  c.set(field::Operation_Mode, 2);
  c.set(field::DHCP_Enable, 0);
  const std::uint32_t ip = d.addrs[0];
  c.set(field::Device_IP_Address, ip);
  std::uint32_t mask;
  ParseIpv4("255.255.255.0", mask);
  c.set(field::Subnet_Mask, mask);
  c.set(field::Default_Gateway, AddrPlus(ip & mask, 1));
  c.set(field::Local_Port, 10001);
  c.set(field::Server_IP_Address, 0);
  c.set(field::Server_Port, 10001);
  c.set(field::Serial_Baud_Rate, 0xF4);  // 9600
  c.set(field::Serial_Data_Bits, 8);
  c.set(field::Serial_Parity, 0);
  c.set(field::Serial_Stop_Bits, 1);
  c.set(field::Serial_Flow_Control, 0);
  c.set(field::Serial_Send_Char, 0);
  c.set(field::Serial_Send_Size, 0);
  c.set(field::Serial_Send_Time, 0);
  c.set(field::TCP_Disconnect_Time, 300);
  c.set(field::TCP_Keepalive_Interval, 60);
  c.set(field::Firmware_Version_Major, opt_.firmware.major);
  c.set(field::Firmware_Version_Minor, opt_.firmware.minor);
  c.set(field::Firmware_Version_Revision, opt_.firmware.revision);
  // Bytes the tool never interprets carry a pattern, so that a tool which
  // loses them is caught.
  b[49] = 0x5A;
  b[50] = 0xA5;
  b[88] = 0x3C;
  b[108] = 0x12;
  b[109] = 0x34;
  b[111] = 0x77;
  c.set(field::DNS_Connect_Enable, 0);
  c.set(field::DNS_Server_IP_Address, 0);
  c.set(field::Server_Domain_Name, "");
  c.set(field::Connect_Password_Enable, 0);
  c.set(field::Connect_Password, "");
  char pw[9];
  std::snprintf(pw, sizeof pw, "%-8.8s", opt_.password.c_str());
  c.set(field::Search_Password, std::string_view(pw, 8));
  c.set(field::DHCP_Lease_Time, 1440);
  c.set(field::Wifi_Mode, static_cast<std::uint8_t>(opt_.wifiMode));
  char ssid[33];
  std::snprintf(ssid, sizeof ssid, "LX47_%02X%02X%02X", d.mac[3], d.mac[4], d.mac[5]);
  c.set(field::Wifi_AP_SSID, ssid);
  c.set(field::Wifi_AP_Password, "lx47-config");
  c.set(field::Wifi_AP_Security, 3);
  c.set(field::Wifi_AP_Channel, 6);
  if (opt_.wifiMode == 0 && !opt_.routers.empty()) {
    const Router& r = opt_.routers.front();
    c.set(field::Wifi_Infra_SSID, r.ssid);
    c.set(field::Wifi_Infra_Password, "router-pass");
    c.set(field::Wifi_Security, r.security);
    c.set(field::Wifi_Channel, r.channel);
  } else {
    c.set(field::Wifi_Security, 3);
    c.set(field::Wifi_Channel, 6);
  }
  c.set(field::Disconnect_Judge_Time, 300);
  c.set(field::Extra_Time_Value, 300);
}

std::vector<int> Engine::candidates(std::uint32_t dst) const {
  int d = deviceByAddr(dst);
  if (d >= 0) return {d};
  std::vector<int> all;
  for (const Device& dev : devices_) all.push_back(dev.index);
  return all;
}

int Engine::deviceByAddr(std::uint32_t addr) const {
  for (const Device& d : devices_)
    for (std::uint32_t a : d.addrs)
      if (a == addr) return d.index;
  return -1;
}

int Engine::deviceByMac(const std::vector<int>& cands, const std::uint8_t* mac) const {
  for (int i : cands)
    if (std::memcmp(devices_[static_cast<std::size_t>(i)].mac.data(), mac, 6) == 0) return i;
  return -1;
}

std::uint32_t Engine::sourceFor(const Device& d, std::uint32_t to) const {
  for (std::uint32_t a : d.addrs)
    if (SameNet24(a, to)) return a;
  return d.addrs[0];
}

void Engine::reply(Device& d, const char* marker, std::vector<std::uint8_t> body, std::size_t minLength,
                   const os::Datagram& info, std::uint64_t nowMs, std::vector<Outgoing>& out, int delayMs) {
  std::memcpy(body.data(), marker, 4);
  std::copy(d.mac.begin(), d.mac.end(), body.begin() + 4);
  if (d.faults & kFaultWrongMac) body[9] ^= 0x80;
  if (d.faults & kFaultShort) body.resize(minLength - 1);
  std::vector<std::uint8_t> bytes = opt_.prefix;
  bytes.insert(bytes.end(), body.begin(), body.end());

  const std::uint64_t due = nowMs + static_cast<std::uint64_t>(delayMs >= 0 ? delayMs : opt_.delayMs);
  const std::uint32_t from = sourceFor(d, info.src);
  // A broadcast leaves from the device's address, so through that address's link.
  std::uint32_t to = info.src;
  if (opt_.replyTo == ReplyTo::Broadcast) to = 0xFFFFFFFFu;
  if (opt_.replyTo == ReplyTo::SubnetBroadcast) to = SubnetBroadcast24(from);
  if (d.faults & kFaultFlood) {
    for (int k = 0; k < opt_.floodCount; ++k) {
      char junk[64];
      int n = std::snprintf(junk, sizeof junk, "noise %04d from %s", k, FormatMac(d.mac.data()).c_str());
      Outgoing o{due, from, to, info.srcPort, d.index, "noise", {}};
      o.bytes.assign(junk, junk + n);
      out.push_back(std::move(o));
    }
  }
  out.push_back(Outgoing{due, from, to, info.srcPort, d.index, marker, std::move(bytes)});
}

void Engine::onDatagram(const std::uint8_t* data, const os::Datagram& info, std::uint64_t nowMs,
                        std::vector<Outgoing>& out) {
  const std::size_t len = info.length;
  std::string text = "src=" + FormatIpv4(info.src) + ":" + std::to_string(info.srcPort) +
                     " dst=" + (info.dst ? FormatIpv4(info.dst) : std::string("any")) +
                     " len=" + std::to_string(len) + (info.truncated ? " truncated=1" : "");
  if (len < 4) {
    log_.line("RECV", text + " cmd=?");
    return;
  }
  const std::string cmd(reinterpret_cast<const char*>(data), 4);
  text += " cmd=" + Printable(data, 4);
  if (len >= 10 && cmd != "FOND") text += " mac=" + FormatMac(data + 4);
  if (cmd == "FOND" && len >= 12) text += " password=" + Hex(data + 4, 8);
  if (cmd == "REST" && len >= 11) text += " erase=" + std::to_string(data[10]);
  std::string clock, clockBytes;
  if (cmd == "TIMC" && len >= 17) {
    char t[32];
    std::snprintf(t, sizeof t, "%04u-%02u-%02uT%02u:%02u:%02u", data[10] | (data[11] << 8), data[12], data[13],
                  data[14], data[15], data[16]);
    clock = t;
    clockBytes = Hex(data + 10, 7);
    text += " clock=" + clock + " clock_bytes=" + clockBytes;
  }
  log_.line("RECV", text);

  if (!IsUsableSource(info.src, info.srcPort)) {
    log_.line("DROP", "cmd=" + Printable(data, 4) + " reason=bad-source");
    return;
  }

  const std::vector<int> cands = candidates(info.dst);
  auto drop = [&](int dev, const char* why) {
    log_.line("DROP", "dev=" + std::to_string(dev) + " cmd=" + Printable(data, 4) + " reason=" + why);
  };
  auto blockReplyLength = [&]() -> std::size_t {
    return opt_.replyLength > 0 ? static_cast<std::size_t>(opt_.replyLength) : lx47::kConfigBlockSize;
  };
  auto blockBody = [&](const Device& d) {
    std::vector<std::uint8_t> body(d.block.begin(), d.block.end());
    body.resize(std::max<std::size_t>(blockReplyLength(), 10), 0);
    return body;
  };

  if (cmd == "FOND") {
    if (len < 12) return drop(-1, "short-request");
    for (int i : cands) {
      Device& d = devices_[static_cast<std::size_t>(i)];
      if (d.faults & kFaultSilent) { drop(i, "silent"); continue; }
      if (std::memcmp(d.block.data() + field::Search_Password.offset, data + 4, 8) != 0) {
        drop(i, "password");
        continue;
      }
      reply(d, "IAMI", blockBody(d), lx47::kConfigBlockSize, info, nowMs, out);
    }
    return;
  }

  static const char* const kKnown[] = {"SETS", "REST", "WFSC", "FIRM", "TIMC", "TDSC"};
  if (std::none_of(std::begin(kKnown), std::end(kKnown), [&](const char* k) { return cmd == k; })) return;
  if (len < 10) return drop(-1, "short-request");
  const int idx = deviceByMac(cands, data + 4);
  if (idx < 0) return;  // another device's request
  Device& d = devices_[static_cast<std::size_t>(idx)];
  if (d.faults & kFaultSilent) return drop(idx, "silent");

  if (cmd == "SETS") {
    if (len < lx47::kConfigBlockSize) return drop(idx, "short-request");
    if (d.faults & kFaultRefuseWrite) {
      log_.line("APPLY", "dev=" + std::to_string(idx) + " refused=1");
      return reply(d, "SETn", blockBody(d), lx47::kConfigBlockSize, info, nowMs, out);
    }
    // The device keeps its identity and the read-only fields whatever is sent.
    Block next = d.block;
    std::memcpy(next.data() + 10, data + 10, lx47::kConfigBlockSize - 10);
    for (std::size_t keep : {std::size_t{46}, std::size_t{47}, std::size_t{48}, field::Wifi_Mode.offset,
                             field::Wifi_Security.offset, field::Wifi_Channel.offset})
      next[keep] = d.block[keep];
    std::size_t changed = 0;
    for (std::size_t k = 0; k < next.size(); ++k) changed += next[k] != d.block[k];
    d.block = next;
    ++d.writes;
    log_.line("APPLY", "dev=" + std::to_string(idx) + " changed_bytes=" + std::to_string(changed) +
                           " block=" + Hex(d.block.data(), d.block.size()));
    dump(d);
    return reply(d, "SETI", blockBody(d), lx47::kConfigBlockSize, info, nowMs, out);
  }

  if (cmd == "REST") {
    if (len < 11) return drop(idx, "short-request");
    d.eraseMode = data[10];
    std::vector<std::uint8_t> body(11, 0);
    body[10] = data[10];
    if (d.faults & kFaultRefuseReset) {
      log_.line("RESET", "dev=" + std::to_string(idx) + " erase=" + std::to_string(data[10]) + " refused=1");
      dump(d);
      return reply(d, "REng", body, 11, info, nowMs, out);
    }
    // Back to the factory block; the firmware stays what it is now.
    Block next = d.factory;
    for (std::size_t k : {std::size_t{46}, std::size_t{47}, std::size_t{48}}) next[k] = d.block[k];
    d.block = next;
    ++d.resets;
    log_.line("RESET", "dev=" + std::to_string(idx) + " erase=" + std::to_string(data[10]));
    dump(d);
    return reply(d, "REOK", body, 11, info, nowMs, out);
  }

  if (cmd == "WFSC") {
    std::vector<std::uint8_t> body(12, 0);
    for (std::size_t r = 0; r < opt_.routers.size(); ++r) {
      const Router& rt = opt_.routers[r];
      std::uint8_t rec[42] = {};
      rec[0] = static_cast<std::uint8_t>(r);
      rec[1] = rt.channel;
      std::memcpy(rec + 2, rt.ssid.data(), std::min<std::size_t>(rt.ssid.size(), 32));
      std::memcpy(rec + 34, rt.bssid.data(), 6);
      rec[40] = rt.security;
      rec[41] = static_cast<std::uint8_t>(rt.rssi);
      body.insert(body.end(), rec, rec + 42);
    }
    int count = static_cast<int>(opt_.routers.size());
    if (d.faults & kFaultWfsrOvercount) count += 5;
    if (opt_.wfsrCount >= 0) count = opt_.wfsrCount;
    body[11] = static_cast<std::uint8_t>(std::min(count, 255));
    return reply(d, "WFSR", body, 12, info, nowMs, out, opt_.scanMs);
  }

  if (cmd == "FIRM") {
    d.firmAnnouncedMs = nowMs ? nowMs : 1;
    log_.line("FIRM", "dev=" + std::to_string(idx) + " len=" + std::to_string(len));
    return;
  }

  if (cmd == "TIMC") {
    if (len < 17) return drop(idx, "short-request");
    d.clock = clock;
    d.clockBytes = clockBytes;
    log_.line("CLOCK", "dev=" + std::to_string(idx) + " clock=" + clock + " clock_bytes=" + clockBytes);
    dump(d);
    std::vector<std::uint8_t> body(21, 0);
    std::memcpy(body.data() + 10, data + 10, std::min<std::size_t>(len, 21) - 10);
    return reply(d, "TIMR", body, 21, info, nowMs, out);
  }

  if (cmd == "TDSC") {
    ++d.tdsc;
    dump(d);
    return reply(d, "TDSR", std::vector<std::uint8_t>(14, 0), 14, info, nowMs, out);
  }
}

void Engine::onAccept(Transfer& t, std::uint32_t local, std::uint64_t nowMs) {
  t.acceptedMs = t.lastDataMs = nowMs;
  t.device = deviceByAddr(local);
  if (t.device < 0) {
    // Not aimed at a device address: take the device announced last.
    std::uint64_t best = 0;
    for (const Device& d : devices_)
      if (d.firmAnnouncedMs > best) { best = d.firmAnnouncedMs; t.device = d.index; }
  }
  if (t.device >= 0) {
    const Device& d = devices_[static_cast<std::size_t>(t.device)];
    t.announced = d.firmAnnouncedMs != 0 && nowMs - d.firmAnnouncedMs <= kAnnouncementWindowMs;
    t.stalled = (d.faults & kFaultStallTcp) != 0;
  }
  log_.line("TCP_ACCEPT", "dev=" + std::to_string(t.device) + " local=" + FormatIpv4(local) + " peer=" +
                              FormatIpv4(t.peer) + ":" + std::to_string(t.peerPort) +
                              " announced=" + (t.announced ? "1" : "0"));
  if (t.stalled) log_.line("TCP_STALL", "dev=" + std::to_string(t.device));
}

bool Engine::onTransferData(Transfer& t, const std::uint8_t* data, std::size_t len, std::uint64_t nowMs) {
  t.lastDataMs = nowMs;
  const std::size_t had = t.bytes.size();
  t.bytes.insert(t.bytes.end(), data, data + len);
  if (t.bytes.size() < 4) return true;
  if (had < 4) {
    t.header = (std::uint64_t{t.bytes[0]} << 24) | (std::uint64_t{t.bytes[1]} << 16) |
               (std::uint64_t{t.bytes[2]} << 8) | t.bytes[3];
    if (t.header == 0 || t.header > kMaxImageBytes) {
      onTransferEnd(t, "bad-length");
      return false;
    }
  }
  if (t.bytes.size() >= 4 + t.header) {
    if (t.bytes.size() > 4 + t.header) {
      log_.line("IMAGE_EXTRA", "dev=" + std::to_string(t.device) +
                                   " bytes=" + std::to_string(t.bytes.size() - 4 - t.header));
      t.bytes.resize(4 + t.header);
    }
    imageDone(t);
    return false;
  }
  return true;
}

void Engine::imageDone(Transfer& t) {
  const std::uint64_t received = t.bytes.size() >= 4 ? t.bytes.size() - 4 : 0;
  const bool complete = t.bytes.size() >= 4 && received == t.header;
  const std::uint8_t* image = t.bytes.data() + (t.bytes.size() >= 4 ? 4 : t.bytes.size());
  char hashText[17];
  std::snprintf(hashText, sizeof hashText, "%016llx", static_cast<unsigned long long>(Fnv1a64(image, received)));
  const std::string hash = hashText;
  std::string version = "-";
  if (t.device >= 0) {
    Device& d = devices_[static_cast<std::size_t>(t.device)];
    d.imageHeader = t.header;
    d.imageReceived = received;
    d.imageHash = hash;
    d.imageComplete = complete;
    if (complete && t.announced) {
      ConfigBlock c{std::span<std::uint8_t>(d.block)};
      if (opt_.firmwareAfter) {
        c.set(field::Firmware_Version_Major, opt_.firmwareAfter->major);
        c.set(field::Firmware_Version_Minor, opt_.firmwareAfter->minor);
        c.set(field::Firmware_Version_Revision, opt_.firmwareAfter->revision);
      } else if (++d.block[46] == 0 && ++d.block[48] == 0) {
        ++d.block[47];
      }
      d.firmAnnouncedMs = 0;
    }
    version = Version(d.block);
    if (!opt_.stateDir.empty())
      os::writeFileAtomically(opt_.stateDir + "/device-" + std::to_string(d.index) + ".image", t.bytes.data(),
                              t.bytes.size());
    dump(d);
  }
  log_.line("IMAGE", "dev=" + std::to_string(t.device) + " header=" + std::to_string(t.header) +
                         " received=" + std::to_string(received) + " fnv1a64=" + hash +
                         " complete=" + (complete ? "1" : "0") + " announced=" + (t.announced ? "1" : "0") +
                         " version=" + version);
}

void Engine::onTransferEnd(Transfer& t, const char* why) {
  log_.line("TCP_END", "dev=" + std::to_string(t.device) + " reason=" + why +
                           " bytes=" + std::to_string(t.bytes.size()));
  if (!t.stalled) imageDone(t);
}

void Engine::dump(const Device& d) {
  if (opt_.stateDir.empty()) return;
  const std::string base = opt_.stateDir + "/device-" + std::to_string(d.index);
  os::writeFileAtomically(base + ".block", d.block.data(), d.block.size());
  std::string s;
  auto kv = [&](const char* k, const std::string& v) { s += std::string(k) + "=" + v + "\n"; };
  kv("index", std::to_string(d.index));
  kv("mac", FormatMac(d.mac.data()));
  std::string ips;
  for (std::uint32_t a : d.addrs) ips += (ips.empty() ? "" : ",") + FormatIpv4(a);
  kv("ip", ips);
  kv("version", Version(d.block));
  kv("password", Hex(d.block.data() + field::Search_Password.offset, 8));
  kv("writes", std::to_string(d.writes));
  kv("resets", std::to_string(d.resets));
  kv("erase_mode", std::to_string(d.eraseMode));
  kv("clock", d.clock);
  kv("clock_bytes", d.clockBytes);
  kv("tdsc", std::to_string(d.tdsc));
  kv("image_header", std::to_string(d.imageHeader));
  kv("image_received", std::to_string(d.imageReceived));
  kv("image_fnv1a64", d.imageHash);
  kv("image_complete", d.imageComplete ? "1" : "0");
  os::writeFileAtomically(base + ".state", s.data(), s.size());
}

void Engine::dumpAll() {
  for (const Device& d : devices_) dump(d);
}

}  // namespace sim
