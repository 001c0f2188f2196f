// The commands that change a device as a whole: the factory reset and the
// firmware update.
#include <chrono>
#include <optional>
#include <thread>

#include "ctl/cli.h"
#include "ctl/device_view.h"
#include "ctl/devices.h"
#include "ctl/exit_status.h"
#include "ctl/interrupt.h"
#include "platform/file_read.h"
#include "platform/error_text.h"
#include "protocol/firmware_file.h"
#include "protocol/host_choice.h"
#include "protocol/job.h"
#include "protocol/mac_text.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "texts/formats.h"
#include "texts/texts.h"
#include "texts/utf8.h"

namespace lx47::ctl {

using texts::Text;
using texts::TextId;

namespace {

bool AccessPointMode(const DeviceEntry* entry) {
  return entry && entry->hasBlock() && entry->Block[field::Wifi_Mode.offset] == 1;
}

// A bar on the terminal, redrawn in place; none when standard error is no
// terminal.
class ProgressBar {
 public:
  explicit ProgressBar(Cli& cli) : cli_(cli) {}
  ~ProgressBar() {
    if (drawn_) cli_.err << '\n';
  }
  void operator()(std::uint32_t sent, std::uint32_t total) {
    if (!cli_.errIsTerminal || total == 0) return;
    constexpr unsigned kWidth = 40;
    const unsigned percent = static_cast<unsigned>(std::uint64_t{sent} * 100 / total);
    const unsigned filled = static_cast<unsigned>(std::uint64_t{sent} * kWidth / total);
    cli_.err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
             << texts::CtlProgressText(percent, sent, total) << std::flush;
    drawn_ = true;
  }

