// The device texts are Windows-31J (CP932) bytes; glibc's iconv converts them.
#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace lx47::platform {
namespace {

constexpr const char* kAnsi = "CP932";

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length of the UTF-8 character at p: its full length when its
// continuation bytes are there, else 1 (a stray byte is replaced alone).
std::size_t Utf8Length(const char* p, std::size_t left) {
  unsigned char c = static_cast<unsigned char>(*p);
  std::size_t n = 1;
  if (c >= 0xF0 && c <= 0xF4) n = 4;
  else if (c >= 0xE0 && c <= 0xEF) n = 3;
  else if (c >= 0xC2 && c <= 0xDF) n = 2;
  if (n > left) return 1;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(p[k]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

// Converts with iconv; at a sequence iconv cannot take, `replacement` is
// written and `skip(at, left)` input bytes are passed over, so one bad byte
// never loses the rest of the text.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement, Skip skip) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No converter: keep what is plain ASCII, replace the rest.
    for (char c : in) {
      if (static_cast<unsigned char>(c) < 0x80) out += c;
      else out += replacement;
    }
    return out;
  }
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buf[256];
  while (srcLeft > 0) {
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ (invalid or unmappable) or EINVAL (cut off at the end).
    std::size_t n = skip(src, srcLeft);
    if (n > srcLeft) n = srcLeft;
    src += n;
    srcLeft -= n;
    out += replacement;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  // Flush any shift state (none for these encodings, but cheap).
  char* dst = buf;
  std::size_t dstLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  out.append(buf, static_cast<std::size_t>(dst - buf));
  iconv_close(cd);
  return out;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  // A bad byte is replaced alone, so that the next character still reads.
  return Convert("UTF-8", kAnsi, ansi, "\xEF\xBF\xBD", [](const char*, std::size_t) { return std::size_t{1}; });
}

std::string Utf8ToAnsi(std::string_view utf8) {
  return Convert(kAnsi, "UTF-8", utf8, "?", Utf8Length);
}

// The system's own texts are UTF-8 here.
std::string SystemTextToUtf8(std::string_view text) { return std::string(text); }
std::string Utf8ToSystemText(std::string_view utf8) { return std::string(utf8); }

std::size_t AnsiPrefixLength(std::string_view ansi, std::size_t maxBytes) {
  std::size_t limit = ansi.size() < maxBytes ? ansi.size() : maxBytes;
  std::size_t i = 0;
  while (i < limit) {
    std::size_t n = IsLeadByte(static_cast<unsigned char>(ansi[i])) ? 2 : 1;
    if (i + n > limit) break;
    i += n;
  }
  return i;
}

}  // namespace lx47::platform
