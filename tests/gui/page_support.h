// Shared by the Wi-Fi, router and Special page tests: a device entry with a
// known block, and raw access to the block's bytes.
#pragma once

#include <string>

#include "fakes.h"
#include "page_block.h"
#include "protocol/device_table.h"
#include "protocol/router_scan.h"

namespace lx47::test {

// An entry holding the block as a device's discovery reply.
inline DeviceEntry EntryOf(const PageBlock& b) {
  DeviceEntry e;
  e.storeReply(b.bytes, Ip("10.47.0.1"));
  return e;
}

// An entry holding a device's discovery reply; every text field is zero.
inline DeviceEntry EntryWithBlock(std::uint8_t last = 1) { return EntryOf(PageBlock(last)); }

// The whole field's bytes.
inline std::string FieldBytes(DeviceEntry& e, field::ZeroText f) { return FieldBytes(e.block(), f); }

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
