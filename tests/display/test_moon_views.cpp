// The Moon on rendered images: the map's sub-lunar symbol, the radar's Moon while it is up and
// the pass plot's Moon, each at its projected place with the lit side toward the Sun, and
// nothing of it while the option is off.
#include <gtest/gtest.h>

#include <cmath>

#include "core/observer.h"
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
constexpr double kSiteLatDeg = 52.0;
constexpr double kSiteLonDeg = 21.0;

// The Moon and the Sun of a moment worked out straight from the ephemerides, without the
// compute cycle or the drawing code: sub-points, look angles from the site and the geocentric
// illuminated fraction.
struct TKnownSky {
  double moonLat, moonLon, sunLat, sunLon;  // degrees
  double moonAz, moonEl, sunAz, sunEl;      // degrees
  double illuminated;
};

TKnownSky Known(double jd) {
  const TMatrix3 frame = ModelFrameFromJ2000(jd);
  const TBodyState moon{Rotate(frame, MoonJ2000(jd).pos), Rotate(frame, MoonJ2000(jd).vel)};
  const TBodyState sun{Rotate(frame, SunJ2000(jd).pos), Rotate(frame, SunJ2000(jd).vel)};
  const TGeodetic site = ObserverFromSite(kSiteLatDeg, kSiteLonDeg, 0.0);
  TKnownSky k{};
  const TGeodetic m = EciToGeodetic(moon.pos, jd);
  const TGeodetic s = EciToGeodetic(sun.pos, jd);
  k.moonLat = Degrees(m.latitude);
  k.moonLon = std::remainder(Degrees(m.longitude), 360.0);
  k.sunLat = Degrees(s.latitude);
  k.sunLon = std::remainder(Degrees(s.longitude), 360.0);
  const TLookAngles ml = LookAngles(moon.pos, moon.vel, site, jd);
  const TLookAngles sl = LookAngles(sun.pos, sun.vel, site, jd);
  k.moonAz = Degrees(ml.first);
  k.moonEl = Degrees(ml.second);
  k.sunAz = Degrees(sl.first);
  k.sunEl = Degrees(sl.second);
  const TVector toSun{sun.pos.x - moon.pos.x, sun.pos.y - moon.pos.y, sun.pos.z - moon.pos.z};
  const double cosPhase = -(toSun.x * moon.pos.x + toSun.y * moon.pos.y + toSun.z * moon.pos.z) /
                          std::hypot(toSun.x, toSun.y, toSun.z) /
                          std::hypot(moon.pos.x, moon.pos.y, moon.pos.z);
  k.illuminated = (1.0 + cosPhase) / 2.0;
  return k;
}

double Brightness(QRgb c) {
  return qRed(c) + qGreen(c) + qBlue(c);
}
// Of the summed channels: a thin crescent lights little of its half, and a gibbous Moon much of
// the other half.
constexpr double kBrighterToward = 40.0;

// The pixels a drawing added to an image: where they are, and within the disc of radiusPx
// inside the rim, how bright each side of the line across its centre square to `toward` is
// and what share of it is nearer the lit colour than the dark one.
struct TSymbol {
  int pixels = 0;
  QPointF centre;
  double towardMean = 0.0;
  double awayMean = 0.0;
  double litShare = 0.0;
};

TSymbol SymbolIn(const QImage& with, const QImage& without, double radiusPx, QPointF toward) {
  TSymbol s;
  double sx = 0.0;
  double sy = 0.0;
  for (int y = 0; y < with.height(); ++y) {
    for (int x = 0; x < with.width(); ++x) {
      if (with.pixel(x, y) == without.pixel(x, y)) continue;
      ++s.pixels;
      sx += x + 0.5;
      sy += y + 0.5;
    }
  }
  if (s.pixels == 0) return s;
  s.centre = QPointF(sx / s.pixels, sy / s.pixels);
  const double middle = (Brightness(kMoonLitColour.rgb()) + Brightness(kMoonDarkColour.rgb())) / 2;
  double sums[2] = {0.0, 0.0};
  int counts[2] = {0, 0};
  int lit = 0;
  for (int y = 0; y < with.height(); ++y) {
    for (int x = 0; x < with.width(); ++x) {
      const QPointF d = QPointF(x + 0.5, y + 0.5) - s.centre;
      if (std::hypot(d.x(), d.y()) > radiusPx - 0.5) continue;
      const double b = Brightness(with.pixel(x, y));
      const int side = d.x() * toward.x() + d.y() * toward.y() > 0.0 ? 0 : 1;
      sums[side] += b;
      ++counts[side];
      if (b > middle) ++lit;
    }
  }
  s.towardMean = counts[0] > 0 ? sums[0] / counts[0] : 0.0;
  s.awayMean = counts[1] > 0 ? sums[1] / counts[1] : 0.0;
  s.litShare = static_cast<double>(lit) / (counts[0] + counts[1]);
  return s;
}

