// The string table: every user-visible text of the tool under its number,
// in UTF-8, for the window and for every other front end alike.
#pragma once

#include <string_view>

namespace lx47::texts {

// Text of string `id`; empty for a number the table does not have.
std::string_view Text(int id);

}  // namespace lx47::texts
