// The Moon on rendered images: the map's sub-lunar symbol, the radar's and the pass plot's Moon
// while it is up, each at its place with the lit side toward the Sun, and nothing while off.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "display/moon_symbol.h"
#include "display/pass_plot.h"
#include "display/radar_view.h"
#include "scene_support.h"
#include "sky/sky_bodies.h"
#include "sky/sky_frames.h"

namespace zen {
namespace {

// 2025-02-01 12:00, 2025-02-05 08:02 (first quarter), 2025-02-09 12:00 UTC.
constexpr double kCrescent = 2460708.0;
constexpr double kFirstQuarter = 2460711.5 + (8.0 + 2.0 / 60.0) / 24.0;
constexpr double kGibbous = 2460716.0;
constexpr double kHour = 1.0 / 24.0;
const TGeodetic kSite = ObserverFromSite(52.0, 21.0, 0.0);

// Straight from the ephemerides: sub-points and look angles (degrees) of the Moon [0] and the
// Sun [1], and the Moon's lit fraction.
struct TKnown {
  double lat[2], lon[2], az[2], el[2], lit;
};

TKnown Known(double jd) {
  TKnown k{};
  const TMatrix3 frame = ModelFrameFromJ2000(jd);
  TVector pos[2];
  for (int i = 0; i < 2; ++i) {
    const TBodyState b = i == 0 ? MoonJ2000(jd) : SunJ2000(jd);
    pos[i] = Rotate(frame, b.pos);
    const TGeodetic g = EciToGeodetic(pos[i], jd);
    const TLookAngles look = LookAngles(pos[i], Rotate(frame, b.vel), kSite, jd);
    k.lat[i] = Degrees(g.latitude);
    k.lon[i] = std::remainder(Degrees(g.longitude), 360.0);
    k.az[i] = Degrees(look.first);
    k.el[i] = Degrees(look.second);
  }
  const TVector toSun = VecSub(pos[1], pos[0]);
  k.lit =
      (1.0 - VecDot(toSun, pos[0]) / std::sqrt(VecDot(toSun, toSun) * VecDot(pos[0], pos[0]))) / 2;
  return k;
}

// A direction on a polar sky chart of the given horizon radius, continued below the horizon.
QPointF Polar(double horizonPx, double azDeg, double elDeg) {
  const double r = horizonPx * (90.0 - elDeg) / 90.0;
  return {r * std::sin(Radians(azDeg)), -r * std::cos(Radians(azDeg))};
}

// The centre of the pixels a drawing changed; and of the disc within radiusPx of `at`, how
// many pixels are nearer the lit colour than the dark one on the side toward `toward` and away.
struct TSymbol {
  QPointF centre;
  int disc = 0, litToward = 0, litAway = 0;
};

TSymbol SymbolIn(const QImage& with, const QImage& without, QPointF at, double radiusPx,
                 QPointF toward) {
  const auto bright = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
  const int middle = (bright(kMoonLitColour.rgb()) + bright(kMoonDarkColour.rgb())) / 2;
  TSymbol s;
  int changed = 0;
  for (int y = 0; y < with.height(); ++y) {
    for (int x = 0; x < with.width(); ++x) {
      const QPointF d = QPointF(x + 0.5, y + 0.5) - at;
      if (with.pixel(x, y) != without.pixel(x, y)) s.centre += (at + d - s.centre) / ++changed;
      if (std::hypot(d.x(), d.y()) > radiusPx - 0.5) continue;
      ++s.disc;
      if (bright(with.pixel(x, y)) > middle)
        ++(QPointF::dotProduct(d, toward) > 0 ? s.litToward : s.litAway);
    }
  }
  return s;
}

enum TChart { kMap, kRadar, kPlot };
constexpr double kRadiusPx[] = {6.0, 4.0, 8.0};  // of each chart's symbol

// The map always, the radar and the pass plot only while the Moon is up; off, nothing changes.
TEST(MoonViews, TheMoonIsDrawnAtItsPlaceInItsPhaseLitTowardTheSun) {
  test::TSceneParts p;
  const QImage noSky = p.Map();
  p.cycle.RadarShown = true;
  const QSize size(800, 500);
  const QRectF disc = PassPlotLayoutFor(size).skyDisc;
  for (const auto& [chart, jd, up] : {std::tuple{kMap, kCrescent, true},
                                      {kMap, kFirstQuarter, true},
                                      {kMap, kGibbous, true},
                                      {kRadar, kFirstQuarter + 6 * kHour, true},
                                      {kRadar, kFirstQuarter - kHour, false},
                                      {kPlot, kFirstQuarter + 10 * kHour, true}}) {
    SCOPED_TRACE(jd);
    const TKnown k = Known(jd);
    ASSERT_EQ(up, chart == kMap || k.el[0] >= 0.0) << k.el[0];
    p.cycle.SkyNow.Compute(jd, kSite, ObserverFrameAt(kSite, jd), 0.0);
    p.cycle.SunNow.azimuth = k.az[1];
    p.cycle.SunNow.elevation = k.el[1];
    TPassPlot plot;  // a five-minute pass low in the north, out of the Moon's way
    for (int s = -150; s <= 150; ++s) {
      plot.track.points.push_back(
          {jd + s / 86400.0, 300.0 + s * 0.4, 20.0 - std::abs(s) / 10.0, 900.0, false});
    }
    plot.track.sunElevationDeg = -30.0;
    const TMoonSample m{jd, k.az[0], k.el[0]};
    const auto draw = [&](bool moon) -> QImage {
      p.show.moon = moon;
      plot.moon = moon ? TMoonTrack{{m}, m, k.lit, k.az[1], k.el[1]} : TMoonTrack{};
      if (chart == kMap) return p.Map();
      if (chart == kPlot) return RenderPassPlot(plot, size);
      QImage image = test::Filled(kRadarImageWidth, kRadarImageHeight, Qt::white);
      TRadarView().DrawRadar(image, p.Scene());
      return image;
    };
    const QImage off = draw(false), on = draw(true);
    EXPECT_TRUE(chart != kMap || off == noSky) << "off, the map is the old one";
    if (!up) {
      EXPECT_EQ(on, off);
      continue;
    }
    const double horizon = chart == kPlot ? disc.width() / 2.0 : kHorizonRadius;
    QPointF at = chart == kPlot ? SkyPlotPoint(disc, k.az[0], k.el[0])
                                : QPointF(AzElToRadar(k.az[0], k.el[0])) + QPointF(0.5, 0.5);
    QPointF toward = Polar(horizon, k.az[1], k.el[1]) - Polar(horizon, k.az[0], k.el[0]);
    if (chart == kMap) {
      at = QPointF(LonLatToMap(k.lat[0], k.lon[0])) + QPointF(0.5, 0.5);
      toward = QPointF(std::remainder(k.lon[1] - k.lon[0], 360.0) * kMapAreaWidth / 360.0,
                       (k.lat[0] - k.lat[1]) * kMapAreaHeight / 180.0);
    }
    const TSymbol s = SymbolIn(on, off, at, kRadiusPx[chart], toward);
    EXPECT_NEAR(s.centre.x(), at.x(), 1.5);
    EXPECT_NEAR(s.centre.y(), at.y(), 1.5);
    EXPECT_GT(s.litToward, s.litAway);
    const double litShare = static_cast<double>(s.litToward + s.litAway) / s.disc;
    EXPECT_NEAR(litShare, chart == kRadar ? litShare : k.lit, 0.12) << "the phase";
  }
}

}  // namespace
}  // namespace zen
