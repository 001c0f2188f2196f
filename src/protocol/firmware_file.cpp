#include "protocol/firmware_file.h"

#include <cstring>

namespace lx47 {

FirmwareFileVerdict CheckFirmwareFileSize(std::uint64_t size) {
  return size > kFirmwareFileMax ? FirmwareFileVerdict::TooLarge : FirmwareFileVerdict::Ok;
}

FirmwareFileVerdict CheckFirmwareFile(std::span<const std::uint8_t> file) {
  if (CheckFirmwareFileSize(file.size()) != FirmwareFileVerdict::Ok) return FirmwareFileVerdict::TooLarge;
  if (file.size() <= kFirmwareSignatureSize) return FirmwareFileVerdict::TooShort;
  if (std::memcmp(file.data(), "LX47", kFirmwareSignatureSize) != 0) return FirmwareFileVerdict::WrongSignature;
  return FirmwareFileVerdict::Ok;
}

}  // namespace lx47
