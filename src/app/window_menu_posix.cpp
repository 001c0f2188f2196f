// The window menu as a button with a drop-down menu in the window's corner.
#include <QBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

#include "app/LX47ConfigToolDlg.h"
#include "app/app_icon.h"
#include "app/window_menu.h"
#include "ui/strings.h"

namespace lx47::app {

void InstallWindowMenu(LX47ConfigToolDlg& dlg, QBoxLayout* corner) {
  auto* button = new QToolButton(&dlg);
  button->setObjectName(QStringLiteral("windowMenuButton"));
  // The tool's own icon, where the Windows title bar has the system menu.
  button->setIcon(AppIcon());
  button->setAutoRaise(true);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setAccessibleName(QStringLiteral("Menu"));

  // Same order and separators as the system menu: the entries above a
  // separator each.
  auto* menu = new QMenu(button);
  menu->setObjectName(QStringLiteral("windowMenu"));
  QAction* reset = menu->addAction(ui::Str(139));
  reset->setData(IDM_FACTORY_RESET);
  menu->addSeparator();
  QAction* tools = menu->addAction(ui::Str(151));
  tools->setData(IDM_TOOL_SETTINGS);
  menu->addSeparator();
  button->setMenu(menu);
  for (QAction* entry : {reset, tools}) {
    QObject::connect(entry, &QAction::triggered, &dlg,
                     [&dlg, entry] { RunWindowMenuCommand(dlg, entry->data().toUInt()); });
  }

  // From the keyboard: Alt+Space as on the home desktop, and the menu key.
  for (const QKeySequence& keys : {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::Key_Menu)}) {
    auto* shortcut = new QShortcut(keys, &dlg);
    QObject::connect(shortcut, &QShortcut::activated, button, &QToolButton::showMenu);
  }
  corner->addWidget(button, 0, Qt::AlignTop);
}

bool HandleWindowMenuMessage(LX47ConfigToolDlg&, void*, qintptr*) { return false; }

}  // namespace lx47::app
