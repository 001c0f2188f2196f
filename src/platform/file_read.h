// Reading a whole file as raw bytes, with the platform's error code when it
// cannot be opened or read, and a length limit checked before anything is
// allocated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lx47::platform {

struct FileReadResult {
  enum class Stage { Ok, Open, TooLarge, Read };
  Stage stage = Stage::Ok;
  std::uint32_t error = 0;  // the platform's code of the failed open or read
  bool notFound = false;    // the open failed because the file does not exist
  // Kind of open failure: 1 generic, 2 not found, 3 bad path, 4 too many
  // open files, 5 access denied, 7 sharing violation.
  int cause = 0;
  std::uint64_t size = 0;  // the file's length when it could be learnt
};

// Opens path (UTF-8) for reading, letting others write it where the platform
// can say so, learns its length, and stops with TooLarge above maxSize
// without reading. Otherwise reads the whole file into out; a read error or
// a file that ends early is Read, with out holding what was read.
FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize, std::vector<std::uint8_t>& out);

}  // namespace lx47::platform
