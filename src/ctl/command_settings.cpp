// The commands that change settings: set, and save and load of a whole
// configuration. Each writes as the window's write command does.
#include <optional>
#include <set>

#include "ctl/block_changes.h"
#include "ctl/cli.h"
#include "ctl/config_file.h"
#include "ctl/device_view.h"
#include "ctl/devices.h"
#include "ctl/edits.h"
#include "ctl/exit_status.h"
#include "ctl/interrupt.h"
#include "ctl/files.h"
#include "protocol/job.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47::ctl {

using texts::Text;
using texts::TextId;

namespace {

// A configuration file is small; anything far larger is no saved one.
constexpr std::size_t kMaxConfigFile = 1u << 20;

// The fields whose bytes differ, each with its value as its page shows it
// (the baud rate in bits per second, not its code), or as its bytes read
// where the page shows the two alike or shows nothing.
void PrintChanges(Cli& cli, TextId heading, const std::vector<std::uint8_t>& before,
                  const std::vector<std::uint8_t>& after) {
  const std::vector<BlockChange> changes = BlockChanges(before, after);
  if (changes.empty()) {
    cli.out << Text(TextId::CtlNoChanges) << '\n';
    return;
  }
  const pagerules::DeviceForm shownBefore = FormOf(before), shownAfter = FormOf(after);
  cli.out << Text(heading) << '\n';
  for (const BlockChange& c : changes) {
    std::string b = c.before, a = c.after;
    if (const FieldDef* f = FindField(c.field); f && f->name == c.field) {
      const std::optional<std::string> sb = f->get(shownBefore), sa = f->get(shownAfter);
      if (sb != sa) b = ShownText(*f, sb), a = ShownText(*f, sa);
    }
    cli.out << texts::CtlChangeLineText(c.field, b, a) << '\n';
  }
}

bool BytesDiffer(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, const field::ZeroText& f) {
  return !std::equal(a.begin() + std::ptrdiff_t(f.offset), a.begin() + std::ptrdiff_t(f.offset + f.width),
                     b.begin() + std::ptrdiff_t(f.offset));
}

// Sends the block the edits made, as the write command does, and reports:
// the status, the outcome's text in `outcome`.
int Write(Cli& cli, DeviceEntry& entry, const std::vector<std::uint8_t>& block, std::string& outcome) {
  const std::vector<std::uint8_t> before = entry.Block;
  if (cli.options.dryRun) {
    PrintChanges(cli, TextId::CtlWillChange, before, block);
    outcome = Text(TextId::CtlDryRunNote);
    return kExitOk;
  }
  // Read afresh, as the window does before each write.
  ReloadSetting(cli.store, cli.session.Settings, &ToolSettings::USE_BC_CFG);
  const bool accessPoint = before[field::Wifi_Mode.offset] == 1;
  const bool wifiChanged =
      BytesDiffer(before, block, field::Wifi_Infra_SSID) || BytesDiffer(before, block, field::Wifi_Infra_Password);
  DeviceEntry target = entry;
  target.Block = block;
  std::optional<WriteResult> written;
  const int result = cli.runner.Run(WriteJob(WriteRequest{cli.session.Settings, target}, written));
  if (written) entry = std::move(written->TargetEntry);
  if (result != PR_OK) {
    outcome = WriteFailureText(result);
    return StatusOf(result);
  }
  PrintChanges(cli, TextId::CtlChanged, before, entry.Block);
  outcome = Text(TextId::SettingsWritten);
  if (accessPoint && wifiChanged) outcome += "\n" + std::string(Text(TextId::ApModeHowToInfrastructure));
  return kExitOk;
}

// The edits of a set: NAME=VALUE words, each field once.
bool ReadAssignments(Cli& cli, const std::vector<std::string>& words, std::vector<Edit>& edits) {
  std::set<std::string_view> seen;
  for (const std::string& w : words) {
    const std::size_t eq = w.find('=');
    const std::string name = w.substr(0, eq);
    const FieldDef* f = FindField(name);
    if (!f) {
      cli.err << "lx47ctl: " << texts::CtlUnknownFieldText(name) << '\n';
      return false;
    }
    if (!f->settable()) {
      cli.err << "lx47ctl: " << texts::CtlFieldMessageText(f->name, Text(TextId::CtlReadOnly)) << '\n';
      return false;
    }
    if (f->extended && !cli.options.extended) {
      cli.err << "lx47ctl: " << texts::CtlFieldMessageText(f->name, Text(TextId::CtlNeedsExtended)) << '\n';
      return false;
    }
    if (!seen.insert(f->name).second) {
      cli.err << "lx47ctl: " << texts::CtlFieldTwiceText(f->name) << '\n';
      return false;
    }
    edits.push_back({f, w.substr(eq + 1)});
  }
  if (edits.empty()) {
    cli.err << "lx47ctl: " << Text(TextId::CtlNoAssignments) << '\n';
    return false;
  }
  return true;
}

}  // namespace

