// The hidden right-double-click gestures count where the home desktop hands
// the click to the window: on its static texts, group boxes, frames and
// disabled controls as on its bare surface, but not on a button, an edit, a
// list or the tabs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <functional>
#include <memory>
#include <optional>

#include "app/LX47ConfigToolDlg.h"
#include "controls/CIPAddrEdit.h"
#include "fakes.h"
#include "app/DlgAppSetting.h"
#include "pages/DlgExtraSettings.h"
#include "pages/DlgNetwork.h"
#include "pages/DlgSerial.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"

using namespace lx47;

namespace {

// A page of the main window that has no controls of its own.
class EmptyPage : public pages::SettingsPage {
 public:
  using SettingsPage::SettingsPage;
  void LoadFromEntry(DeviceEntry&, int) override {}
  void EnableControls(bool, int) override {}
  bool StoreToBlock(DeviceEntry&, bool) override { return true; }
};

// Whether the home desktop would give a click on w to the window beneath.
std::optional<bool> PassesToWindow(QWidget* w) {
  // The parts of a control (the dots of an address edit) are the control's.
  for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
    if (qobject_cast<controls::CIPAddrEdit*>(p)) return std::nullopt;
  if (!w->isEnabled()) return true;
  if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w) || w->metaObject() == &QFrame::staticMetaObject)
    return true;
  if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
      qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTabBar*>(w) || qobject_cast<controls::CIPAddrEdit*>(w))
    return false;
  return std::nullopt;  // containers and parts of other controls: not asked about
}

// A point of owner (in owner's coordinates) where w is the widget hit.
std::optional<QPoint> PointOn(QWidget* owner, QWidget* w) {
  for (int y = 0; y < w->height(); y += 2)
    for (int x = 0; x < w->width(); x += 2) {
      const QPoint at = w->mapTo(owner, QPoint(x, y));
      if (owner->childAt(at) == w) return at;
    }
  return std::nullopt;
}

void RightDoubleClick(QWidget* owner, QWidget* target, QPoint at) {
  const QPointF local = target->mapFrom(owner, at);
  QMouseEvent e(QEvent::MouseButtonDblClick, local, target->mapToGlobal(local), Qt::RightButton, Qt::RightButton,
                Qt::NoModifier);
  QApplication::sendEvent(target, &e);
}

struct Owner {
  const char* name;
  std::function<QWidget*()> open;    // shown, laid out
  std::function<int()> count;        // the gesture's counter
  std::function<void()> reset;       // keeps the counter below the gesture's end
};

class ClickThrough : public ::testing::Test {
 protected:
  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scoped{&store};
  test::RecordingMessages messages;
  test::FakeHostNet net;
  Session session;
};

}  // namespace

TEST_F(ClickThrough, TextsFramesAndGroupBoxesPassTheGestureOnControlsKeepIt) {
  std::unique_ptr<app::LX47ConfigToolDlg> main;
  std::unique_ptr<app::DlgAppSetting> tools;
  std::unique_ptr<pages::DlgNetwork> network;
  std::unique_ptr<pages::DlgSerial> serial;
  std::unique_ptr<pages::DlgSpecial> special;
  const Owner owners[] = {
      {"main window",
       [&] {
         main = std::make_unique<app::LX47ConfigToolDlg>(
             session, nullptr, [](int, QWidget* parent) { return new EmptyPage(parent); });
         main->show();
         main->EnableMainControls(true);  // the selection text and version in sight
         main->SetSelectionText(QStringLiteral("選択 No. 1"));
         main->SetVersionText(QStringLiteral("2.5.7"));
         return main.get();
       },
       [&] { return main->m_RDblClkCount; }, [] {}},
      {"tool settings",
       [&] {
         tools = std::make_unique<app::DlgAppSetting>(session.Settings);
         tools->show();
         return tools.get();
       },
       [&] { return tools->rightDoubleClicks(); }, [] {}},
      {"network page",
       [&] {
         network = std::make_unique<pages::DlgNetwork>();
         network->show();
         return network.get();
       },
       [&] { return network->m_UnlockCount; }, [&] { network->m_UnlockCount = 0; }},
      {"serial page",
       [&] {
         serial = std::make_unique<pages::DlgSerial>();
         serial->show();
         return serial.get();
       },
       [&] { return serial->m_UnlockCount; }, [&] { serial->m_UnlockCount = 0; }},
      {"special page",
       [&] {
         special = std::make_unique<pages::DlgSpecial>(session);
         special->show();
         return special.get();
       },
       [&] { return special->m_ServiceClicks; }, [&] { special->m_ServiceClicks = 0; }},
  };
  for (const Owner& o : owners) {
    SCOPED_TRACE(o.name);
    QWidget* owner = o.open();
    int passing = 0, keeping = 0;
    for (QWidget* w : owner->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      const std::optional<bool> passes = PassesToWindow(w);
      const std::optional<QPoint> at = passes ? PointOn(owner, w) : std::nullopt;
      if (!at) continue;
      o.reset();
      const int before = o.count();
      RightDoubleClick(owner, w, *at);
      EXPECT_EQ(o.count() - before, *passes ? 1 : 0)
          << w->metaObject()->className() << " \"" << w->property("text").toString().toStdString() << "\" "
          << w->property("title").toString().toStdString();
      ++(*passes ? passing : keeping);
    }
    EXPECT_GE(passing, 3);
    EXPECT_GE(keeping, 2);
    // The bare surface counts too.
    o.reset();
    const int before = o.count();
    RightDoubleClick(owner, owner, QPoint(1, 1));
    EXPECT_EQ(o.count() - before, 1);
  }
}
