#include "ctl/files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/file_read.h"
#include "platform/error_text.h"

namespace lx47::ctl {

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The platform's own code of a failed open or read.
std::string Reason(std::uint32_t code) {
  std::string text = platform::SystemErrorText(code);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text.empty() ? std::to_string(code) : text;
}

// The C library's, as the streams leave it.
std::string ErrnoReason(int code) { return std::generic_category().message(code); }

}  // namespace

bool ReadTextFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& why) {
  if (path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (text.size() > maxBytes) {
      why = ErrnoReason(EFBIG);
      return false;
    }
    return true;
  }
  std::vector<std::uint8_t> bytes;
  const platform::FileReadResult r = platform::ReadWholeFile(path, maxBytes, bytes);
  switch (r.stage) {
    case platform::FileReadResult::Stage::Ok:
      text.assign(bytes.begin(), bytes.end());
      return true;
    case platform::FileReadResult::Stage::TooLarge: why = ErrnoReason(EFBIG); return false;
    default: why = Reason(r.error); return false;
  }
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& why) {
  if (path == "-") {
    std::cout << text << std::flush;
    return static_cast<bool>(std::cout);
  }
  const std::filesystem::path target = PathOf(path);
  std::filesystem::path temporary = target;
  temporary += ".lx47ctl-new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      why = ErrnoReason(errno);
      return false;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      why = ErrnoReason(errno);
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    why = ec.message();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace lx47::ctl
