// The window menu entries in the system menu: two entries with separators at
// the top, two separators at the bottom; the commands arrive as
// WM_SYSCOMMAND, compared on the low 16 bits of the command word.
#include <windows.h>

#include <QBoxLayout>

#include "app/LX47ConfigToolDlg.h"
#include "app/window_menu.h"
#include "ui/strings.h"

namespace lx47::app {

void InstallWindowMenu(LX47ConfigToolDlg& dlg, QBoxLayout*) {
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(dlg.winId()), FALSE);
  if (!menu) return;
  const std::wstring reset = ui::Str(139).toStdWString();
  const std::wstring tools = ui::Str(151).toStdWString();
  InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, IDM_FACTORY_RESET, reset.c_str());
  InsertMenuW(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(menu, 2, MF_BYPOSITION | MF_STRING, IDM_TOOL_SETTINGS, tools.c_str());
  InsertMenuW(menu, 3, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

bool HandleWindowMenuMessage(LX47ConfigToolDlg& dlg, void* message, qintptr* result) {
  const MSG* msg = static_cast<const MSG*>(message);
  if (msg->message != WM_SYSCOMMAND) return false;
  switch (LOWORD(msg->wParam)) {
    case IDM_FACTORY_RESET: dlg.OnFactoryReset(); break;
    case IDM_TOOL_SETTINGS: dlg.OnToolSettings(); break;
    default: return false;
  }
  *result = 0;
  return true;
}

}  // namespace lx47::app
