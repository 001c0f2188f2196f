// lx47ctl: the tool's jobs from the command line, on the same core, the same
// page rules and the same stored tool settings as the window.
#include <iostream>
#include <memory>
#include <string>

#include "ctl/cli.h"
#include "ctl/console.h"
#include "ctl/exit_status.h"
#include "ctl/files.h"
#include "ctl/interrupt.h"
#include "ctl/options.h"
#include "ctl/runner.h"
#include "platform/net.h"
#include "protocol/session.h"
#include "store/settings_store.h"
#include "texts/formats.h"
#include "texts/texts.h"
#include "texts/utf8.h"

using namespace lx47;
using namespace lx47::ctl;
using texts::Text;
using texts::TextId;

namespace {

// The window's store as the command line uses it: read, never written
// (start-up repairs, search options and saved passwords are the window's).
class ReadOnlyStore final : public SettingsAccess {
 public:
  explicit ReadOnlyStore(SettingsAccess& store) : store_(store) {}
  int readInt(const char* key, int def) override { return store_.readInt(key, def); }
  void writeInt(const char*, int) override {}
  std::string readString(const char* key) override { return store_.readString(key); }
  void writeString(const char*, const std::string&) override {}
  void remove(const char*) override {}

 private:
  SettingsAccess& store_;
};

TextId HelpOf(Command c) {
  switch (c) {
    case Command::Search: return TextId::CtlSearchHelp;
    case Command::Show: return TextId::CtlShowHelp;
    case Command::Set: return TextId::CtlSetHelp;
    case Command::Save: return TextId::CtlSaveHelp;
    case Command::Load: return TextId::CtlLoadHelp;
    case Command::Reset: return TextId::CtlResetHelp;
    case Command::Firmware: return TextId::CtlFirmwareHelp;
    case Command::Routers: return TextId::CtlRoutersHelp;
    case Command::Clock: return TextId::CtlClockHelp;
    case Command::Disconnect: return TextId::CtlDisconnectHelp;
    case Command::Fields: return TextId::CtlFieldsHelp;
    case Command::None: break;
  }
  return TextId::CtlUsage;
}

// The search password: given, from a file, or the one the search dialog
// saved. False after the line that says why.
bool ReadPassword(const Options& o, SettingsAccess& store, std::string& password) {
  if (o.password) {
    password = *o.password;
  } else if (o.passwordFile) {
    std::string text, why;
    if (!ReadTextFile(*o.passwordFile, 4096, text, why)) {
      std::cerr << "lx47ctl: " << texts::CtlFieldMessageText(*o.passwordFile, why) << '\n';
      return false;
    }
    password = text.substr(0, text.find_first_of("\r\n"));
  } else if (store.readInt("SaveFlag", 0) != 0) {
    password = std::string(texts::TrimmedRight(store.readString("SavePassword")));
  }
  if (texts::Utf16Length(password) > 8) {
    std::cerr << "lx47ctl: " << Text(TextId::PasswordTooLong) << '\n';
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareConsole();
  Options options;
  std::string error;
  if (!ParseOptions(Utf8Arguments(argc, argv), options, error)) {
    std::cerr << "lx47ctl: " << error << '\n' << Text(TextId::CtlSeeHelp) << '\n';
    return kExitUsage;
  }
  if (options.version) {
    std::cout << "lx47ctl " << LX47_PRODUCT_VERSION << '\n';
    return kExitOk;
  }
  if (options.help) {
    std::cout << Text(HelpOf(options.command));
    return kExitOk;
  }
  if (options.command == Command::None) {
    std::cerr << Text(TextId::CtlUsage);
    return kExitUsage;
  }
  std::unique_ptr<store::SettingsStore> perUser = store::CreatePerUserStore(store::kToolApplicationName);
  store::StoreAccess access(*perUser);
  ReadOnlyStore store(access);
  Session session;
  session.Settings = LoadToolSettings(store);
  if (options.extended && store.readInt("MaskSetting", 0) <= 0) {
    std::cerr << "lx47ctl: " << Text(TextId::CtlExtendedLocked) << '\n';
    return kExitUsage;
  }
  std::string password;
  if (!ReadPassword(options, store, password)) return kExitUsage;

  if (!platform::net().startup()) {
    std::cerr << "lx47ctl: " << Text(TextId::SocketInitFailed) << '\n';
    return kExitNetwork;
  }
  InstallInterruptHandler();
  JobRunner runner(session, Io::Current());
  Cli cli{session, store, Io::Current(), runner, options, TypedSearchPassword(password), std::cout, std::cerr, std::cin};
  cli.errIsTerminal = IsTerminal(stderr);
  cli.inIsTerminal = IsTerminal(stdin);
  const int status = RunCommand(cli);
  std::cout.flush();
  session.ReleaseDeviceTable();
  return status;
}
