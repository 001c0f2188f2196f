#include "sim_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

namespace sim {

const char* HelpText() {
  return R"(lx47-sim: simulated KD-LX47 devices on UDP port 5074 and TCP port 5075.

Usage: lx47-sim [options]
  -h, --help             this text

lx47-sim binds the wildcard address, so run it only inside a private network
namespace that holds the device addresses (scripts/netns/netns-run.sh and
scripts/run.sh make one), never on a machine's real network.

Devices
  --devices N            number of devices, 1..64 (default 1)
  --mac-base MAC         MAC of device 0; device i adds i to the last octets
                         (default 02:47:00:00:00:01)
  --ip-base A.B.C.D      address of device 0; device i has A.B.C.(D+i)
                         (default 10.47.0.100). It is the address in the block
                         and the unicast address the device answers on.
  --extra-ip-base A.B.C.D
                         a further address per device on another link, device
                         i having A.B.C.(D+i); may be repeated (at most 4). A
                         device answers through every one of its addresses,
                         replying from the one on the requester's /24.
  --password TEXT        factory search password (default empty); FOND is
                         answered when its 8 bytes equal the block's
                         Search_Password, i.e. "%-8.8s" of TEXT
  --firmware X.Y.Z       firmware version major.minor.revision (default 1.0.0)
  --firmware-after X.Y.Z version after a firmware image has been taken
                         (default: revision + 1)
  --wifi-mode N          0 infrastructure, 1 access point, 2 ad hoc,
                         3 provisioning (default 1)
  --router SSID,BSSID,CHANNEL,SECURITY,RSSI
                         a router that WFSC reports; may be repeated (the SSID
                         may contain commas: the last four fields are split
                         off). Replaces the built-in list of three routers.
  --routers-file PATH    routers, one per line in the --router format; lines
                         starting with # and empty lines are skipped
  --no-routers           WFSC reports no router

Replies
  --delay-ms N           pause before every other reply, 0..10000 (default 5); the
                         tool listens only after closing its sending socket,
                         so an instant answer can miss it
  --scan-ms N            pause before a WFSR instead, 0..10000 (default 2500): the
                         device scans first, and the tool binds its receiving
                         socket only 1750 ms after the WFSC and reads from
                         3500 ms on, so an answer sooner than 1750 ms is lost
  --reply-length N       length from the marker of the replies that carry the
                         block (IAMI, SETI, SETn), 4..2000: below 392 cut short,
                         above 392 padded with zero bytes (default 392)
  --reply-to MODE        where every reply (and flood datagram) goes: sender
                         (default) answers the request's address and port;
                         broadcast sends to 255.255.255.255, subnet to the
                         broadcast address of the device's /24 (10.47.0.255),
                         both with the request's source port and from the
                         device's address on the requester's /24, so out of
                         that link (a device with no address there sends from
                         its first address, out of that address's link)
  --prefix TEXT          bytes put before the marker of every reply
  --prefix-hex HEX       the same given in hex (may hold zero bytes)
  --flood-count N        foreign datagrams per reply in flood mode (default 20,
                         at most 1000)
  --wfsr-count N         count byte of WFSR, 0..255, whatever the list holds
  --stall-seconds N      how long a stalled firmware connection is held open
                         (default 30)
  --idle-seconds N       a firmware connection silent this long is dropped
                         (default 30)

Fault modes
  --fault NAME           a fault mode for every device; may be repeated
  --fault NAME=0,2       the same for devices 0 and 2 only
  silent          answers nothing at all (requests are still logged)
  refuse-write    SETS answered with SETn and the block kept
  refuse-reset    REST answered with REng and nothing reset
  wrong-mac       replies carry another MAC (last octet xor 0x80)
  short           every reply one byte shorter than the tool accepts
                  (IAMI/SETI/SETn 391, REOK/REng 10, WFSR 11, TIMR 20, TDSR 13)
  flood           --flood-count datagrams without any marker are sent to the
                  requester right before every reply
  stall-tcp       the firmware connection is accepted (small receive buffer)
                  and never read; it is closed after --stall-seconds
  wfsr-overcount  the WFSR count byte claims five records more than it carries
                  (--wfsr-count N sets the count byte outright)
Bytes before the marker are set with --prefix: non-zero garbage, which the
tool skips (--prefix 'x#!'), or a zero byte first (--prefix-hex 00), after
which the tool never finds the marker.

Requests answered (UDP, broadcast or to a device address; replies go to the
sender's address and port, or by broadcast with --reply-to)
  FOND  password matches  -> IAMI + block
  SETS  MAC matches       -> block applied (MAC, firmware version, Wi-Fi mode,
                             Wi-Fi security and channel are kept) -> SETI + block
  REST  MAC matches       -> factory block back, erase mode recorded -> REOK
  WFSC  MAC matches       -> WFSR + router records
  FIRM  MAC matches       -> no reply; the firmware image is then taken on TCP
                             port 5075: 4-byte big-endian length, then the
                             image. A complete image announced by FIRM within
                             the last 10 s raises the firmware version.
  TIMC  MAC matches       -> the time is kept -> TIMR
  TDSC  MAC matches       -> TDSR

Observing
  --log PATH             one line per event (default: stdout); see below
  --quiet                no log at all
  --ready-file PATH      written once every socket is bound ("ready pid=N")
  --state-dir DIR        after every change, and at start, writes for device i:
                           device-I.block  the 392-byte block now in force
                           device-I.state  key=value lines: index, mac, ip,
                             version, password, writes, resets, erase_mode,
                             clock, clock_bytes, tdsc, image_header,
                             image_received, image_fnv1a64, image_complete
                           device-I.image  the bytes last received on the
                             firmware connection, length header included
  --max-runtime S        exit after S seconds (default: run until SIGTERM/SIGINT)

Network
  --bind A.B.C.D         local address of the sockets (default 0.0.0.0, with
                         one more UDP socket per device address so that
                         replies leave from the device's own address)
  --port N               UDP port (default 5074)
  --firmware-port N      TCP port (default 5075)

Log lines: "<unix time> EVENT key=value ...". Events: READY, RECV (every
datagram: src, dst (the device address a unicast was sent to, or "any" for a
broadcast), len, cmd, and per command mac, password (hex), erase,
clock, clock_bytes (hex of bytes 10..16)), SEND (dev, cmd, src, dst, len),
FLOOD, DROP (dev, cmd, reason), APPLY, RESET, CLOCK, FIRM, TCP_ACCEPT, IMAGE
(dev, header, received, fnv1a64, complete, announced, version), TCP_STALL,
STOP.

Stops on SIGTERM or SIGINT, or after --max-runtime, and logs STOP. Exit
status: 0 after a stop or --help, 1 when a socket cannot be opened or bound or
the log cannot be written, 2 for a bad command line.

Examples
  lx47-sim --devices 3 --password secret1
  lx47-sim --devices 2 --fault silent=1 --fault refuse-write=0
  lx47-sim --router 'Office, 2nd floor,2A:47:00:00:09:01,11,3,-40' --scan-ms 3000
)";
}

bool ParseIpv4(const std::string& text, std::uint32_t& out) {
  unsigned a, b, c, d;
  char extra;
  if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &extra) != 4) return false;
  if (a > 255 || b > 255 || c > 255 || d > 255) return false;
  std::uint8_t octets[4] = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
                            static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(d)};
  std::memcpy(&out, octets, 4);
  return true;
}

