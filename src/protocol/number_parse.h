// Parsing of the numbers the user types into edits. Every edit of the tool
// reads its number the same way: an unsigned integer with automatic base
// (a "0x" or "0X" prefix means hexadecimal, another leading "0" octal,
// otherwise decimal), as the C library's strtoul does with base 0 and a
// 32-bit unsigned long. The edits differ only in what they tolerate around
// the number, so one parser takes a NumberRule that says so; the rules the
// dialogs use are the named constants and functions at the end.
//
// Qt-free on purpose: it is unit-tested and fuzzed on its own.
#pragma once

#include <cstdint>
#include <string_view>

namespace lx47 {

enum class NumberBase {
  Automatic,  // 0x/0X hexadecimal, leading 0 octal, otherwise decimal
  HexDigits,  // hexadecimal digits only: no sign, no prefix
};

enum class NumberStatus {
  Ok,
  BadCharacters,  // characters the rule does not accept (left over, or not digits)
  OutOfRange,     // outside [min, max] or overflowing 32 bits (a negative number wraps high)
};

struct NumberRule {
  NumberBase base = NumberBase::Automatic;
  // Remove ASCII white space (space, \t, \n, \v, \f, \r) at both ends first.
  bool trim = false;
  // Characters after the number are ignored instead of reported as
  // BadCharacters. A text without any number then reads as 0.
  bool ignoreTrailing = false;
  // Accepted range, both ends included. An empty text (or one with no digit)
  // reads as 0 and is checked against the range like any other value.
  std::uint32_t min = 0;
  std::uint32_t max = UINT32_MAX;
};

struct NumberResult {
  NumberStatus status = NumberStatus::Ok;
  // The number as read, modulo 2^32 (a minus sign negates it modulo 2^32, as
  // strtoul does; UINT32_MAX when it overflows). Meaningful when status is
  // Ok; also filled for OutOfRange so that callers can show it.
  std::uint32_t value = 0;

  bool ok() const { return status == NumberStatus::Ok; }
};

// With NumberBase::Automatic: after optional trimming, leading white space
// and one optional '+' or '-' are skipped, then the digits of the base are
// read. Characters that remain are BadCharacters unless ignoreTrailing is
// set; BadCharacters is decided before the range. A value whose magnitude
// does not fit 32 bits is OutOfRange (never wrapped).
//
// With NumberBase::HexDigits: after optional trimming, every character must
// be 0-9, a-f or A-F (otherwise BadCharacters, whatever ignoreTrailing says);
// the empty text is 0.
NumberResult ParseNumber(std::string_view text, const NumberRule& rule);

namespace number_rules {

// A port number of the Network page (local port and server port): the text
// as typed, untrimmed; leading white space and a sign are skipped; anything
// after the number, a trailing space included, is refused; 0 (also the empty
// text) and values above 65535 are refused. One message covers every
// refusal, so callers only look at ok().
inline constexpr NumberRule kPort{NumberBase::Automatic, false, false, 1, 65535};

// A time or size of the Serial and Option pages: trimmed at both ends,
// characters after the number ignored, the empty text is 0; refused above
// max (a negative number wraps to a huge value and is refused as well).
constexpr NumberRule Lenient(std::uint32_t max) { return NumberRule{NumberBase::Automatic, true, true, 0, max}; }

// The received character of the Serial page: two hexadecimal digits,
// trimmed; anything else than hex digits is BadCharacters, above 0xFF
// OutOfRange; the empty text is 0. Upper-casing the text first is not
// needed, both cases are accepted.
inline constexpr NumberRule kHexByte{NumberBase::HexDigits, true, false, 0, 0xFF};

// A number of the tool settings dialog (send count, receive delay, receive
// count): read like strtoul (leading white space and a sign skipped, not
// trimmed at the end); characters left over give BadCharacters ("... に無効な
// 文字があります。"), checked first; then a value outside [min, max] gives
// OutOfRange ("... が無効または範囲外です。"); the empty text is 0 and so out
// of range for a minimum above 0. "0x10" reads 16, "12a" is BadCharacters,
// "12 " is BadCharacters too.
constexpr NumberRule Strict(std::uint32_t min, std::uint32_t max) {
  return NumberRule{NumberBase::Automatic, false, false, min, max};
}

}  // namespace number_rules

}  // namespace lx47
