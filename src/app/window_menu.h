// The window menu entries of the main window: "LX47 の初期化..." and
// "ツール設定...". On Windows they go into the system menu; Linux desktops
// own the window menu, so there the same entries sit in a menu opened from a
// small button at the top right. Both routes run RunWindowMenuCommand.
#pragma once

#include <QtGlobal>

class QBoxLayout;

namespace lx47::app {

class LX47ConfigToolDlg;

inline constexpr unsigned IDM_FACTORY_RESET = 1111;
inline constexpr unsigned IDM_TOOL_SETTINGS = 1112;

// Adds the entries; corner is the layout of the window's top-right corner,
// where a platform without a usable window menu puts its button.
void InstallWindowMenu(LX47ConfigToolDlg& dlg, QBoxLayout* corner);

// Runs the entry's command; false for a command that is not one of them.
bool RunWindowMenuCommand(LX47ConfigToolDlg& dlg, unsigned command);

// A native window message for the entries (the system menu's commands);
// true when it was one of them and has been handled.
bool HandleWindowMenuMessage(LX47ConfigToolDlg& dlg, void* message, qintptr* result);

}  // namespace lx47::app
