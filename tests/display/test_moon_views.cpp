// The Moon on rendered images: the map's sub-lunar symbol, the radar's Moon while it is up and
// the pass plot's Moon, each at its projected place with the lit side toward the Sun, and
// nothing of it while the option is off.
#include <gtest/gtest.h>

#include <cmath>

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
// Of the summed channels: a thin crescent lights little of its half, a gibbous Moon much of
// the other half.
constexpr double kBrighterToward = 40.0;

// The Moon and the Sun straight from the ephemerides, without the compute cycle or the drawing
// code: sub-points and look angles from the site (degrees), and the geocentric lit fraction.
struct TKnownSky {
  double moonLat, moonLon, sunLat, sunLon, moonAz, moonEl, sunAz, sunEl, illuminated;
};

TKnownSky Known(double jd) {
  const TMatrix3 frame = ModelFrameFromJ2000(jd);
  const TVector moon = Rotate(frame, MoonJ2000(jd).pos);
  const TVector sun = Rotate(frame, SunJ2000(jd).pos);
  const TGeodetic site = ObserverFromSite(52.0, 21.0, 0.0);
  const TGeodetic m = EciToGeodetic(moon, jd);
  const TGeodetic s = EciToGeodetic(sun, jd);
  const TLookAngles ml = LookAngles(moon, Rotate(frame, MoonJ2000(jd).vel), site, jd);
  const TLookAngles sl = LookAngles(sun, Rotate(frame, SunJ2000(jd).vel), site, jd);
  const TVector toSun{sun.x - moon.x, sun.y - moon.y, sun.z - moon.z};
  const double cosPhase = -(toSun.x * moon.x + toSun.y * moon.y + toSun.z * moon.z) /
                          std::hypot(toSun.x, toSun.y, toSun.z) /
                          std::hypot(moon.x, moon.y, moon.z);
  return {Degrees(m.latitude),   std::remainder(Degrees(m.longitude), 360.0),
          Degrees(s.latitude),   std::remainder(Degrees(s.longitude), 360.0),
          Degrees(ml.first),     Degrees(ml.second),
          Degrees(sl.first),     Degrees(sl.second),
          (1.0 + cosPhase) / 2.0};
}

// A direction on a polar sky chart of the given horizon radius, continued below the horizon.
QPointF Polar(double horizonPx, double azDeg, double elDeg) {
  const double r = horizonPx * (90.0 - elDeg) / 90.0;
  return {r * std::sin(Radians(azDeg)), -r * std::cos(Radians(azDeg))};
}

double Brightness(QRgb c) {
  return qRed(c) + qGreen(c) + qBlue(c);
}

// What a drawing added to an image: how many pixels and their centre, and within radiusPx
// of it (inside the rim) how bright each side of the line square to `toward` is and what share
// is nearer the lit colour than the dark one.
struct TSymbol {
  int pixels = 0;
  QPointF centre;
  double toward = 0.0;
  double away = 0.0;
  double litShare = 0.0;
};

TSymbol SymbolIn(const QImage& with, const QImage& without, double radiusPx, QPointF toward) {
  TSymbol s;
  for (int y = 0; y < with.height(); ++y) {
    for (int x = 0; x < with.width(); ++x) {
      if (with.pixel(x, y) == without.pixel(x, y)) continue;
      ++s.pixels;
      s.centre += QPointF(x + 0.5, y + 0.5);
    }
  }
  if (s.pixels == 0) return s;
  s.centre /= s.pixels;
  const double middle = (Brightness(kMoonLitColour.rgb()) + Brightness(kMoonDarkColour.rgb())) / 2;
  double sums[2] = {0.0, 0.0};
  int counts[2] = {0, 0};
  int lit = 0;
  for (int y = 0; y < with.height(); ++y) {
    for (int x = 0; x < with.width(); ++x) {
      const QPointF d = QPointF(x + 0.5, y + 0.5) - s.centre;
      if (std::hypot(d.x(), d.y()) > radiusPx - 0.5) continue;
      const int side = QPointF::dotProduct(d, toward) > 0.0 ? 0 : 1;
      sums[side] += Brightness(with.pixel(x, y));
      ++counts[side];
      lit += Brightness(with.pixel(x, y)) > middle ? 1 : 0;
    }
  }
  s.toward = sums[0] / std::max(1, counts[0]);
  s.away = sums[1] / std::max(1, counts[1]);
  s.litShare = static_cast<double>(lit) / std::max(1, counts[0] + counts[1]);
  return s;
}

class MoonViews : public ::testing::Test {
 protected:
  // The sky as the compute cycle keeps it at jd, with the documented Sun's look angles.
  void SetSky(double jd) {
    const TGeodetic site = ObserverFromSite(52.0, 21.0, 0.0);
    p.cycle.SkyNow.Compute(jd, site, ObserverFrameAt(site, jd), 0.0);
    p.cycle.SunNow.azimuth = Known(jd).sunAz;
    p.cycle.SunNow.elevation = Known(jd).sunEl;
  }
  QImage Radar() {
    QImage image = test::Filled(kRadarImageWidth, kRadarImageHeight, Qt::white);
    TRadarView().DrawRadar(image, p.Scene());
    return image;
  }
  test::TSceneParts p;
};

