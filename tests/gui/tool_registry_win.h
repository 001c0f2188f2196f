// The tool settings of this test program in the current user's registry,
// HKCU\Software\Orvane Systems\<program name>\Setting, read and written with
// the Win32 API itself: tests see the value types the registry really holds,
// and prepare values as another program (an earlier tool, regedit) would.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <QByteArray>
#include <QString>
#include <cstring>
#include <optional>
#include <string>

#include "ui/message_service.h"

namespace lx47::test {

inline std::wstring ToolKeyPath() { return L"Software\\Orvane Systems\\" + ui::AppName().toStdWString(); }
inline std::wstring SettingKeyPath() { return ToolKeyPath() + L"\\Setting"; }

// The program's key is absent while a test runs and after it: the tests and
// the tool processes they start share the user's registry.
class ScopedToolKey {
 public:
  ScopedToolKey() { Remove(); }
  ~ScopedToolKey() { Remove(); }
  ScopedToolKey(const ScopedToolKey&) = delete;
  ScopedToolKey& operator=(const ScopedToolKey&) = delete;

  static void Remove() {
    RegDeleteTreeW(HKEY_CURRENT_USER, ToolKeyPath().c_str());
    // Fails, and so keeps it, while another program's key is below it.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvane Systems");
  }
};

struct RegValue {
  DWORD type = REG_NONE;
  QByteArray data;

  // REG_DWORD data as a number.
  DWORD dword() const {
    DWORD v = 0;
    if (data.size() == sizeof v) std::memcpy(&v, data.constData(), sizeof v);
    return v;
  }
  // REG_SZ data without its terminating zero.
  QString text() const {
    QString s = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data.constData()),
                                        data.size() / int(sizeof(wchar_t)));
    while (s.endsWith(QChar::Null)) s.chop(1);
    return s;
  }
};

// A value of the section; nothing when it is absent.
inline std::optional<RegValue> ReadSetting(const QString& name) {
  const std::wstring n = name.toStdWString();
  DWORD type = 0, size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, SettingKeyPath().c_str(), n.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                   nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  RegValue v;
  v.type = type;
  v.data.resize(int(size));
  if (RegGetValueW(HKEY_CURRENT_USER, SettingKeyPath().c_str(), n.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                   v.data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  v.data.resize(int(size));
  return v;
}

inline bool WriteSettingDword(const QString& name, DWORD value) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, SettingKeyPath().c_str(), name.toStdWString().c_str(), REG_DWORD, &value,
                         sizeof value) == ERROR_SUCCESS;
}

inline bool WriteSettingText(const QString& name, const QString& value) {
  const std::wstring v = value.toStdWString();
  return RegSetKeyValueW(HKEY_CURRENT_USER, SettingKeyPath().c_str(), name.toStdWString().c_str(), REG_SZ, v.c_str(),
                         DWORD((v.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace lx47::test

#endif  // _WIN32