std::string FormatIpv4(std::uint32_t addr) {
  std::uint8_t o[4];
  std::memcpy(o, &addr, 4);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", o[0], o[1], o[2], o[3]);
  return text;
}

bool ParseMac(const std::string& text, Mac& out) {
  unsigned b[6];
  char extra;
  if (std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x%c", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &extra) != 6)
    return false;
  for (int i = 0; i < 6; ++i) {
    if (b[i] > 255) return false;
    out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(b[i]);
  }
  return true;
}

std::string FormatMac(const std::uint8_t* mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  return text;
}

namespace {

bool ParseInt(const std::string& text, long lo, long hi, int& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != 0 || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParseVersion(const std::string& text, FirmwareVersion& out) {
  unsigned a, b, c;
  char extra;
  if (std::sscanf(text.c_str(), "%u.%u.%u%c", &a, &b, &c, &extra) != 3 || a > 255 || b > 255 || c > 255)
    return false;
  out = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)};
  return true;
}

bool ParseHex(const std::string& text, std::vector<std::uint8_t>& out) {
  if (text.size() % 2 != 0) return false;
  out.clear();
  for (std::size_t i = 0; i < text.size(); i += 2) {
    unsigned v;
    if (std::sscanf(text.substr(i, 2).c_str(), "%2x", &v) != 1) return false;
    out.push_back(static_cast<std::uint8_t>(v));
  }
  return true;
}

const std::map<std::string, Fault>& FaultNames() {
  static const std::map<std::string, Fault> names = {
      {"silent", kFaultSilent},         {"refuse-write", kFaultRefuseWrite}, {"refuse-reset", kFaultRefuseReset},
      {"wrong-mac", kFaultWrongMac},    {"short", kFaultShort},              {"flood", kFaultFlood},
      {"stall-tcp", kFaultStallTcp},    {"wfsr-overcount", kFaultWfsrOvercount},
  };
  return names;
}

std::vector<Router> DefaultRouters() {
  return {
      {"LX47-Office", {0x2A, 0x47, 0x00, 0x00, 0x01, 0x01}, 1, 3, -42},
      {"Guest-Net", {0x2A, 0x47, 0x00, 0x00, 0x01, 0x02}, 6, 0, -67},
      {"Warehouse_AP", {0x2A, 0x47, 0x00, 0x00, 0x01, 0x03}, 11, 7, -81},
  };
}

struct FaultRequest {
  unsigned bits;
  std::vector<int> devices;  // empty: all
};

}  // namespace

