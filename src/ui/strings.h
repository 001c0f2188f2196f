// The string table's texts as Qt strings, for the widgets.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "texts/formats.h"
#include "texts/texts.h"

namespace lx47::ui {

// Text of string `id`.
inline QString Str(texts::TextId id) {
  const std::string_view text = texts::Text(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text filled by one of the typed functions of texts/formats.h.
inline QString Str(const std::string& filled) { return QString::fromStdString(filled); }

// The UTF-8 of a Qt string, for the values a filled text takes.
inline std::string Utf8(const QString& s) { return s.toStdString(); }

}  // namespace lx47::ui
