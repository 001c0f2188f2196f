// The printf conversions a format text asks for, worked out at compile time,
// so that a typed format can assert that the text and its arguments agree.
#pragma once

#include <cstddef>
#include <string_view>

namespace lx47::texts::check {

// The conversion letters of `format` in order ("%02X %u" gives "Xu"); "%%"
// asks for none. A letter outside "dusX" is kept as '?', which no typed
// format expects.
struct Conversions {
  char letters[16]{};
  std::size_t count = 0;

  constexpr bool operator==(std::string_view expected) const {
    return std::string_view(letters, count) == expected;
  }
};

constexpr Conversions ConversionsOf(std::string_view format) {
  Conversions c;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++i;
    if (i < format.size() && format[i] == '%') continue;
    while (i < format.size() && (format[i] == '0' || format[i] == '-' || format[i] == '+' || format[i] == ' ' ||
                                 format[i] == '#'))
      ++i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    const char letter = i < format.size() ? format[i] : '?';
    const bool known = letter == 'd' || letter == 'u' || letter == 's' || letter == 'X';
    if (c.count == sizeof c.letters) return Conversions{{'?'}, 1};
    c.letters[c.count++] = known ? letter : '?';
  }
  return c;
}

}  // namespace lx47::texts::check
