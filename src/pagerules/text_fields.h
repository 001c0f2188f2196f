// The two kinds of text field of the configuration block as the pages show
// and store them, and the white space the pages trim. Texts on this side
// are UTF-8; the block holds bytes of the ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "protocol/config_block.h"
#include "texts/utf8.h"

namespace lx47::pagerules {

// The white space of typed texts is the one the whole tool trims.
using texts::IsTrimmedSpace;
using texts::Trimmed;
using texts::TrimmedRight;
using texts::Utf16Length;

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
