// Finding the devices a command works on, and telling the user how each
// one fared.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ctl/cli.h"
#include "protocol/device_table.h"
#include "protocol/host_choice.h"

namespace lx47::ctl {

// The devices named on the command line: MACs (several in one argument with
// commas), or "all" for every device found.
struct Targets {
  bool all = false;
  std::vector<MacAddress> macs;
};

// False (after the line that says why) for a malformed MAC, or all zeros or
// all ones, which name no device.
bool ParseTargets(Cli& cli, const std::vector<std::string>& words, Targets& targets);

// The host the exchanges go out from: --adapter or --all-adapters, else the
// tool settings' choice read afresh from the store, as the window's search
// and reset read it (the adapter's texts too, for the messages).
HostChoice ChooseHost(Cli& cli);

// Searches as the window's search command does, from the host the tool
// settings (or --adapter, --all-adapters) choose. With mac, the search
// stops at that device's first reply. The session then holds what was
// found. Returns the exit status: kExitOk, the failure's after its message,
// or kExitNotFound, without one, when nothing answered.
int Search(Cli& cli, const MacAddress* mac, bool oneDevice = false);

// The entries of the targets after one search (a single MAC is looked for
// alone, so that the search ends at its reply): each target's entry, or
// nullptr when it did not answer.
struct Found {
  int status = 0;                 // the search's, when it failed as a whole
  std::vector<MacAddress> macs;   // in the order asked (for all: as found)
  std::vector<DeviceEntry*> entries;
};
Found FindTargets(Cli& cli, const Targets& targets);

// What one device's turn of a command came to.
struct Outcome {
  int status = 0;
  std::string text;
};

// Runs `each` for every target in turn and gives the summary's status; a
// target that did not answer, or one not reached before an interrupt, gets
// its line without a run.
int ForEachFound(Cli& cli, const Found& found, const std::function<Outcome(const MacAddress&, DeviceEntry&)>& each);

// "デバイスは見つかりません。" with the MAC to check.
std::string NotFoundText(const MacAddress& mac);

// How the devices of a command fared. For one device its message (on
// standard error when it failed); for several a line per device with its MAC,
// then the count. The exit status: the one device's, or kExitSomeFailed when
// any of several failed.
class Summary {
 public:
  Summary(Cli& cli, std::size_t devices) : cli_(cli), several_(devices > 1) {}
  void Add(const MacAddress& mac, int status, std::string_view text);
  int Finish();

 private:
  Cli& cli_;
  bool several_;
  int devices_ = 0, succeeded_ = 0, lastStatus_ = 0;
};

// A text of the table on one line (a summary line is one line): its lines
// joined by a blank, the empty ones left out.
std::string OneLine(std::string_view text);

// Asks on the terminal before a reset or an update; --yes answers for it.
// False when the answer is no or nobody can answer (then the line that says
// to use --yes is written).
bool Confirm(Cli& cli, std::string_view question);

}  // namespace lx47::ctl
