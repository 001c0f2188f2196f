// The window menu entries in the system menu: two entries with separators at
// the top, two separators at the bottom. Their commands arrive as
// WM_SYSCOMMAND in the window's native events and take the same route as
// the menu button's on Linux; every other system command keeps Qt's and the
// system's default handling.
#include <windows.h>

#include <QBoxLayout>
#include <string>

#include "app/LX47ConfigToolDlg.h"
#include "app/window_menu.h"
#include "ui/strings.h"

namespace lx47::app {

using texts::TextId;

void InstallWindowMenu(LX47ConfigToolDlg& dlg, QBoxLayout*) {
  // winId() makes the native window now, so that its system menu exists.
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(dlg.winId()), FALSE);
  if (!menu) return;
  const std::wstring reset = ui::Str(TextId::FactoryResetMenu).toStdWString();
  const std::wstring tools = ui::Str(TextId::ToolSettingsMenu).toStdWString();
  InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, IDM_FACTORY_RESET, reset.c_str());
  InsertMenuW(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(menu, 2, MF_BYPOSITION | MF_STRING, IDM_TOOL_SETTINGS, tools.c_str());
  InsertMenuW(menu, 3, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

bool HandleWindowMenuMessage(LX47ConfigToolDlg& dlg, void* message, qintptr* result) {
  const MSG* msg = static_cast<const MSG*>(message);
  if (!msg || msg->message != WM_SYSCOMMAND) return false;
  if (!RunWindowMenuCommand(dlg, static_cast<unsigned>(LOWORD(msg->wParam)))) return false;
  *result = 0;
  return true;
}

}  // namespace lx47::app
