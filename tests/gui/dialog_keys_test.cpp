// Enter in the tool's dialogs: on a focused push button it presses that
// button and no other; elsewhere it presses the dialog's default button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <map>
#include <memory>

#include "app/DlgFactoryReset.h"
#include "app/DlgPassword.h"
#include "controls/CMACAddrEdit.h"
#include "fakes.h"
#include "app/DlgAppSetting.h"
#include "page_support.h"
#include "pages/DlgSelectRouter.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"

using namespace lx47;

namespace {

class DialogKeys : public ::testing::Test {
 protected:
  DialogKeys() {
    session.RouterScanTable[0] = test::Router("office", 6, 3, 0xC4, 1);
    session.RouterScanCount = 1;
  }

  // Each dialog opened as its command opens it, with the control that has
  // the focus before Enter: a push button, found by its text, or an edit.
  std::unique_ptr<QDialog> Open(const QString& dialog) {
    if (dialog == "search") {
      auto d = std::make_unique<app::DlgPassword>();
      d->show();
      return d;
    }
    if (dialog == "tools") {
      auto d = std::make_unique<app::DlgAppSetting>(session.Settings);
      d->show();
      return d;
    }
    if (dialog == "reset") {
      auto d = std::make_unique<app::DlgFactoryReset>();
      d->m_Mac = test::Mac(7);
      d->show();
      return d;
    }
    auto d = std::make_unique<pages::DlgSelectRouter>(
        session, [](QWidget*, const pages::RunnerRequest&) { return pages::RunnerOutcome{true, PR_OK}; });
    d->m_SettingIndex = 0;
    d->show();
    d->list()->setCurrentRow(0);  // so that its OK is enabled
    return d;
  }

  store::MemorySettingsStore store;
  ui::ScopedSettingsStore scoped{&store};
  test::RecordingMessages messages;
  test::FakeHostNet net;
  Session session;
};

void PressEnter(QWidget* focused) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(focused, &press);
  QApplication::sendEvent(focused, &release);
}

QPushButton* ButtonByText(QDialog& d, const QString& text) {
  for (QPushButton* b : d.findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

}  // namespace

TEST_F(DialogKeys, EnterPressesTheFocusedButtonElseTheDefault) {
  struct Case {
    const char* dialog;
    const char* focused;   // the text of a push button; nullptr: the first edit
    const char* pressed;   // the button Enter must press
  };
  const Case cases[] = {
      {"search", "検索実行", "検索実行"},
      {"search", "キャンセル", "キャンセル"},
      {"search", "削除", "削除"},
      {"search", nullptr, "検索実行"},
      {"tools", "設定", "設定"},
      {"tools", "キャンセル", "キャンセル"},
      {"tools", "再スキャン", "再スキャン"},
      {"tools", "デフォルト値\nに戻す", "デフォルト値\nに戻す"},
      {"tools", nullptr, "設定"},
      {"reset", "OK", "OK"},
      {"reset", "キャンセル", "キャンセル"},
      {"reset", nullptr, "OK"},
      {"router", "選択", "選択"},
      {"router", "キャンセル", "キャンセル"},
      {"router", "再スキャン", "再スキャン"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dialog) + ": " + (c.focused ? c.focused : "an edit"));
    std::unique_ptr<QDialog> d = Open(QString::fromUtf8(c.dialog));
    QApplication::setActiveWindow(d.get());
    std::map<QPushButton*, int> clicks;
    for (QPushButton* b : d->findChildren<QPushButton*>()) {
      clicks[b] = 0;
      QObject::connect(b, &QPushButton::clicked, d.get(), [&clicks, b] { ++clicks[b]; });
    }

    QWidget* focused = nullptr;
    if (c.focused) {
      focused = ButtonByText(*d, QString::fromUtf8(c.focused));
    } else {
      for (QLineEdit* e : d->findChildren<QLineEdit*>())
        if (e->isVisible() && e->isEnabled() && !e->isReadOnly() && !focused) focused = e;
    }
    ASSERT_NE(focused, nullptr);
    focused->setFocus();
    ASSERT_EQ(d->focusWidget(), focused);
    PressEnter(focused);

    QPushButton* expected = ButtonByText(*d, QString::fromUtf8(c.pressed));
    ASSERT_NE(expected, nullptr);
    for (const auto& [button, count] : clicks)
      EXPECT_EQ(count, button == expected ? 1 : 0) << button->text().toStdString();
  }
}
