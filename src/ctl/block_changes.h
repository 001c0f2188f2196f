// What changed between two copies of a configuration block, field by field
// as the block lays them out (every byte after the marker belongs to one
// field or to a run of bytes nobody interprets), with each value as its
// bytes read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lx47::ctl {

struct BlockChange {
  std::string field;  // "Local_Port", or "49..50" for bytes nobody interprets
  std::string before, after;
};

// Only the first 392 bytes count; a shorter copy changes nothing.
std::vector<BlockChange> BlockChanges(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

}  // namespace lx47::ctl