bool ParseRouter(const std::string& text, Router& out, std::string& err) {
  // The last four fields are split off from the right so that an SSID may
  // hold commas.
  std::vector<std::string> tail;
  std::string rest = text;
  for (int i = 0; i < 4; ++i) {
    std::size_t comma = rest.rfind(',');
    if (comma == std::string::npos) {
      err = "router needs SSID,BSSID,CHANNEL,SECURITY,RSSI: " + text;
      return false;
    }
    tail.insert(tail.begin(), rest.substr(comma + 1));
    rest = rest.substr(0, comma);
  }
  Router r;
  r.ssid = rest;
  int channel, security, rssi;
  if (r.ssid.size() > 32) {
    err = "router SSID longer than 32 bytes: " + r.ssid;
    return false;
  }
  if (!ParseMac(tail[0], r.bssid)) {
    err = "router BSSID is not a MAC address: " + tail[0];
    return false;
  }
  if (!ParseInt(tail[1], 0, 255, channel) || !ParseInt(tail[2], 0, 255, security) ||
      !ParseInt(tail[3], -128, 127, rssi)) {
    err = "router channel 0..255, security 0..255, RSSI -128..127: " + text;
    return false;
  }
  r.channel = static_cast<std::uint8_t>(channel);
  r.security = static_cast<std::uint8_t>(security);
  r.rssi = static_cast<std::int8_t>(rssi);
  out = r;
  return true;
}