TEST_F(MoonViews, TheMapShowsTheSubLunarPointInItsPhaseLitTowardTheSun) {
  const QImage noSky = p.Map();  // as before the Moon existed
  for (double jd : {kCrescent, kFirstQuarter, kGibbous}) {
    SCOPED_TRACE(jd);
    SetSky(jd);
    const TKnownSky k = Known(jd);
    p.show.moon = false;
    const QImage off = p.Map();
    EXPECT_EQ(off, noSky) << "off, the map is the old one bit for bit";
    p.show.moon = true;
    const QPointF at = QPointF(LonLatToMap(k.moonLat, k.moonLon)) + QPointF(0.5, 0.5);
    const QPointF toward(std::remainder(k.sunLon - k.moonLon, 360.0) * kMapAreaWidth / 360.0,
                         (k.moonLat - k.sunLat) * kMapAreaHeight / 180.0);
    const TSymbol s = SymbolIn(p.Map(), off, 6.0, toward);
    EXPECT_TRUE(s.pixels > 120 && s.pixels < 220) << s.pixels;  // 12 pixels across, and a rim
    EXPECT_NEAR(s.centre.x(), at.x(), 1.0);
    EXPECT_NEAR(s.centre.y(), at.y(), 1.0);
    EXPECT_GT(s.toward, s.away + kBrighterToward);
    EXPECT_NEAR(s.litShare, k.illuminated, 0.12);
  }
  p.cycle.SkyNow.valid = false;  // a moment outside the sky's dates
  EXPECT_EQ(p.Map(), noSky);
}

TEST_F(MoonViews, TheRadarShowsTheMoonOnlyWhileItIsUp) {
  p.cycle.RadarShown = true;
  const struct {
    double jd;
    bool up;
  } rows[] = {{kFirstQuarter + 6 * kHour, true},  // afternoon, the Sun up too
              {kFirstQuarter + 16 * kHour, true},
              {kFirstQuarter - kHour, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.jd);
    SetSky(row.jd);
    const TKnownSky k = Known(row.jd);
    ASSERT_EQ(k.moonEl >= 0.0, row.up) << k.moonEl;
    p.show.moon = false;
    const QImage off = Radar();
    p.show.moon = true;
    if (!row.up) {
      EXPECT_EQ(Radar(), off);
      continue;
    }
    const QPointF at = QPointF(AzElToRadar(k.moonAz, k.moonEl)) + QPointF(0.5, 0.5);
    const QPointF toward =
        Polar(kHorizonRadius, k.sunAz, k.sunEl) - Polar(kHorizonRadius, k.moonAz, k.moonEl);
    const TSymbol s = SymbolIn(Radar(), off, 4.0, toward);
    EXPECT_TRUE(s.pixels > 40 && s.pixels < 130) << s.pixels;  // 8 pixels across, and a rim
    EXPECT_NEAR(s.centre.x(), at.x(), 1.0);
    EXPECT_NEAR(s.centre.y(), at.y(), 1.0);
    EXPECT_GT(s.toward, s.away + kBrighterToward);
  }
}

TEST_F(MoonViews, ThePassPlotShowsTheMoonUpDuringThePassInItsPhase) {
  const QSize size(800, 500);
  const TPassPlotLayout layout = PassPlotLayoutFor(size);
  const double horizon = layout.skyDisc.width() / 2.0;
  for (const auto& [at, up] :
       {std::pair{kFirstQuarter + 10 * kHour, true}, std::pair{kFirstQuarter - kHour, false}}) {
    SCOPED_TRACE(at);
    // A pass low in the north, five minutes long, out of the Moon's way.
    TPassPlot plot;
    for (int s = -150; s <= 150; ++s) {
      plot.track.points.push_back(
          {at + s / 86400.0, 300.0 + s * 0.4, 20.0 - std::abs(s) / 10.0, 900.0, false});
    }
    plot.track.sunElevationDeg = -30.0;
    const QImage without = RenderPassPlot(plot, size);
    // The Moon as the pass details get it, here from the ephemeris: a minute each side.
    for (int minute = -1; minute <= 1; ++minute) {
      const TKnownSky k = Known(at + minute / 1440.0);
      plot.moon.points.push_back({at + minute / 1440.0, k.moonAz, k.moonEl});
    }
    const TKnownSky k = Known(at);
    plot.moon.atEvent = plot.moon.points[1];
    plot.moon.illuminated = k.illuminated;
    plot.moon.sunAzimuthDeg = k.sunAz;
    plot.moon.sunElevationDeg = k.sunEl;
    ASSERT_EQ(k.moonEl >= 0.0, up) << k.moonEl;
    if (!up) {
      EXPECT_EQ(RenderPassPlot(plot, size), without);
      continue;
    }
    const QPointF centre = SkyPlotPoint(layout.skyDisc, k.moonAz, k.moonEl);
    const TSymbol s =
        SymbolIn(RenderPassPlot(plot, size), without, 8.0,
                 Polar(horizon, k.sunAz, k.sunEl) - Polar(horizon, k.moonAz, k.moonEl));
    EXPECT_NEAR(s.centre.x(), centre.x(), 1.5);
    EXPECT_NEAR(s.centre.y(), centre.y(), 1.5);
    EXPECT_GT(s.toward, s.away + kBrighterToward);
  }
}

}  // namespace
}  // namespace zen
