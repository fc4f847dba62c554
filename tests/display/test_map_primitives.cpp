// Map primitives drawn into images: segments, the date-line rule, markers, symbols, labels.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "display/canvas.h"
#include "display/colours.h"
#include "display/fonts.h"
#include "display/map_primitives.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

using test::ChangedArea;
using test::CountColour;
using test::IsColour;

const QColor kTrackColour(0x00, 0xFF, 0xFF);
const QColor kKey(0xFF, 0x00, 0xFF);
const QColor kSunInk(0xF0, 0xC0, 0x10);
const QColor kLitInk(0x10, 0xC0, 0xF0);
const QColor kEclipsedInk(0xC0, 0x30, 0x30);
const QColor kActiveInk(0xF0, 0xF0, 0x40);
// Painted behind the symbols so that transparent pixels can be told from black ink.
const QColor kBackground(0x20, 0x20, 0x20);

// A 7 x 5 symbol: the key colour round a 3 x 3 block of ink at its centre.
QImage Symbol(const QColor& ink) {
  QImage image(7, 5, QImage::Format_RGB32);
  image.fill(kKey);
  for (int y = 1; y <= 3; ++y) {
    for (int x = 2; x <= 4; ++x) image.setPixel(x, y, ink.rgb());
  }
  image.setPixel(1, 1, kKey.rgb());
  return WithTransparentColour(image);
}

class MapPrimitives : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    bitmaps.SunBitmap = Symbol(kSunInk);
    bitmaps.SatLitBitmap = Symbol(kLitInk);
    bitmaps.SatEclipsedBitmap = Symbol(kEclipsedInk);
    bitmaps.SatActiveBitmap = Symbol(kActiveInk);
  }

  QImage Render(const std::function<void(TCanvas&)>& draw, const QColor& background = Qt::black) {
    QImage image(kMapImageWidth, kMapImageHeight, QImage::Format_RGB32);
    image.fill(background);
    {
      TCanvas canvas(image);
      canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
      canvas.SetFontColour(kWhite);
      draw(canvas);
    }
    return image;
  }

  QImage Segment(int kind, TMapPoint p1, TMapPoint p2) {
    return Render([&](TCanvas& c) { DrawLine(c, show, kind, p1, p2, kTrackColour); });
  }

  QImage Point(int kind, const QString& label, double lat, double lon, bool eclipsed) {
    return Render([&](TCanvas& c) { DrawPoint(c, show, bitmaps, kind, label, lat, lon, eclipsed); },
                  kBackground);
  }

  TShowOptions show;
  TBitmaps bitmaps;
};

struct TDateLineCase {
  double lon1;
  double lon2;
  bool drawn;
};

void PrintTo(const TDateLineCase& c, std::ostream* os) {
  *os << c.lon1 << " to " << c.lon2 << (c.drawn ? " drawn" : " skipped");
}

class DateLineRule : public MapPrimitives, public ::testing::WithParamInterface<TDateLineCase> {};

TEST_P(DateLineRule, DropsSegmentsAcrossTheDateLineMarkerIncluded) {
  const TDateLineCase& c = GetParam();
  QImage image = Segment(lkTrack, {10, c.lon1}, {20, c.lon2});
  bool anything = !ChangedArea(image, Qt::black).isEmpty();
  EXPECT_EQ(anything, c.drawn) << c.lon1 << " -> " << c.lon2;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateLineRule,
    ::testing::Values(TDateLineCase{170, -170, false}, TDateLineCase{-170, 170, false},
                      TDateLineCase{100, -81, false},  // product exactly -8100
                      TDateLineCase{100, -80, true},   // -8000: drawn across the map
                      TDateLineCase{10, 20, true},
                      TDateLineCase{190, -170, true},  // 190 folds to -170: same side
                      TDateLineCase{190, 170, false}));

TEST_F(MapPrimitives, TrackLineStopsOnePixelShortOfItsEnd) {
  show.trackMarkers = false;
  QImage image = Segment(lkTrack, {0, 0}, {0, 30});
  // (0, 0) is pixel (315, 195) and (0, 30) is (365, 195).
  EXPECT_EQ(CountColour(image, kTrackColour, QRect(315, 195, 50, 1)), 50);
  EXPECT_FALSE(IsColour(image, 365, 195, kTrackColour));
  EXPECT_EQ(ChangedArea(image, Qt::black), QRect(315, 195, 50, 1));
}

