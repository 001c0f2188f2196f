#include <windows.h>
#include <io.h>
#include <shellapi.h>

#include "ctl/console.h"

namespace lx47::ctl {

std::vector<std::string> Utf8Arguments(int, char**) {
  std::vector<std::string> out;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return out;
  for (int i = 1; i < count; ++i) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? static_cast<std::size_t>(n - 1) : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, s.data(), n, nullptr, nullptr);
    out.push_back(std::move(s));
  }
  LocalFree(wide);
  return out;
}

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

void PrepareConsole() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace lx47::ctl
