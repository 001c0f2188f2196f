#include "ctl/device_view.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "pagerules/wifi_rules.h"
#include "protocol/mac_text.h"
#include "texts/texts.h"
#include "texts/utf8.h"

namespace lx47::ctl {

using pagerules::DeviceForm;
using texts::TextId;

std::string MacColonText(const MacAddress& mac) { return MacText(mac); }

DeviceForm FormOf(const DeviceEntry& entry) { return FormOf(entry.Block); }

DeviceForm FormOf(std::vector<std::uint8_t> copy) {
  copy.resize(std::max(copy.size(), kConfigBlockSize));
  ConfigBlock block{std::span<std::uint8_t>(copy)};
  return pagerules::LoadDeviceForm(block, true);
}

namespace {

std::string WifiModeText(const DeviceForm& form) {
  return form.wifi.modeName == TextId{} ? std::string() : std::string(texts::Text(form.wifi.modeName));
}

// The SSID the device uses in its present mode.
std::string ModeSsid(const DeviceEntry& entry, const DeviceForm& form) {
  const bool accessPoint = entry.hasBlock() && entry.Block[field::Wifi_Mode.offset] == 1;
  return accessPoint ? form.wifi.values.apSsid : form.wifi.values.infraSsid;
}

}  // namespace

std::vector<std::string> SearchHeadings() {
  return {std::string(texts::Text(TextId::ListHeadingNo)),     std::string(texts::Text(TextId::ListHeadingMac)),
          std::string(texts::Text(TextId::CtlIpAddressHeading)), std::string(texts::Text(TextId::FirmwareVersionCaption)),
          std::string(texts::Text(TextId::HostIpAddress)),     std::string(texts::Text(TextId::CtlWifiModeHeading)),
          "SSID"};
}

std::vector<std::string> SearchColumns(int no, const DeviceEntry& entry) {
  const DeviceForm form = FormOf(entry);
  return {std::to_string(no),
          MacColonText(entry.Device_MAC),
          IpText(entry.Device_IP),
          FirmwareVersionText(entry),
          IpText(entry.Host_IP),
          WifiModeText(form),
          ModeSsid(entry, form)};
}

std::string ShownText(const FieldDef& f, const std::optional<std::string>& shown) {
  if (!shown) return "-";
  return f.kind == ValueKind::Text ? Json::String(*shown).dump() : *shown;
}

Json FieldJson(const FieldDef& f, const std::optional<std::string>& shown) {
  if (!shown) return Json();
  switch (f.kind) {
    case ValueKind::Bool: return Json::Bool(*shown == "on");
    case ValueKind::Number: {
      std::int64_t n = 0;
      const auto [end, ec] = std::from_chars(shown->data(), shown->data() + shown->size(), n);
      if (ec == std::errc() && end == shown->data() + shown->size() && !shown->empty()) return Json::Integer(n);
      return Json::String(*shown);
    }
    default: return Json::String(*shown);
  }
}

Json SettingsJson(const DeviceForm& form, bool settable) {
  Json settings = Json::Object();
  for (const FieldDef& f : Fields())
    if (f.settable() == settable) settings.set(std::string(f.name), FieldJson(f, f.get(form)));
  return settings;
}

Json DeviceJson(int no, const DeviceEntry& entry) {
  const DeviceForm form = FormOf(entry);
  Json d = Json::Object();
  d.set("no", Json::Integer(no));
  d.set("mac", Json::String(MacColonText(entry.Device_MAC)));
  d.set("ip", Json::String(IpText(entry.Device_IP)));
  d.set("firmware", Json::String(FirmwareVersionText(entry)));
  d.set("host_ip", Json::String(IpText(entry.Host_IP)));
  d.set("wifi_mode", Json::Integer(entry.hasBlock() ? entry.Block[field::Wifi_Mode.offset] : 0));
  d.set("wifi_mode_name", Json::String(WifiModeText(form)));
  d.set("ssid", Json::String(ModeSsid(entry, form)));
  d.set("block_length", Json::Integer(entry.Block_Length()));
  d.set("settings", SettingsJson(form, true));
  d.set("status", SettingsJson(form, false));
  return d;
}

void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], texts::DisplayWidth(row[i]));
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - texts::DisplayWidth(row[i]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

void PrintDevice(std::ostream& out, const DeviceEntry& entry) {
  const DeviceForm form = FormOf(entry);
  PrintTable(out, {{std::string(texts::Text(TextId::MacAddressLabel)), MacColonText(entry.Device_MAC)},
                   {std::string(texts::Text(TextId::CtlIpAddressHeading)), IpText(entry.Device_IP)},
                   {std::string(texts::Text(TextId::FirmwareVersionCaption)), FirmwareVersionText(entry)},
                   {std::string(texts::Text(TextId::HostIpAddress)), IpText(entry.Host_IP)}});
  static constexpr TextId kPageNames[pagerules::kPageCount] = {TextId::NetworkPageTitle, TextId::SerialPageTitle,
                                                               TextId::OptionPageTitle, TextId::WifiPageTitle,
                                                               TextId::SpecialPageTitle};
  for (int p = 0; p < pagerules::kPageCount; ++p) {
    out << "\n[" << texts::Text(kPageNames[p]) << "]\n";
    std::vector<std::vector<std::string>> rows;
    for (const FieldDef& f : Fields()) {
      if (static_cast<int>(f.page) != p) continue;
      const std::string value = ShownText(f, f.get(form));
      std::string label = FieldLabel(f);
      if (f.extended) label += texts::Text(TextId::CtlExtendedMark);
      if (!f.settable()) label += texts::Text(TextId::CtlReadOnlyMark);
      rows.push_back({"  " + std::string(f.name), value, label});
    }
    PrintTable(out, rows);
  }
}

}  // namespace lx47::ctl
