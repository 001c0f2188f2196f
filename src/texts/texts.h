// The string table: every user-visible text of the tool under its number,
// in UTF-8, for the window and for every other front end alike. Code names
// a text by its TextId; the texts that take values are filled through the
// typed functions of texts/formats.h, never by hand.
#pragma once

#include <string_view>

#include "texts/text_ids.h"

namespace lx47::texts {

// Text of string `id`; empty for a number the table does not have.
std::string_view Text(int id);
inline std::string_view Text(TextId id) { return Text(static_cast<int>(id)); }

}  // namespace lx47::texts
