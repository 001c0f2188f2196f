// The commands that look: search, show, routers and the list of fields;
// and the two short device commands, clock and disconnect.
#include <optional>

#include "ctl/cli.h"
#include "ctl/device_view.h"
#include "ctl/devices.h"
#include "ctl/exit_status.h"
#include "ctl/fields.h"
#include "pagerules/wifi_rules.h"
#include "protocol/device_commands.h"
#include "protocol/job.h"
#include "protocol/mac_text.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47::ctl {

using texts::Text;
using texts::TextId;

namespace {

// The one device a command names: found by its MAC (the search stops at
// its reply), or nullptr after the line that says why, with the status.
DeviceEntry* OneDevice(Cli& cli, int& status) {
  Targets targets;
  if (cli.options.args.empty() || !ParseTargets(cli, {cli.options.args.front()}, targets) || targets.all ||
      targets.macs.size() != 1) {
    if (!cli.options.args.empty() && (targets.all || targets.macs.size() > 1))
      cli.err << "lx47ctl: " << texts::CtlBadArgumentsText(cli.options.commandName) << '\n';
    status = kExitUsage;
    return nullptr;
  }
  status = Search(cli, &targets.macs.front());
  if (status == kExitNotFound) cli.err << "lx47ctl: " << NotFoundText(targets.macs.front()) << '\n';
  if (status != kExitOk) return nullptr;
  return cli.session.ListedEntry(0);
}

}  // namespace

