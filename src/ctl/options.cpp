#include "ctl/options.h"

#include <string_view>

#include "texts/formats.h"

namespace lx47::ctl {

namespace {

struct CommandName {
  const char* name;
  Command command;
};
constexpr CommandName kCommands[] = {
    {"search", Command::Search},   {"show", Command::Show},         {"set", Command::Set},
    {"save", Command::Save},       {"load", Command::Load},         {"reset", Command::Reset},
    {"firmware", Command::Firmware}, {"routers", Command::Routers}, {"clock", Command::Clock},
    {"disconnect", Command::Disconnect}, {"fields", Command::Fields},
};

// Which commands an option belongs to; the common ones belong to every one.
enum Scope : unsigned {
  kAny = 0,
  kSearchOnly = 1u << 0,
  kWithJson = 1u << 1,
  kWithDryRun = 1u << 2,
  kWithExtended = 1u << 3,
  kWithYes = 1u << 4,
  kLoadOnly = 1u << 5,
};

unsigned ScopeOf(Command c) {
  switch (c) {
    case Command::Search: return kSearchOnly | kWithJson;
    case Command::Show:
    case Command::Routers:
    case Command::Fields: return kWithJson;
    case Command::Set: return kWithDryRun | kWithExtended;
    case Command::Load: return kWithDryRun | kWithExtended | kLoadOnly;
    case Command::Reset:
    case Command::Firmware: return kWithYes;
    default: return 0;
  }
}

struct OptionDef {
  const char* longName;
  char shortName;
  bool takesValue;
  unsigned scope;
  void (*apply)(Options& o, const std::string& value);
};

const OptionDef kOptions[] = {
    {"password", 'p', true, kAny, [](Options& o, const std::string& v) { o.password = v; }},
    {"password-file", 0, true, kAny, [](Options& o, const std::string& v) { o.passwordFile = v; }},
    {"adapter", 0, true, kAny, [](Options& o, const std::string& v) { o.adapter = v; }},
    {"all-adapters", 0, false, kAny, [](Options& o, const std::string&) { o.allAdapters = true; }},
    {"json", 0, false, kWithJson, [](Options& o, const std::string&) { o.json = true; }},
    {"extended", 0, false, kWithExtended, [](Options& o, const std::string&) { o.extended = true; }},
    {"yes", 'y', false, kWithYes, [](Options& o, const std::string&) { o.yes = true; }},
    {"dry-run", 0, false, kWithDryRun, [](Options& o, const std::string&) { o.dryRun = true; }},
    {"with-address", 0, false, kLoadOnly, [](Options& o, const std::string&) { o.withAddress = true; }},
    {"one", 0, false, kSearchOnly, [](Options& o, const std::string&) { o.one = true; }},
    {"mac", 0, true, kSearchOnly, [](Options& o, const std::string& v) { o.searchMac = v; }},
    {"help", 'h', false, kAny, [](Options& o, const std::string&) { o.help = true; }},
    {"version", 0, false, kAny, [](Options& o, const std::string&) { o.version = true; }},
};

struct Given {
  const OptionDef* def;
  std::string spelling;
};

}  // namespace

bool ParseOptions(const std::vector<std::string>& argv, Options& o, std::string& error) {
  std::vector<Given> given;
  std::vector<std::string> words;
  bool optionsEnd = false;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (optionsEnd || a.size() < 2 || a[0] != '-') {
      words.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnd = true;
      continue;
    }
    const OptionDef* def = nullptr;
    std::optional<std::string> inlineValue;
    if (a[1] == '-') {
      const std::size_t eq = a.find('=');
      const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
      if (eq != std::string::npos) inlineValue = a.substr(eq + 1);
      for (const OptionDef& d : kOptions)
        if (name == d.longName) def = &d;
    } else {
      for (const OptionDef& d : kOptions)
        if (d.shortName && a[1] == d.shortName) def = &d;
      if (def && a.size() > 2) {
        if (!def->takesValue) def = nullptr;  // no bundling of flags
        else inlineValue = a.substr(2);
      }
    }
    if (!def || (inlineValue && !def->takesValue)) {
      error = texts::CtlUnknownOptionText(a);
      return false;
    }
    std::string value;
    if (def->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else if (i + 1 < argv.size()) {
        value = argv[++i];
      } else {
        error = texts::CtlOptionNeedsValueText(a);
        return false;
      }
    }
    def->apply(o, value);
    given.push_back({def, a});
  }

  if (!words.empty()) {
    o.commandName = words.front();
    for (const CommandName& c : kCommands)
      if (o.commandName == c.name) o.command = c.command;
    if (o.command == Command::None) {
      error = texts::CtlUnknownCommandText(o.commandName);
      return false;
    }
    o.args.assign(words.begin() + 1, words.end());
  }
  // An option of another command is a mistake worth saying, not ignoring.
  const unsigned scope = ScopeOf(o.command);
  for (const Given& g : given) {
    if (g.def->scope == kAny || (g.def->scope & scope) != 0 || o.command == Command::None) continue;
    error = texts::CtlOptionNotForCommandText(g.spelling, o.commandName);
    return false;
  }
  return true;
}

}  // namespace lx47::ctl
