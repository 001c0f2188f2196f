// The product version from the running executable's version resource: the
// string "ProductVersion" of the first language and code page that the
// resource's translation table lists. Any step that fails gives an empty
// version, and the title then ends in "Ver ".
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/LX47ConfigToolApp.h"

namespace lx47::app {

QString ProductVersion() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> info(size);
  if (!GetFileVersionInfoW(path, 0, size, info.data())) return {};

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* table = nullptr;
  UINT tableBytes = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&table), &tableBytes) ||
      tableBytes < sizeof(Translation))
    return {};
  // The key is the language in the high and the code page in the low 16 bits.
  wchar_t key[64];
  std::swprintf(key, 64, L"\\StringFileInfo\\%08lx\\%ls",
                (static_cast<unsigned long>(table[0].language) << 16) | table[0].codePage, L"ProductVersion");
  wchar_t* value = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&value), &chars) || !value || chars == 0) return {};
  return QString::fromWCharArray(value);  // the count includes the ending zero: stop there
}

}  // namespace lx47::app
