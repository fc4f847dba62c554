// Where a real satellite stands in the sky against the look command's columns, what must hold of
// every pass FindPass gives, geostationary satellites, and the countdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/look.h"
#include "core/catalog.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/timescale.h"
#include "station/pass_window.h"
#include "test_support.h"

namespace zen::station {
namespace {

constexpr double kSecondDays = 1.0 / 86400.0;
// Rise and set are narrowed to a second and given on the upper side of the limit.
constexpr double kEdgeDays = 1.01 * kSecondDays;

// Every decodable set of tests/data/tle/<name>.tle, in file order.
std::vector<TCatalogSet> ReferenceSets(const std::string& name) {
  std::vector<TCatalogSet> sets;
  std::make_unique<TCatalog>()->ReadEverySet(
      zen::test::ReferenceDataDir() / "tle" / (name + ".tle"),
      [&](const std::string&, const TCatalogSet& set) {
        if (set.decodable) sets.push_back(set);
      });
  return sets;
}

// The space station on the reference day; not decodable without the reference data.
TCatalogSet StationSet() {
  for (const TCatalogSet& set : ReferenceSets("stations_2026-05-30")) {
    if (set.number == 25544) return set;
  }
  return {};
}

TEST(SatelliteLook, AgreesWithTheLookCommand) {
  const TCatalogSet set = StationSet();
  ASSERT_TRUE(set.decodable);
  const std::string file =
      (zen::test::ReferenceDataDir() / "tle" / "stations_2026-05-30.tle").string();
  const double startJd = DateRecToJulian({.year = 2026, .month = 5, .day = 30, .hour = 12});
  // A site north and east, another south and west; in six hours each sees the station come and go.
  const struct {
    const char* site;
    double latDeg, lonDeg;
  } sites[] = {{"48.2,16.37", 48.2, 16.37}, {"-33.87,-70.6", -33.87, -70.6}};
  for (const auto& site : sites) {
    std::ostringstream out, err;
    const int code =
        cli::RunLook({file, "--sat", "25544", "--site", site.site, "--from", "2026-05-30T12:00:00Z",
                      "--to", "2026-05-30T18:00:00Z", "--step", "630"},
                     out, err);
    ASSERT_EQ(code, 0) << err.str();
    TSatelliteLook look(set.elements, site.latDeg, site.lonDeg, 0);
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);  // the header
    int compared = 0;
    bool approaching = false, receding = false;
    for (; std::getline(lines, line); ++compared) {  // every 630 s from the start
      std::istringstream words(line);
      const std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
      ASSERT_EQ(w.size(), 14u) << line;
      const TLook seen = look.At(startJd + compared * 630.0 * kSecondDays);
      ASSERT_TRUE(seen.ok) << line;
      // The range rate is printed with four decimals, the angles and range with three.
      EXPECT_NEAR(seen.rangeRateKmS, std::stod(w[8]), 0.5e-4 + 1e-9) << line;
      EXPECT_NEAR(seen.azDeg, std::stod(w[5]), 0.5e-3 + 1e-9) << line;
      EXPECT_NEAR(seen.elDeg, std::stod(w[6]), 0.5e-3 + 1e-9) << line;
      EXPECT_NEAR(seen.rangeKm, std::stod(w[7]), 0.5e-3 + 1e-9) << line;
      approaching |= seen.rangeRateKmS < -1.0;
      receding |= seen.rangeRateKmS > 1.0;
    }
    EXPECT_EQ(compared, 35) << site.site;
    EXPECT_TRUE(approaching && receding) << site.site;
  }
  // A drag that brings the set down within days: far past that, the model has nothing to say.
  TElements falling = set.elements;
  falling.bstar = 0.5;
  TSatelliteLook look(falling, 0, 0, 0);
  EXPECT_TRUE(look.At(falling.epochJulian).ok);
  EXPECT_FALSE(look.At(falling.epochJulian + 30.0).ok);
  EXPECT_FALSE(look.At(std::nan("")).ok);
}

// Rise before top before set, at or above the limit from rise to set and below it a second
// outside, nothing above it between two passes, and the same pass with its rise behind when
// asked from inside it.
TEST(FindPass, PassesOfARealSatelliteHoldTheirInvariants) {
  const TCatalogSet set = StationSet();
  ASSERT_TRUE(set.decodable);
  TSatelliteLook look(set.elements, 48.2, 16.37, 190);
  const TLookAt lookAt = look.AsLookAt();
  const double startJd = set.elements.epochJulian;
  for (const double limitDeg : {0.0, 10.0}) {
    int passes = 0;
    for (double fromJd = startJd; fromJd < startJd + 1.0; ++passes) {
      const TPassWindow w = FindPass(lookAt, fromJd, limitDeg);
      ASSERT_TRUE(w.Valid()) << "a day without a station pass at " << fromJd;
      if (w.riseJd > startJd + 1.0) break;
      EXPECT_LT(w.riseJd, w.culminationJd);
      EXPECT_LT(w.culminationJd, w.setJd);
      EXPECT_LT(w.setJd - w.riseJd, 12.0 / 1440.0);  // a station pass is over within 12 minutes
      EXPECT_LT(lookAt(w.riseJd - kEdgeDays).elDeg, limitDeg);
      EXPECT_LT(lookAt(w.setJd + kEdgeDays).elDeg, limitDeg);
      EXPECT_DOUBLE_EQ(lookAt(w.culminationJd).elDeg, w.maxElevationDeg);
      for (double jd = fromJd; jd < w.riseJd - kEdgeDays; jd += 5.0 * kSecondDays) {
        ASSERT_LT(lookAt(jd).elDeg, limitDeg) << "missed a pass at " << jd;
      }
      for (const double edgeJd : {w.riseJd, w.setJd}) EXPECT_GE(lookAt(edgeJd).elDeg, limitDeg);
      for (double jd = w.riseJd; jd <= w.setJd; jd += 5.0 * kSecondDays) {
        const double elDeg = lookAt(jd).elDeg;
        EXPECT_TRUE(elDeg >= limitDeg && elDeg <= w.maxElevationDeg + 1e-9) << elDeg;
      }
      const double insideJd = 0.5 * (w.riseJd + w.setJd);
      const TPassWindow again = FindPass(lookAt, insideJd, limitDeg);
      EXPECT_LT(again.riseJd, insideJd);
      EXPECT_NEAR(again.riseJd, w.riseJd, kEdgeDays);
      EXPECT_NEAR(again.setJd, w.setJd, kEdgeDays);
      fromJd = w.setJd + kEdgeDays;
    }
    EXPECT_GE(passes, limitDeg > 0 ? 2 : 4) << limitDeg;
  }
}

TEST(FindPass, NoPassBeyondTheHorizonAboveTheTopAfterTheSetOrWithoutALook) {
  // Up from half a day on for a quarter of an hour, to 10 degrees.
  const TLookAt sky = [](double jd) {
    return TLook{.ok = true, .elDeg = 10.0 - 2000.0 * std::fabs(jd - 0.5)};
  };
  EXPECT_FALSE(FindPass(sky, 0.0, 0.0, 0.49).Valid());
  EXPECT_TRUE(FindPass(sky, 0.0, 0.0, 0.5).Valid());
  EXPECT_FALSE(FindPass(sky, 0.0, 10.5).Valid());
  EXPECT_FALSE(FindPass(sky, 0.51, 0.0).Valid());
  EXPECT_FALSE(FindPass([](double) { return TLook{}; }, 0.0, 0.0).Valid());
  EXPECT_FALSE(FindPass(sky, std::nan(""), 0.0).Valid());
}

// A geostationary satellite either never rises or never sets: the site is put on its meridian
// (always in view) or on the opposite one (never).
TEST(FindPass, AGeostationarySatelliteNeverRisesOrNeverSets) {
  // Truly stationary ones only: many sets of the file drift or swing in latitude.
  const std::vector<TCatalogSet> sets = ReferenceSets("geo_2026-05-30");
  const auto geo = std::find_if(sets.begin(), sets.end(), [](const TCatalogSet& set) {
    const TElements& e = set.elements;
    return e.eccentricity < 1e-3 && e.inclination < Radians(0.1) &&
           std::fabs(1.0 / e.periodDays - 1.0027) < 1e-3;
  });
  ASSERT_NE(geo, sets.end());
  const double jd = geo->elements.epochJulian;
  TPropagator propagator;
  propagator.LoadElements(geo->elements);
  TVector pos, vel;
  ASSERT_EQ(propagator.Propagate(pos, vel, jd), TPropagationStatus::Ok);
  TPropagator::ScaleStateToKm(pos, vel);
  const double lonDeg = Degrees(EciToGeodetic(pos, jd).longitude);
  TSatelliteLook beneath(geo->elements, 30.0, lonDeg, 0),
      opposite(geo->elements, 30.0, lonDeg + 180.0, 0);
  const TPassWindow always = FindPass(beneath.AsLookAt(), jd, 0.0);
  EXPECT_EQ(always.riseJd, -std::numeric_limits<double>::infinity());
  EXPECT_EQ(always.setJd, std::numeric_limits<double>::infinity());
  // From 30 degrees north: atan((cos 30 - 6378 / 42164) / sin 30) = 55.0 degrees.
  EXPECT_NEAR(always.maxElevationDeg, 55.0, 0.5);
  EXPECT_EQ(AosLosText(jd, always), "always above the horizon");
  EXPECT_FALSE(FindPass(opposite.AsLookAt(), jd, 0.0).Valid());
}

// Minutes and seconds rounded up, so that the count never shows 00:00 before the event.
TEST(AosLosText, CountsDownToTheRiseThenToTheSet) {
  const TPassWindow w{.riseJd = 2461200.5, .setJd = 2461200.5 + 610.0 * kSecondDays};
  const std::pair<double, const char*> cases[] = {{-(125 * 60 + 7), "AOS in 125:07"},
                                                  {-(5 * 60 + 6.2), "AOS in 05:07"},
                                                  {-0.4, "AOS in 00:01"},
                                                  {0.0, "LOS in 10:10"},
                                                  {610.0, "LOS in 00:00"},
                                                  {611.0, ""}};
  for (const auto& [secondsFromRise, text] : cases) {
    EXPECT_EQ(AosLosText(w.riseJd + secondsFromRise * kSecondDays, w), text) << secondsFromRise;
  }
  EXPECT_EQ(AosLosText(w.riseJd, TPassWindow{}), "");
  EXPECT_EQ(AosLosText(std::nan(""), w), "");
}

}  // namespace
}  // namespace zen::station
