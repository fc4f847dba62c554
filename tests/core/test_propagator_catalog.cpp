// Every real element set of the reference data propagates a day either side of its epoch to a
// finite position between its perigee and apogee, or reports why it cannot.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/propagator.h"
#include "tests/core/test_propagator_fixture.h"

namespace zen {
namespace {

constexpr double kFiftyKm = 50.0;
// For orbits reaching far out, the Sun's and Moon's periodic terms move perigee and apogee by
// a·de with de up to a few thousandths (200 km for an apogee beyond 100 000 km).
constexpr double kLunarSolarShareOfAxis = 0.003;

// How far the set's own first derivative of mean motion moves the axis in |days|: decaying
// satellites were higher the day before their epoch.
double DragAllowanceKm(const TElements& el, double days) {
  const double revPerDay = 1.0 / el.periodDays;
  const double ndot2RevPerDay2 = el.meanMotionDot2 * kMinutesPerDay * kMinutesPerDay / kTwoPi;
  const double changeOfMotion = std::fabs(2.0 * ndot2RevPerDay2 * days) / revPerDay;
  return 2.0 / 3.0 * el.semiMajorAxisKm * changeOfMotion;
}

class ElementFile : public testing::TestWithParam<const char*> {};

TEST_P(ElementFile, EverySetGivesAFinitePlausiblePositionOrABreakdown) {
  std::filesystem::path path = test::ReferenceData(std::string("tle/") + GetParam());
  auto catalog = std::make_unique<TCatalog>();
  const int count = catalog->ReadElementFile(path);
  ASSERT_GT(count, 0);
  int propagated = 0, breakdowns = 0;
  TPropagator p;
  for (int slot = 1; slot <= count; ++slot) {
    p.LoadElements(catalog->CatalogElements[slot].lines);
    const TElements& el = p.CurrentElements;
    for (double days : {-1.0, 0.0, 1.0}) {
      TVector pos{1.0, 1.0, 1.0, 1.0}, vel{1.0, 1.0, 1.0, 1.0};
      TPropagationStatus status = p.Propagate(pos, vel, el.epochJulian + days);
      SCOPED_TRACE(testing::Message() << "set " << el.catalogNumber << " day " << days << " "
                                      << PropagationStatusText(status));
      if (status != TPropagationStatus::Ok) {
        ++breakdowns;
        EXPECT_TRUE(pos.x == 0.0 && pos.y == 0.0 && pos.z == 0.0);
        EXPECT_TRUE(vel.x == 0.0 && vel.y == 0.0 && vel.z == 0.0);
        continue;
      }
      ++propagated;
      TPropagator::ScaleStateToKm(pos, vel);
      ASSERT_TRUE(std::isfinite(pos.w) && std::isfinite(vel.w));
      double allowanceKm = kFiftyKm + DragAllowanceKm(el, days);
      if (el.UseDeepSpace) allowanceKm += kLunarSolarShareOfAxis * el.semiMajorAxisKm;
      EXPECT_GT(pos.w, kEarthRadiusKm + el.perigeeHeightKm - allowanceKm);
      EXPECT_LT(pos.w, kEarthRadiusKm + el.apogeeHeightKm + allowanceKm);
    }
  }
  // Breakdowns are for the odd decaying set, not the rule.
  EXPECT_LE(breakdowns * 100, propagated);
}

INSTANTIATE_TEST_SUITE_P(
    ReferenceFiles, ElementFile,
    testing::Values("stations_2026-05-30.tle", "weather_2026-05-30.tle", "geo_2026-05-30.tle",
                    "science_2026-05-30.tle", "starlink_2026-05-30.tle", "visual_2026-02-11.tle",
                    "gnss_2026-02-11.tle", "amateur_2025-04-29.tle", "gps-ops_2025-04-29.tle",
                    "molniya_2023-06-28.tle", "iridium_gen1_celestrak_2008-04-22.tle",
                    "iridium_gen1_celestrak_2014-09-18.tle",
                    "iridium_gen1_celestrak_2016-02-17.tle",
                    "iridium_gen1_celestrak_2017-10-22.tle", "iridium_gen1_2013-11-05_nostatus.tle",
                    "iridium_gen1_2016-12-05_nostatus.tle"),
    [](const testing::TestParamInfo<const char*>& info) {
      std::string name = info.param;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

}  // namespace
}  // namespace zen
