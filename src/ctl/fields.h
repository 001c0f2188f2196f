// A device's settings by name, for the command line: every field the pages
// show, its value as the page shows it, and how a typed value goes into the
// page's control. The names are the block's field names ("Local_Port").
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "pagerules/device_form.h"
#include "protocol/config_block.h"
#include "texts/text_ids.h"

namespace lx47::ctl {

// How a value is written: on the command line every value is a text; in a
// JSON document a Bool is true/false, a Number a number, the rest strings.
enum class ValueKind { Bool, Number, Address, Text, Choice };

// Why a value cannot be set: a text of the table, with the field's name and
// the value put in front by the caller.
struct FieldError {
  std::string text;
  // The control is there but the page does not offer it now (the mode of a
  // device that is no TCP Client, Mixed without the extended settings).
  bool unavailable = false;
  bool ok() const { return text.empty(); }
};

struct FieldDef {
  std::string_view name;
  pagerules::Page page;
  // What the page calls it: its label's text, or an ASCII word where the
  // page's control says no more ("DHCP").
  texts::TextId label;
  std::string_view asciiLabel;
  ValueKind kind;
  // The page field a value is stored into; empty for what the pages only
  // show (the current Wi-Fi state).
  std::optional<pagerules::PageField> pageField;
  // One of the extended settings: shown and set only with them shown.
  bool extended = false;
  // One of the device's own address fields, which a configuration loaded
  // from another device leaves as they are unless asked.
  bool ownAddress = false;
  // The value as the page shows it; empty when the control shows none (a
  // list without a selection, no mode radio checked).
  std::optional<std::string> (*get)(const pagerules::DeviceForm& form) = nullptr;
  // Puts a typed value into the control; an error when the control would
  // not take it (not one of a list's items, a text longer than the edit
  // takes, letters in a digits-only edit). Judging the value is the page's
  // store's work.
  FieldError (*set)(pagerules::DeviceForm& form, std::string_view typed) = nullptr;
  // The values the control takes, for messages and the field list
  // ("on|off", "1..13", ...).
  std::string_view accepted;
  // The control may show no value at all (the mode radios, and a list whose
  // stored code has no item): null in a document.
  bool mayShowNone = false;

  bool settable() const { return set != nullptr; }
};

// Every field, page by page in tab order, within a page in the page's order.
std::span<const FieldDef> Fields();
// The field of a name, compared without regard to case; nullptr if none.
const FieldDef* FindField(std::string_view name);

// The page's label of a field as one line.
std::string FieldLabel(const FieldDef& f);

// Why the field would not be written as the form stands (the page leaves
// it out of the store); empty when it takes part.
std::string WhyNotWritten(const pagerules::DeviceForm& form, const FieldDef& f);

// An address in network order as the IP address control shows it.
std::string IpText(std::uint32_t networkOrder);

// A MAC address typed as six hexadecimal pairs, separated by ':' or '-' or
// not at all. False when the text is none.
bool ParseMac(std::string_view text, MacAddress& mac);

}  // namespace lx47::ctl
