// The command line of lx47ctl: one command, its arguments, and options
// before or after them in the usual way (--name value, --name=value, the
// short forms, "--" ending the options).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lx47::ctl {

enum class Command { None, Search, Show, Set, Save, Load, Reset, Firmware, Routers, Clock, Disconnect, Fields };

struct Options {
  Command command = Command::None;
  std::string commandName;
  std::vector<std::string> args;

  std::optional<std::string> password;
  std::optional<std::string> passwordFile;
  std::optional<std::string> adapter;
  bool allAdapters = false;
  bool json = false;
  bool extended = false;
  bool yes = false;
  bool dryRun = false;
  bool withAddress = false;
  bool one = false;
  std::optional<std::string> searchMac;
  bool help = false;
  bool version = false;
};

// False with the reason (a line of the string table) on a command line that
// cannot be run: an unknown command or option, an option without its value
// or one the command does not take.
bool ParseOptions(const std::vector<std::string>& argv, Options& o, std::string& error);

}  // namespace lx47::ctl
