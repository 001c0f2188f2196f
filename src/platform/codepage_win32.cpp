// The device texts are bytes of the PC's ANSI code page (CP_ACP: CP932 on a
// Japanese system). Converted one character at a time, so that a byte or a
// character that does not convert is replaced alone and never costs the rest
// of the text; device texts are a few dozen bytes.
#include <windows.h>

#include "platform/codepage.h"
#include "platform/cp932_extras.h"

namespace lx47::platform {
namespace {

// Code page 932's five single bytes with characters of their own: Windows
// maps them itself, Wine refuses them; either way they go through the table.
bool IsCp932() { return ::GetACP() == 932; }

// One character of code page cp to UTF-16; 0 units when it does not convert.
int ToWide(UINT cp, const char* p, std::size_t n, wchar_t (&w)[4]) {
  return ::MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, p, static_cast<int>(n), w, 4);
}

void AppendUtf8(std::string& out, const wchar_t* w, int units) {
  char buf[16];
  int n = ::WideCharToMultiByte(CP_UTF8, 0, w, units, buf, sizeof buf, nullptr, nullptr);
  if (n > 0) out.append(buf, static_cast<std::size_t>(n));
  else out += "\xEF\xBF\xBD";
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() * 3 / 2);
  std::size_t i = 0;
  while (i < ansi.size()) {
    const unsigned char c = static_cast<unsigned char>(ansi[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    if (const char32_t extra = IsCp932() ? cp932::ExtraChar(c) : 0) {
      const wchar_t w = static_cast<wchar_t>(extra);
      AppendUtf8(out, &w, 1);
      ++i;
      continue;
    }
    std::size_t n = IsAnsiLeadByte(c) ? 2 : 1;
    wchar_t w[4];
    int units = n <= ansi.size() - i ? ToWide(CP_ACP, ansi.data() + i, n, w) : 0;
    if (units <= 0) {
      // A lead byte without a fitting trail byte, or an undefined byte.
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    AppendUtf8(out, w, units);
    i += n;
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    const std::size_t n = Utf8CharLength(utf8.data() + i, utf8.size() - i);
    wchar_t w[4];
    const int units = ToWide(CP_UTF8, utf8.data() + i, n, w);
    i += n;
    if (units <= 0) {
      out += '?';
      continue;
    }
    if (const unsigned char extra = units == 1 && IsCp932() ? cp932::ExtraByte(w[0]) : 0) {
      out += static_cast<char>(extra);
      continue;
    }
    // No best fit: a character the code page lacks becomes '?', not a
    // look-alike that would read differently on the device.
    char buf[8];
    BOOL usedDefault = FALSE;
    const int len = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, units, buf, sizeof buf, "?",
                                          &usedDefault);
    if (len <= 0 || usedDefault) out += '?';
    else out.append(buf, static_cast<std::size_t>(len));
  }
  return out;
}

bool IsAnsiLeadByte(unsigned char c) { return ::IsDBCSLeadByteEx(CP_ACP, c) != 0; }

// The system's single-byte texts are in the ANSI code page, like the device's.
std::string SystemTextToUtf8(std::string_view text) { return AnsiToUtf8(text); }
std::string Utf8ToSystemText(std::string_view utf8) { return Utf8ToAnsi(utf8); }

}  // namespace lx47::platform
