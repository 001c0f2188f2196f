// A device found by a search, and the table of them (the session holds the
// one of the last search).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/config_block.h"

namespace lx47 {

inline constexpr int kDeviceTableSize = 16;
inline constexpr std::uint8_t kEntryFilled = 2;

struct DeviceEntry {
  std::uint32_t Device_IP = 0;  // network order
  MacAddress Device_MAC{};
  std::uint32_t Host_IP = 0;  // network order; the PC address the device answered through
  std::uint8_t Fw_Major = 0;
  std::uint8_t Fw_Minor = 0;
  std::uint8_t Fw_Revision = 0;
  std::uint8_t Entry_Status = 0;
  // The stored reply from its marker on, 392 bytes or more; empty = none.
  std::vector<std::uint8_t> Block;

  std::uint32_t Block_Length() const { return static_cast<std::uint32_t>(Block.size()); }
  bool hasBlock() const { return Block.size() >= kConfigBlockSize; }
  // Only valid while hasBlock().
  ConfigBlock block() { return ConfigBlock(std::span<std::uint8_t>(Block)); }

  // Takes a device's reply (marker first) as the stored block and refreshes
  // the entry's fields from it.
  void storeReply(std::span<const std::uint8_t> reply, std::uint32_t hostIp);
  // Releases the block and zeroes every field.
  void clear() { *this = DeviceEntry{}; }
};

using DeviceTableArray = std::array<DeviceEntry, kDeviceTableSize>;

// Releases every stored block and zeroes those entries; entries without a
// block are left as they are.
void EmptyDeviceTable(DeviceTableArray& table);

// "%u.%u.%u" of major, minor and revision.
std::string FirmwareVersionText(const DeviceEntry& e);

}  // namespace lx47
