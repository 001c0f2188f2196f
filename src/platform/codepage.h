// Text conversion between UTF-8 and the ANSI code page in which the device
// texts travel: Windows-31J (CP932) on Linux, so that texts written from
// Windows and from Linux read the same; CP_ACP on Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lx47::platform {

// Device bytes to UTF-8; bytes that do not convert become U+FFFD.
std::string AnsiToUtf8(std::string_view ansi);
// UTF-8 to device bytes; characters without a code-page form become '?'.
std::string Utf8ToAnsi(std::string_view utf8);
// Texts the operating system hands over as single bytes (adapter names and
// descriptions): the ANSI code page on Windows, UTF-8 elsewhere.
std::string SystemTextToUtf8(std::string_view text);
std::string Utf8ToSystemText(std::string_view utf8);
// Whether c begins a double-byte character of the ANSI code page.
bool IsAnsiLeadByte(unsigned char c);
// Length of the UTF-8 character at p (left bytes from p on): its full length
// when its continuation bytes are there, else 1 (a stray byte stands alone).
std::size_t Utf8CharLength(const char* p, std::size_t left);
// The longest prefix of ansi of at most maxBytes bytes that does not end
// inside a double-byte character.
std::size_t AnsiPrefixLength(std::string_view ansi, std::size_t maxBytes);

}  // namespace lx47::platform