 private:
  Cli& cli_;
  bool drawn_ = false;
};

// The firmware file, checked as the window checks it; false after the line
// that says why.
bool ReadFirmware(Cli& cli, const std::string& path, std::vector<std::uint8_t>& image) {
  const platform::FileReadResult r = platform::ReadWholeFile(path, kFirmwareFileMax, image);
  switch (r.stage) {
    case platform::FileReadResult::Stage::Ok: break;
    case platform::FileReadResult::Stage::TooLarge:
      cli.err << "lx47ctl: " << texts::CtlFieldMessageText(path, Text(TextId::FirmwareFileTooLarge)) << '\n';
      return false;
    default: {
      std::string why(texts::Trimmed(platform::SystemErrorText(r.error)));
      if (why.empty()) why = texts::ErrorCodeOnlyText(r.error);
      cli.err << "lx47ctl: " << texts::CtlFieldMessageText(path, why) << '\n';
      return false;
    }
  }
  if (CheckFirmwareFile(image) != FirmwareFileVerdict::Ok) {
    cli.err << "lx47ctl: " << texts::CtlFieldMessageText(path, Text(TextId::NotFirmwareFile)) << '\n';
    return false;
  }
  return true;
}

}  // namespace

int CommandReset(Cli& cli) {
  Targets targets;
  if (!ParseTargets(cli, cli.options.args, targets)) {
    if (cli.options.args.empty()) cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("reset") << '\n';
    return kExitUsage;
  }
  // Named devices are reset by broadcast without a search, as the window
  // resets a typed MAC: also a device whose search password is forgotten.
  // "all" resets each device the search finds, to its own address.
  std::vector<MacAddress> macs = targets.macs;
  std::vector<const DeviceEntry*> entries(macs.size(), nullptr);
  if (targets.all) {
    const Found found = FindTargets(cli, targets);
    if (found.status != kExitOk) return found.status;
    macs = found.macs;
    entries.assign(found.entries.begin(), found.entries.end());
  }

  Summary summary(cli, macs.size());
  for (std::size_t i = 0; i < macs.size(); ++i) {
    const MacAddress& mac = macs[i];
    if (Interrupted()) {
      summary.Add(mac, kExitInterrupted, Text(TextId::CtlNotRun));
      continue;
    }
    if (!Confirm(cli, texts::FactoryResetConfirmText(mac))) {
      summary.Add(mac, kExitUsage, Text(TextId::CtlNotRun));
      continue;
    }
    // The host, as the window's reset command reads it.
    const HostChoice host = ChooseHost(cli);
    const ToolSettings& settings = cli.session.Settings;
    if (!host.usable) {
      summary.Add(mac, kExitNoHost, FactoryResetNoHostText(texts::Trimmed(settings.HOST_DESC)));
      continue;
    }
    cli.session.SelectedHostAddress = host.address;
    const DeviceEntry* shown = entries[i];
    FactoryResetRequest request{settings, host.address, mac};
    request.UseBroadcast = shown ? 0 : 1;
    request.EraseMode = 2;
    request.Device_IP = shown ? shown->Device_IP : 0;
    const int result = cli.runner.Run(FactoryResetJob(request));
    summary.Add(mac, StatusOf(result), FactoryResetResultText(result, mac, AccessPointMode(shown)));
  }
  return summary.Finish();
}

int CommandFirmware(Cli& cli) {
  if (cli.options.args.size() < 2) {
    cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("firmware") << '\n';
    return kExitUsage;
  }
  const std::string& path = cli.options.args.back();
  Targets targets;
  if (!ParseTargets(cli, {cli.options.args.begin(), cli.options.args.end() - 1}, targets)) return kExitUsage;
  // The file first: a file that is no firmware sends nothing anywhere.
  std::vector<std::uint8_t> file;
  if (!ReadFirmware(cli, path, file)) return kExitFile;
  const Found found = FindTargets(cli, targets);
  if (found.status != kExitOk) return found.status;

  return ForEachFound(cli, found, [&](const MacAddress& mac, DeviceEntry& entry) {
    const std::string question = std::string(Text(TextId::FirmwareUpdateAhead)) + "\n\n" +
                                 texts::FirmwareMacLineText(MacText(mac)) + "\n\n" +
                                 std::string(Text(TextId::AreYouSure));
    if (!Confirm(cli, question)) return Outcome{kExitUsage, std::string(Text(TextId::CtlNotRun))};
    const bool accessPoint = AccessPointMode(&entry);
    const std::string versionBefore = FirmwareVersionText(entry);
    const FirmwareRequest request{cli.session.Settings, entry, file.data() + kFirmwareSignatureSize,
                                  static_cast<std::int32_t>(file.size() - kFirmwareSignatureSize)};
    int result = PR_OK;
    {
      ProgressBar bar(cli);
      result = cli.runner.Run(FirmwareJob(request), [&bar](std::uint32_t sent, std::uint32_t total) { bar(sent, total); });
    }
    if (result != PR_OK) {
      std::string text = FirmwareFailureText(result);
      if (accessPoint) text += "\n" + std::string(Text(TextId::ReconnectAfterApMode));
      return Outcome{StatusOf(result), text};
    }
    std::string text(Text(TextId::FirmwareUpdated));
    if (accessPoint) {
      text += "\n" + std::string(Text(TextId::ReconnectAfterApMode));
      return Outcome{kExitOk, text};
    }
    // As the window searches again for the device after an update: its new
    // version, when it answers.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Session& s = cli.session;
    const DeviceTableArray before = s.DeviceTable;
    const int count = s.DeviceCount;
    if (Search(cli, &mac) == kExitOk && s.ListedEntry(0))
      text += "\n" + texts::CtlFirmwareVersionChangeText(versionBefore, FirmwareVersionText(*s.ListedEntry(0)));
    else
      text += "\n" + std::string(Text(TextId::CtlNotFoundAfterUpdate));
    // The devices still to come are the first search's.
    s.DeviceTable = before;
    s.DeviceCount = count;
    return Outcome{kExitOk, text};
  });
}

}  // namespace lx47::ctl
