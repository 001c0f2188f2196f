// Edits of a device's settings as the window makes them: the entry shown on
// the five pages, each value put into its control, the pages stored in
// order. The result is the block the write command would send.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ctl/fields.h"
#include "protocol/device_table.h"

namespace lx47::ctl {

struct Edit {
  const FieldDef* field;
  std::optional<std::string> typed;  // empty: leave the control as loaded
};

// What to do with a value the pages would not write as the form stands (an
// address while DHCP is on, an extended setting without them shown): set
// refuses it, a loaded configuration leaves the field as the device has it.
enum class Unwritten { Refuse, Keep };

struct EditResult {
  bool ok = false;
  int status = 0;               // kExitOk, or kExitRefused
  std::string error;            // the refused field and why
  std::vector<std::uint8_t> block;  // what to send (the whole stored copy)
  std::vector<std::string> kept;    // Keep: the fields left as they were, and why
};

struct EditOptions {
  bool extended = false;  // the extended settings shown
  Unwritten unwritten = Unwritten::Refuse;
};

EditResult ApplyEdits(const DeviceEntry& entry, const std::vector<Edit>& edits, const EditOptions& options);

}  // namespace lx47::ctl
