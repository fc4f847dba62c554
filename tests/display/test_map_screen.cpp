// The whole map redraw on rendered images: layers by option, date-line gaps, footprint,
// terminator, symbols and squares, colours by eclipse and "Sat colors".
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/timescale.h"
#include "display/canvas.h"
#include "display/colours.h"
#include "display/fonts.h"
#include "display/map_background.h"
#include "display/map_primitives.h"
#include "image_probe.h"
#include "scene_support.h"

namespace zen {
namespace {

using test::CountColour;
using test::IsColour;

const QColor kGridInk(0x70, 0x70, 0x70);
const QColor kGridAxisInk(0x90, 0x90, 0x70);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kGreen(0x00, 0xFF, 0x00);
const QRect kMapArea(MapLeft, MapLeft, kMapAreaWidth, kMapAreaHeight);
constexpr double kHundredthOfADegree = 0.01;

class MapScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LoadTracked(p.list, dir.path().toStdString(), {"ALPHA", "BRAVO", "CHARLIE"});
    ASSERT_EQ(p.list.TrackedCount, 3);
  }

  // Active ALPHA at (0, 0), 800 km up; BRAVO at (30, 60); CHARLIE at (-30, -60) in umbra;
  // the Sun over (10, 100); the boundary round it; a track along latitude 30 from -150 to -50.
  void Populate() {
    p.list.ActiveSat = 1;
    p.Place(1, 0.0, 0.0, 0.0, -10.0, 0, 800.0);
    p.Place(2, 30.0, 60.0);
    p.Place(3, -30.0, -60.0, 0.0, -10.0, 2);
    p.cycle.SunNow.subLatitude = 10.0;
    p.cycle.SunNow.subLongitude = 100.0;
    FillTerminator(10.0, 100.0);
    p.Track([](int k, TTrackSample& s) {
      s.latitude = 30.0;
      s.longitude = -150.0 + k;
    });
  }

  void FillTerminator(double sunLat, double sunLon) {
    for (int i = 0; i < kTerminatorPoints; ++i) {
      TLatLon& t = p.cycle.TerminatorPoints[static_cast<size_t>(i)];
      Skok(t.latitude, t.longitude, 90.0, i * 3.0, sunLon, sunLat);
    }
  }

  QTemporaryDir dir;
  test::TSceneParts p;
};

TEST_F(MapScreen, BackgroundOnlyIsTheFixedBackgroundWhateverIsShown) {
  Populate();
  p.show = TShowOptions{};  // everything on
  QImage expected = test::Filled(kMapImageWidth, kMapImageHeight, Qt::white);
  {
    TCanvas canvas(expected);
    DrawMapBackground(canvas, p.bitmaps.WorldBitmap, nullptr);
  }
  EXPECT_EQ(p.Map(true), expected);
  EXPECT_NE(p.Map(false), expected);
}

struct TLayerCase {
  const char* name;
  std::function<void(TShowOptions&)> turnOn;
  QColor ink;
  QRect where;
  bool anyButInk = false;  // count the pixels that differ from ink instead
};

int Count(const QImage& map, const TLayerCase& c) {
  int matching = CountColour(map, c.ink, c.where);
  return c.anyButInk ? c.where.width() * c.where.height() - matching : matching;
}

TEST_F(MapScreen, EachLayerIsPresentOnlyWithItsOption) {
  const TLayerCase cases[] = {
      {"grid", [](TShowOptions& s) { s.grid = true; }, kGridInk, kMapArea},
      {"Greenwich", [](TShowOptions& s) { s.grid = true; }, kGridAxisInk, QRect(315, 20, 1, 100)},
      {"sun", [](TShowOptions& s) { s.sun = true; }, test::kSunInk, kMapArea},
      {"terminator", [](TShowOptions& s) { s.solarIllumination = true; }, kYellow, kMapArea},
      {"footprint", [](TShowOptions& s) { s.visibleZone = true; }, kGreen, kMapArea},
      {"track line", [](TShowOptions& s) { s.trackLine = true; }, kLitColour, kMapArea},
      {"track markers", [](TShowOptions& s) { s.trackMarkers = true; }, kLitColour, kMapArea},
      // BRAVO's label starts 10 pixels right of its symbol at (415, 135); the text is
      // smoothed into the world's colour.
      {"names", [](TShowOptions& s) { s.satNames = true; }, test::kWorldInk,
       QRect(425, 125, 40, 14), true},
  };
  Populate();
  const TShowOptions allOff = p.show;
  for (const TLayerCase& c : cases) {
    p.show = allOff;
    EXPECT_EQ(Count(p.Map(), c), 0) << c.name << " drawn while off";
    c.turnOn(p.show);
    EXPECT_GT(Count(p.Map(), c), 0) << c.name << " missing while on";
  }
}

