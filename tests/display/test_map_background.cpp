// The map's background: the world bitmap at (15, 15), labels and compass letters round it.
#include <gtest/gtest.h>

#include "display/canvas.h"
#include "display/map_background.h"
#include "display/projection.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

int MaxBrightness(const QImage& image, const QRect& area) {
  int best = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      QRgb p = image.pixel(x, y);
      best = std::max({best, qRed(p), qGreen(p), qBlue(p)});
    }
  }
  return best;
}

class MapBackground : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    world = QImage(kMapAreaWidth, kMapAreaHeight, QImage::Format_RGB32);
    // A gradient, so that an offset by one pixel shows.
    for (int y = 0; y < world.height(); ++y) {
      for (int x = 0; x < world.width(); ++x) world.setPixel(x, y, qRgb(x % 256, y % 256, 77));
    }
    image = QImage(kMapImageWidth, kMapImageHeight, QImage::Format_RGB32);
    image.fill(Qt::red);
    TCanvas canvas(image);
    DrawMapBackground(canvas, world, nullptr);
  }

  QImage world;
  QImage image;
};

TEST_F(MapBackground, WorldBitmapFillsTheMapAreaExactly) {
  for (QPoint p : {QPoint(0, 0), QPoint(599, 359), QPoint(300, 180), QPoint(17, 251)}) {
    EXPECT_EQ(image.pixel(p + QPoint(MapLeft, MapLeft)), world.pixel(p)) << p.x() << "," << p.y();
  }
  // The margin right of and below the map is black.
  EXPECT_TRUE(test::IsColour(image, 620, 200, Qt::black));
  EXPECT_TRUE(test::IsColour(image, 300, 380, Qt::black));
}

TEST_F(MapBackground, LabelsAreWhiteAndCompassLettersGrey) {
  // "0" above Greenwich, "60" beside latitude 60 N: brighter than any grey letter can be.
  EXPECT_GT(MaxBrightness(image, QRect(308, 3, 14, 10)), 0x90);
  EXPECT_GT(MaxBrightness(image, QRect(0, 71, 15, 10)), 0x90);
  // "W" and "E" either side of Greenwich, "N" and "S" either side of the equator.
  for (QRect letter :
       {QRect(290, 3, 10, 10), QRect(335, 3, 10, 10), QRect(5, 165, 9, 10), QRect(5, 220, 9, 10)}) {
    int brightest = MaxBrightness(image, letter);
    EXPECT_GT(brightest, 0x40) << letter.x() << "," << letter.y();
    EXPECT_LE(brightest, 0x90) << letter.x() << "," << letter.y();
  }
  // Nothing at latitude 90.
  EXPECT_EQ(MaxBrightness(image, QRect(0, 11, 15, 4)), 0);
}

}  // namespace
}  // namespace zen
