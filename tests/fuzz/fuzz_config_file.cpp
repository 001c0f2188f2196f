// Feeds arbitrary files to the reader of saved configurations: it must
// never read outside the text, what it accepts must load onto a device
// without anything but a verdict, and JSON it reads must write back and read
// the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ctl/config_file.h"
#include "ctl/edits.h"
#include "ctl/json.h"
#include "device_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lx47;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ctl::JsonError where;
  if (const std::optional<ctl::Json> doc = ctl::ParseJson(text, where)) {
    const std::string once = doc->dump();
    const std::optional<ctl::Json> again = ctl::ParseJson(once, where);
    if (!again || again->dump() != once) std::abort();
  }
  std::string error;
  const std::optional<ctl::SavedConfig> saved = ctl::ReadConfig(text, "f.json", error);
  if (!saved) {
    if (error.empty()) std::abort();
    return 0;
  }
  DeviceEntry entry;
  entry.storeReply(test::DeviceReply("IAMI", test::Mac(1)), 0x0100000A);
  std::vector<ctl::Edit> edits;
  for (const ctl::SavedValue& v : saved->values) edits.push_back({v.field, v.typed});
  const ctl::EditResult r = ctl::ApplyEdits(entry, edits, {true, ctl::Unwritten::Keep});
  if (r.ok == !r.error.empty() || (r.ok && r.block.size() != entry.Block.size())) std::abort();
  return 0;
}
