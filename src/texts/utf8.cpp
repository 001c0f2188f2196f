#include "texts/utf8.h"

namespace lx47::texts {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point that starts at s[i] and its length in bytes; a byte that
// starts no well-formed sequence reads as U+FFFD, one byte long, and is
// never white space.
char32_t DecodeAt(std::string_view s, std::size_t i, std::size_t& length) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  length = 1;
  std::size_t n = 0;
  char32_t v = 0;
  if (c < 0x80) return c;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    v = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    v = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    v = c & 0x07;
  } else {
    return 0xFFFD;
  }
  if (i + n > s.size()) return 0xFFFD;
  for (std::size_t k = 1; k < n; ++k) {
    const unsigned char d = static_cast<unsigned char>(s[i + k]);
    if (!IsContinuation(d)) return 0xFFFD;
    v = (v << 6) | (d & 0x3F);
  }
  length = n;
  return v;
}

}  // namespace

bool IsTrimmedSpace(char32_t c) {
  if (c == 0x20 || (c >= 0x09 && c <= 0x0D)) return true;
  if (c < 0x80) return false;
  switch (c) {
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

std::string_view TrimmedRight(std::string_view s) {
  while (!s.empty()) {
    // The start of the last character: at most three continuation bytes back.
    std::size_t start = s.size() - 1;
    while (start > 0 && s.size() - start < 4 && IsContinuation(static_cast<unsigned char>(s[start]))) --start;
    std::size_t length = 0;
    const char32_t c = DecodeAt(s, start, length);
    if (start + length != s.size() || !IsTrimmedSpace(c)) break;
    s.remove_suffix(length);
  }
  return s;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty()) {
    std::size_t length = 0;
    if (!IsTrimmedSpace(DecodeAt(s, 0, length))) break;
    s.remove_prefix(length);
  }
  return TrimmedRight(s);
}

std::size_t Utf16Length(std::string_view s) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t length = 0;
    const char32_t c = DecodeAt(s, i, length);
    units += c > 0xFFFF ? 2 : 1;
    i += length;
  }
  return units;
}

namespace {

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
         (c >= 0x20000 && c <= 0x3FFFD);
}

bool IsCombining(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) || (c >= 0x3099 && c <= 0x309A) ||
         (c >= 0xFE00 && c <= 0xFE0F);
}

}  // namespace

std::size_t DisplayWidth(std::string_view s) {
  std::size_t columns = 0;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t length = 0;
    const char32_t c = DecodeAt(s, i, length);
    columns += IsCombining(c) ? 0 : IsWide(c) ? 2 : 1;
    i += length;
  }
  return columns;
}

}  // namespace lx47::texts
