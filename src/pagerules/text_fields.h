// The two kinds of text field of the configuration block as the pages show
// and store them, and the white space the pages trim. Texts on this side
// are UTF-8; the block holds bytes of the ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "protocol/config_block.h"

namespace lx47::pagerules {

// The white space a typed text loses at its ends: the ASCII controls \t..\r,
// the space, U+0085, U+00A0 and the Unicode space, line and paragraph
// separators (U+3000, the ideographic space, among them). The same set as
// the widgets' own trimming, so a text trims alike in either place.
bool IsTrimmedSpace(char32_t c);
std::string_view Trimmed(std::string_view utf8);
std::string_view TrimmedRight(std::string_view utf8);

// The length of a UTF-8 text in UTF-16 code units, as an edit counts its
// characters (a character beyond U+FFFF counts two).
std::size_t Utf16Length(std::string_view utf8);

// Space-padded fields (the server's domain name, the two 8-byte passwords):
// replaces, in the block itself, every byte of the field outside 0x20..0x7E
// by a space, then returns the field's text, padding kept. Cleaning the
// stored copy makes an untouched page store back the very same bytes, so a
// block that came with zero bytes here does not count as edited.
std::string CleanAndLoadSpaceText(ConfigBlock& block, field::SpaceText f);
// The text encoded in the ANSI code page, cut at the field's width (never
// inside a double-byte character) and padded on the right with spaces.
void StoreSpaceText(ConfigBlock& block, field::SpaceText f, std::string_view utf8);

// Zero-padded fields (SSIDs, Wi-Fi passwords, the connection messages, the
// TCP password): the bytes up to the first zero byte or the field's width.
std::string LoadZeroText(const ConfigBlock& block, field::ZeroText f);
// The text trimmed at both ends, encoded in the ANSI code page, cut at the
// field's width (never inside a double-byte character, so the device never
// gets half a character), the rest of the field zero.
void StoreZeroText(ConfigBlock& block, field::ZeroText f, std::string_view utf8);
// Every byte of the field zero: the device takes it as "none" or "off".
void ClearZeroText(ConfigBlock& block, field::ZeroText f);

}  // namespace lx47::pagerules
