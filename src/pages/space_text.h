// Space-padded text fields of the configuration block (the server's domain
// name and the two 8-byte passwords): single-byte characters padded on the
// right with spaces, no terminator, spaces only meaning "none".
#pragma once

#include <QString>

#include "protocol/config_block.h"

namespace lx47::pages {

// Replaces, in the block itself, every byte of the field outside 0x20..0x7E
// by a space, then returns the field's text decoded from the ANSI code page.
// Cleaning the stored copy makes an untouched page store back the very same
// bytes, so a block that came with zero bytes here does not count as edited.
// The text keeps its padding; callers trim it as their field wants.
QString CleanAndLoadSpaceText(ConfigBlock& block, field::SpaceText f);

// The text encoded in the ANSI code page, cut at the field's width (never
// inside a double-byte character) and padded on the right with spaces.
void StoreSpaceText(ConfigBlock& block, field::SpaceText f, const QString& text);

// The text without its trailing white space.
QString TrimmedRight(const QString& text);

}  // namespace lx47::pages
