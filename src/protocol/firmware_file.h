// The verdict on a firmware file: the product's signature "LX47" in its first
// four bytes, an image of at least one byte after it, and no more than the
// transfer can carry. Takes the file's bytes, shows nothing.
#pragma once

#include <cstdint>
#include <span>

namespace lx47 {

// The transfer's length is a signed 32-bit count and so is the tool's file
// length; a longer file is refused before it is read.
inline constexpr std::uint64_t kFirmwareFileMax = 0x7FFFFFFFu;
inline constexpr std::size_t kFirmwareSignatureSize = 4;

enum class FirmwareFileVerdict { Ok, TooLarge, TooShort, WrongSignature };

// By length alone: TooLarge above kFirmwareFileMax, otherwise Ok.
FirmwareFileVerdict CheckFirmwareFileSize(std::uint64_t size);
// The whole file: TooLarge, TooShort (4 bytes or fewer), WrongSignature
// (anything but "LX47", case counting) or Ok.
FirmwareFileVerdict CheckFirmwareFile(std::span<const std::uint8_t> file);

}  // namespace lx47
