// One run of lx47ctl: what every command works with.
#pragma once

#include <istream>
#include <ostream>

#include "ctl/options.h"
#include "ctl/runner.h"
#include "protocol/discovery.h"
#include "protocol/session.h"
#include "protocol/tool_settings.h"

namespace lx47::ctl {

struct Cli {
  // The run's session: the tool settings read from the store at the start,
  // the device table of the search.
  Session& session;
  // The tool's settings store, read only: the values the window reads again
  // before a use are read again here too.
  SettingsAccess& store;
  Io io;
  JobRunner& runner;
  const Options& options;
  // The search password every command's search carries.
  SearchPassword password{};
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  // Whether standard error and input are a terminal: the firmware progress
  // bar and the questions before a reset or an update need one.
  bool errIsTerminal = false;
  bool inIsTerminal = false;
};

// Runs the command the options name; the exit status.
int RunCommand(Cli& cli);

// The commands, each with the arguments left after the options.
int CommandSearch(Cli& cli);
int CommandShow(Cli& cli);
int CommandSet(Cli& cli);
int CommandSave(Cli& cli);
int CommandLoad(Cli& cli);
int CommandReset(Cli& cli);
int CommandFirmware(Cli& cli);
int CommandRouters(Cli& cli);
int CommandDeviceCommand(Cli& cli);  // clock, disconnect
int CommandFields(Cli& cli);

}  // namespace lx47::ctl
