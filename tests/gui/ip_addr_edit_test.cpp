// The IPv4 address edit: byte order, blank fields, and typing across fields.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <cstring>

#include "controls/CIPAddrEdit.h"
#include "keys.h"

using lx47::controls::CIPAddrEdit;
using namespace lx47::test;

namespace {

using Bytes4 = std::array<std::uint8_t, 4>;

// Keys go to whichever field has the focus at that moment, as a keyboard's do.
void typeInto(CIPAddrEdit& e, const std::vector<KeyStep>& keys) {
  for (const KeyStep& k : keys) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    sendKey(target, k);
  }
}

class IpEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit.show();
    edit.activateWindow();
    edit.field(0)->setFocus();
    QApplication::processEvents();
  }
  CIPAddrEdit edit;
};

}  // namespace

TEST_F(IpEditTest, NetworkOrderAndBlankFields) {
  const std::uint8_t wire[4] = {192, 168, 1, 20};
  std::uint32_t v;
  std::memcpy(&v, wire, 4);
  edit.setAddress(v);
  EXPECT_EQ(edit.field(0)->text(), "192");
  EXPECT_EQ(edit.field(3)->text(), "20");
  EXPECT_EQ(edit.address(), v);
  EXPECT_EQ(edit.text(), "192.168.1.20");

  edit.field(1)->clear();
  EXPECT_EQ(edit.bytes(), (Bytes4{192, 0, 1, 20}));
  EXPECT_FALSE(edit.isBlank());
  edit.clearAddress();
  EXPECT_TRUE(edit.isBlank());
  EXPECT_EQ(edit.address(), 0u);
}

TEST_F(IpEditTest, Typing) {
  struct Case {
    const char* name;
    std::vector<KeyStep> keys;
    Bytes4 bytes;
    const char* fields[4];
  };
  const std::vector<Case> cases = {
      {"dots move on", Typed("10.1.2.3"), {10, 1, 2, 3}, {"10", "1", "2", "3"}},
      {"third digit moves on, a dot in the empty field after it is ignored", Typed("192.168.1.2"),
       {192, 168, 1, 2}, {"192", "168", "1", "2"}},
      {"above 255 becomes 255", Typed("300.7"), {255, 7, 0, 0}, {"255", "7", "", ""}},
      {"dot in an empty field stays there", Typed(".5"), {5, 0, 0, 0}, {"5", "", "", ""}},
      {"letters are refused", Typed("1a2"), {12, 0, 0, 0}, {"12", "", "", ""}},
      {"leaving a field drops its leading zeros", Typed("010.7"), {10, 7, 0, 0}, {"10", "7", "", ""}},
      {"backspace from an empty field erases in the previous one",
       [] {
         auto k = Typed("12.");
         k.push_back(K(Qt::Key_Backspace));
         k.push_back(K(Qt::Key_Backspace));
         auto more = Typed("3.4");
         k.insert(k.end(), more.begin(), more.end());
         return k;
       }(),
       {13, 4, 0, 0}, {"13", "4", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit.clearAddress();
    edit.field(0)->setFocus();
    typeInto(edit, c.keys);
    EXPECT_EQ(edit.bytes(), c.bytes);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(edit.field(i)->text(), c.fields[i]) << "field " << i;
  }
}

TEST_F(IpEditTest, PasteOfADottedAddressFillsEveryField) {
  QGuiApplication::clipboard()->setText(QStringLiteral("172.16.0.9"));
  typeInto(edit, {Ctrl(Qt::Key_V)});
  EXPECT_EQ(edit.bytes(), (Bytes4{172, 16, 0, 9}));
  // Not an address: nothing changes.
  QGuiApplication::clipboard()->setText(QStringLiteral("1.2.3.400"));
  typeInto(edit, {Ctrl(Qt::Key_V)});
  EXPECT_EQ(edit.bytes(), (Bytes4{172, 16, 0, 9}));
}