TEST_F(MapScreen, FootprintAndTrackNeedAnActiveSatellite) {
  Populate();
  p.show.visibleZone = true;
  p.show.trackLine = true;
  p.show.trackMarkers = true;
  p.list.ActiveSat = 0;
  QImage map = p.Map();
  EXPECT_EQ(CountColour(map, kGreen, kMapArea), 0);
  EXPECT_EQ(CountColour(map, kLitColour, kMapArea), 0);
}

TEST_F(MapScreen, SiteLineAndMarkerAreDrawnAfterTheBackground) {
  Populate();
  QImage map = p.Map();
  QPoint site = LonLatToMap(p.site.latitude, p.site.longitude);
  // Hollow circle round the site, its centre pixel set, the sign to the right.
  EXPECT_TRUE(IsColour(map, site.x(), site.y(), kWhite));
  EXPECT_FALSE(IsColour(map, site.x() + 1, site.y(), kWhite));
  EXPECT_GT(CountColour(map, kWhite, QRect(site.x() + 6, site.y() - 6, 14, 14)), 0);
  // The site line at the bottom left, on black.
  EXPECT_GT(CountColour(map, kWhite, QRect(MapLeft, 376, 150, 14)), 0);
  EXPECT_EQ(CountColour(p.Map(true), kWhite, QRect(MapLeft, 376, 150, 14)), 0);
}

TEST_F(MapScreen, TrackCrossingTheDateLineHasNoLineAndNoMarkerThere) {
  p.list.ActiveSat = 1;
  p.Place(1, 10.0, 100.0);
  p.show.trackLine = true;
  p.show.trackMarkers = true;
  // Latitude 10, longitudes 100 to 260: sample 50 at 180, sample 51 at 181.6 = -178.4.
  p.Track([](int k, TTrackSample& s) {
    s.latitude = 10.0;
    s.longitude = FoldLongitude(100.0 + 1.6 * k);
  });
  QImage map = p.Map();
  const int row = LonLatToMap(10.0, 0.0).y();
  EXPECT_GT(CountColour(map, kLitColour, QRect(500, row - 3, 100, 7)), 0);
  EXPECT_GT(CountColour(map, kLitColour, QRect(20, row - 3, 100, 7)), 0);
  // Neither the segment across the map nor the marker of sample 51 (x = 18).
  EXPECT_EQ(CountColour(map, kLitColour, QRect(160, row - 3, 310, 7)), 0);
  EXPECT_EQ(CountColour(map, kLitColour, QRect(10, row - 4, 8, 9)), 0);
}

TEST_F(MapScreen, TrackColourFollowsTheUmbraOfTheEndSampleNotSatColors) {
  p.list.ActiveSat = 1;
  p.Place(1, 10.0, 100.0);
  p.show.trackLine = true;
  p.show.satColors = false;
  p.Track([](int k, TTrackSample& s) {
    s.latitude = 10.0;
    s.longitude = -100.0 + k;
    s.umbra = k > 50 ? 1 : 0;
  });
  QImage map = p.Map();
  const int row = LonLatToMap(10.0, 0.0).y();
  const int middle = LonLatToMap(10.0, -50.0).x();
  EXPECT_GT(CountColour(map, kLitColour, QRect(20, row, middle - 20, 1)), 0);
  EXPECT_EQ(CountColour(map, kUmbraColour, QRect(20, row, middle - 20, 1)), 0);
  // Segment 50 -> 51 starts at sample 50 and takes the colour of its end.
  EXPECT_GT(CountColour(map, kUmbraColour, QRect(middle, row, 100, 1)), 0);
  EXPECT_EQ(CountColour(map, kLitColour, QRect(middle, row, 100, 1)), 0);
  EXPECT_TRUE(IsColour(map, middle, row, kUmbraColour));
}

TEST_F(MapScreen, FootprintAcrossTheDateLineLeavesAGap) {
  p.list.ActiveSat = 1;
  p.Place(1, 0.0, 175.0, 0.0, -10.0, 0, 800.0);  // radius 27.3 degrees: 147.7 to 202.3
  p.show.visibleZone = true;
  QImage map = p.Map();
  EXPECT_GT(CountColour(map, kGreen, QRect(540, 15, 80, 361)), 0);
  EXPECT_GT(CountColour(map, kGreen, QRect(10, 15, 50, 361)), 0);
  EXPECT_EQ(CountColour(map, kGreen, QRect(100, 0, 400, 390)), 0);
}

TEST_F(MapScreen, FootprintRoundAPoleRunsAcrossTheWholeWidth) {
  p.list.ActiveSat = 1;
  p.Place(1, 80.0, 0.0, 0.0, -10.0, 0, 35786.0);
  p.show.visibleZone = true;
  QImage map = p.Map();
  for (int x = 40; x <= 590; ++x) {
    ASSERT_GT(CountColour(map, kGreen, QRect(x, 15, 1, 361)), 0) << "column " << x;
  }
}