int CommandSearch(Cli& cli) {
  MacAddress mac{};
  if (cli.options.searchMac) {
    if (!ParseMac(*cli.options.searchMac, mac)) {
      cli.err << "lx47ctl: " << texts::CtlBadMacText(*cli.options.searchMac) << '\n';
      return kExitUsage;
    }
    const MacAddress ones{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    if (mac == MacAddress{} || mac == ones) {
      cli.err << "lx47ctl: " << Text(TextId::MacAddressInvalid) << '\n';
      return kExitUsage;
    }
  }
  const int status = Search(cli, cli.options.searchMac ? &mac : nullptr, cli.options.one);
  if (status == kExitNotFound) {
    cli.err << "lx47ctl: " << (cli.options.searchMac ? NotFoundText(mac) : std::string(Text(TextId::NoDeviceFound)))
            << '\n';
    if (!cli.options.json) return status;
  }
  // An interrupted search shows what answered until then, as the window does.
  if (status != kExitOk && status != kExitInterrupted && status != kExitNotFound) return status;
  if (cli.options.json) {
    Json list = Json::Array();
    for (int i = 0; i < cli.session.DeviceCount; ++i)
      list.push(DeviceJson(i + 1, cli.session.DeviceTable[static_cast<std::size_t>(i)]));
    cli.out << list.dump() << '\n';
  } else if (cli.session.DeviceCount > 0) {
    std::vector<std::vector<std::string>> rows{SearchHeadings()};
    for (int i = 0; i < cli.session.DeviceCount; ++i)
      rows.push_back(SearchColumns(i + 1, cli.session.DeviceTable[static_cast<std::size_t>(i)]));
    PrintTable(cli.out, rows);
  }
  return status;
}

int CommandShow(Cli& cli) {
  if (cli.options.args.size() != 1) {
    cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("show") << '\n';
    return kExitUsage;
  }
  int status = kExitOk;
  const DeviceEntry* entry = OneDevice(cli, status);
  if (!entry) return status;
  if (cli.options.json)
    cli.out << DeviceJson(1, *entry).dump() << '\n';
  else
    PrintDevice(cli.out, *entry);
  return kExitOk;
}

int CommandRouters(Cli& cli) {
  if (cli.options.args.size() != 1) {
    cli.err << "lx47ctl: " << texts::CtlBadArgumentsText("routers") << '\n';
    return kExitUsage;
  }
  int status = kExitOk;
  const DeviceEntry* entry = OneDevice(cli, status);
  if (!entry) return status;
  std::optional<RouterScanResult> scanned;
  const int result = cli.runner.Run(RouterScanJob(RouterScanRequest{cli.session.Settings, *entry}, scanned));
  if (scanned) cli.session.Take(std::move(*scanned));
  if (result != PR_OK) {
    cli.err << "lx47ctl: " << RouterScanFailureText(result) << '\n';
    return StatusOf(result);
  }
  const std::span<const RouterScanRecord> records(cli.session.RouterScanTable.data(),
                                                  std::min<std::size_t>(cli.session.RouterScanCount,
                                                                        kRouterScanCapacity));
  if (records.empty()) cli.err << "lx47ctl: " << Text(TextId::NoRouterFound) << '\n';
  const std::vector<int> order = pagerules::RouterListOrder(records);
  if (cli.options.json) {
    Json list = Json::Array();
    for (int i : order) {
      const RouterScanRecord& r = records[static_cast<std::size_t>(i)];
      Json j = Json::Object();
      j.set("ssid", Json::String(pagerules::RouterListText(r)));
      j.set("router_mac", Json::String(MacText(r.bssid(), ":", HexCase::Lower)));
      j.set("rssi", Json::Integer(r.rssi()));
      j.set("security", Json::Integer(r.security()));
      j.set("security_name", Json::String(SecurityModeName(r.security())));
      j.set("channel", Json::Integer(r.channel()));
      list.push(std::move(j));
    }
    cli.out << list.dump() << '\n';
  } else if (!records.empty()) {
    std::vector<std::vector<std::string>> rows{{"SSID", std::string(Text(TextId::CtlRouterMacHeading)), "Rssi",
                                                std::string(Text(TextId::SecurityMode)),
                                                std::string(Text(TextId::WifiChannel))}};
    for (int i : order) {
      const RouterScanRecord& r = records[static_cast<std::size_t>(i)];
      rows.push_back({pagerules::RouterListText(r), MacText(r.bssid(), ":", HexCase::Lower), std::to_string(r.rssi()),
                      SecurityModeName(r.security()), std::to_string(r.channel())});
    }
    PrintTable(cli.out, rows);
  }
  return kExitOk;
}

int CommandDeviceCommand(Cli& cli) {
  if (cli.options.args.size() != 1) {
    cli.err << "lx47ctl: " << texts::CtlBadArgumentsText(cli.options.commandName) << '\n';
    return kExitUsage;
  }
  int status = kExitOk;
  const DeviceEntry* entry = OneDevice(cli, status);
  if (!entry) return status;
  const bool clock = cli.options.command == Command::Clock;
  const DeviceEntry target = *entry;
  const ToolSettings settings = cli.session.Settings;
  const int result = cli.runner.Run([clock, target, settings](const ExchangeContext& x) {
    return clock ? SetDeviceClock(target, settings, x) : DisconnectTcp(target, settings, x);
  });
  if (result == PR_OK) {
    cli.out << Text(clock ? TextId::CtlClockSet : TextId::CtlTcpDisconnected) << '\n';
    return kExitOk;
  }
  cli.err << "lx47ctl: "
          << (result == PR_ABORTED    ? Text(TextId::Aborted)
              : result == PR_NO_REPLY ? Text(TextId::NoReply)
                                      : Text(TextId::NetworkProblem))
          << '\n';
  return StatusOf(result);
}

int CommandFields(Cli& cli) {
  static constexpr TextId kPageNames[pagerules::kPageCount] = {TextId::NetworkPageTitle, TextId::SerialPageTitle,
                                                               TextId::OptionPageTitle, TextId::WifiPageTitle,
                                                               TextId::SpecialPageTitle};
  if (cli.options.json) {
    Json list = Json::Array();
    for (const FieldDef& f : Fields()) {
      Json j = Json::Object();
      j.set("name", Json::String(std::string(f.name)));
      j.set("page", Json::String(std::string(Text(kPageNames[static_cast<int>(f.page)]))));
      j.set("label", Json::String(FieldLabel(f)));
      static constexpr const char* kKinds[] = {"bool", "number", "address", "text", "choice"};
      j.set("type", Json::String(kKinds[static_cast<int>(f.kind)]));
      j.set("accepted", Json::String(std::string(f.accepted)));
      j.set("settable", Json::Bool(f.settable()));
      j.set("extended", Json::Bool(f.extended));
      list.push(std::move(j));
    }
    cli.out << list.dump() << '\n';
    return kExitOk;
  }
  std::vector<std::vector<std::string>> rows{{std::string(Text(TextId::CtlFieldHeading)),
                                              std::string(Text(TextId::CtlPageHeading)),
                                              std::string(Text(TextId::CtlValuesHeading)),
                                              std::string(Text(TextId::CtlLabelHeading))}};
  for (const FieldDef& f : Fields()) {
    std::string accepted(f.accepted);
    if (accepted.empty()) accepted = Text(f.settable() ? TextId::CtlTextValue : TextId::CtlReadOnlyMark);
    std::string label = FieldLabel(f);
    if (f.extended) label += Text(TextId::CtlExtendedMark);
    rows.push_back({std::string(f.name), std::string(Text(kPageNames[static_cast<int>(f.page)])), accepted, label});
  }
  PrintTable(cli.out, rows);
  return kExitOk;
}

}  // namespace lx47::ctl