class MoonViews : public ::testing::Test {
 protected:
  // The sky of the moment as the compute cycle keeps it, and the documented Sun's look angles
  // from the ephemeris.
  void SetSky(double jd) {
    TGeodetic site = ObserverFromSite(kSiteLatDeg, kSiteLonDeg, 0.0);
    p.site.latitude = kSiteLatDeg;
    p.site.longitude = kSiteLonDeg;
    p.cycle.SkyNow.Compute(jd, site, ObserverFrameAt(site, jd), 0.0);
    const TKnownSky k = Known(jd);
    p.cycle.SunNow.azimuth = k.sunAz;
    p.cycle.SunNow.elevation = k.sunEl;
  }
  QImage Radar() {
    QImage image = test::Filled(kRadarImageWidth, kRadarImageHeight, Qt::white);
    TRadarView view;
    view.DrawRadar(image, p.Scene());
    return image;
  }

  test::TSceneParts p;
};

TEST_F(MoonViews, TheMapShowsTheSubLunarPointInItsPhaseLitTowardTheSun) {
  const struct {
    const char* name;
    double jd;
  } rows[] = {{"crescent", kCrescent}, {"first quarter", kFirstQuarter}, {"gibbous", kGibbous}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetSky(row.jd);
    const TKnownSky k = Known(row.jd);
    p.show.moon = false;
    const QImage off = p.Map();
    p.show.moon = true;
    const QImage on = p.Map();
    const QPointF expected = QPointF(LonLatToMap(k.moonLat, k.moonLon)) + QPointF(0.5, 0.5);
    const double dLon = std::remainder(k.sunLon - k.moonLon, 360.0);
    const QPointF toward(dLon * kMapAreaWidth / 360.0, -(k.sunLat - k.moonLat) * 2.0);
    const TSymbol s = SymbolIn(on, off, 6.0, toward);
    EXPECT_GT(s.pixels, 120);  // a disc 12 pixels across in its rim
    EXPECT_LT(s.pixels, 220);
    EXPECT_NEAR(s.centre.x(), expected.x(), 1.0);
    EXPECT_NEAR(s.centre.y(), expected.y(), 1.0);
    EXPECT_GT(s.towardMean, s.awayMean + kBrighterToward);
    EXPECT_NEAR(s.litShare, k.illuminated, 0.12) << k.illuminated;
  }
}

TEST_F(MoonViews, WithTheOptionOffOrNoSkyTheMapIsTheOldOneBitForBit) {
  const QImage before = p.Map();  // no sky computed yet, as before the Moon existed
  SetSky(kFirstQuarter);
  EXPECT_EQ(p.Map(), before);
  p.show.moon = true;
  p.cycle.SkyNow.valid = false;  // a moment outside the sky's dates
  EXPECT_EQ(p.Map(), before);
}