TEST_F(MapScreen, FootprintBelowOneKilometreDrawsNothing) {
  p.list.ActiveSat = 1;
  p.Place(1, 0.0, 0.0, 0.0, -10.0, 0, 0.5);
  p.show.visibleZone = true;
  EXPECT_EQ(CountColour(p.Map(), kGreen, QRect(0, 0, kMapImageWidth, kMapImageHeight)), 0);
}

TEST(FootprintRadius, FollowsTheHorizonDipAndIsZeroBelowOneKilometre) {
  const struct {
    double altitudeKm;
    double radiusDeg;
  } cases[] = {{-50.0, 0.0},  {0.0, 0.0},       {0.999, 0.0},
               {1.0, 1.0145}, {800.0, 27.3083}, {35786.0, 81.2995}};
  for (const auto& c : cases) {
    EXPECT_NEAR(FootprintRadius(c.altitudeKm), c.radiusDeg, kHundredthOfADegree)
        << c.altitudeKm << " km";
  }
}

TEST_F(MapScreen, TerminatorIsDashedAndBrokenAtTheDateLine) {
  // Sun over latitude 20: the boundary encloses the south pole, crosses Greenwich at -70 and
  // reaches 70 north near the date line.
  FillTerminator(20.0, 0.0);
  p.show.solarIllumination = true;
  QImage map = p.Map();
  EXPECT_GT(CountColour(map, kYellow, kMapArea), 0);
  const QColor world = test::kWorldInk;
  int greenwichDashes = 0;
  int northDashes = 0;
  for (int y = 15; y < 375; ++y) {
    bool dash = !IsColour(map, 315, y, world);
    if (dash && y >= 300) ++greenwichDashes;
    if (dash && y < 300) ++northDashes;
  }
  EXPECT_GT(greenwichDashes, 0);
  EXPECT_EQ(northDashes, 0) << "the segment across the date line was drawn";
  EXPECT_GT(CountColour(map, kBlack, kMapArea), 0) << "no black dashes";
}

struct TSymbolCase {
  bool symbols;
  bool colours;
  int eclipse;
  bool active;
  QColor ink;
  int inkPixels;
};

TEST_F(MapScreen, SymbolsOrSquaresColouredByEclipseAndSatColors) {
  // The primitives decide the pictures; here: umbra is eclipse state 2 only, the active
  // satellite takes the active symbol, and "Sat symbols" and "Sat colors" reach them.
  const TSymbolCase cases[] = {
      {true, true, 1, false, test::kLitInk, 9},
      {true, true, 2, false, test::kEclipsedInk, 9},
      {true, false, 2, false, test::kLitInk, 9},
      {true, true, 2, true, test::kActiveInk, 9},
      // 8 x 8 filled square; the active one adds a 12 x 12 outline (44 pixels).
      {false, true, 2, false, kUmbraColour, 64},
      {false, false, 2, true, kLitColour, 64 + 44},
  };
  p.list.TrackedCount = 1;
  for (const TSymbolCase& c : cases) {
    p.show.satSymbols = c.symbols;
    p.show.satColors = c.colours;
    p.list.ActiveSat = c.active ? 1 : 0;
    p.Place(1, 0.0, 0.0, 0.0, -10.0, c.eclipse);
    QImage map = p.Map();
    const QRect around(315 - 8, 195 - 8, 17, 17);
    EXPECT_EQ(CountColour(map, c.ink, around), c.inkPixels)
        << "symbols " << c.symbols << " colours " << c.colours << " eclipse " << c.eclipse
        << " active " << c.active;
    EXPECT_EQ(CountColour(map, c.ink, kMapArea), c.inkPixels) << "drawn elsewhere too";
  }
}

TEST_F(MapScreen, LaterSatellitesAreDrawnOverEarlierOnesAndBrokenOnesNotAtAll) {
  p.show.satSymbols = false;
  p.list.ActiveSat = 1;
  p.Place(1, 0.0, 0.0, 0.0, -10.0, 2);
  p.Place(2, 0.0, 0.0, 0.0, -10.0, 0);
  p.Place(3, 40.0, 40.0, 0.0, -10.0, 2);
  p.list.TrackedSats[3].computed = false;
  QImage map = p.Map();
  EXPECT_TRUE(IsColour(map, 315, 195, kLitColour));
  // The active outline of the first stays visible round the second's square.
  EXPECT_TRUE(IsColour(map, 309, 195, kUmbraColour));
  QPoint third = LonLatToMap(40.0, 40.0);
  EXPECT_EQ(CountColour(map, kUmbraColour, QRect(third.x() - 8, third.y() - 8, 17, 17)), 0);
}

