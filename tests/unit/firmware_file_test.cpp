// The firmware file's verdict: signature, length and the transfer's limit.
#include <gtest/gtest.h>

#include <string>

#include "protocol/firmware_file.h"

using namespace lx47;

namespace {

FirmwareFileVerdict Check(const std::string& s) {
  return CheckFirmwareFile(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
}

}  // namespace

TEST(FirmwareFile, Verdicts) {
  EXPECT_EQ(Check(""), FirmwareFileVerdict::TooShort);
  EXPECT_EQ(Check("LX4"), FirmwareFileVerdict::TooShort);
  EXPECT_EQ(Check("LX47"), FirmwareFileVerdict::TooShort);
  EXPECT_EQ(Check(std::string("LX47\0", 5)), FirmwareFileVerdict::Ok);
  EXPECT_EQ(Check("LX47 image"), FirmwareFileVerdict::Ok);
  EXPECT_EQ(Check("lx47 image"), FirmwareFileVerdict::WrongSignature);
  EXPECT_EQ(Check("LX46 image"), FirmwareFileVerdict::WrongSignature);
  EXPECT_EQ(Check(" LX47image"), FirmwareFileVerdict::WrongSignature);
}

TEST(FirmwareFile, LengthLimitIsTheTransfersSignedCount) {
  EXPECT_EQ(CheckFirmwareFileSize(0x7FFFFFFFu), FirmwareFileVerdict::Ok);
  EXPECT_EQ(CheckFirmwareFileSize(0x80000000u), FirmwareFileVerdict::TooLarge);
  EXPECT_EQ(CheckFirmwareFileSize(~std::uint64_t{0}), FirmwareFileVerdict::TooLarge);
}
