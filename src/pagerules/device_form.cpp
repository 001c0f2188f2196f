#include "pagerules/device_form.h"

namespace lx47::pagerules {

Page PageOf(PageField f) {
  if (f <= PageField::Server_Domain_Name) return Page::Network;
  if (f <= PageField::Serial_Flow_Control) return Page::Serial;
  if (f <= PageField::TCP_Keepalive_Interval) return Page::Option;
  if (f <= PageField::Wifi_AP_Channel) return Page::Wifi;
  return Page::Special;
}

texts::TextId RefusalTitle(Page p) {
  switch (p) {
    case Page::Network: return texts::TextId::NetworkPageTitle;
    case Page::Serial: return texts::TextId::SerialPageTitle;
    case Page::Option: return texts::TextId::OptionPageTitle;
    case Page::Wifi: return texts::TextId{};
    case Page::Special: return texts::TextId::SpecialPageTitle;
  }
  return texts::TextId{};
}

DeviceForm LoadDeviceForm(ConfigBlock& block, bool extendedShown) {
  DeviceForm form;
  form.extendedShown = extendedShown;
  // In tab order, as the window loads them.
  form.network = LoadNetwork(block);
  form.serial = LoadSerial(block);
  form.option = LoadOption(block);
  form.wifi = LoadWifi(block);
  form.special = LoadSpecial(block);
  // Enabled with the pages, then disabled by the Network page's load of a
  // Server or Client entry; other modes leave the radios and the switch alone.
  form.connectPasswordAvailable = form.network.values.mode == ModeChoice::None;
  return form;
}

bool ChooseMode(DeviceForm& form, ModeChoice mode) {
  if (!form.network.modeGroupShown || mode == ModeChoice::None) return false;
  if (mode == ModeChoice::Mixed && !form.extendedShown) return false;
  form.network.values.mode = mode;
  form.connectPasswordAvailable = mode == ModeChoice::Server;
  return true;
}

namespace {

bool ServerFieldsOn(const DeviceForm& form) {
  const ModeChoice m = form.network.values.mode;
  return m == ModeChoice::Client || m == ModeChoice::Mixed;
}

bool ConnectSwitchOn(const DeviceForm& form) {
  return form.extendedShown && form.optionOnDisplay && form.connectPasswordAvailable;
}

FieldSet EnabledOn(const DeviceForm& form, Page page) {
  FieldSet s;
  for (int i = 0; i < kPageFieldCount; ++i) {
    const auto f = static_cast<PageField>(i);
    if (PageOf(f) == page) s.set(f, TakesPart(form, f));
  }
  return s;
}

}  // namespace

bool TakesPart(const DeviceForm& form, PageField f) {
  switch (f) {
    case PageField::Device_IP_Address:
    case PageField::Subnet_Mask:
    case PageField::Default_Gateway: return !form.network.values.dhcp;
    case PageField::Operation_Mode: return form.network.modeGroupShown;
    case PageField::Server_IP_Address:
    case PageField::Server_Port: return form.network.modeGroupShown && ServerFieldsOn(form);
    case PageField::DNS_Connect_Enable:
    case PageField::DNS_Server_IP_Address:
    case PageField::Server_Domain_Name: return form.extendedShown;
    case PageField::Connect_Password_Enable: return ConnectSwitchOn(form);
    case PageField::Connect_Password: return ConnectSwitchOn(form) && form.option.connectPasswordEnable;
    case PageField::Wifi_AP_Password: return form.wifi.values.apSecurity != kOpenSecurity;
    default: return true;
  }
}

FormStoreResult StoreDeviceForm(ConfigBlock& block, const DeviceForm& form) {
  if (StoreResult r = StoreNetwork(block, form.network.values, EnabledOn(form, Page::Network), form.extendedShown);
      !r.ok())
    return {Page::Network, r};
  if (StoreResult r = StoreSerial(block, form.serial.values, EnabledOn(form, Page::Serial)); !r.ok())
    return {Page::Serial, r};
  if (StoreResult r = StoreOption(block, form.option, EnabledOn(form, Page::Option)); !r.ok()) return {Page::Option, r};
  if (StoreResult r = StoreWifi(block, form.wifi.values, EnabledOn(form, Page::Wifi)); !r.ok()) return {Page::Wifi, r};
  if (StoreResult r = StoreSpecial(block, form.special, EnabledOn(form, Page::Special)); !r.ok())
    return {Page::Special, r};
  return {};
}

}  // namespace lx47::pagerules