int ParseOptions(int argc, char** argv, Options& opt, std::string& err) {
  ParseIpv4("10.47.0.100", opt.ipBase);
  bool routersGiven = false;
  std::vector<FaultRequest> faults;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        err = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    auto intValue = [&](long lo, long hi, int& out) {
      std::string v;
      if (!value(v)) return false;
      if (!ParseInt(v, lo, hi, out)) {
        err = arg + " wants a number in " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + v;
        return false;
      }
      return true;
    };
    std::string v;
    int n = 0;

    if (arg == "--help" || arg == "-h") {
      std::fputs(HelpText(), stdout);
      return 1;
    } else if (arg == "--devices") {
      if (!intValue(1, kMaxDevices, opt.devices)) return 2;
    } else if (arg == "--mac-base") {
      if (!value(v)) return 2;
      if (!ParseMac(v, opt.macBase)) { err = "not a MAC address: " + v; return 2; }
    } else if (arg == "--ip-base" || arg == "--extra-ip-base") {
      if (!value(v)) return 2;
      std::uint32_t a;
      if (!ParseIpv4(v, a)) { err = "not an IPv4 address: " + v; return 2; }
      if (arg == "--ip-base") {
        opt.ipBase = a;
      } else {
        if (opt.extraIpBases.size() >= 4) { err = "at most 4 --extra-ip-base"; return 2; }
        opt.extraIpBases.push_back(a);
      }
    } else if (arg == "--password") {
      if (!value(opt.password)) return 2;
    } else if (arg == "--firmware" || arg == "--firmware-after") {
      if (!value(v)) return 2;
      FirmwareVersion fv;
      if (!ParseVersion(v, fv)) { err = arg + " wants X.Y.Z with each part 0..255: " + v; return 2; }
      if (arg == "--firmware") opt.firmware = fv; else opt.firmwareAfter = fv;
    } else if (arg == "--wifi-mode") {
      if (!intValue(0, 3, opt.wifiMode)) return 2;
    } else if (arg == "--router") {
      if (!value(v)) return 2;
      Router r;
      if (!ParseRouter(v, r, err)) return 2;
      if (!routersGiven) opt.routers.clear();
      routersGiven = true;
      opt.routers.push_back(r);
    } else if (arg == "--routers-file") {
      if (!value(v)) return 2;
      std::ifstream in(v);
      if (!in) { err = "cannot read " + v; return 2; }
      if (!routersGiven) opt.routers.clear();
      routersGiven = true;
      std::string line;
      int lines = 0;
      while (std::getline(in, line) && ++lines <= 10000) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        Router r;
        if (!ParseRouter(line, r, err)) return 2;
        opt.routers.push_back(r);
      }
    } else if (arg == "--no-routers") {
      opt.routers.clear();
      routersGiven = true;
    } else if (arg == "--delay-ms") {
      if (!intValue(0, 10000, opt.delayMs)) return 2;
    } else if (arg == "--scan-ms") {
      if (!intValue(0, 10000, opt.scanMs)) return 2;
    } else if (arg == "--reply-length") {
      if (!intValue(4, 2000, opt.replyLength)) return 2;
    } else if (arg == "--reply-to") {
      if (!value(v)) return 2;
      if (v == "sender") opt.replyTo = ReplyTo::Sender;
      else if (v == "broadcast") opt.replyTo = ReplyTo::Broadcast;
      else if (v == "subnet") opt.replyTo = ReplyTo::SubnetBroadcast;
      else { err = "--reply-to wants sender, broadcast or subnet: " + v; return 2; }
    } else if (arg == "--prefix") {
      if (!value(v)) return 2;
      opt.prefix.assign(v.begin(), v.end());
    } else if (arg == "--prefix-hex") {
      if (!value(v)) return 2;
      if (!ParseHex(v, opt.prefix)) { err = "not hex: " + v; return 2; }
    } else if (arg == "--flood-count") {
      if (!intValue(0, 1000, opt.floodCount)) return 2;
    } else if (arg == "--wfsr-count") {
      if (!intValue(0, 255, opt.wfsrCount)) return 2;
    } else if (arg == "--stall-seconds") {
      if (!intValue(1, 3600, opt.stallSeconds)) return 2;
    } else if (arg == "--idle-seconds") {
      if (!intValue(1, 3600, opt.idleSeconds)) return 2;
    } else if (arg == "--fault") {
      if (!value(v)) return 2;
      std::string name = v, list;
      std::size_t eq = v.find('=');
      if (eq != std::string::npos) {
        name = v.substr(0, eq);
        list = v.substr(eq + 1);
      }
      auto it = FaultNames().find(name);
      if (it == FaultNames().end()) { err = "unknown fault mode: " + name + " (see --help)"; return 2; }
      FaultRequest fr{it->second, {}};
      std::size_t pos = 0;
      while (eq != std::string::npos && pos <= list.size()) {
        std::size_t comma = list.find(',', pos);
        std::string item = list.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        if (!ParseInt(item, 0, kMaxDevices - 1, n)) { err = "bad device list in --fault " + v; return 2; }
        fr.devices.push_back(n);
        if (comma == std::string::npos) break;
        pos = comma + 1;
      }
      faults.push_back(fr);
    } else if (arg == "--ready-file") {
      if (!value(opt.readyFile)) return 2;
    } else if (arg == "--log") {
      if (!value(opt.logPath)) return 2;
    } else if (arg == "--quiet") {
      opt.quiet = true;
    } else if (arg == "--state-dir") {
      if (!value(opt.stateDir)) return 2;
    } else if (arg == "--max-runtime") {
      if (!intValue(0, 7 * 24 * 3600, opt.maxRuntimeSeconds)) return 2;
    } else if (arg == "--bind") {
      if (!value(v)) return 2;
      if (!ParseIpv4(v, opt.bindAddr)) { err = "not an IPv4 address: " + v; return 2; }
    } else if (arg == "--port" || arg == "--firmware-port") {
      if (!intValue(1, 65535, n)) return 2;
      (arg == "--port" ? opt.port : opt.firmwarePort) = static_cast<std::uint16_t>(n);
    } else {
      err = "unknown option: " + arg + " (see --help)";
      return 2;
    }
  }

  if (!routersGiven) opt.routers = DefaultRouters();
  if (opt.routers.size() > static_cast<std::size_t>(kMaxRouters)) {
    err = "at most " + std::to_string(kMaxRouters) + " routers fit in one WFSR";
    return 2;
  }
  opt.faults.assign(static_cast<std::size_t>(opt.devices), 0u);
  for (const FaultRequest& fr : faults) {
    if (fr.devices.empty()) {
      for (unsigned& f : opt.faults) f |= fr.bits;
    }
    for (int d : fr.devices) {
      if (d >= opt.devices) { err = "--fault names device " + std::to_string(d) + " beyond --devices"; return 2; }
      opt.faults[static_cast<std::size_t>(d)] |= fr.bits;
    }
  }
  // Device addresses must stay within their /24.
  std::uint8_t last;
  std::memcpy(&last, reinterpret_cast<const std::uint8_t*>(&opt.ipBase) + 3, 1);
  if (last + opt.devices - 1 > 254) { err = "--ip-base leaves no room for every device"; return 2; }
  for (std::uint32_t b : opt.extraIpBases) {
    std::memcpy(&last, reinterpret_cast<const std::uint8_t*>(&b) + 3, 1);
    if (last + opt.devices - 1 > 254) { err = "--extra-ip-base leaves no room for every device"; return 2; }
  }
  return 0;
}

}  // namespace sim
