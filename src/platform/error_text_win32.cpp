// The system message table, default language, as FormatMessageW gives it.
#include <windows.h>

#include "platform/error_text.h"

namespace lx47::platform {

std::string SystemErrorText(std::uint32_t code) {
  wchar_t buf[256] = {};
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, 256, nullptr);
  if (n == 0) return {};
  char out[1024];
  const int len = ::WideCharToMultiByte(CP_UTF8, 0, buf, static_cast<int>(n), out, sizeof out, nullptr, nullptr);
  return len > 0 ? std::string(out, static_cast<std::size_t>(len)) : std::string();
}

}  // namespace lx47::platform
