// The program's bitmaps: transparency by pixel (1, 1), loading errors, and the shipped files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "display/bitmaps.h"
#include "display/projection.h"
#include "gui_application.h"

namespace zen {
namespace {

const QString kShippedData = QStringLiteral(ZEN_SOURCE_DIR "/resources/Data");

bool CopyShippedData(const QString& programFolder) {
  QDir().mkpath(programFolder + "/Data");
  for (const char* name : kBitmapFiles) {
    QString file = QString::fromLatin1(name).mid(5);
    if (!QFile::copy(kShippedData + "/" + file, programFolder + "/" + name)) return false;
  }
  return true;
}

bool CopySharpData(const QString& programFolder) {
  for (const auto& pair : kSharpBitmapFiles) {
    for (const char* name : pair) {
      QString file = QString::fromLatin1(name).mid(5);
      if (!QFile::copy(kShippedData + "/" + file, programFolder + "/" + name)) return false;
    }
  }
  return true;
}

// The share of the image's pixels that are transparent.
double ClearShare(const QImage& image) {
  int clear = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) clear += qAlpha(image.pixel(x, y)) == 0 ? 1 : 0;
  }
  return static_cast<double>(clear) / (image.width() * image.height());
}

int Brightness(QRgb rgb) {
  return qRed(rgb) + qGreen(rgb) + qBlue(rgb);
}

TEST(WithTransparentColour, ClearsEveryPixelOfTheColourAtOneOne) {
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  image.setPixel(2, 2, qRgb(200, 0, 0));
  image.setPixel(0, 0, qRgb(1, 2, 4));  // one step off the key: stays opaque
  QImage keyed = WithTransparentColour(image);
  EXPECT_EQ(qAlpha(keyed.pixel(1, 1)), 0);
  EXPECT_EQ(qAlpha(keyed.pixel(3, 0)), 0);
  EXPECT_EQ(keyed.pixel(2, 2), qRgba(200, 0, 0, 255));
  EXPECT_EQ(keyed.pixel(0, 0), qRgba(1, 2, 4, 255));
}

class BitmapFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile::exists(kShippedData + "/world.bmp")) << "no data at " << ZEN_SOURCE_DIR;
    ASSERT_TRUE(CopyShippedData(folder.path()));
  }

  QTemporaryDir folder;
  TBitmaps bitmaps;
};

TEST_F(BitmapFiles, LoadsAllSevenWithSymbolsMadeTransparent) {
  TBitmapLoad load = LoadBitmaps(folder.path(), bitmaps);
  ASSERT_TRUE(load.ok) << qPrintable(BitmapErrorText(load));
  EXPECT_EQ(bitmaps.WorldBitmap.size(), QSize(600, 360));
  for (const QImage* symbol : {&bitmaps.SunBitmap, &bitmaps.SatLitBitmap,
                               &bitmaps.SatEclipsedBitmap, &bitmaps.SatActiveBitmap}) {
    EXPECT_EQ(qAlpha(symbol->pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(symbol->pixel(symbol->width() / 2, symbol->height() / 2)), 255)
        << "the symbol's centre is ink";
  }
  EXPECT_TRUE(bitmaps.SunSharp[0].isNull() && bitmaps.LogoSharp[1].isNull())
      << "the sharper drawings are optional";
}

TEST(ForRatio, TakesTheSmallestSharperDrawingLargeEnough) {
  const QImage base(4, 4, QImage::Format_ARGB32);
  const std::array<QImage, 2> both{QImage(8, 8, QImage::Format_ARGB32),
                                   QImage(12, 12, QImage::Format_ARGB32)};
  const std::array<QImage, 2> onlyTwice{both[0], QImage()};
  const std::array<QImage, 2> onlyThrice{QImage(), both[1]};
  const std::array<QImage, 2> none{};
  const struct {
    qreal ratio;
    const std::array<QImage, 2>& sharp;
    int width;  // of the drawing chosen
  } cases[] = {
      {0.5, both, 4},        {1.0, both, 4},      {1.25, both, 8}, {2.0, both, 8},
      {2.5, both, 12},       {3.0, both, 12},     {4.0, both, 12}, {2.5, onlyTwice, 8},
      {1.5, onlyThrice, 12}, {4.0, onlyTwice, 8}, {2.0, none, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ForRatio(base, c.sharp, c.ratio).width(), c.width) << c.ratio;
  }
}

TEST_F(BitmapFiles, ShippedSharperDrawingsLoadAtTheirRatioShapedLikeTheirBase) {
  ASSERT_TRUE(CopySharpData(folder.path()));
  TBitmapLoad load = LoadBitmaps(folder.path(), bitmaps);
  ASSERT_TRUE(load.ok) << qPrintable(BitmapErrorText(load));
  const struct {
    const QImage& base;
    const std::array<QImage, 2>& sharp;
  } drawings[] = {{bitmaps.SunBitmap, bitmaps.SunSharp},
                  {bitmaps.SatLitBitmap, bitmaps.SatLitSharp},
                  {bitmaps.SatEclipsedBitmap, bitmaps.SatEclipsedSharp},
                  {bitmaps.SatActiveBitmap, bitmaps.SatActiveSharp},
                  {bitmaps.LogoBitmap, bitmaps.LogoSharp}};
  for (const auto& d : drawings) {
    for (int i = 0; i < 2; ++i) {
      const QImage& sharp = d.sharp[i];
      EXPECT_EQ(sharp.size(), d.base.size() * (i + 2));
      EXPECT_EQ(sharp.devicePixelRatio(), i + 2);
      EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(d.base.size()));
      EXPECT_EQ(sharp.hasAlphaChannel(), d.base.hasAlphaChannel());
      EXPECT_NEAR(ClearShare(sharp), ClearShare(d.base), 0.12) << d.base.width() << " " << i;
    }
  }
}

