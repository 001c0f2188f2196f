// Shared by the Wi-Fi, router and Special page tests: a device entry with a
// known block, and raw access to the block's bytes.
#pragma once

#include <QByteArray>
#include <string>

#include "device_reply.h"
#include "fakes.h"
#include "platform/codepage.h"
#include "protocol/device_table.h"
#include "protocol/router_scan.h"

namespace lx47::test {

// An entry holding a device's discovery reply; every text field is zero.
inline DeviceEntry EntryWithBlock(std::uint8_t last = 1) {
  DeviceEntry e;
  e.storeReply(DeviceReply("IAMI", Mac(last)), Ip("10.47.0.1"));
  ConfigBlock b = e.block();
  for (std::size_t off = 112; off < 388; ++off) b.bytes()[off] = 0;
  return e;
}

// The whole field's bytes.
inline std::string FieldBytes(DeviceEntry& e, field::ZeroText f) {
  auto raw = e.block().raw(f);
  return std::string(reinterpret_cast<const char*>(raw.data()), raw.size());
}

// The bytes a text field should hold: text then zeros up to the width.
inline std::string Padded(const std::string& bytes, std::size_t width) {
  std::string s = bytes.substr(0, width);
  s.resize(width, '\0');
  return s;
}

// The device's bytes of a UTF-8 text.
inline std::string Ansi(const char* utf8) { return platform::Utf8ToAnsi(utf8); }

// A router record as a device reports it.
inline RouterScanRecord Router(const std::string& ssid, std::uint8_t channel, std::uint8_t security,
                               std::uint8_t rssi, std::uint8_t macLast) {
  RouterScanRecord r;
  r.bytes[1] = channel;
  for (std::size_t i = 0; i < ssid.size() && i < 32; ++i) r.bytes[2 + i] = static_cast<std::uint8_t>(ssid[i]);
  const std::uint8_t mac[6] = {0xA4, 0xB1, 0xC2, 0xDE, 0xEF, macLast};
  for (int i = 0; i < 6; ++i) r.bytes[34 + i] = mac[i];
  r.bytes[40] = security;
  r.bytes[41] = rssi;
  return r;
}

}  // namespace lx47::test
