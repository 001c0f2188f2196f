// Feeds arbitrary files to the firmware update's file reading and check:
// the bytes read must be the file's, whole, and the verdict must follow from
// them alone (signature, at least one image byte).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/file_read.h"
#include "protocol/firmware_file.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

const std::string& FilePath() {
  static const std::string path = [] {
    char name[] = "/tmp/lx47-fuzz-fw-XXXXXX";
    const int fd = ::mkstemp(name);
    Check(fd >= 0);
    ::close(fd);
    return std::string(name);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::FILE* f = std::fopen(FilePath().c_str(), "wb");
    Check(f != nullptr);
    Check(std::fwrite(data, 1, size, f) == size);
    std::fclose(f);
  }
  std::vector<std::uint8_t> bytes;
  const lx47::platform::FileReadResult r = lx47::platform::ReadWholeFile(FilePath(), lx47::kFirmwareFileMax, bytes);
  Check(r.stage == lx47::platform::FileReadResult::Stage::Ok);
  Check(r.size == size && bytes.size() == size && (size == 0 || std::memcmp(bytes.data(), data, size) == 0));

  const lx47::FirmwareFileVerdict v = lx47::CheckFirmwareFile(bytes);
  const bool signed_ = size >= 4 && std::memcmp(data, "LX47", 4) == 0;
  if (size <= 4) Check(v == lx47::FirmwareFileVerdict::TooShort);
  else Check(v == (signed_ ? lx47::FirmwareFileVerdict::Ok : lx47::FirmwareFileVerdict::WrongSignature));
  return 0;
}
