// Zero-padded text fields of the configuration block (SSIDs, passwords,
// messages) as the Wi-Fi and Special pages show and store them: bytes in the
// ANSI code page, padded with zero bytes, no terminator when the text fills
// the field.
#pragma once

#include <QString>

#include "protocol/config_block.h"

namespace lx47::pages {

// The bytes up to the first zero byte or the field's width, decoded from the
// ANSI code page.
QString LoadZeroText(const ConfigBlock& block, field::ZeroText f);

// The text with white space removed at both ends, encoded in the ANSI code
// page, cut at the field's width (never inside a double-byte character, so
// the device never gets half a character), the rest of the field zero.
void StoreZeroText(ConfigBlock& block, field::ZeroText f, const QString& text);

}  // namespace lx47::pages
