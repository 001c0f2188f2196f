#include "pages/zero_text.h"

#include <cstring>
#include <string>

#include "platform/codepage.h"

namespace lx47::pages {

QString LoadZeroText(const ConfigBlock& block, field::ZeroText f) {
  return QString::fromStdString(platform::AnsiToUtf8(block.get(f)));
}

void StoreZeroText(ConfigBlock& block, field::ZeroText f, const QString& text) {
  const std::string ansi = platform::Utf8ToAnsi(text.trimmed().toStdString());
  const std::size_t n = platform::AnsiPrefixLength(ansi, f.width);
  block.set(f, std::string_view(ansi.data(), n));
}

}  // namespace lx47::pages
