// The window menu as a button with a drop-down menu in the window's corner.
// The button shows only the tool's icon, so its tooltip and accessible name
// say what it holds and how to reach it from the keyboard; and the menu,
// which Qt keeps out of the accessibility tree as a pop-up window, is
// reported there as the button's child while it is open.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMetaObject>
#include <QShortcut>
#include <QToolButton>

#include "app/LX47ConfigToolDlg.h"
#include "app/app_icon.h"
#include "app/window_menu.h"
#include "ui/strings.h"

namespace lx47::app {

using texts::TextId;

namespace {

const char* const kButtonName = "windowMenuButton";

// The button for accessibility tools: a menu button whose one child is the
// open menu, so that a screen reader or a test walking the tree finds the
// entries; pressing it opens the menu.
class WindowMenuAccessible final : public QAccessibleWidget {
 public:
  explicit WindowMenuAccessible(QToolButton* button) : QAccessibleWidget(button, QAccessible::ButtonMenu) {}

  int childCount() const override { return openMenu() ? 1 : 0; }
  QAccessibleInterface* child(int index) const override {
    QMenu* menu = openMenu();
    return index == 0 && menu ? QAccessible::queryAccessibleInterface(menu) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    QMenu* menu = openMenu();
    return child && menu && child->object() == menu ? 0 : -1;
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.hasPopup = true;
    s.expanded = openMenu() != nullptr;
    s.collapsed = !s.expanded;
    return s;
  }
  QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
  void doAction(const QString& action) override {
    // The menu runs a loop of its own; the tool answers the caller first.
    if (action == pressAction() || action == showMenuAction())
      QMetaObject::invokeMethod(button(), &QToolButton::showMenu, Qt::QueuedConnection);
  }

 private:
  QToolButton* button() const { return static_cast<QToolButton*>(widget()); }
  QMenu* openMenu() const {
    QMenu* menu = button()->menu();
    return menu && menu->isVisible() ? menu : nullptr;
  }
};

QAccessibleInterface* WindowMenuFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("QToolButton") && object && object->objectName() == QLatin1String(kButtonName))
    return new WindowMenuAccessible(static_cast<QToolButton*>(object));
  return nullptr;
}

}  // namespace

void InstallWindowMenu(LX47ConfigToolDlg& dlg, QBoxLayout* corner) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(WindowMenuFactory);
    return true;
  }();
  (void)factoryInstalled;

  // From the keyboard: Alt+Space as on the home desktop, and the menu key.
  const QKeySequence keys[] = {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::Key_Menu)};
  const QString name = ui::Str(TextId::WindowMenuName);

  auto* button = new QToolButton(&dlg);
  button->setObjectName(QLatin1String(kButtonName));
  // The tool's own icon, where the Windows title bar has the system menu.
  button->setIcon(AppIcon());
  button->setAutoRaise(true);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setAccessibleName(name);
  button->setToolTip(ui::Str(texts::WindowMenuTipText(
      ui::Utf8(name), ui::Utf8(ui::Str(TextId::FactoryResetMenu).remove(QStringLiteral("..."))),
      ui::Utf8(ui::Str(TextId::ToolSettingsMenu).remove(QStringLiteral("..."))),
      ui::Utf8(keys[0].toString(QKeySequence::NativeText)))));
  button->setAccessibleDescription(button->toolTip());

  // Same order and separators as the system menu: the entries above a
  // separator each.
  auto* menu = new QMenu(name, button);
  menu->setObjectName(QStringLiteral("windowMenu"));
  QAction* reset = menu->addAction(ui::Str(TextId::FactoryResetMenu));
  reset->setData(IDM_FACTORY_RESET);
  menu->addSeparator();
  QAction* tools = menu->addAction(ui::Str(TextId::ToolSettingsMenu));
  tools->setData(IDM_TOOL_SETTINGS);
  menu->addSeparator();
  button->setMenu(menu);
  for (QAction* entry : {reset, tools}) {
    QObject::connect(entry, &QAction::triggered, &dlg,
                     [&dlg, entry] { RunWindowMenuCommand(dlg, entry->data().toUInt()); });
  }
  // Tells the tools that the button has a child now, once the menu is up.
  QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
    QMetaObject::invokeMethod(
        menu,
        [menu] {
          if (!menu->isVisible()) return;
          QAccessibleEvent shown(menu, QAccessible::ObjectCreated);
          QAccessible::updateAccessibility(&shown);
        },
        Qt::QueuedConnection);
  });

  for (const QKeySequence& k : keys) {
    auto* shortcut = new QShortcut(k, &dlg);
    QObject::connect(shortcut, &QShortcut::activated, button, &QToolButton::showMenu);
  }
  corner->addWidget(button, 0, Qt::AlignTop);
}

bool HandleWindowMenuMessage(LX47ConfigToolDlg&, void*, qintptr*) { return false; }

}  // namespace lx47::app