int CommandSet(Cli& cli) {
  std::vector<std::string> targetWords, assignments;
  for (const std::string& a : cli.options.args) (a.find('=') == std::string::npos ? targetWords : assignments).push_back(a);
  std::vector<Edit> edits;
  Targets targets;
  if (!ReadAssignments(cli, assignments, edits)) return kExitUsage;
  if (!ParseTargets(cli, targetWords, targets)) {
    if (targetWords.empty()) cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("set") << '\n';
    return kExitUsage;
  }
  const Found found = FindTargets(cli, targets);
  if (found.status != kExitOk) return found.status;

  return ForEachFound(cli, found, [&](const MacAddress&, DeviceEntry& entry) {
    const EditResult edited = ApplyEdits(entry, edits, {cli.options.extended, Unwritten::Refuse});
    if (!edited.ok) return Outcome{edited.status, edited.error};
    Outcome o;
    o.status = Write(cli, entry, edited.block, o.text);
    return o;
  });
}

int CommandSave(Cli& cli) {
  if (cli.options.args.size() != 2) {
    cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("save") << '\n';
    return kExitUsage;
  }
  Targets targets;
  if (!ParseTargets(cli, {cli.options.args[0]}, targets) || targets.all || targets.macs.size() != 1) {
    if (targets.all || targets.macs.size() > 1) cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("save") << '\n';
    return kExitUsage;
  }
  const Found found = FindTargets(cli, targets);
  if (found.status != kExitOk) return found.status;
  if (!found.entries[0]) {
    cli.err << "lx47ctl: " << NotFoundText(targets.macs[0]) << '\n';
    return kExitNotFound;
  }
  const std::string& path = cli.options.args[1];
  std::string why;
  if (!WriteTextFile(path, ConfigDocument(*found.entries[0]).dump() + "\n", why)) {
    cli.err << "lx47ctl: " << texts::CtlFileUnwritableText(path, why) << '\n';
    return kExitFile;
  }
  if (path != "-") cli.out << texts::CtlSavedText(path) << '\n';
  return kExitOk;
}

int CommandLoad(Cli& cli) {
  if (cli.options.args.size() < 2) {
    cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("load") << '\n';
    return kExitUsage;
  }
  const std::string& path = cli.options.args.back();
  std::string text, why;
  if (!ReadTextFile(path, kMaxConfigFile, text, why)) {
    cli.err << "lx47ctl: " << texts::CtlFieldMessageText(path, why) << '\n';
    return kExitFile;
  }
  const std::optional<SavedConfig> saved = ReadConfig(text, path, why);
  if (!saved) {
    cli.err << "lx47ctl: " << why << '\n';
    return kExitUsage;
  }
  Targets targets;
  if (!ParseTargets(cli, {cli.options.args.begin(), cli.options.args.end() - 1}, targets)) return kExitUsage;
  const Found found = FindTargets(cli, targets);
  if (found.status != kExitOk) return found.status;

  return ForEachFound(cli, found, [&](const MacAddress& mac, DeviceEntry& entry) {
    // Another device keeps its own address unless asked.
    const bool ownAddressFromFile = cli.options.withAddress || entry.Device_MAC == saved->mac;
    std::vector<Edit> edits;
    for (const SavedValue& v : saved->values)
      if (!v.field->ownAddress || ownAddressFromFile) edits.push_back({v.field, v.typed});
    EditResult edited = ApplyEdits(entry, edits, {cli.options.extended, Unwritten::Keep});
    if (!edited.ok) return Outcome{edited.status, edited.error};
    for (const std::string& kept : edited.kept)
      cli.err << "lx47ctl: " << MacColonText(mac) << ": " << texts::CtlKeptAsIsText(kept) << '\n';
    // The bytes no page shows, as the file has them.
    for (std::size_t k = 0; k < std::size(kUnshownBytes); ++k)
      std::copy(saved->unshown[k].begin(), saved->unshown[k].end(),
                edited.block.begin() + std::ptrdiff_t(kUnshownBytes[k].offset));
    Outcome o;
    o.status = Write(cli, entry, edited.block, o.text);
    return o;
  });
}

}  // namespace lx47::ctl
