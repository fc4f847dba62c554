// The map and the radar at sizes other than the documented ones: projections and their
// inverses, hit tests, and drawing at two device pixels per pixel.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "display/map_screen.h"
#include "display/pointer.h"
#include "display/projection.h"
#include "display/radar_view.h"
#include "display/time_display.h"
#include "image_probe.h"
#include "scene_support.h"

namespace zen {
namespace {

// The documented map, the map of a 1600 x 1000 window and one of a 3840 x 2160 window.
const QSize kMapSizes[] = {{630, 390}, MapImageSizeFor(1319, 690), MapImageSizeFor(3200, 1700)};
const QSize kRadarSizes[] = {{176, 161}, {293, 268}, {634, 580}};

TEST(WindowSizes, MapCornersCentreAndRoundTripsAtEverySize) {
  for (const QSize& size : kMapSizes) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    const TMapGeometry map = MapGeometryFor(size.width(), size.height());
    // The documented proportions, whole, and the margin kept on every side.
    EXPECT_EQ(map.width * 3, map.height * 5);
    EXPECT_GE(map.left, MapLeft);
    EXPECT_GE(map.top, MapLeft);
    EXPECT_LE(map.Right(), size.width() - MapLeft);
    EXPECT_LE(map.Bottom(), size.height() - MapLeft);
    EXPECT_EQ(LonLatToMap(map, 90, -180), QPoint(map.left, map.top));
    EXPECT_EQ(LonLatToMap(map, -90, 180), QPoint(map.Right(), map.Bottom()));
    EXPECT_EQ(LonLatToMap(map, 0, 0), QPoint(map.left + map.width / 2, map.top + map.height / 2));
    // A pixel is at most half a pixel's worth of degrees from where it came from.
    const double lonStep = 360.0 / map.width;
    const double latStep = 180.0 / map.height;
    for (double lat = -85; lat <= 85; lat += 17) {
      for (double lon = -175; lon <= 175; lon += 35) {
        const QPoint pixel = LonLatToMap(map, lat, lon);
        const TMapPoint back = MapToLonLat(map, pixel.x(), pixel.y());
        EXPECT_LE(std::abs(back.lon - lon), lonStep / 2 + 1e-9) << lat << " " << lon;
        EXPECT_LE(std::abs(back.lat - lat), latStep / 2 + 1e-9) << lat << " " << lon;
      }
    }
    // The margin reads as the border.
    EXPECT_DOUBLE_EQ(MapToLonLat(map, 0, 0).lat, 90.0);
    EXPECT_DOUBLE_EQ(MapToLonLat(map, size.width() - 1, 0).lon, 180.0);
  }
}

TEST(WindowSizes, RadarGrowsWithItsImageAndItsInverseFollows) {
  for (const QSize& size : kRadarSizes) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    const TRadarGeometry radar = RadarGeometryFor(size.width(), size.height());
    EXPECT_LE(radar.horizon, size.height() / 2.0 - 12);
    EXPECT_EQ(AzElToRadar(radar, 0, 90), QPoint(size.width() / 2, size.height() / 2));
    EXPECT_EQ(AzElToRadar(radar, 90, 0),
              QPoint(size.width() / 2 + static_cast<int>(std::lround(radar.horizon)),
                     size.height() / 2));
    // The inverse's centre is one pixel up and left: a few pixels' worth of angle at most.
    const double slack = 2.5 * 90.0 / radar.horizon;
    for (double el = 5; el <= 60; el += 11) {
      for (double az = 10; az < 360; az += 40) {
        const QPoint pixel = AzElToRadar(radar, az, el);
        const TRadarPoint back = RadarToAzEl(radar, pixel.x(), pixel.y());
        EXPECT_NEAR(back.el, el, slack) << az << " " << el;
        const double radiusPx = (90.0 - el) / 90.0 * radar.horizon;
        EXPECT_NEAR(std::remainder(back.az - az, 360.0), 0.0,
                    std::atan2(2.5, radiusPx) * 180.0 / M_PI)
            << az << " " << el;
      }
    }
  }
}

