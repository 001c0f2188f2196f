#include "pagerules/text_fields.h"

#include <algorithm>

#include "platform/codepage.h"

namespace lx47::pagerules {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point that starts at s[i] and its length in bytes; a byte that
// starts no well-formed sequence reads as itself, one byte long, and is
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

std::string CleanAndLoadSpaceText(ConfigBlock& block, field::SpaceText f) {
  auto raw = block.raw(f);
  for (std::uint8_t& b : raw)
    if (b < 0x20 || b > 0x7E) b = ' ';
  return platform::AnsiToUtf8(block.get(f));
}

void StoreSpaceText(ConfigBlock& block, field::SpaceText f, std::string_view utf8) {
  std::string ansi = platform::Utf8ToAnsi(utf8);
  ansi.resize(platform::AnsiPrefixLength(ansi, f.width));
  block.set(f, ansi);
}

std::string LoadZeroText(const ConfigBlock& block, field::ZeroText f) { return platform::AnsiToUtf8(block.get(f)); }

void StoreZeroText(ConfigBlock& block, field::ZeroText f, std::string_view utf8) {
  const std::string ansi = platform::Utf8ToAnsi(Trimmed(utf8));
  block.set(f, std::string_view(ansi.data(), platform::AnsiPrefixLength(ansi, f.width)));
}

void ClearZeroText(ConfigBlock& block, field::ZeroText f) {
  auto raw = block.raw(f);
  std::fill(raw.begin(), raw.end(), 0);
}

}  // namespace lx47::pagerules
