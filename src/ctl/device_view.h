// A device as the command line shows it: the columns of the search's list,
// every setting by name as its page shows it, and tables that line up on a
// terminal with Japanese text in them.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ctl/fields.h"
#include "ctl/json.h"
#include "pagerules/device_form.h"
#include "protocol/device_table.h"

namespace lx47::ctl {

std::string MacColonText(const MacAddress& mac);

// The form a window showing the entry would hold, from a copy of its block
// (the entry is not changed); every setting counts as shown.
pagerules::DeviceForm FormOf(const DeviceEntry& entry);
pagerules::DeviceForm FormOf(std::vector<std::uint8_t> block);

// The search list's columns of an entry: No. (from 1), MAC, IP, firmware,
// host address, Wi-Fi mode and the SSID of that mode.
std::vector<std::string> SearchColumns(int no, const DeviceEntry& entry);
std::vector<std::string> SearchHeadings();

// A field's shown value as a line of text shows it: texts in quotes, so
// that blanks can be seen, "-" when the control shows none.
std::string ShownText(const FieldDef& f, const std::optional<std::string>& shown);

// A field's shown value as JSON: true/false, a number, a string, or null
// when the control shows none.
Json FieldJson(const FieldDef& f, const std::optional<std::string>& shown);
// Every field's value, the settable ones or the shown-only ones.
Json SettingsJson(const pagerules::DeviceForm& form, bool settable);
// One entry with the search's columns, its settings and its state.
Json DeviceJson(int no, const DeviceEntry& entry);

// Columns padded to the widest cell (in terminal columns), two blanks
// apart; the last column is not padded.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// show's text: the device's lines, then each page's fields with their
// values and labels.
void PrintDevice(std::ostream& out, const DeviceEntry& entry);

}  // namespace lx47::ctl
