// The tool settings: what the store keeps for the tool itself (the timing of
// the exchanges, the host to send from, the hidden options), held as one
// value by the session. One table gives every key its default and the
// repair start-up applies; every read goes through it: start-up reads them
// all and writes the repaired values back, and the few places that look at
// the store again before a use (a change made there while the tool runs
// counts from the next search, reset or write on, and the tool settings
// dialog shows what is stored) reread single settings through it. The tool
// settings dialog changes the value and the store together.
#pragma once

#include <string>

namespace lx47 {

struct ToolSettings {
  // 1: the tool settings dialog shows its receive fields from the start.
  int APP_SETTING_OPTION1 = 0;
  // 1: the search and the factory reset go out from every usable host
  // address; 0: from the adapter HOST_ADAPTERNAME only.
  int ALL_HOST_SCAN = 1;
  int MaxSendCmdLoopCount = 10;  // sends of a request
  int MaxRecvLoopCount = 60;     // receive attempts after each send
  int RecvDelay_msec = 20;       // pause between receive attempts
  int USE_BC_CFG = 1;            // 1: the settings write and the factory reset always broadcast
  int USE_BC_FUP = 0;            // 1: the firmware announcement is broadcast
  int MaskSetting = 0;           // 1: the main window's gesture may reveal the extended settings
  int PinMonitor = 0;            // not 0: no single-instance rule, and the PIN Monitor button shows
  // The adapter chosen in the tool settings (UTF-8, as stored; empty while
  // every host address is used): its name, its description and the text of
  // its address when it was chosen.
  std::string HOST_ADAPTERNAME;
  std::string HOST_DESC;
  std::string HOST_IP;
};

// The per-user store as the tool settings see it: keys and texts in UTF-8.
class SettingsAccess {
 public:
  virtual ~SettingsAccess() = default;
  // Absent or not an integer: def.
  virtual int readInt(const char* key, int def) = 0;
  virtual void writeInt(const char* key, int value) = 0;
  // Absent: the empty text.
  virtual std::string readString(const char* key) = 0;
  virtual void writeString(const char* key, const std::string& value) = 0;
  virtual void remove(const char* key) = 0;
};

// One integer setting: its key, where the value keeps it, what an absent
// key reads as, what start-up makes of the stored number, and whether
// start-up writes that back (so that a repaired store stays repaired).
struct IntSetting {
  const char* key;
  int ToolSettings::*member;
  int whenAbsent;
  int (*repair)(int stored);
  bool writeBack;
};

// One text setting: read as stored, never repaired or written back.
struct TextSetting {
  const char* key;
  std::string ToolSettings::*member;
};

// Every integer setting, in the order start-up reads them.
extern const IntSetting kIntSettings[9];
extern const TextSetting kTextSettings[3];

// Reads every setting, repairs it and writes back what the table says.
ToolSettings LoadToolSettings(SettingsAccess& store);

// Reads one setting again into the value, with the table's default and
// repair; writes nothing back.
void ReloadSetting(SettingsAccess& store, ToolSettings& settings, int ToolSettings::*member);
void ReloadSetting(SettingsAccess& store, ToolSettings& settings, std::string ToolSettings::*member);

// Sets one integer setting in the value and in the store, as the tool
// settings dialog does with each number it accepts.
void StoreSetting(SettingsAccess& store, ToolSettings& settings, int ToolSettings::*member, int value);

// The host the exchanges go out from: every usable host address (the three
// adapter texts are removed from the store), or the one adapter given.
void StoreAllHosts(SettingsAccess& store, ToolSettings& settings);
void StoreChosenAdapter(SettingsAccess& store, ToolSettings& settings, const std::string& name,
                        const std::string& description, const std::string& address);

}  // namespace lx47
