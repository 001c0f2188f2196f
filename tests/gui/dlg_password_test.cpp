#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/DlgPassword.h"
#include "controls/CMACAddrEdit.h"
#include "recording_messages.h"
#include "store/memory_settings_store.h"
#include "ui/settings_store.h"
#include "ui/strings.h"

using lx47::texts::TextId;

using lx47::MacAddress;
using lx47::app::DlgPassword;
using lx47::test::RecordingMessages;
using lx47::store::MemorySettingsStore;
using lx47::ui::ScopedSettingsStore;

namespace {

class DlgPasswordTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  ScopedSettingsStore scoped{&store};
  RecordingMessages msgs;
};

// Opens a dialog with the given inputs (initialisation runs when it shows).
std::unique_ptr<DlgPassword> Open(int oneDevice, int macFlag, MacAddress mac = {}) {
  auto d = std::make_unique<DlgPassword>();
  d->m_OneDevice = oneDevice;
  d->m_SearchMacFlag = macFlag;
  d->m_SearchMac = mac;
  d->show();
  return d;
}

bool Closed(const DlgPassword& d) { return !d.isVisible() && d.result() == QDialog::Accepted; }

}  // namespace

TEST_F(DlgPasswordTest, PasswordChecksAndWhatIsSaved) {
  struct C {
    const char* typed;
    bool save;
    bool accepted;
    const char* password;   // m_Password when accepted
    const char* saved;      // "SavePassword" afterwards; nullptr: absent
  };
  const std::vector<C> cases = {
      {"", true, true, "        ", "        "},
      {"abc", false, true, "abc     ", nullptr},
      {"12345678", true, true, "12345678", "12345678"},
      {" a b", true, true, " a b    ", " a b"},
      {"123456789", true, false, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    store.clear();
    msgs.clear();
    auto d = Open(0, 0);
    d->passwordEdit()->setText(c.typed);
    d->saveBox()->setChecked(c.save);
    d->okButton()->click();
    if (!c.accepted) {
      ASSERT_EQ(msgs.count(), 1);
      EXPECT_EQ(msgs.last().text, "指定可能な文字数は８文字までです。");
      EXPECT_EQ(msgs.last().caption, lx47::ui::AppCaption());
      EXPECT_EQ(msgs.last().buttons, lx47::ui::MsgButtons::Ok);
      EXPECT_TRUE(d->isVisible());
      EXPECT_TRUE(store.keys().isEmpty()) << "nothing may be written before the length check";
      continue;
    }
    EXPECT_EQ(msgs.count(), 0);
    EXPECT_TRUE(Closed(*d));
    EXPECT_EQ(d->m_Password, QByteArray(c.password));
    EXPECT_EQ(store.readInt("SaveFlag", -1), c.save ? 1 : 0);
    EXPECT_EQ(store.readInt("PasswordShow", -1), 0);
    if (c.saved)
      EXPECT_EQ(store.readString("SavePassword", "<absent>"), QString(c.saved));
    else
      EXPECT_FALSE(store.contains("SavePassword"));
  }
}

TEST_F(DlgPasswordTest, SavedPasswordComesBackTrimmedWithTheShowBox) {
  // An empty password is saved as eight blanks and comes back empty.
  auto d = Open(0, 0);
  d->saveBox()->setChecked(true);
  d->showBox()->click();
  d->okButton()->click();
  ASSERT_TRUE(Closed(*d));
  EXPECT_EQ(store.readString("SavePassword"), "        ");
  EXPECT_EQ(store.readInt("PasswordShow", -1), 1);

  store.writeString("SavePassword", "pw \t ");
  auto again = Open(0, 0);
  EXPECT_EQ(again->passwordEdit()->text(), "pw");
  EXPECT_TRUE(again->saveBox()->isChecked());
  EXPECT_TRUE(again->showBox()->isChecked());
  EXPECT_EQ(again->passwordEdit()->echoMode(), QLineEdit::Normal);
  again->showBox()->click();
  EXPECT_EQ(again->passwordEdit()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(again->label()->text(), lx47::ui::Str(TextId::SearchPasswordPrompt));
  EXPECT_EQ(again->okButton()->text(), "検索実行");

  // A saved password is not shown when "SaveFlag" is off.
  store.writeInt("SaveFlag", 0);
  EXPECT_EQ(Open(0, 0)->passwordEdit()->text(), "");
}

TEST_F(DlgPasswordTest, DeleteForgetsTheSavedPasswordButThisSearchUsesIt) {
  store.writeInt("SaveFlag", 1);
  store.writeString("SavePassword", "secret");
  auto d = Open(0, 0);
  d->deleteButton()->click();
  EXPECT_EQ(store.readInt("SaveFlag", -1), 0);
  EXPECT_FALSE(store.contains("SavePassword"));
  EXPECT_FALSE(d->saveBox()->isChecked());
  EXPECT_EQ(d->passwordEdit()->text(), "secret");
  d->okButton()->click();
  ASSERT_TRUE(Closed(*d));
  EXPECT_EQ(d->m_Password, QByteArray("secret  "));
  EXPECT_FALSE(store.contains("SavePassword"));
}

TEST_F(DlgPasswordTest, MacFilterRules) {
  const MacAddress shown{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  struct C {
    const char* name;
    int oneDevice, macFlag;
    const char* typed;  // typed into the MAC edit when it is enabled; nullptr: leave
    bool accepted;
    MacAddress filter;
  };
  const std::vector<C> cases = {
      {"one device without MAC", 1, 0, nullptr, true, {}},
      {"MAC box without one device", 0, 1, nullptr, true, {}},
      {"both: the shown address", 1, 1, nullptr, true, shown},
      {"both: ...:01 is fine", 1, 1, "00:00:00:00:00:01", true, {0, 0, 0, 0, 0, 1}},
      {"both: all FF refused", 1, 1, "FF:FF:FF:FF:FF:FF", false, {}},
      {"both: all zero refused", 1, 1, "00:00:00:00:00:00", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    store.clear();
    msgs.clear();
    auto d = Open(c.oneDevice, c.macFlag, shown);
    EXPECT_EQ(d->oneDeviceBox()->isChecked(), c.oneDevice == 1);
    EXPECT_EQ(d->macBox()->isChecked(), c.macFlag == 1);
    EXPECT_EQ(d->macEdit()->isHidden(), c.oneDevice != 1);
    EXPECT_EQ(d->macBox()->isHidden(), c.oneDevice != 1);
    EXPECT_EQ(d->macEdit()->text(), "00:11:22:33:44:55");
    if (c.typed) d->macEdit()->setText(c.typed);
    d->okButton()->click();
    EXPECT_EQ(d->m_OneDevice, c.oneDevice);
    EXPECT_EQ(d->m_SearchMacFlag, c.macFlag);
    if (c.accepted) {
      EXPECT_TRUE(Closed(*d));
      EXPECT_EQ(d->m_SearchMac, c.filter);
      EXPECT_EQ(msgs.count(), 0);
    } else {
      EXPECT_TRUE(d->isVisible());
      ASSERT_EQ(msgs.count(), 1);
      EXPECT_EQ(msgs.last().text, "MACアドレスは正しくありません。");
      EXPECT_EQ(msgs.last().icon, lx47::ui::MsgIcon::Exclamation);
      EXPECT_EQ(msgs.last().caption, lx47::ui::AppCaption());
      // The settings were written before the address was checked.
      EXPECT_EQ(store.readInt("SaveFlag", -1), 0);
      EXPECT_EQ(store.readInt("PasswordShow", -1), 0);
      EXPECT_EQ(d->m_SearchMac, shown) << "a refused address leaves the input as it was";
    }
  }
}

TEST_F(DlgPasswordTest, RecheckingTheMacBoxShowsTheGivenAddressAgain) {
  const MacAddress given{0xAA, 0xBB, 0xCC, 0x00, 0x00, 0x01};
  auto d = Open(1, 0, given);
  EXPECT_FALSE(d->macEdit()->isEnabled());
  d->macBox()->click();
  EXPECT_TRUE(d->macEdit()->isEnabled());
  d->macEdit()->setText("12:34:56:78:9A:BC");
  d->macBox()->click();
  EXPECT_FALSE(d->macEdit()->isEnabled());
  EXPECT_EQ(d->macEdit()->text(), "12:34:56:78:9A:BC") << "unchecking leaves the text";
  d->macBox()->click();
  EXPECT_EQ(d->macEdit()->text(), "AA:BB:CC:00:00:01");
  // Hiding by the one-device box keeps both check state and text.
  d->oneDeviceBox()->click();
  EXPECT_TRUE(d->macEdit()->isHidden());
  EXPECT_TRUE(d->macBox()->isChecked());
  d->okButton()->click();
  ASSERT_TRUE(Closed(*d));
  EXPECT_EQ(d->m_SearchMac, MacAddress{});
  EXPECT_EQ(d->m_OneDevice, 0);
  EXPECT_EQ(d->m_SearchMacFlag, 1);
}

TEST_F(DlgPasswordTest, CancelWritesNothing) {
  auto d = Open(1, 1, {1, 2, 3, 4, 5, 6});
  d->passwordEdit()->setText("abc");
  d->saveBox()->setChecked(true);
  d->showBox()->click();
  d->cancelButton()->click();
  EXPECT_EQ(d->result(), QDialog::Rejected);
  EXPECT_TRUE(store.keys().isEmpty());
}

TEST(DlgPasswordPadding, EightBytesInTheDeviceCodePage) {
  EXPECT_EQ(DlgPassword::PaddedPassword(""), QByteArray("        "));
  EXPECT_EQ(DlgPassword::PaddedPassword("abcdefgh"), QByteArray("abcdefgh"));
  // A double-byte character that would end past byte 8 is left out whole.
  EXPECT_EQ(DlgPassword::PaddedPassword(QString::fromUtf8("abcdefgあ")), QByteArray("abcdefg "));
  EXPECT_EQ(DlgPassword::PaddedPassword(QString::fromUtf8("あ")), QByteArray("\x82\xa0      "));
}

TEST_F(DlgPasswordTest, WholeMacAddressIsInSight) {
  auto d = Open(1, 1, MacAddress{0x00, 0x80, 0x47, 0x12, 0x34, 0x56});
  QApplication::processEvents();
  const auto* edit = d->macEdit();
  const int needed = edit->fontMetrics().horizontalAdvance(edit->text());
  // The text area of a line edit is its contents less the frame's margins.
  EXPECT_GE(edit->contentsRect().width() - 8, needed);
}
