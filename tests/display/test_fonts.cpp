// Font faces: sizes in points become pixels at 96 dots per inch; each face finds a family.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "display/fonts.h"
#include "gui_application.h"

namespace zen {
namespace {

TEST(Fonts, PointSizesBecomePixelsAt96DotsPerInch) {
  const struct {
    int points;
    int pixels;
  } cases[] = {{6, 8}, {8, 11}, {12, 16}, {17, 23}, {9, 12}};
  for (const auto& c : cases) EXPECT_EQ(PointsToPixels(c.points), c.pixels) << c.points;
  test::EnsureGuiApplication();
  EXPECT_EQ(ZenFont(TFontFace::MsSansSerif, 8).pixelSize(), 11);
}

TEST(Fonts, EveryFaceResolvesToAnInstalledFamilyWhenAStandInIsInstalled) {
  test::EnsureGuiApplication();
  if (!QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")) &&
      !QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))) {
    GTEST_SKIP() << "neither DejaVu nor Liberation fonts are installed";
  }
  for (TFontFace face :
       {TFontFace::MsSansSerif, TFontFace::MsSerif, TFontFace::SansSherif, TFontFace::Courier}) {
    QString family = FontFamily(face);
    EXPECT_TRUE(QFontDatabase::hasFamily(family)) << qPrintable(family);
  }
  EXPECT_TRUE(QFontInfo(ZenFont(TFontFace::Courier, 10)).fixedPitch());
  EXPECT_FALSE(QFontInfo(ZenFont(TFontFace::MsSansSerif, 10)).fixedPitch());
}

}  // namespace
}  // namespace zen