TEST(WindowSizes, PointerFindsTheSatelliteAtEverySize) {
  QTemporaryDir dir;
  test::TSceneParts p;
  test::LoadTracked(p.list, dir.path().toStdString(), {"ALPHA", "BRAVO"});
  p.Place(2, 10.0, 20.0, 120.0, 30.0);
  p.cycle.RadarShown = true;
  for (size_t i = 0; i < std::size(kMapSizes); ++i) {
    TMapScene scene = p.Scene();
    scene.mapGeometry = MapGeometryFor(kMapSizes[i].width(), kMapSizes[i].height());
    scene.radarGeometry = RadarGeometryFor(kRadarSizes[i].width(), kRadarSizes[i].height());
    const QPoint onMap = LonLatToMap(scene.mapGeometry, 10.0, 20.0);
    EXPECT_EQ(MapPress(scene, false, onMap.x(), onMap.y()).newActiveSat, 2) << i;
    EXPECT_TRUE(MapReadout(scene, onMap.x(), onMap.y()).endsWith("object: BRAVO")) << i;
    // Six degrees east is beyond the radius of five at any size.
    const QPoint beside = LonLatToMap(scene.mapGeometry, 10.0, 26.0);
    EXPECT_EQ(MapPress(scene, false, beside.x(), beside.y()).action, TPressAction::None) << i;
    const QPoint onRadar = AzElToRadar(scene.radarGeometry, 120.0, 30.0);
    EXPECT_EQ(RadarPress(scene, false, onRadar.x(), onRadar.y()).newActiveSat, 2) << i;
  }
}

// A picture at two device pixels per pixel: how wide a line is, in device pixels, across row.
int RunWidth(const QImage& image, int row, int from, const QColor& colour) {
  int x = from;
  while (x < image.width() && !test::IsColour(image, x, row, colour)) ++x;
  int width = 0;
  while (x + width < image.width() && test::IsColour(image, x + width, row, colour)) ++width;
  return width;
}

TEST(WindowSizes, AtTwoDevicePixelsLinesStayOneDevicePixelAndSymbolsAreSharp) {
  QTemporaryDir dir;
  test::TSceneParts p;
  test::LoadTracked(p.list, dir.path().toStdString(), {"ALPHA"});
  p.Place(1, -30.0, 60.0);
  p.show.grid = true;
  // A sharper symbol in an ink of its own: 6 x 6 device pixels of ink in a 14 x 14 drawing.
  QImage sharp = test::Filled(14, 14, test::kSymbolKey);
  for (int y = 4; y < 10; ++y) {
    for (int x = 4; x < 10; ++x) sharp.setPixel(x, y, qRgb(0x20, 0xF0, 0x20));
  }
  p.bitmaps.SatLitSharp[0] = WithTransparentColour(sharp);
  p.bitmaps.SatLitSharp[0].setDevicePixelRatio(2.0);

  QImage map(kMapImageWidth * 2, kMapImageHeight * 2, QImage::Format_RGB32);
  map.setDevicePixelRatio(2.0);
  DrawScreen(map, p.Scene(), false);
  const QColor grid(0x70, 0x70, 0x70);
  // The meridian of 30 W at x = 265 and the parallel of 30 S at y = 255, as logical pixels.
  EXPECT_EQ(RunWidth(map, 2 * 150, 2 * 265 - 3, grid), 1);
  const QImage turned = map.transformed(QTransform().rotate(90));
  EXPECT_EQ(RunWidth(turned, 2 * 100, turned.width() - 2 * 255 - 3, grid), 1);
  // The sharper drawing, centred on the satellite's logical pixel.
  const QPoint at = LonLatToMap(-30.0, 60.0) * 2;
  const QRect symbol(at - QPoint(7, 7), QSize(14, 14));
  EXPECT_EQ(test::CountColour(map, QColor(0x20, 0xF0, 0x20), symbol), 36);
  EXPECT_EQ(test::CountColour(map, test::kLitInk, map.rect()), 0);

  // The time panel: its frame one device pixel wide at any ratio.
  QImage panel(kTimePanelWidth * 2, kTimePanelHeight * 2, QImage::Format_RGB32);
  panel.setDevicePixelRatio(2.0);
  DrawTimePanel(panel, p.time, false);
  EXPECT_EQ(RunWidth(panel, panel.height() / 2, 0, QColor(0xD0, 0xD0, 0xD0)), 1);
}

TEST(WindowSizes, LogoGrowsWithTheRadarOnlyFromADrawingThatLargeAtLeast) {
  test::TSceneParts p;
  const QColor sharpInk(0x40, 0xA0, 0x40);
  QImage twice = test::Filled(120, 80, sharpInk);
  twice.setDevicePixelRatio(2.0);
  struct TCase {
    bool withSharp;
    QColor ink;
    int pixels;  // of that ink in a radar twice the documented size
  };
  for (const TCase& c : {TCase{false, test::kLogoInk, 60 * 40}, TCase{true, sharpInk, 120 * 80}}) {
    p.bitmaps.LogoSharp[0] = c.withSharp ? twice : QImage();
    QImage radar = test::Filled(2 * kRadarImageWidth, 2 * kRadarImageHeight, Qt::white);
    TRadarView view;
    view.RadarWasShown = true;
    view.DrawRadar(radar, p.Scene());
    EXPECT_EQ(test::CountColour(radar, c.ink, radar.rect()), c.pixels) << c.withSharp;
    EXPECT_EQ(test::ChangedArea(radar, Qt::black).center(), radar.rect().center()) << c.withSharp;
  }
}

}  // namespace
}  // namespace zen
