// The string table's texts as Qt strings, for the widgets.
#pragma once

#include <QString>

#include "texts/texts.h"

namespace lx47::ui {

// Text of string `id`; an empty string for a number the table does not have.
inline QString Str(int id) {
  const std::string_view text = texts::Text(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace lx47::ui
