// The coloured label paints its text in the owner's colour.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "controls/CStaticEx.h"

using lx47::controls::CStaticEx;

namespace {

bool Contains(const QImage& img, const QColor& c) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y).rgb() == c.rgb()) return true;
  return false;
}

}  // namespace

TEST(CStaticEx, DefaultsToBlackOnButtonFaceAndRepaintsInNewColour) {
  CStaticEx label(QString::fromUtf16(u"████"));
  QFont f = label.font();
  f.setPixelSize(30);
  label.setFont(f);
  label.resize(200, 50);
  EXPECT_EQ(label.m_TextColor, QColor(Qt::black));
  EXPECT_EQ(label.m_BkColor, QApplication::palette().color(QPalette::Button));

  QImage before = label.grab().toImage();
  EXPECT_TRUE(Contains(before, Qt::black));
  EXPECT_EQ(before.pixelColor(1, 1).rgb(), label.m_BkColor.rgb());

  label.m_TextColor = QColor(167, 0, 47);
  label.m_BkColor = QColor(10, 20, 30);
  QImage after = label.grab().toImage();
  EXPECT_TRUE(Contains(after, QColor(167, 0, 47)));
  EXPECT_FALSE(Contains(after, Qt::black));
  EXPECT_EQ(after.pixelColor(1, 1).rgb(), QColor(10, 20, 30).rgb());
}
