#include "protocol/tool_settings.h"

namespace lx47 {

namespace {

int Flag(int v) { return v != 0 ? 1 : 0; }
// Only the lower bounds are enforced here; the tool settings dialog has its
// narrower ranges for what it stores itself.
int SendsOrTen(int v) { return v < 1 ? 10 : v; }
int AttemptsOrSixty(int v) { return v < 1 ? 60 : v; }
int DelayOrTwenty(int v) { return v < 1 || v > 500 ? 20 : v; }
int AboveZero(int v) { return v > 0 ? 1 : 0; }
int AsStored(int v) { return v; }

const IntSetting* Find(int ToolSettings::*member) {
  for (const IntSetting& s : kIntSettings)
    if (s.member == member) return &s;
  return nullptr;
}

const TextSetting* Find(std::string ToolSettings::*member) {
  for (const TextSetting& s : kTextSettings)
    if (s.member == member) return &s;
  return nullptr;
}

int Read(SettingsAccess& store, const IntSetting& s) { return s.repair(store.readInt(s.key, s.whenAbsent)); }

}  // namespace

const IntSetting kIntSettings[9] = {
    {"APP_SETTING_OPTION1", &ToolSettings::APP_SETTING_OPTION1, 0, Flag, true},
    {"ALL_HOST_SCAN", &ToolSettings::ALL_HOST_SCAN, 1, Flag, true},
    {"MaxSendCmdLoopCount", &ToolSettings::MaxSendCmdLoopCount, 0, SendsOrTen, true},
    {"MaxRecvLoopCount", &ToolSettings::MaxRecvLoopCount, 0, AttemptsOrSixty, true},
    {"RecvDelay_msec", &ToolSettings::RecvDelay_msec, 20, DelayOrTwenty, true},
    {"USE_BC_CFG", &ToolSettings::USE_BC_CFG, 1, Flag, true},
    {"USE_BC_FUP", &ToolSettings::USE_BC_FUP, 0, Flag, true},
    // Read, never written: they are switched on by hand in the store.
    {"PinMonitor", &ToolSettings::PinMonitor, 0, AsStored, false},
    {"MaskSetting", &ToolSettings::MaskSetting, 0, AboveZero, false},
};

const TextSetting kTextSettings[3] = {
    {"HOST_ADAPTERNAME", &ToolSettings::HOST_ADAPTERNAME},
    {"HOST_DESC", &ToolSettings::HOST_DESC},
    {"HOST_IP", &ToolSettings::HOST_IP},
};

ToolSettings LoadToolSettings(SettingsAccess& store) {
  ToolSettings settings;
  for (const IntSetting& s : kIntSettings) {
    const int value = Read(store, s);
    // Written back right after it is read, also when the key was absent:
    // the store then shows the value in force.
    if (s.writeBack) store.writeInt(s.key, value);
    settings.*s.member = value;
  }
  for (const TextSetting& s : kTextSettings) settings.*s.member = store.readString(s.key);
  return settings;
}

void ReloadSetting(SettingsAccess& store, ToolSettings& settings, int ToolSettings::*member) {
  if (const IntSetting* s = Find(member)) settings.*member = Read(store, *s);
}

void ReloadSetting(SettingsAccess& store, ToolSettings& settings, std::string ToolSettings::*member) {
  if (const TextSetting* s = Find(member)) settings.*member = store.readString(s->key);
}

void StoreSetting(SettingsAccess& store, ToolSettings& settings, int ToolSettings::*member, int value) {
  settings.*member = value;
  if (const IntSetting* s = Find(member)) store.writeInt(s->key, value);
}

void StoreAllHosts(SettingsAccess& store, ToolSettings& settings) {
  StoreSetting(store, settings, &ToolSettings::ALL_HOST_SCAN, 1);
  for (const TextSetting& s : kTextSettings) {
    settings.*s.member = std::string();
    store.remove(s.key);
  }
}

void StoreChosenAdapter(SettingsAccess& store, ToolSettings& settings, const std::string& name,
                        const std::string& description, const std::string& address) {
  StoreSetting(store, settings, &ToolSettings::ALL_HOST_SCAN, 0);
  const std::string* values[3] = {&name, &description, &address};  // in the order of kTextSettings
  for (int i = 0; i < 3; ++i) {
    settings.*kTextSettings[i].member = *values[i];
    store.writeString(kTextSettings[i].key, *values[i]);
  }
}

}  // namespace lx47