TEST_F(BitmapFiles, NamesTheFirstMissingFileInLoadOrder) {
  for (size_t i = 0; i < std::size(kBitmapFiles); ++i) {
    QTemporaryDir other;
    ASSERT_TRUE(CopyShippedData(other.path()));
    // Remove this file and every later one: the message names this one.
    for (size_t j = i; j < std::size(kBitmapFiles); ++j) {
      QFile::remove(other.path() + "/" + kBitmapFiles[j]);
    }
    TBitmapLoad load = LoadBitmaps(other.path(), bitmaps);
    EXPECT_FALSE(load.ok);
    EXPECT_TRUE(load.failedFile.endsWith(QString::fromLatin1(kBitmapFiles[i])))
        << qPrintable(load.failedFile);
    EXPECT_TRUE(BitmapErrorText(load).contains(QStringLiteral("missing")));
  }
  EXPECT_TRUE(bitmaps.WorldBitmap.isNull()) << "nothing kept from a failed load";
}

TEST_F(BitmapFiles, RejectsAFileThatIsNotABitmap) {
  QFile file(folder.path() + "/Data/radar.bmp");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("BM not really a bitmap");
  file.close();
  TBitmapLoad load = LoadBitmaps(folder.path(), bitmaps);
  EXPECT_FALSE(load.ok);
  EXPECT_TRUE(load.failedFile.endsWith(QStringLiteral("Data/radar.bmp")));
  EXPECT_TRUE(load.reason.contains(QStringLiteral("not a readable BMP")));
}

TEST_F(BitmapFiles, RejectsADrawingOfAnotherSize) {
  struct TCase {
    const char* file;
    QSize size;
    const char* wanted;
  };
  // The world map must fit the projection; a sharper drawing must be its base grown exactly.
  const TCase cases[] = {{"Data/world.bmp", {300, 180}, "600 x 360"},
                         {"Data/sun@2x.bmp", {31, 30}, "30 x 30"}};
  for (const TCase& c : cases) {
    QTemporaryDir other;
    ASSERT_TRUE(CopyShippedData(other.path()));
    QImage wrong(c.size, QImage::Format_RGB32);
    wrong.fill(Qt::magenta);
    ASSERT_TRUE(wrong.save(other.path() + "/" + c.file, "BMP"));
    TBitmapLoad load = LoadBitmaps(other.path(), bitmaps);
    EXPECT_FALSE(load.ok) << c.file;
    EXPECT_TRUE(load.failedFile.endsWith(QString::fromLatin1(c.file))) << c.file;
    EXPECT_TRUE(load.reason.contains(QString::fromLatin1(c.wanted))) << qPrintable(load.reason);
    EXPECT_TRUE(bitmaps.SunBitmap.isNull()) << "nothing kept from a failed load";
  }
}

TEST_F(BitmapFiles, ShippedSymbolsAreSmallWithAKeyColourFoundOnlyOutsideTheInk) {
  for (const char* name : {"sun.bmp", "sat_i.bmp", "sat_e.bmp", "sat_s.bmp"}) {
    QImage image(kShippedData + "/" + name);
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_GE(std::min(image.width(), image.height()), 9) << name;
    EXPECT_LE(std::max(image.width(), image.height()), 15) << name;
    // The key colour marks the background: it reaches the border, and every inked pixel
    // differs from it.
    QRgb key = image.pixel(1, 1);
    EXPECT_EQ(image.pixel(0, 0), key) << name;
    EXPECT_NE(image.pixel(image.width() / 2, image.height() / 2), key) << name;
  }
}

TEST_F(BitmapFiles, ShippedRadarChartHasItsHorizonAt68PixelsAndRingsAt30And60) {
  QImage radar(kShippedData + "/radar.bmp");
  ASSERT_EQ(radar.size(), QSize(kRadarImageWidth, kRadarImageHeight));
  // Along the diagonals, away from the cross lines and the labels.
  for (double az : {45.0, 135.0, 225.0, 315.0}) {
    QPoint horizon = AzElToRadar(az, 0);
    QPoint outside = AzElToRadar(az, -8);
    QPoint between = AzElToRadar(az, 15);
    EXPECT_GT(Brightness(radar.pixel(horizon)), Brightness(radar.pixel(between)) + 60) << az;
    EXPECT_LT(Brightness(radar.pixel(outside)), 30) << "dark outside the horizon, az " << az;
    for (double ring : {30.0, 60.0}) {
      QPoint onRing = AzElToRadar(az, ring);
      QPoint offRing = AzElToRadar(az, ring + 7.0);
      EXPECT_GT(Brightness(radar.pixel(onRing)), Brightness(radar.pixel(offRing)) + 30)
          << "ring " << ring << " az " << az;
    }
  }
}

TEST_F(BitmapFiles, ShippedLogoFitsTheLogoArea) {
  QImage logo(kShippedData + "/zenarith.bmp");
  ASSERT_FALSE(logo.isNull());
  EXPECT_LE(logo.width(), kRadarImageWidth);
  EXPECT_LE(logo.height(), kRadarImageHeight);
}

}  // namespace
}  // namespace zen
