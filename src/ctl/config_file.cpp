#include "ctl/config_file.h"

#include <cstdio>

#include "ctl/device_view.h"
#include "texts/formats.h"

namespace lx47::ctl {

namespace {

std::string Hex(const std::uint8_t* p, std::size_t n) {
  std::string out;
  char two[3];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(two, sizeof two, "%02X", unsigned(p[i]));
    out += two;
  }
  return out;
}

bool ReadHex(std::string_view text, std::size_t width, std::vector<std::uint8_t>& out) {
  if (text.size() != width * 2) return false;
  out.clear();
  for (std::size_t i = 0; i < width; ++i) {
    unsigned v = 0;
    for (char c : text.substr(i * 2, 2)) {
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= unsigned(c - '0');
      else if (c >= 'A' && c <= 'F')
        v |= unsigned(c - 'A' + 10);
      else if (c >= 'a' && c <= 'f')
        v |= unsigned(c - 'a' + 10);
      else
        return false;
    }
    out.push_back(static_cast<std::uint8_t>(v));
  }
  return true;
}

std::string UnshownKey(const UnshownBytes& u) { return std::to_string(u.offset); }

// The text a command line would type for a value of the document, if its
// JSON type is the field's.
bool TypedValue(const FieldDef& f, const Json& v, std::optional<std::string>& typed) {
  switch (v.type()) {
    case Json::Type::Null:
      typed.reset();
      return f.mayShowNone;
    case Json::Type::Bool:
      if (f.kind != ValueKind::Bool) return false;
      typed = v.asBool() ? "on" : "off";
      return true;
    case Json::Type::Integer:
      if (f.kind != ValueKind::Number) return false;
      typed = std::to_string(v.asInteger());
      return true;
    case Json::Type::String:
      if (f.kind == ValueKind::Bool || f.kind == ValueKind::Number) return false;
      typed = v.asString();
      return true;
    default: return false;
  }
}

}  // namespace

Json ConfigDocument(const DeviceEntry& entry) {
  std::vector<std::uint8_t> copy = entry.Block;
  copy.resize(std::max(copy.size(), kConfigBlockSize));
  ConfigBlock block{std::span<std::uint8_t>(copy)};
  const pagerules::DeviceForm form = pagerules::LoadDeviceForm(block, true);

  Json doc = Json::Object();
  doc.set("format", Json::String(std::string(kConfigFormat)));
  doc.set("version", Json::Integer(kConfigVersion));
  doc.set("device", Json::String(std::string(kDeviceKind)));
  doc.set("mac", Json::String(MacColonText(entry.Device_MAC)));
  doc.set("firmware", Json::String(FirmwareVersionText(entry)));
  doc.set("settings", SettingsJson(form, true));
  Json unshown = Json::Object();
  for (const UnshownBytes& u : kUnshownBytes) unshown.set(UnshownKey(u), Json::String(Hex(copy.data() + u.offset, u.width)));
  doc.set("unshown_bytes", std::move(unshown));
  return doc;
}

std::optional<SavedConfig> ReadConfig(std::string_view text, std::string_view fileName, std::string& error) {
  JsonError where;
  const std::optional<Json> doc = ParseJson(text, where);
  if (!doc) {
    error = texts::CtlFileNotJsonText(fileName, where.line, where.column);
    return std::nullopt;
  }
  const Json* format = doc->find("format");
  if (doc->type() != Json::Type::Object || !format || format->type() != Json::Type::String ||
      format->asString() != kConfigFormat) {
    error = texts::CtlNotConfigFileText(fileName);
    return std::nullopt;
  }
  const Json* version = doc->find("version");
  if (!version || version->type() != Json::Type::Integer || version->asInteger() != kConfigVersion) {
    error = texts::CtlConfigVersionText(fileName, version ? version->dump() : "-");
    return std::nullopt;
  }
  const Json* device = doc->find("device");
  if (!device || device->type() != Json::Type::String || device->asString() != kDeviceKind) {
    error = texts::CtlConfigOtherDeviceText(
        fileName, device && device->type() == Json::Type::String ? device->asString() : std::string("-"));
    return std::nullopt;
  }

  SavedConfig saved;
  const Json* mac = doc->find("mac");
  if (!mac || mac->type() != Json::Type::String || !ParseMac(mac->asString(), saved.mac)) {
    error = texts::CtlConfigWrongTypeText(fileName, "mac");
    return std::nullopt;
  }

  const Json* settings = doc->find("settings");
  if (!settings || settings->type() != Json::Type::Object) {
    error = texts::CtlConfigMissingText(fileName, "settings");
    return std::nullopt;
  }
  for (const Json::Member& m : settings->members()) {
    const FieldDef* f = FindField(m.first);
    if (!f || !f->settable() || f->name != m.first) {
      error = texts::CtlConfigUnknownText(fileName, m.first);
      return std::nullopt;
    }
  }
  for (const FieldDef& f : Fields()) {
    if (!f.settable()) continue;
    const Json* v = settings->find(f.name);
    if (!v) {
      error = texts::CtlConfigMissingText(fileName, f.name);
      return std::nullopt;
    }
    SavedValue value{&f, std::nullopt};
    if (!TypedValue(f, *v, value.typed)) {
      error = texts::CtlConfigWrongTypeText(fileName, f.name);
      return std::nullopt;
    }
    saved.values.push_back(std::move(value));
  }

  const Json* unshown = doc->find("unshown_bytes");
  if (!unshown || unshown->type() != Json::Type::Object) {
    error = texts::CtlConfigMissingText(fileName, "unshown_bytes");
    return std::nullopt;
  }
  for (const UnshownBytes& u : kUnshownBytes) {
    const std::string key = UnshownKey(u);
    const Json* v = unshown->find(key);
    std::vector<std::uint8_t> bytes;
    if (!v) {
      error = texts::CtlConfigMissingText(fileName, "unshown_bytes." + key);
      return std::nullopt;
    }
    if (v->type() != Json::Type::String || !ReadHex(v->asString(), u.width, bytes)) {
      error = texts::CtlConfigWrongTypeText(fileName, "unshown_bytes." + key);
      return std::nullopt;
    }
    saved.unshown.push_back(std::move(bytes));
  }
  if (unshown->members().size() != std::size(kUnshownBytes)) {
    error = texts::CtlConfigUnknownText(fileName, "unshown_bytes");
    return std::nullopt;
  }
  return saved;
}

}  // namespace lx47::ctl
