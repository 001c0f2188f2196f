// The pages hand their edits' texts to the Qt-free rules as UTF-8; the rules
// must trim them exactly as QString does, or a typed text would be stored
// with other ends than before.
#include <gtest/gtest.h>

#include <QString>

#include "pagerules/text_fields.h"

TEST(PageTextTrim, SameWhiteSpaceAsQString) {
  int spaces = 0;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;  // no character of its own
    const QString padded = QString::fromUcs4(&c, 1) + QStringLiteral("x") + QString::fromUcs4(&c, 1);
    const std::string utf8 = padded.toStdString();
    ASSERT_EQ(QString::fromStdString(std::string(lx47::pagerules::Trimmed(utf8))), padded.trimmed()) << std::hex << unsigned(c);
    ASSERT_EQ(lx47::pagerules::IsTrimmedSpace(c), QChar(c).isSpace()) << std::hex << unsigned(c);
    spaces += QChar(c).isSpace();
  }
  EXPECT_EQ(spaces, 25);
}
