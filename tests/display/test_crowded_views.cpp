// A whole catalogue on the map and the radar: dots through which the world still shows, the
// active satellite over them, and symbols and names kept up to the crowd's threshold.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "bench/bench_sets.h"
#include "core/timescale.h"
#include "display/map_primitives.h"
#include "display/radar_view.h"
#include "image_probe.h"
#include "scene_support.h"
#include "tracking/list_counts.h"
#include "tracking/site.h"

namespace zen {
namespace {

// The Starlink sets repeated to 31,185, all tracked and computed half a day after their epoch,
// the second one active, with the shipped bitmaps; built once for the file.
struct TCrowd : test::TSceneParts {
  TCrowd() {
    EXPECT_TRUE(LoadBitmaps(QStringLiteral(ZEN_SOURCE_DIR "/resources"), bitmaps).ok);
    list.TleFileName =
        bench::WriteLargeCatalogue(bench::StarlinkFile(), dir.path().toStdString(), 31185).string();
    list.zapodawajSatelity(dir.path().toStdString());
    TSelection none;
    list.AddTr(true, false, 0, none);
    list.ActiveSat = 2;
    show.satNames = show.radarNames = true;
    show.radarMode = TRadarMode::On;
    TGeodetic observer = UstawLokacje(site);
    cycle.LiczWszo(JulianDateOfEpoch(26150.8), observer, list, time, show);
  }
  // The picture with none but satellite `keep` computed.
  QImage Without(const std::function<QImage()>& draw, int keep) {
    const std::vector<TSatState> all = list.TrackedSats;
    for (int i = 1; i <= list.TrackedCount; ++i) {
      if (i != keep) list.TrackedSats[static_cast<size_t>(i)].computed = false;
    }
    QImage image = draw();
    list.TrackedSats = all;
    return image;
  }
  QTemporaryDir dir;
};

class CrowdedViews : public ::testing::TestWithParam<std::pair<QSize, double>> {};

// Each view against itself with the active satellite alone: most of the world (the map's land,
// the sky inside the radar's horizon) is exactly as it was, and on the map every pixel that the
// active symbol and its name's solid white letters drew is whole.
TEST_P(CrowdedViews, WorldShowsThroughAndTheActiveSatelliteIsOnTop) {
  static TCrowd c;
  const auto [logical, ratio] = GetParam();  // an empty size: the radar
  const bool radar = logical.isEmpty();
  auto draw = [&]() -> QImage {
    QImage image(
        radar ? QSize(kRadarImageWidth, kRadarImageHeight) : (QSizeF(logical) * ratio).toSize(),
        QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    if (radar) TRadarView().DrawRadar(image, c.Scene());
    if (!radar) DrawScreen(image, c.Scene(), false);
    return image;
  };
  const QImage crowded = draw(), bare = c.Without(draw, 2), underneath = c.Without(draw, 0);
  const TMapGeometry area = MapGeometryFor(logical.width(), logical.height());
  auto device = [&](QPoint at) { return (QPointF(at) * ratio).toPoint(); };
  const QRect areaPx(device({area.left, area.top}), device({area.Right(), area.Bottom()}));
  const QRgb ocean = radar ? 0 : bare.pixel(device(MapPixel(area, 0.0, -140.0)));  // mid-Pacific
  const TSatState& active = c.list.TrackedSats[2];
  const QPoint at = device(MapPixel(area, active.latitude, active.longitude));
  const QSize symbolSize = (c.bitmaps.SatActiveBitmap.deviceIndependentSize() * ratio).toSize();
  const QRect symbol(at - QPoint(symbolSize.width(), symbolSize.height()) / 2, symbolSize);
  int world = 0, kept = 0, drawn = 0, whole = 0;
  for (int y = 0; y < bare.height(); ++y) {
    for (int x = 0; x < bare.width(); ++x) {
      const QRgb b = bare.pixel(x, y);
      const bool same = b == crowded.pixel(x, y);
      const int fromOcean = std::abs(qRed(b) - qRed(ocean)) + std::abs(qGreen(b) - qGreen(ocean)) +
                            std::abs(qBlue(b) - qBlue(ocean));
      if (radar ? std::hypot(x - kRadarImageWidth / 2, y - kRadarImageHeight / 2) < kHorizonRadius
                : areaPx.contains(x, y) && fromOcean >= 60) {
        world++, kept += same;
      }
      if (!radar && b != underneath.pixel(x, y) && (symbol.contains(x, y) || b == 0xFFFFFFFF)) {
        drawn++, whole += same;
      }
    }
  }
  ASSERT_GT(world, bare.width() * bare.height() / 10) << "no land found";
  EXPECT_GT(kept, (radar ? 0.6 : 0.7) * world) << kept << " of " << world << " kept";
  EXPECT_NE(crowded, bare) << "the dots are missing";
  EXPECT_GE(drawn, radar ? 0 : 20 * ratio * ratio) << "the symbol and name drew little";
  EXPECT_EQ(whole, drawn) << "the crowd covers the active satellite";
}

INSTANTIATE_TEST_SUITE_P(MapsAndRadar, CrowdedViews,
                         ::testing::Values(std::pair{QSize(kMapImageWidth, kMapImageHeight), 2.0},
                                           std::pair{QSize(1230, 750), 1.0},
                                           std::pair{QSize(), 1.0}),
                         [](const auto& info) { return std::to_string(info.index); });

// Up to the threshold each satellite has its symbol and name; one more and all are nameless
// dots, neither the symbol's ink nor the world's.
TEST(CrowdThreshold, SymbolsAndNamesUpToItDotsBeyond) {
  auto spot = [](int i) {
    return QPoint(MapLeft + 10 + 24 * (i % 24), MapLeft + 8 + 16 * (i / 24));
  };
  for (const int count : {kFewTrackedMax, kFewTrackedMax + 1}) {
    QTemporaryDir dir;
    test::TSceneParts p;
    test::LoadTracked(p.list, dir.path().toStdString(), std::vector<std::string>(count, "SAT"));
    for (int i = 0; i < count; ++i) {
      const TMapPoint point = MapToLonLat(spot(i).x(), spot(i).y());
      p.Place(i + 1, point.lat, point.lon);
    }
    const QImage nameless = p.Map();
    p.show.satNames = true;
    const QImage named = p.Map();
    const bool few = count <= kFewTrackedMax;
    EXPECT_EQ(named != nameless, few) << count << ": names";
    int symbols = 0, dots = 0;
    for (int i = 0; i < count; ++i) {
      const bool lit = test::IsColour(named, spot(i).x(), spot(i).y(), test::kLitInk);
      symbols += lit;
      dots += !lit && !test::IsColour(named, spot(i).x(), spot(i).y(), test::kWorldInk);
    }
    EXPECT_EQ(symbols, few ? count : 0) << count;
    EXPECT_EQ(dots, few ? 0 : count) << count;
  }
}

}  // namespace
}  // namespace zen
