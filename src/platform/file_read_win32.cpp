#include <windows.h>

#include <algorithm>

#include "platform/file_read.h"

namespace lx47::platform {

namespace {

int CauseOf(DWORD err) {
  switch (err) {
    case ERROR_FILE_NOT_FOUND: return 2;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return 3;
    case ERROR_TOO_MANY_OPEN_FILES: return 4;
    case ERROR_ACCESS_DENIED: return 5;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return 7;
    default: return 1;
  }
}

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize, std::vector<std::uint8_t>& out) {
  FileReadResult r;
  out.clear();
  // Others may write the file while it is open, but not read it.
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    r.stage = FileReadResult::Stage::Open;
    r.error = err;
    r.notFound = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
    r.cause = CauseOf(err);
    return r;
  }
  LARGE_INTEGER len{};
  if (!GetFileSizeEx(h, &len)) {
    r.stage = FileReadResult::Stage::Read;
    r.error = GetLastError();
    CloseHandle(h);
    return r;
  }
  r.size = len.QuadPart > 0 ? static_cast<std::uint64_t>(len.QuadPart) : 0;
  if (r.size > maxSize) {
    r.stage = FileReadResult::Stage::TooLarge;
    CloseHandle(h);
    return r;
  }
  out.assign(static_cast<std::size_t>(r.size), 0);
  std::size_t done = 0;
  while (done < out.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(h, out.data() + done, want, &got, nullptr) || got == 0) {
      r.stage = FileReadResult::Stage::Read;
      r.error = got == 0 && GetLastError() == 0 ? ERROR_HANDLE_EOF : GetLastError();
      break;
    }
    done += got;
  }
  CloseHandle(h);
  return r;
}

}  // namespace lx47::platform
