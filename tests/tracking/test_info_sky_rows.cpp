// The live table's rows below the documented ones: the satellite's J2000 place and the Moon,
// against the independent reduction and published phases.
#include <gtest/gtest.h>

#include <cmath>

#include "sky/independent_sky.h"
#include "tracking/compute_cycle.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

using test::IndependentJd;

constexpr double kMinute = 1.0 / 1440.0;
constexpr size_t kRa = 1, kDec = 2, kMoonAz = 5, kMoonEl = 6, kPhase = 7, kPhaseAngle = 8, kLit = 9,
                 kAge = 10, kRise = 11, kCulmination = 12, kSet = 13;
const TVector kSatKm{4000.0, 3000.0, 4500.0};  // the active satellite, in the models' frame

// The rows after the compute cycle's tick at jdUtc at a site, the active satellite at kSatKm.
std::array<std::string, kLiveMoreRows> RowsAt(double lat, double lon, double jdUtc,
                                              double utcOffsetHours) {
  TGeodetic site = ObserverFromSite(lat, lon, 0.0);
  TSatelliteList list;
  TTimeControl time;
  time.SetUTCOffset(utcOffsetHours);
  TComputeCycle cycle;
  cycle.LiczWszo(jdUtc, site, list, time, TShowOptions{});
  list.TrackedSats.resize(2);
  list.TrackedSats[1].computed = true;
  list.TrackedSats[1].position = kSatKm;
  list.TrackedCount = list.ActiveSat = 1;
  return LiveMoreValues(list, cycle.SunNow, cycle.SkyNow);
}

// Off the whole minute (the sky's cache at work), a local day 5.5 hours behind UTC: the rise
// and set within a minute of the upper limb meeting the horizon under 34' of refraction.
TEST(InfoSkyRows, ValuesAgreeWithTheIndependentReduction) {
  const double moment = IndependentJd(2001, 12, 18, 5.63), lat = 52.23, lon = 21.01;
  const auto rows = RowsAt(lat, lon, moment, -5.5);
  double model[3] = {kSatKm.x, kSatKm.y, kSatKm.z}, ra = 0.0, dec = 0.0;
  test::IndependentJ2000RaDec(model, lat, lon, 0.0, moment, ra, dec);
  EXPECT_NEAR(std::stod(rows[kRa]), Degrees(ra), 0.0005 + 1.0 / 3600.0) << rows[kRa];
  EXPECT_NEAR(std::stod(rows[kDec]), Degrees(dec), 0.0005 + 1.0 / 3600.0) << rows[kDec];
  const auto moon = [&](double t) {
    return test::IndependentBodyLook(test::TIndependentBody::Moon, lat, lon, 0.0, t);
  };
  EXPECT_NEAR(std::stod(rows[kMoonAz]), Degrees(moon(moment).azimuth), 0.01);
  EXPECT_NEAR(std::stod(rows[kMoonEl]), Degrees(RefractedElevation(moon(moment).elevation)), 0.01);
  const auto limb = [&](double t) {
    return moon(t).elevation + std::asin(kMoonRadiusKm / moon(t).rangeKm) + Radians(34.0 / 60.0);
  };
  const double dayStart = std::floor(moment - 5.5 / 24.0 + 0.5) - 0.5 + 5.5 / 24.0;
  for (size_t row : {kRise, kSet}) {
    const std::string& text = rows[row];
    ASSERT_EQ(text.size(), 5u) << text;
    const double t = dayStart + (std::stoi(text) * 60 + std::stoi(text.substr(3))) * kMinute;
    const double sign = row == kRise ? 1.0 : -1.0;
    EXPECT_LT(sign * limb(t - kMinute), 0.0) << text;
    EXPECT_GT(sign * limb(t + kMinute), 0.0) << text;
  }
}

// The published phases of January 2024 (new Moon 11 Jan 11:57 UTC, first quarter 18 Jan 03:52,
// full 25 Jan 17:54, last quarter 2 Feb 23:18): name, lit part and age from that new Moon.
TEST(InfoSkyRows, PhaseRowsAtPublishedPhases) {
  const double newMoon = IndependentJd(2024, 1, 11, 11.95);
  const struct {
    double moment;
    const char* name;
    double litPercent;
  } cases[] = {{newMoon + 0.2, "New Moon", 0.0},
               {IndependentJd(2024, 1, 14, 12.0), "Waxing crescent", 10.0},
               {IndependentJd(2024, 1, 18, 3.0 + 52 / 60.0), "First quarter", 50.0},
               {IndependentJd(2024, 1, 25, 17.9), "Full Moon", 100.0},
               {IndependentJd(2024, 2, 2, 23.3), "Last quarter", 50.0}};
  for (const auto& c : cases) {
    const auto rows = RowsAt(52.23, 21.01, c.moment, 0.0);
    EXPECT_EQ(rows[kPhase], c.name);
    EXPECT_NEAR(std::stod(rows[kLit]), c.litPercent, 3.0) << c.name;
    EXPECT_NEAR(std::stod(rows[kAge]), c.moment - newMoon, 0.06) << c.name;
  }
}

// At Longyearbyen on 26 January 2025 the Moon stays below the horizon all the local day; then
// outside the sky's dates every row reads unavailable.
TEST(InfoSkyRows, ADayWithoutRiseOrSetAndMomentsOutsideTheSkyDates) {
  const double dayStart = IndependentJd(2025, 1, 26) - 1.0 / 24.0;
  for (double t = dayStart; t <= dayStart + 1.0; t += 10 * kMinute) {
    ASSERT_LT(
        test::IndependentBodyLook(test::TIndependentBody::Moon, 78.22, 15.65, 0.0, t).elevation,
        Radians(-2.0));
  }
  const auto rows = RowsAt(78.22, 15.65, dayStart + 0.5, 1.0);
  EXPECT_EQ(rows[kRise], "none");
  EXPECT_EQ(rows[kSet], "none");
  for (double outside : {IndependentJd(1949, 12, 31, 12.0), IndependentJd(2101, 1, 1, 12.0)}) {
    const auto dashes = RowsAt(78.22, 15.65, outside, 0.0);
    for (size_t r : {kRa, kDec, kMoonAz, kMoonEl, kPhase, kPhaseAngle, kLit, kAge, kRise,
                     kCulmination, kSet}) {
      EXPECT_EQ(dashes[r], "-") << r;
    }
  }
}

}  // namespace
}  // namespace zen
