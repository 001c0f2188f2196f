// The device texts are Windows-31J (CP932) bytes; glibc's iconv converts them.
// Converted one character at a time, the way the Windows twin does, so that
// both read and write the same bytes the same way: a byte or a character
// that does not convert is replaced alone and never costs the rest of the
// text (device texts are a few dozen bytes).
#include "platform/codepage.h"

#include <iconv.h>

#include "platform/cp932_extras.h"

namespace lx47::platform {
namespace {

constexpr const char* kAnsi = "CP932";
constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of a whole UTF-8 sequence of n bytes (n from Utf8Length).
char32_t DecodeUtf8(const char* p, std::size_t n) {
  const auto b = [p](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(p[k])); };
  switch (n) {
    case 2: return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3: return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4: return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default: return b(0);
  }
}

// One iconv descriptor for one conversion call; without a converter every
// character counts as one that does not convert.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_Cd(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(m_Cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts exactly the n bytes at p, all or nothing; true when they make
  // whole characters that were all converted.
  bool Whole(const char* p, std::size_t n, std::string& out) {
    if (!ok()) return false;
    iconv(m_Cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(p);
    std::size_t srcLeft = n;
    char buf[16];
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    if (iconv(m_Cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0) return false;
    out.append(buf, static_cast<std::size_t>(dst - buf));
    return true;
  }

 private:
  bool ok() const { return m_Cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t m_Cd;
};

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  Converter cv("UTF-8", kAnsi);
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
    // The five bytes glibc's CP932 lacks.
    if (const char32_t extra = cp932::ExtraChar(c)) {
      AppendUtf8(out, extra);
      ++i;
      continue;
    }
    const std::size_t n = IsAnsiLeadByte(c) ? 2 : 1;
    if (n > ansi.size() - i || !cv.Whole(ansi.data() + i, n, out)) {
      // A lead byte without a fitting trail byte, or an undefined byte: the
      // next byte is read on its own again.
      out += kReplacement;
      ++i;
      continue;
    }
    i += n;
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  Converter cv(kAnsi, "UTF-8");
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
    const char32_t ch = DecodeUtf8(utf8.data() + i, n);
    if (const unsigned char extra = n > 1 ? cp932::ExtraByte(ch) : 0)
      out += static_cast<char>(extra);
    else if (!cv.Whole(utf8.data() + i, n, out))
      out += '?';
    i += n;
  }
  return out;
}

// CP932's lead bytes.
bool IsAnsiLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The system's own texts are UTF-8 here.
std::string SystemTextToUtf8(std::string_view text) { return std::string(text); }
std::string Utf8ToSystemText(std::string_view utf8) { return std::string(utf8); }

}  // namespace lx47::platform
