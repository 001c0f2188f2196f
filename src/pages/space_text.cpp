#include "pages/space_text.h"

#include <string>

#include "platform/codepage.h"

namespace lx47::pages {

QString CleanAndLoadSpaceText(ConfigBlock& block, field::SpaceText f) {
  auto raw = block.raw(f);
  for (std::uint8_t& b : raw)
    if (b < 0x20 || b > 0x7E) b = ' ';
  const std::string bytes(reinterpret_cast<const char*>(raw.data()), raw.size());
  return QString::fromStdString(platform::AnsiToUtf8(bytes));
}

void StoreSpaceText(ConfigBlock& block, field::SpaceText f, const QString& text) {
  std::string ansi = platform::Utf8ToAnsi(text.toStdString());
  ansi.resize(platform::AnsiPrefixLength(ansi, f.width));
  block.set(f, ansi);
}

QString TrimmedRight(const QString& text) {
  qsizetype n = text.size();
  while (n > 0 && text.at(n - 1).isSpace()) --n;
  return text.left(n);
}

}  // namespace lx47::pages
