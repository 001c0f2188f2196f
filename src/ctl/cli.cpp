#include "ctl/cli.h"

#include "ctl/exit_status.h"

namespace lx47::ctl {

int RunCommand(Cli& cli) {
  switch (cli.options.command) {
    case Command::Search: return CommandSearch(cli);
    case Command::Show: return CommandShow(cli);
    case Command::Set: return CommandSet(cli);
    case Command::Save: return CommandSave(cli);
    case Command::Load: return CommandLoad(cli);
    case Command::Reset: return CommandReset(cli);
    case Command::Firmware: return CommandFirmware(cli);
    case Command::Routers: return CommandRouters(cli);
    case Command::Clock:
    case Command::Disconnect: return CommandDeviceCommand(cli);
    case Command::Fields: return CommandFields(cli);
    case Command::None: break;
  }
  return kExitUsage;
}

}  // namespace lx47::ctl