TEST_F(MapScreen, ComputedCycleDrawsTheActiveSymbolOnItsFirstTrackSample) {
  p.show = TShowOptions{};
  p.show.satNames = false;
  p.list.TrackedCount = 2;  // the sets are copies of one orbit: the active one is drawn last
  p.list.ActiveSat = 2;
  TGeodetic site = UstawLokacje(p.site);
  double now = JulianDateOfEpoch(1352.14768052) + 0.25;
  p.cycle.LiczWszo(now, site, p.list, p.time, p.show);
  const TSatState& active = p.list.TrackedSats[2];
  ASSERT_TRUE(active.computed);
  ASSERT_TRUE(p.cycle.ActiveTrack[0].computed);
  QImage map = p.Map();
  QPoint at = LonLatToMap(active.latitude, active.longitude);
  EXPECT_TRUE(IsColour(map, at.x(), at.y(), test::kActiveInk));
  QPoint first = LonLatToMap(p.cycle.ActiveTrack[0].latitude, p.cycle.ActiveTrack[0].longitude);
  EXPECT_EQ(first, at);
  EXPECT_GT(CountColour(map, kGreen, kMapArea), 0);
  EXPECT_GT(CountColour(map, kYellow, kMapArea), 0);
  EXPECT_EQ(CountColour(map, test::kSunInk, kMapArea), 9);
}

struct TColumnCase {
  const char* name;
  int x;        // the column's pixel
  int spacing;  // pixels from one satellite to the next, downwards
  int active;   // 0 = none
  bool allNames;
};

void PrintTo(const TColumnCase& c, std::ostream* os) {
  *os << c.name;
}

class CrowdedMap : public ::testing::TestWithParam<TColumnCase> {
 protected:
  static constexpr int kCount = 16;
  static constexpr int kTop = 30;
  QTemporaryDir dir;
  test::TSceneParts p;
};

// Draws on image the names a greedy pass down the list shows: the active one's first, then
// any other whose rows are clear of those shown. All the names of one column share their
// columns, so only their rows can keep them apart. Returns how many were drawn.
size_t DrawClearNames(QImage& image, const std::map<int, QPoint>& at,
                      const std::vector<std::string>& names, int active) {
  TCanvas canvas(image);
  canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
  canvas.SetFontColour(kWhite);
  canvas.SetBrushClear();
  const int height = canvas.TextHeight(QString());
  std::vector<int> shownTops;
  auto clear = [&](int top) {
    for (int t : shownTops) {
      if (top < t + height && t < top + height) return false;
    }
    return true;
  };
  auto show = [&](int i) {
    shownTops.push_back(at.at(i).y() - 6);
    const QString name = QString::fromStdString(names[static_cast<size_t>(i - 1)]);
    const QRect box = kMapSatLabels.Box(at.at(i), canvas.TextWidth(name), height);
    canvas.TextOut(box.left(), box.top(), name);
  };
  if (active != 0) show(active);
  for (const auto& [i, point] : at) {
    if (i != active && clear(point.y() - 6)) show(i);
  }
  return shownTops.size();
}

// A column of satellites shows every dot, and exactly the names that a greedy pass keeps
// clear of the active one's and of each other: all of them when they are far enough apart.
TEST_P(CrowdedMap, ShowsEveryDotAndOnlyNamesClearOfEachOther) {
  const TColumnCase& c = GetParam();
  std::vector<std::string> names;
  for (int i = 1; i <= kCount; ++i) names.push_back("SAT-" + std::to_string(i));
  test::LoadTracked(p.list, dir.path().toStdString(), names);
  p.list.ActiveSat = c.active;
  std::map<int, QPoint> at;
  for (int i = 1; i <= kCount; ++i) {
    at[i] = QPoint(c.x, kTop + c.spacing * i);
    const TMapPoint point = MapToLonLat(c.x, kTop + c.spacing * i);
    ASSERT_EQ(LonLatToMap(point.lat, point.lon), at[i]);
    p.Place(i, point.lat, point.lon);
  }
  QImage expected = p.Map();  // names off
  p.show.satNames = true;
  const QImage map = p.Map();
  const size_t shown = DrawClearNames(expected, at, names, c.active);
  EXPECT_EQ(shown == kCount, c.allNames) << c.name << ": " << shown << " names";
  EXPECT_EQ(map, expected) << c.name;
  for (const auto& [i, point] : at) {
    const QColor& ink = i == c.active ? test::kActiveInk : test::kLitInk;
    EXPECT_TRUE(IsColour(map, point.x(), point.y(), ink)) << c.name << ": dot " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, CrowdedMap,
    ::testing::Values(TColumnCase{"crowded", 200, 3, 0, false},
                      TColumnCase{"crowded round the active", 200, 3, 9, false},
                      TColumnCase{"crowded by the right edge", 610, 3, 4, false},
                      TColumnCase{"far apart", 200, 20, 5, true}));

}  // namespace
}  // namespace zen
