#include "protocol/number_parse.h"

namespace lx47 {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Reads digits of `base` from s[i...]; returns the magnitude (saturated just
// above UINT32_MAX) and moves i past the digits.
std::uint64_t ReadDigits(std::string_view s, std::size_t& i, int base, bool& any) {
  std::uint64_t v = 0;
  any = false;
  while (i < s.size() && DigitValue(s[i]) < base) {
    any = true;
    v = v * base + static_cast<unsigned>(DigitValue(s[i]));
    if (v > UINT32_MAX) v = std::uint64_t{UINT32_MAX} + 1;  // keeps reading, stays "too big"
    ++i;
  }
  return v;
}

NumberResult CheckRange(std::uint64_t magnitude, bool negative, const NumberRule& rule) {
  NumberResult r;
  if (magnitude > UINT32_MAX) {
    r.status = NumberStatus::OutOfRange;
    r.value = UINT32_MAX;
    return r;
  }
  std::uint32_t v = static_cast<std::uint32_t>(magnitude);
  if (negative) v = static_cast<std::uint32_t>(0u - v);
  r.value = v;
  r.status = (v < rule.min || v > rule.max) ? NumberStatus::OutOfRange : NumberStatus::Ok;
  return r;
}

}  // namespace

NumberResult ParseNumber(std::string_view text, const NumberRule& rule) {
  if (rule.trim) text = Trim(text);

  if (rule.base == NumberBase::HexDigits) {
    for (char c : text) {
      if (DigitValue(c) >= 16) return NumberResult{NumberStatus::BadCharacters, 0};
    }
    std::size_t i = 0;
    bool any = false;
    return CheckRange(ReadDigits(text, i, 16, any), false, rule);
  }

  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '0') {
    // "0x" counts as a prefix only when a hex digit follows; otherwise the
    // "0" is the number and the "x" is left over, as with strtoul.
    if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2]) < 16) {
      base = 16;
      i += 2;
    } else {
      base = 8;
    }
  }
  bool any = false;
  std::uint64_t magnitude = ReadDigits(text, i, base, any);
  // No digit at all: nothing was converted and the whole text is left over.
  std::size_t end = any ? i : 0;
  if (!any) {
    magnitude = 0;
    negative = false;
  }
  if (end < text.size() && !rule.ignoreTrailing) return NumberResult{NumberStatus::BadCharacters, 0};
  return CheckRange(magnitude, negative, rule);
}

}  // namespace lx47
