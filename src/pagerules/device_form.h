// A device's settings as the main window's five pages hold them once the
// window shows the device: what each page's controls show, which controls
// take part in a store, and how a choice on one control enables others.
// For front ends without widgets, so that the same edits store exactly the
// bytes the window stores.
//
// The window it stands for has just found the device and shown it: every
// page enabled, then loaded from the block, no choice left over from a
// device shown before.
#pragma once

#include <cstdint>

#include "pagerules/network_rules.h"
#include "pagerules/option_rules.h"
#include "pagerules/page_fields.h"
#include "pagerules/serial_rules.h"
#include "pagerules/extra_settings_rules.h"
#include "pagerules/wifi_rules.h"
#include "protocol/config_block.h"
#include "texts/text_ids.h"

namespace lx47::pagerules {

// The pages in the order of their tabs, in which the write stores them.
enum class Page : std::uint8_t { Network, Serial, Option, Wifi, Special };
inline constexpr int kPageCount = 5;

Page PageOf(PageField f);
// The title a page's refusals carry in their "[%s]"; the Wi-Fi page's one
// refusal has none (TextId{}).
texts::TextId RefusalTitle(Page p);

struct DeviceForm {
  NetworkShown network;
  SerialShown serial;
  OptionValues option;
  WifiShown wifi;
  SpecialValues special;

  // The extended settings shown (the main window's hidden gesture): the
  // Network page's DNS fields and Mixed mode, the Option page's connection
  // password.
  bool extendedShown = false;
  // The Option page is the tab on display when the store runs: only then is
  // its connection-password switch on screen.
  bool optionOnDisplay = false;
  // The connection-password switch is enabled. The Network page's mode
  // choice decides it: a load of a TCP Server or TCP Client entry disables
  // it, choosing TCP Server enables it, choosing Client or Mixed disables it.
  bool connectPasswordAvailable = true;
};

// The window's form after showing the block. Loading corrects the block as
// the pages do (cleaned texts, the Special page's times).
DeviceForm LoadDeviceForm(ConfigBlock& block, bool extendedShown);

// A click on one of the Network page's mode radios. Only a TCP Client entry
// shows them, and Mixed only with the extended settings: false (nothing
// changes) for a choice the window does not offer.
bool ChooseMode(DeviceForm& form, ModeChoice mode);

// Whether a field's control takes part in a store as the form stands: the
// page's own rule for the fields it reads from a FieldSet, and for the
// others whether the page would write them at all (the addresses with DHCP
// off, the server fields in Client or Mixed mode, Operation_Mode for a TCP
// Client entry, the extended settings while shown, the access-point
// password with a security other than "open").
bool TakesPart(const DeviceForm& form, PageField f);

struct FormStoreResult {
  Page page = Page::Network;
  StoreResult result;
  bool ok() const { return result.ok(); }
};

// The five pages stored into the block in order, stopping at the first page
// that refuses a field; the pages before it, and that page's fields before
// the refused one, stay written.
FormStoreResult StoreDeviceForm(ConfigBlock& block, const DeviceForm& form);

}  // namespace lx47::pagerules
