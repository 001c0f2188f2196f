// A device's whole configuration as a file: a JSON document that names its
// format and version and the kind of device, with every setting by name as
// its page shows it, and the bytes no page shows, so that loading it back
// onto the same device gives the device the very block it had.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ctl/fields.h"
#include "ctl/json.h"
#include "protocol/device_table.h"

namespace lx47::ctl {

inline constexpr std::string_view kConfigFormat = "lx47ctl-configuration";
inline constexpr int kConfigVersion = 1;
inline constexpr std::string_view kDeviceKind = "KD-LX47";

// The document for an entry as a window showing it would store it (the
// corrections of loading included).
Json ConfigDocument(const DeviceEntry& entry);

// The bytes of the block that no page shows: the runs nobody interprets and
// the one time value no page shows. A load puts them back as they were.
struct UnshownBytes {
  std::size_t offset;
  std::size_t width;
};
inline constexpr UnshownBytes kUnshownBytes[] = {{49, 2}, {88, 1}, {108, 2}, {111, 1}, {390, 2}};

struct SavedValue {
  const FieldDef* field;
  std::optional<std::string> typed;  // as a command line would type it; empty: none shown
};

struct SavedConfig {
  MacAddress mac{};
  std::vector<SavedValue> values;  // every settable field, in the table's order
  std::vector<std::vector<std::uint8_t>> unshown;  // kUnshownBytes, in order
};

// Reads a saved configuration; anything else (not JSON, another format or
// version, another kind of device, a field missing, unknown or of the wrong
// type) gives the reason, a line of the string table naming the file.
std::optional<SavedConfig> ReadConfig(std::string_view text, std::string_view fileName, std::string& error);

}  // namespace lx47::ctl
