// Five single bytes of code page 932 that Windows maps to characters of
// their own and back (the best-fit part of its table), while the code page's
// published table, which glibc follows and Wine's conversion checks against,
// leaves them undefined. A device text holding one of them must load and
// store unchanged on every platform, as it does on a Japanese Windows.
#pragma once

namespace lx47::platform::cp932 {

struct ByteChar {
  unsigned char byte;
  char32_t ch;
};

inline constexpr ByteChar kSingleByteExtras[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

// The character of byte b; 0 when b is none of the five.
constexpr char32_t ExtraChar(unsigned char b) {
  for (const ByteChar& e : kSingleByteExtras)
    if (e.byte == b) return e.ch;
  return 0;
}

// The byte of character c; 0 when c is none of the five.
constexpr unsigned char ExtraByte(char32_t c) {
  for (const ByteChar& e : kSingleByteExtras)
    if (e.ch == c) return e.byte;
  return 0;
}

}  // namespace lx47::platform::cp932
