#include "ctl/devices.h"

#include <optional>
#include <sstream>

#include "ctl/device_view.h"
#include "ctl/exit_status.h"
#include "ctl/interrupt.h"
#include "ctl/fields.h"
#include "protocol/job.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "texts/formats.h"
#include "texts/texts.h"
#include "texts/utf8.h"

namespace lx47::ctl {

using texts::Text;
using texts::TextId;

bool ParseTargets(Cli& cli, const std::vector<std::string>& words, Targets& targets) {
  for (const std::string& word : words) {
    std::stringstream list(word);
    std::string one;
    while (std::getline(list, one, ',')) {
      if (one.empty()) continue;
      if (one == "all") {
        targets.all = true;
        continue;
      }
      MacAddress mac{};
      if (!ParseMac(one, mac)) {
        cli.err << "lx47ctl: " << texts::CtlBadMacText(one) << '\n';
        return false;
      }
      const MacAddress zeros{}, ones{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
      if (mac == zeros || mac == ones) {
        cli.err << "lx47ctl: " << texts::CtlFieldMessageText(one, Text(TextId::MacAddressInvalid)) << '\n';
        return false;
      }
      bool twice = false;
      for (const MacAddress& m : targets.macs) twice = twice || m == mac;
      if (!twice) targets.macs.push_back(mac);
    }
  }
  if (targets.all && !targets.macs.empty()) targets.macs.clear();  // all of them, each once
  return targets.all || !targets.macs.empty();
}

std::string NotFoundText(const MacAddress& mac) {
  return std::string(Text(TextId::NoDeviceFound)) + texts::CheckMacAddressText(mac);
}

std::string OneLine(std::string_view text) {
  std::string line;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = texts::Trimmed(text.substr(start, end - start));
    if (!part.empty()) {
      if (!line.empty()) line += ' ';
      line += part;
    }
    start = end + 1;
  }
  return line;
}

HostChoice ChooseHost(Cli& cli) {
  ToolSettings& settings = cli.session.Settings;
  if (cli.options.adapter) {
    settings.ALL_HOST_SCAN = 0;
    settings.HOST_ADAPTERNAME = *cli.options.adapter;
    settings.HOST_DESC = *cli.options.adapter;
  } else if (cli.options.allAdapters) {
    settings.ALL_HOST_SCAN = 1;
  } else {
    ReloadSetting(cli.store, settings, &ToolSettings::ALL_HOST_SCAN);
    ReloadSetting(cli.store, settings, &ToolSettings::HOST_ADAPTERNAME);
    ReloadSetting(cli.store, settings, &ToolSettings::HOST_DESC);
    ReloadSetting(cli.store, settings, &ToolSettings::HOST_IP);
  }
  return HostFor(settings, cli.io.hosts);
}

int Search(Cli& cli, const MacAddress* mac, bool oneDevice) {
  Session& s = cli.session;
  const ToolSettings& settings = s.Settings;
  const HostChoice host = ChooseHost(cli);
  const std::string_view desc = texts::Trimmed(settings.HOST_DESC);
  if (!host.usable) {
    cli.err << "lx47ctl: " << SearchFailureText(PR_NO_HOST, desc, "0.0.0.0") << '\n';
    return kExitNoHost;
  }
  s.SelectedHostAddress = host.address;

  SearchRequest request{settings, host.address, cli.password};
  if (mac) request.MacAddress = *mac;
  request.OneDevice = mac || oneDevice ? 1 : 0;
  std::optional<SearchResult> found;
  const int result = cli.runner.Run(SearchJob(request, found));
  if (found) s.Take(std::move(*found));
  if (result == PR_ABORTED || Interrupted()) {
    cli.err << "lx47ctl: " << Text(TextId::Aborted) << '\n';
    return kExitInterrupted;
  }
  if (result != PR_OK) {
    const std::string hostText = settings.ALL_HOST_SCAN == 0 ? IpText(host.address)
                                                             : std::string(texts::Trimmed(settings.HOST_IP));
    cli.err << "lx47ctl: " << SearchFailureText(result, desc, hostText) << '\n';
    return StatusOf(result);
  }
  return s.DeviceCount > 0 ? kExitOk : kExitNotFound;
}

Found FindTargets(Cli& cli, const Targets& targets) {
  Found f;
  const bool single = !targets.all && targets.macs.size() == 1;
  const int status = Search(cli, single ? &targets.macs.front() : nullptr);
  // Nothing found is each target's own outcome; "all" of nothing is none.
  if (status != kExitOk && status != kExitNotFound) {
    f.status = status;
    return f;
  }
  if (status == kExitNotFound && targets.all) {
    cli.err << "lx47ctl: " << Text(TextId::NoDeviceFound) << '\n';
    f.status = status;
    return f;
  }
  if (targets.all) {
    for (int i = 0; i < cli.session.DeviceCount; ++i) {
      f.macs.push_back(cli.session.DeviceTable[static_cast<std::size_t>(i)].Device_MAC);
      f.entries.push_back(cli.session.ListedEntry(i));
    }
    return f;
  }
  for (const MacAddress& mac : targets.macs) {
    DeviceEntry* entry = nullptr;
    for (int i = 0; i < cli.session.DeviceCount && !entry; ++i)
      if (cli.session.DeviceTable[static_cast<std::size_t>(i)].Device_MAC == mac) entry = cli.session.ListedEntry(i);
    f.macs.push_back(mac);
    f.entries.push_back(entry);
  }
  return f;
}

int ForEachFound(Cli& cli, const Found& found, const std::function<Outcome(const MacAddress&, DeviceEntry&)>& each) {
  Summary summary(cli, found.entries.size());
  for (std::size_t i = 0; i < found.entries.size(); ++i) {
    const MacAddress mac = found.macs[i];
    if (Interrupted()) {
      summary.Add(mac, kExitInterrupted, Text(TextId::CtlNotRun));
    } else if (!found.entries[i]) {
      summary.Add(mac, kExitNotFound, NotFoundText(mac));
    } else {
      const Outcome o = each(mac, *found.entries[i]);
      summary.Add(mac, o.status, o.text);
    }
  }
  return summary.Finish();
}

void Summary::Add(const MacAddress& mac, int status, std::string_view text) {
  ++devices_;
  if (status == kExitOk) ++succeeded_;
  lastStatus_ = status;
  if (several_)
    cli_.out << MacColonText(mac) << "  " << OneLine(text) << '\n';
  else if (status == kExitOk)
    cli_.out << text << '\n';
  else
    cli_.err << "lx47ctl: " << text << '\n';
}

int Summary::Finish() {
  if (several_) cli_.out << texts::CtlSummaryText(unsigned(devices_), unsigned(succeeded_)) << '\n';
  if (!several_) return lastStatus_;
  return succeeded_ == devices_ ? kExitOk : kExitSomeFailed;
}

bool Confirm(Cli& cli, std::string_view question) {
  if (cli.options.yes) return true;
  if (!cli.inIsTerminal) {
    cli.err << "lx47ctl: " << Text(TextId::CtlConfirmNeedsYes) << '\n';
    return false;
  }
  cli.err << question << '\n' << Text(TextId::CtlConfirmPrompt) << std::flush;
  std::string answer;
  if (!std::getline(cli.in, answer)) return false;
  answer = std::string(texts::Trimmed(answer));
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

}  // namespace lx47::ctl