TEST_F(MapPrimitives, LineAcrossTheMapAt100And80DegreesIsOneLongSegment) {
  show.trackMarkers = false;
  QImage image = Segment(lkTrack, {0, 100}, {0, -80});
  QPoint a = LonLatToMap(0, 100);
  QPoint b = LonLatToMap(0, -80);
  EXPECT_EQ(ChangedArea(image, Qt::black), QRect(b.x() + 1, 195, a.x() - b.x(), 1));
}

TEST_F(MapPrimitives, TrackMarkerIsAHollowCircleInItsBoxRoundTheEnd) {
  show.trackLine = false;
  QImage image = Segment(lkTrack, {0, 0}, {0, 30});
  // Box (x - 2, y - 2)..(x + 2, y + 2) with its right and bottom edges left out.
  EXPECT_EQ(ChangedArea(image, Qt::black), QRect(363, 193, 4, 4));
  EXPECT_FALSE(IsColour(image, 315, 195, kTrackColour)) << "no line without \"Track line\"";
}

TEST_F(MapPrimitives, TrackWithNeitherOptionDrawsNothing) {
  show.trackLine = false;
  show.trackMarkers = false;
  EXPECT_TRUE(ChangedArea(Segment(lkTrack, {0, 0}, {0, 30}), Qt::black).isEmpty());
}

TEST_F(MapPrimitives, PlainSegmentIgnoresTheTrackOptionsAndOtherKindsDrawNothing) {
  show.trackLine = false;
  show.trackMarkers = false;
  EXPECT_EQ(ChangedArea(Segment(lkPlain, {0, 0}, {0, 30}), Qt::black), QRect(315, 195, 50, 1));
  EXPECT_TRUE(ChangedArea(Segment(7, {0, 0}, {0, 30}), Qt::black).isEmpty());
}

TEST_F(MapPrimitives, SiteIsACircleWithItsCentrePixelSet) {
  QImage image = Point(pkSite, QString(), 0, 0, false);
  // Box (x - 4, y - 4)..(x + 5, y + 5): 9 x 9 pixels.
  EXPECT_EQ(ChangedArea(image, kBackground), QRect(311, 191, 9, 9));
  EXPECT_TRUE(IsColour(image, 315, 195, kWhite));
}

TEST_F(MapPrimitives, SiteLabelMovesLeftEastOf140Degrees) {
  const struct {
    double lon;
    bool onRight;
  } cases[] = {{140.0, true}, {140.5, false}, {-179.0, true}, {179.0, false}};
  for (const auto& c : cases) {
    QImage image = Point(pkSite, QStringLiteral("HOME"), 0, c.lon, false);
    int x = LonLatToMap(0, c.lon).x();
    QRect area = ChangedArea(image, kBackground);
    if (c.onRight) {
      EXPECT_EQ(area.left(), x - 4) << c.lon;
      EXPECT_GT(area.right(), x + 8) << c.lon;
    } else {
      EXPECT_LT(area.left(), x - 8) << c.lon;
      EXPECT_EQ(area.right(), x + 4) << c.lon;
    }
  }
}

TEST_F(MapPrimitives, SunIsCentredAndTransparentRoundItsInk) {
  QImage image = Point(pkSun, QString(), 0, 0, false);
  // 7 x 5 symbol drawn from (x - 3, y - 2); its ink block is columns 2..4, rows 1..3.
  EXPECT_EQ(ChangedArea(image, kBackground), QRect(314, 194, 3, 3));
  EXPECT_TRUE(IsColour(image, 315, 195, kSunInk));
}

struct TSymbolCase {
  int kind;
  bool eclipsed;
  bool satColors;
  QColor ink;
};

void PrintTo(const TSymbolCase& c, std::ostream* os) {
  *os << (c.kind == pkSat ? "sat" : "active sat") << (c.eclipsed ? " eclipsed" : " lit")
      << (c.satColors ? " with" : " without") << " sat colors";
}

class SatelliteSymbol : public MapPrimitives, public ::testing::WithParamInterface<TSymbolCase> {};

