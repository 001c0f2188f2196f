// The string table: every user-visible text under its number.
#pragma once

#include <QString>

namespace lx47::ui {

// Text of string `id`; an empty string for a number the table does not have.
QString Str(int id);

}  // namespace lx47::ui
