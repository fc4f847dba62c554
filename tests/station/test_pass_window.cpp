// The pass the station follows: made-up passes whose rise, set and top are known in closed form,
// what must hold of any pass of a real satellite, geostationary satellites, and the countdown.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/observer.h"
#include "core/propagator.h"
#include "line_pass.h"
#include "reference_sets.h"
#include "station/pass_window.h"

namespace zen::station {
namespace {

using test::kSecondsPerDay;
using test::TLinePass;

// Rise and set are narrowed to a second and given on the upper side.
constexpr double kEdgeSlackDays = 1.01 / kSecondsPerDay;
constexpr double kSecondDays = 1.0 / kSecondsPerDay;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(FindPass, FindsTheRiseSetAndTopOfMadeUpPasses) {
  TLinePass high = test::OverheadPass();
  TLinePass low = test::NorthPass();
  TLinePass slow = test::SouthPass();
  slow.speedKmS = 0.5;  // a pass of about three hours
  const double hour = 1.0 / 24.0;
  const struct {
    const char* what;
    TLinePass pass;
    double fromJd;  // relative to the nearest point
    double minElevationDeg;
  } cases[] = {
      {"ahead, overhead", high, -2.0 * hour, 0.0},
      {"ahead, low", low, -5.0 * hour, 0.0},
      {"ahead, above 10 degrees", low, -1.0 * hour, 10.0},
      {"under way, before the top", high, -60.0 * kSecondDays, 0.0},
      {"under way, after the top", low, 200.0 * kSecondDays, 5.0},
      {"under way, long pass", slow, 1.0 * hour, 0.0},
      {"ahead, just before rise", low, -low.HalfPassDays(0.0) - 0.5 * kSecondDays, 0.0},
  };
  for (const auto& c : cases) {
    const double fromJd = c.pass.closestJd + c.fromJd;
    const TPassWindow w = FindPass(c.pass.LookAt(), fromJd, c.minElevationDeg);
    ASSERT_TRUE(w.Valid()) << c.what;
    EXPECT_NEAR(w.riseJd, c.pass.RiseJd(c.minElevationDeg), kEdgeSlackDays) << c.what;
    EXPECT_NEAR(w.setJd, c.pass.SetJd(c.minElevationDeg), kEdgeSlackDays) << c.what;
    // On the upper side of the limit, and the outside a second away below it.
    EXPECT_GE(c.pass.At(w.riseJd).elDeg, c.minElevationDeg) << c.what;
    EXPECT_GE(c.pass.At(w.setJd).elDeg, c.minElevationDeg) << c.what;
    EXPECT_LT(c.pass.At(w.riseJd - kEdgeSlackDays).elDeg, c.minElevationDeg) << c.what;
    EXPECT_LT(c.pass.At(w.setJd + kEdgeSlackDays).elDeg, c.minElevationDeg) << c.what;
    EXPECT_NEAR(w.culminationJd, c.pass.closestJd, kSecondDays) << c.what;
    EXPECT_NEAR(w.maxElevationDeg, c.pass.MaxElevationDeg(), 1e-3) << c.what;
    EXPECT_EQ(w.Contains(fromJd), fromJd >= w.riseJd) << c.what;
    EXPECT_TRUE(w.Contains(w.culminationJd)) << c.what;
  }
}

TEST(FindPass, NoPassWithinTheHorizonOrBelowTheTopIsNoWindow) {
  const TLinePass pass = test::NorthPass();
  const double riseJd = pass.RiseJd(0.0);
  EXPECT_FALSE(FindPass(pass.LookAt(), riseJd - 0.5, 0.0, 0.4).Valid());
  EXPECT_TRUE(FindPass(pass.LookAt(), riseJd - 0.5, 0.0, 0.6).Valid());
  EXPECT_FALSE(FindPass(pass.LookAt(), riseJd - 0.1, pass.MaxElevationDeg() + 0.5).Valid());
  // After the set the satellite never comes back.
  EXPECT_FALSE(FindPass(pass.LookAt(), pass.SetJd(0.0) + kSecondDays, 0.0).Valid());
  // A model that never gives a look has no pass.
  EXPECT_FALSE(FindPass([](double) { return TLook{}; }, riseJd, 0.0).Valid());
  EXPECT_FALSE(FindPass(pass.LookAt(), std::nan(""), 0.0).Valid());
  EXPECT_FALSE(TPassWindow{}.Valid());
  EXPECT_FALSE(TPassWindow{}.Contains(riseJd));
}

// What must hold of every pass of the station over a day: rise before top before set, below the
// limit just outside, above it inside, and nothing above the limit between two passes.
TEST(FindPass, PassesOfARealSatelliteHoldTheirInvariants) {
  const TCatalogSet set = test::ReferenceSet("stations_2026-05-30", 25544);
  ASSERT_TRUE(set.decodable);
  for (const double minElevationDeg : {0.0, 10.0}) {
    TSatelliteLook look(set.elements, 48.2, 16.37, 190);
    const TLookAt lookAt = look.AsLookAt();
    const double startJd = set.elements.epochJulian;
    double fromJd = startJd;
    int passes = 0;
    while (fromJd < startJd + 1.0) {
      const TPassWindow w = FindPass(lookAt, fromJd, minElevationDeg);
      ASSERT_TRUE(w.Valid()) << "a day without a station pass at " << fromJd;
      if (w.riseJd > startJd + 1.0) break;
      ++passes;
      EXPECT_LT(w.riseJd, w.culminationJd);
      EXPECT_LT(w.culminationJd, w.setJd);
      EXPECT_LT(w.setJd - w.riseJd, 12.0 / 1440.0);  // a station pass is over within 12 minutes
      EXPECT_GE(lookAt(w.riseJd).elDeg, minElevationDeg);
      EXPECT_GE(lookAt(w.setJd).elDeg, minElevationDeg);
      EXPECT_LT(lookAt(w.riseJd - kEdgeSlackDays).elDeg, minElevationDeg);
      EXPECT_LT(lookAt(w.setJd + kEdgeSlackDays).elDeg, minElevationDeg);
      EXPECT_DOUBLE_EQ(lookAt(w.culminationJd).elDeg, w.maxElevationDeg);
      EXPECT_GT(w.maxElevationDeg, minElevationDeg);
      // Between the previous set (or the start) and this rise, and inside the pass, sampled
      // every 5 s.
      for (double jd = fromJd; jd < w.riseJd - kEdgeSlackDays; jd += 5.0 * kSecondDays) {
        ASSERT_LT(lookAt(jd).elDeg, minElevationDeg) << "missed a pass at " << jd;
      }
      for (double jd = w.riseJd; jd <= w.setJd; jd += 5.0 * kSecondDays) {
        EXPECT_GE(lookAt(jd).elDeg, minElevationDeg);
        EXPECT_LE(lookAt(jd).elDeg, w.maxElevationDeg + 1e-9);
      }
      // Asked again from inside, the same pass comes back, with its rise behind.
      const double insideJd = 0.5 * (w.riseJd + w.setJd);
      const TPassWindow again = FindPass(lookAt, insideJd, minElevationDeg);
      EXPECT_NEAR(again.riseJd, w.riseJd, kEdgeSlackDays);
      EXPECT_NEAR(again.setJd, w.setJd, kEdgeSlackDays);
      EXPECT_LT(again.riseJd, insideJd);
      fromJd = w.setJd + kEdgeSlackDays;
    }
    EXPECT_GE(passes, minElevationDeg > 0 ? 2 : 4) << minElevationDeg;
  }
}

// A geostationary satellite either never rises or never sets. The site is put on its meridian
// (always in view) or on the opposite one (never).
TEST(FindPass, AGeostationarySatelliteNeverRisesOrNeverSets) {
  int tried = 0;
  for (const TCatalogSet& set : test::ReferenceSets("geo_2026-05-30")) {
    const TElements& e = set.elements;
    // Truly stationary ones only: many sets of the file drift or swing in latitude.
    if (e.eccentricity > 1e-3 || e.inclination > 0.1 * kPi / 180.0 ||
        std::fabs(1.0 / e.periodDays - 1.0027) > 1e-3) {
      continue;
    }
    const double jd = e.epochJulian;
    TPropagator propagator;
    propagator.LoadElements(e);
    TVector pos;
    TVector vel;
    ASSERT_EQ(propagator.Propagate(pos, vel, jd), TPropagationStatus::Ok);
    TPropagator::ScaleStateToKm(pos, vel);
    const double lonDeg = Degrees(EciToGeodetic(pos, jd).longitude);

    TSatelliteLook beneath(e, 30.0, lonDeg, 0);
    const TPassWindow always = FindPass(beneath.AsLookAt(), jd, 0.0);
    ASSERT_TRUE(always.Valid()) << e.catalogNumber;
    EXPECT_EQ(always.riseJd, -kInfinity) << e.catalogNumber;
    EXPECT_EQ(always.setJd, kInfinity) << e.catalogNumber;
    EXPECT_TRUE(always.Contains(jd));
    // From 30 degrees north: atan((cos 30 - 6378 / 42164) / sin 30) = 55.0 degrees.
    EXPECT_NEAR(always.maxElevationDeg, 55.0, 0.5) << e.catalogNumber;
    EXPECT_EQ(AosLosText(jd, always), "");

    TSatelliteLook opposite(e, 30.0, lonDeg + 180.0, 0);
    EXPECT_FALSE(FindPass(opposite.AsLookAt(), jd, 0.0).Valid()) << e.catalogNumber;
    if (++tried == 2) break;
  }
  EXPECT_EQ(tried, 2);
}

TEST(AosLosText, CountsDownToTheRiseThenToTheSet) {
  TPassWindow w;
  w.riseJd = 2461200.5;
  w.setJd = w.riseJd + 610.0 * kSecondDays;
  w.culminationJd = w.riseJd + 300.0 * kSecondDays;
  w.maxElevationDeg = 40;
  const struct {
    double secondsFromRise;
    const char* text;
  } cases[] = {
      {-(125 * 60 + 7), "AOS in 125:07"},
      {-(5 * 60 + 7), "AOS in 05:07"},
      {-(5 * 60 + 6.2), "AOS in 05:07"},  // rounded up: never "00:00" before the rise
      {-0.4, "AOS in 00:01"},
      {0.0, "LOS in 10:10"},
      {300.0, "LOS in 05:10"},
      {609.5, "LOS in 00:01"},
      {610.0, "LOS in 00:00"},
      {611.0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AosLosText(w.riseJd + c.secondsFromRise * kSecondDays, w), c.text)
        << c.secondsFromRise;
  }
  EXPECT_EQ(AosLosText(w.riseJd, TPassWindow{}), "");
  EXPECT_EQ(AosLosText(std::nan(""), w), "");
}

}  // namespace
}  // namespace zen::station
