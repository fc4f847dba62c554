// A whole catalogue on the map and the radar: dots through which the world still shows, the
// active satellite over them, and the documented drawing kept up to the crowd's threshold.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/bench_sets.h"
#include "core/timescale.h"
#include "display/crowd_dots.h"
#include "display/map_primitives.h"
#include "display/radar_view.h"
#include "image_probe.h"
#include "scene_support.h"
#include "tracking/compute_cycle.h"
#include "tracking/site.h"

namespace zen {
namespace {

constexpr int kWholeCatalogue = 31185;
// A moment half a day after the Starlink file's sets were taken.
constexpr double kHalfADayOnEpoch = 26150.8;
// Shares of the world left as they were under the dots: the land on the map, the sky within
// the radar's horizon. A map buried under symbols keeps well under half of either.
constexpr double kLandStillShown = 0.7;
constexpr double kSkyStillShown = 0.6;

bool SameRgb(QRgb a, QRgb b) {
  return (a & 0xFFFFFFu) == (b & 0xFFFFFFu);
}

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
         std::abs(qBlue(a) - qBlue(b));
}

// The real Starlink sets three times over, every one tracked and propagated, over Warsaw, with
// the shipped bitmaps; the second satellite active.
class CrowdedViews : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::EnsureGuiApplication();
    s = new TScene;
  }
  static void TearDownTestSuite() {
    delete s;
    s = nullptr;
  }

  struct TScene {
    TScene() {
      ok = LoadBitmaps(QStringLiteral(ZEN_SOURCE_DIR "/resources"), bitmaps).ok;
      list.TleFileName = bench::WriteLargeCatalogue(bench::StarlinkFile(), dir.path().toStdString(),
                                                    kWholeCatalogue)
                             .string();
      list.zapodawajSatelity(dir.path().toStdString());
      TSelection none;
      list.AddTr(true, false, 0, none);
      list.ActiveSat = 2;
      for (bool* layer :
           {&show.grid, &show.sun, &show.solarIllumination, &show.visibleZone, &show.trackLine,
            &show.trackMarkers, &show.radarTrack, &show.radarMarkers}) {
        *layer = false;
      }
      show.satNames = true;
      show.radarNames = true;
      show.radarMode = TRadarMode::On;
      site.name = "Warsaw";
      site.sign = "WAW";
      site.latitude = 52.23;
      site.longitude = 21.01;
      TGeodetic observer = UstawLokacje(site);
      cycle.LiczWszo(JulianDateOfEpoch(kHalfADayOnEpoch), observer, list, time, show);
    }
    TMapScene Scene() const { return {list, cycle, site, show, bitmaps, time}; }

    QTemporaryDir dir;
    bool ok = false;
    TSatelliteList list;
    TComputeCycle cycle;
    TSite site;
    TShowOptions show;
    TBitmaps bitmaps;
    TTimeControl time;
  };
  static TScene* s;

  // The same picture with none but the active satellite computed (withActive), or none at all.
  template <typename Draw>
  static QImage WithoutTheCrowd(Draw draw, bool withActive = true) {
    std::vector<TSatState> kept(s->list.TrackedSats);
    for (int i = 1; i <= s->list.TrackedCount; ++i) {
      if (i != s->list.ActiveSat || !withActive)
        s->list.TrackedSats[static_cast<size_t>(i)].computed = false;
    }
    QImage image = draw();
    s->list.TrackedSats = kept;
    return image;
  }

  static QImage Map(QSize logical, double ratio) {
    QImage map((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
    map.setDevicePixelRatio(ratio);
    DrawScreen(map, s->Scene(), false);
    return map;
  }
};
CrowdedViews::TScene* CrowdedViews::s = nullptr;

struct TMapCase {
  const char* name;
  QSize logical;
  double ratio;
};

class WholeCatalogueMap : public CrowdedViews, public ::testing::WithParamInterface<TMapCase> {};

// Land pixels are those of the bare map that are far from the ocean's colour; most of them must
// be left exactly as they were, and the active satellite's symbol and name must be whole.
TEST_P(WholeCatalogueMap, LandShowsThroughTheDotsAndTheActiveSatelliteIsOnTop) {
  const TMapCase& c = GetParam();
  ASSERT_TRUE(s->ok);
  ASSERT_EQ(s->list.TrackedCount, kWholeCatalogue);
  const QImage crowded = Map(c.logical, c.ratio);
  const QImage bare = WithoutTheCrowd([&] { return Map(c.logical, c.ratio); });
  const TMapGeometry area = MapGeometryFor(c.logical.width(), c.logical.height());
  auto device = [&](QPoint logical) { return (QPointF(logical) * c.ratio).toPoint(); };
  const QRgb ocean = bare.pixel(device(MapPixel(area, 0.0, -140.0)));  // mid-Pacific
  int land = 0;
  int landKept = 0;
  const QRect areaPx(device(QPoint(area.left, area.top)),
                     device(QPoint(area.Right(), area.Bottom())) - QPoint(1, 1));
  for (int y = areaPx.top(); y <= areaPx.bottom(); ++y) {
    for (int x = areaPx.left(); x <= areaPx.right(); ++x) {
      if (Distance(bare.pixel(x, y), ocean) < 60) continue;
      ++land;
      if (SameRgb(bare.pixel(x, y), crowded.pixel(x, y))) ++landKept;
    }
  }
  ASSERT_GT(land, areaPx.width() * areaPx.height() / 5) << c.name << ": no land found";
  EXPECT_GT(landKept, kLandStillShown * land) << c.name << ": " << landKept << " of " << land;

  // Every pixel the active symbol and its name drew on the bare map is there unchanged.
  const TSatState& active = s->list.TrackedSats[static_cast<size_t>(s->list.ActiveSat)];
  ASSERT_TRUE(active.computed);
  const QPoint at = device(MapPixel(area, active.latitude, active.longitude));
  const QRect around(at - QPoint(60, 20) * c.ratio, QSize(120, 40) * c.ratio);
  const QImage underneath = WithoutTheCrowd([&] { return Map(c.logical, c.ratio); }, false);
  // The symbol's pixels, and the letters' pixels that are wholly white: smoothed letter edges
  // take a little of whatever lies under them.
  const QSize symbolSize = (s->bitmaps.SatActiveBitmap.deviceIndependentSize() * c.ratio).toSize();
  const QRect symbol(at - QPoint(symbolSize.width(), symbolSize.height()) / 2, symbolSize);
  int drawn = 0;
  int whole = 0;
  for (int y = around.top(); y <= around.bottom(); ++y) {
    for (int x = around.left(); x <= around.right(); ++x) {
      if (!bare.valid(x, y) || SameRgb(bare.pixel(x, y), underneath.pixel(x, y))) continue;
      if (!symbol.contains(x, y) && !SameRgb(bare.pixel(x, y), qRgb(255, 255, 255))) continue;
      ++drawn;
      if (SameRgb(bare.pixel(x, y), crowded.pixel(x, y))) ++whole;
    }
  }
  EXPECT_GT(drawn, 20 * c.ratio * c.ratio) << c.name << ": the symbol and name drew little";
  EXPECT_EQ(whole, drawn) << c.name << ": the crowd covers the active satellite";
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, WholeCatalogueMap,
    ::testing::Values(TMapCase{"documented", {kMapImageWidth, kMapImageHeight}, 1.0},
                      TMapCase{
                          "documented, sharper screen", {kMapImageWidth, kMapImageHeight}, 2.0},
                      TMapCase{"large window", {1230, 750}, 1.0}),
    [](const auto& info) { return std::to_string(info.index); });

// Inside the horizon most of the chart is left as it was: a field of dots, not a disc.
TEST_F(CrowdedViews, RadarIsAFieldOfDotsNotADisc) {
  ASSERT_TRUE(s->ok);
  auto draw = [] {
    QImage radar(kRadarImageWidth, kRadarImageHeight, QImage::Format_RGB32);
    radar.fill(Qt::white);
    TRadarView view;
    view.DrawRadar(radar, s->Scene());
    return radar;
  };
  int above = 0;
  for (int i = 1; i <= s->list.TrackedCount; ++i) {
    const TSatState& sat = s->list.TrackedSats[static_cast<size_t>(i)];
    if (sat.computed && sat.elevation >= 0.0) ++above;
  }
  ASSERT_GT(above, 2 * kFewTrackedMax) << "too few above the horizon to crowd the radar";
  const QImage crowded = draw();
  const QImage bare = WithoutTheCrowd(draw);
  const TRadarGeometry radar;
  int inside = 0;
  int kept = 0;
  for (int y = 0; y < kRadarImageHeight; ++y) {
    for (int x = 0; x < kRadarImageWidth; ++x) {
      if (std::hypot(x - radar.width / 2, y - radar.height / 2) > radar.horizon - 1) continue;
      ++inside;
      if (SameRgb(bare.pixel(x, y), crowded.pixel(x, y))) ++kept;
    }
  }
  EXPECT_GT(kept, kSkyStillShown * inside)
      << above << " above the horizon: " << kept << " of " << inside << " pixels kept";
  EXPECT_NE(crowded, bare) << "the dots are missing";
}

// Up to the threshold every satellite has its symbol and its name where there is room; one
// more and they are nameless dots: blends of the dot colour and the world, not the symbol.
TEST(CrowdThreshold, SymbolsAndNamesUpToIt) {
  for (const int count : {kFewTrackedMax, kFewTrackedMax + 1}) {
    QTemporaryDir dir;
    test::TSceneParts p;
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back("S" + std::to_string(i));
    test::LoadTracked(p.list, dir.path().toStdString(), names);
    std::vector<QPoint> at;
    for (int i = 0; i < count; ++i) {
      at.emplace_back(MapLeft + 10 + 24 * (i % 24), MapLeft + 8 + 16 * (i / 24));
      const TMapPoint point = MapToLonLat(at.back().x(), at.back().y());
      ASSERT_EQ(LonLatToMap(point.lat, point.lon), at.back());
      p.Place(i + 1, point.lat, point.lon);
    }
    const QImage nameless = p.Map();
    p.show.satNames = true;
    const QImage named = p.Map();
    const bool few = count <= kFewTrackedMax;
    EXPECT_EQ(named != nameless, few) << count << ": names";
    int symbols = 0;
    int dots = 0;
    for (const QPoint& point : at) {
      const QRgb pixel = named.pixel(point);
      if (SameRgb(pixel, test::kLitInk.rgb())) ++symbols;
      if (!SameRgb(pixel, test::kWorldInk.rgb()) && !SameRgb(pixel, test::kLitInk.rgb())) ++dots;
    }
    EXPECT_EQ(symbols, few ? count : 0) << count;
    EXPECT_EQ(dots, few ? 0 : count) << count;
  }
}

// The denser the view, the smaller and fainter its dots, never more ink per dot; a sharper
// screen draws the same logical dot in more device pixels.
TEST(CrowdDotStyle, ShrinksThenFadesWithTheCrowdAndKeepsItsSizeOnSharperScreens) {
  const double mapArea = static_cast<double>(kMapAreaWidth) * kMapAreaHeight;
  TDotStyle before = CrowdDotStyle(kFewTrackedMax + 1, mapArea, 1.0);
  EXPECT_GT(before.sizeDevicePx, 1);
  for (int dots : {1000, 2000, 5000, 10000, 31185, 100000, 1000000}) {
    const TDotStyle style = CrowdDotStyle(dots, mapArea, 1.0);
    EXPECT_LE(style.sizeDevicePx, before.sizeDevicePx) << dots;
    EXPECT_LE(style.alpha256, before.alpha256) << dots;
    EXPECT_GE(style.alpha256, 64) << dots << ": a lone dot must still show";
    // The same crowd over four times the area is as dense as a quarter of it.
    EXPECT_EQ(CrowdDotStyle(4 * dots, 4 * mapArea, 1.0), style) << dots;
    const TDotStyle sharp = CrowdDotStyle(dots, mapArea, 2.0);
    EXPECT_EQ(sharp.sizeDevicePx, 2 * style.sizeDevicePx) << dots;
    EXPECT_EQ(sharp.alpha256, style.alpha256) << dots;
    before = style;
  }
  EXPECT_EQ(before.sizeDevicePx, 1);
  EXPECT_LT(before.alpha256, CrowdDotStyle(kFewTrackedMax + 1, mapArea, 1.0).alpha256);
}

}  // namespace
}  // namespace zen