TEST_P(SatelliteSymbol, FollowsEclipseOnlyWithSatColors) {
  const TSymbolCase& c = GetParam();
  show.satColors = c.satColors;
  show.satNames = false;
  QImage image = Point(c.kind, QString(), 0, 0, c.eclipsed);
  EXPECT_TRUE(IsColour(image, 315, 195, c.ink));
  EXPECT_EQ(ChangedArea(image, kBackground), QRect(314, 194, 3, 3));
}

INSTANTIATE_TEST_SUITE_P(Cases, SatelliteSymbol,
                         ::testing::Values(TSymbolCase{pkSat, false, true, kLitInk},
                                           TSymbolCase{pkSat, true, true, kEclipsedInk},
                                           TSymbolCase{pkSat, true, false, kLitInk},
                                           TSymbolCase{pkSat, false, false, kLitInk},
                                           TSymbolCase{pkActiveSat, true, true, kActiveInk},
                                           TSymbolCase{pkActiveSat, false, false, kActiveInk}));

TEST_F(MapPrimitives, SquaresReplaceSymbolsAndTheActiveOneGetsAnOutline) {
  show.satSymbols = false;
  show.satNames = false;
  QImage plain = Point(pkSat, QString(), 0, 0, true);
  EXPECT_EQ(ChangedArea(plain, kBackground), QRect(311, 191, 8, 8));
  EXPECT_EQ(CountColour(plain, kUmbraColour, QRect(311, 191, 8, 8)), 64);

  QImage active = Point(pkActiveSat, QString(), 0, 0, false);
  EXPECT_EQ(ChangedArea(active, kBackground), QRect(309, 189, 12, 12));
  EXPECT_EQ(CountColour(active, kLitColour, QRect(311, 191, 8, 8)), 64);
  EXPECT_TRUE(IsColour(active, 309, 195, kLitColour));
  EXPECT_TRUE(IsColour(active, 320, 195, kLitColour));
  EXPECT_FALSE(IsColour(active, 310, 195, kLitColour)) << "the outline is hollow";
}

TEST_F(MapPrimitives, SquareColourIgnoresEclipseWithoutSatColors) {
  show.satSymbols = false;
  show.satColors = false;
  show.satNames = false;
  QImage image = Point(pkSat, QString(), 0, 0, true);
  EXPECT_EQ(CountColour(image, kLitColour, QRect(311, 191, 8, 8)), 64);
}

TEST_F(MapPrimitives, SatelliteAt180IsDrawnOnceAtTheRightEdgeWithItsLabelOnTheLeft) {
  show.satSymbols = false;
  QImage image = Point(pkSat, QStringLiteral("ISS"), 0, 180, false);
  QRect area = ChangedArea(image, kBackground);
  EXPECT_TRUE(IsColour(image, 615, 195, kLitColour));
  EXPECT_EQ(area.right(), 618) << "nothing right of the square";
  EXPECT_LT(area.left(), 615 - 12) << "label left of the symbol";
  EXPECT_FALSE(IsColour(image, 15, 195, kLitColour)) << "not mirrored at -180";
}

TEST_F(MapPrimitives, SatelliteLabelGoesLeftOnlyWhenItWouldPassTheMapEdge) {
  show.satSymbols = false;
  const QString label = QStringLiteral("NOAA 19");
  int widthPx = 0;
  Render([&](TCanvas& c) { widthPx = c.TextWidth(label); });
  // The last longitude whose label still ends at or before x = 615, and the next pixel.
  int lastRightX = 615 - 10 - widthPx;
  for (int x : {lastRightX, lastRightX + 1}) {
    double lon = MapToLonLat(x, 195).lon;
    ASSERT_EQ(LonLatToMap(0, lon).x(), x);
    QRect area = ChangedArea(Point(pkSat, label, 0, lon, false), kBackground);
    if (x == lastRightX) {
      EXPECT_EQ(area.left(), x - 4) << "label right of the square";
    } else {
      EXPECT_LT(area.left(), x - 12) << "label left of the square";
      EXPECT_EQ(area.right(), x + 3);
    }
  }
}

TEST_F(MapPrimitives, NoSatelliteLabelWithoutSatNames) {
  show.satSymbols = false;
  show.satNames = false;
  EXPECT_EQ(ChangedArea(Point(pkActiveSat, QStringLiteral("ISS"), 0, 0, false), kBackground),
            QRect(309, 189, 12, 12));
}

}  // namespace
}  // namespace zen