TEST_F(MoonViews, TheRadarShowsTheMoonOnlyWhileItIsUp) {
  p.cycle.RadarShown = true;
  const struct {
    const char* name;
    double jd;
    bool up;
  } rows[] = {{"afternoon, Sun up", kFirstQuarter + 6.0 / 24.0, true},
              {"night", kFirstQuarter + 16.0 / 24.0, true},
              {"morning, Moon down", kFirstQuarter - 1.0 / 24.0, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetSky(row.jd);
    const TKnownSky k = Known(row.jd);
    ASSERT_EQ(k.moonEl >= 0.0, row.up) << k.moonEl;
    p.show.moon = false;
    const QImage off = Radar();
    p.show.moon = true;
    const QImage on = Radar();
    if (!row.up) {
      EXPECT_EQ(on, off);
      continue;
    }
    const QPointF at = QPointF(AzElToRadar(k.moonAz, k.moonEl)) + QPointF(0.5, 0.5);
    // The Sun where the same projection puts it, below the horizon beyond the ring.
    const double sunRadius = (90.0 - k.sunEl) / 90.0 * kHorizonRadius;
    const QPointF sun(kRadarImageWidth / 2 + 0.5 + sunRadius * std::sin(Radians(k.sunAz)),
                      kRadarImageHeight / 2 + 0.5 - sunRadius * std::cos(Radians(k.sunAz)));
    const TSymbol s = SymbolIn(on, off, 4.0, sun - at);
    EXPECT_GT(s.pixels, 40);  // a disc 8 pixels across in its rim
    EXPECT_LT(s.pixels, 130);
    EXPECT_NEAR(s.centre.x(), at.x(), 1.0);
    EXPECT_NEAR(s.centre.y(), at.y(), 1.0);
    EXPECT_GT(s.towardMean, s.awayMean + kBrighterToward);
  }
}

// The plot's Moon as the pass details get it (MoonBetween, tested with the searches), here from
// the ephemeris: a minute each side of the event.
TMoonTrack KnownMoonTrack(double at) {
  TMoonTrack moon;
  for (int minute = -1; minute <= 1; ++minute) {
    const TKnownSky k = Known(at + minute / 1440.0);
    moon.points.push_back({at + minute / 1440.0, k.moonAz, k.moonEl});
  }
  moon.atEvent = moon.points[1];
  const TKnownSky k = Known(at);
  moon.illuminated = k.illuminated;
  moon.sunAzimuthDeg = k.sunAz;
  moon.sunElevationDeg = k.sunEl;
  return moon;
}

TEST_F(MoonViews, ThePassPlotShowsTheMoonUpDuringThePassInItsPhase) {
  const QSize size(800, 500);
  const TPassPlotLayout layout = PassPlotLayoutFor(size);
  const struct {
    const char* name;
    double at;
    bool up;
  } rows[] = {{"evening", kFirstQuarter + 10.0 / 24.0, true},
              {"morning, Moon down", kFirstQuarter - 1.0 / 24.0, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    // A pass low in the north, five minutes long, out of the Moon's way.
    TPassPlot plot;
    for (int s = -150; s <= 150; ++s) {
      plot.track.points.push_back(
          {row.at + s / 86400.0, 300.0 + s * 0.4, 20.0 - std::abs(s) / 10.0, 900.0, false});
    }
    plot.track.sunElevationDeg = -30.0;
    const QImage without = RenderPassPlot(plot, size);
    plot.moon = KnownMoonTrack(row.at);
    const TKnownSky k = Known(row.at);
    ASSERT_EQ(k.moonEl >= 0.0, row.up) << k.moonEl;
    const QImage with = RenderPassPlot(plot, size);
    if (!row.up) {
      EXPECT_EQ(with, without);
      continue;
    }
    const QPointF at = SkyPlotPoint(layout.skyDisc, k.moonAz, k.moonEl);
    // The Sun below the horizon, by the same linear rule continued beyond the disc.
    const double r = layout.skyDisc.width() / 2.0;
    const QPointF sun =
        layout.skyDisc.center() + QPointF(std::sin(Radians(k.sunAz)), -std::cos(Radians(k.sunAz))) *
                                      r * (90.0 - k.sunEl) / 90.0;
    const TSymbol s = SymbolIn(with, without, 8.0, sun - at);
    EXPECT_NEAR(s.centre.x(), at.x(), 1.5);
    EXPECT_NEAR(s.centre.y(), at.y(), 1.5);
    EXPECT_GT(s.towardMean, s.awayMean + kBrighterToward);
  }
}

}  // namespace
}  // namespace zen
