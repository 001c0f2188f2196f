// Files the command line reads and writes: names in UTF-8 on every
// platform, "-" for standard input or output.
#pragma once

#include <cstddef>
#include <string>

namespace lx47::ctl {

// The whole file, at most maxBytes; false with the system's reason.
bool ReadTextFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& why);
// Writes the file whole or not at all (a temporary file beside it, then
// renamed over it); false with the system's reason.
bool WriteTextFile(const std::string& path, const std::string& text, std::string& why);

}  // namespace lx47::ctl
