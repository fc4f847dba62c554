// What a search's conditions left out, counted against the core's own evaluation of every
// second.
#include <gtest/gtest.h>

#include "core/flare.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/sun.h"
#include "prediction/flare_scan.h"
#include "prediction/left_out.h"
#include "prediction/pass_walk.h"
#include "search_fixture.h"

namespace zen::test {
namespace {

struct TSecond {
  bool above = false, sunlit = false;
  double elevationDeg = -90.0, sunElevationDeg = 0.0;
  TPanelAngles panelsDeg{};  // of flare searches only
};

// One satellite at every second of a request's period, as the core shows it.
std::vector<TSecond> SecondsOf(const TSearchSatellite& satellite, const TSearchRequest& request) {
  const TGeodetic site =
      ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
  TPropagator propagator;
  propagator.LoadElements(satellite.set.elements);
  std::vector<TSecond> seconds(PeriodOfRequest(request).seconds + 1);
  for (size_t s = 0; s < seconds.size(); ++s) {
    const double jd = LocalToUtc(request.periodStartLocal, request.utcOffsetHours) + s / 86400.0;
    TVector pos, vel, sitePos, siteVel;
    const TVector sun = SunPosition(jd);
    seconds[s].sunElevationDeg = Degrees(LookAngles(sun, TVector{}, site, jd).second);
    if (propagator.Propagate(pos, vel, jd) != TPropagationStatus::Ok) continue;
    TPropagator::ScaleStateToKm(pos, vel);
    seconds[s].elevationDeg = Degrees(LookAngles(pos, vel, site, jd).second);
    seconds[s].above = seconds[s].elevationDeg > request.minSatElevationDeg;
    seconds[s].sunlit = EclipseState(pos, sun) == kSunlit;
    if (request.kind != TSearchKind::Flares) continue;
    TGeodetic observer = site;
    ObserverPosVel(observer, jd, sitePos, siteVel);
    for (size_t p = 0; p < 3; ++p) {
      seconds[s].panelsDeg[p] = Degrees(FlareOffset(
          pos, vel, VecSub(pos, sitePos), jd, site, Radians(kIridiumPanelAzimuthsDeg[p]),
          Radians(kIridiumPanelTiltDeg), TopocentricRaDec(sun, TVector{}, site, jd)));
    }
  }
  return seconds;
}

// Visual satellites at Torun in February, at the finest step on three threads. A pass (seconds
// above the minimum, setting inside the period) is reported when the Sun is low enough at its
// highest sunlit second, else left out once: in the shadow when it had no sunlit second.
TEST(LeftOutPasses, MatchTheSecondsOfTheCore) {
  const struct {
    TDateRec startUtc;
    double hours, maxSunDeg;
    bool lowOrbits;  // only those low enough to stay in the shadow all night
    bool found;
  } cases[] = {
      {{2026, 2, 11, 23, 0, 0, 0}, 3.5, -5.0, true, false},     // in the shadow all night
      {{2026, 2, 11, 8, 0, 0, 0}, 6.0, -5.0, true, false},      // daytime only
      {{2026, 2, 11, 15, 30, 0, 0}, 2.0, -20.0, false, false},  // dusk: split by the shadow
      {{2026, 2, 11, 15, 30, 0, 0}, 2.0, -5.0, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    TSearchRequest request = TorunRequest(c.startUtc, c.hours);
    request.satellites = ReferenceSets("visual_2026-02-11.tle");
    std::erase_if(request.satellites, [&c](const TSearchSatellite& satellite) {
      return c.lowOrbits && satellite.set.elements.meanMotion < 15.27 * kTwoPi / 1440.0;
    });
    request.maxSunElevationDeg = c.maxSunDeg;
    request.level = 4;
    request.threads = 3;
    TLeftOut truth;
    int64_t reported = 0, split = 0;
    for (const TSearchSatellite& satellite : request.satellites) {
      const std::vector<TSecond> sec = SecondsOf(satellite, request);
      for (size_t s = 0, end = 0; s < sec.size(); s = end + 1) {
        for (end = s; end + 1 < sec.size() && sec[end + 1].above == sec[s].above;) ++end;
        if (!sec[s].above || end + 1 == sec.size()) continue;  // below, or still up at the end
        const TSecond* top = nullptr;
        for (size_t k = s; k <= end; ++k) {
          if (sec[k].sunlit && (!top || sec[k].elevationDeg > top->elevationDeg)) top = &sec[k];
          split += top && !sec[k].sunlit;
        }
        ++(!top                                 ? truth.inShadow
           : top->sunElevationDeg > c.maxSunDeg ? truth.sunTooHigh
                                                : reported);
      }
    }
    ASSERT_EQ(reported > 0, c.found);
    ASSERT_GE(truth.Total() + reported, 3);
    TSearchFlags flags;
    const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
    EXPECT_EQ(outcome.totalCount, reported);
    EXPECT_EQ(outcome.leftOut.inShadow, truth.inShadow);
    EXPECT_EQ(outcome.leftOut.sunTooHigh, truth.sunTooHigh);
    EXPECT_EQ(LeftOutText(request, outcome).empty(), c.found);
    EXPECT_TRUE(c.maxSunDeg > -10.0 || split > 0) << "no pass split by the shadow";
  }
}

// Reflections in the shadow: minima of the panels' angles within the limit, followed through
// each run of shadowed seconds above the minimum and the second after it. Those the Sun took
// are the flares a search without its limit finds.
TEST(LeftOutFlares, ShadowAndSunCountTheReflectionsTheyTake) {
  TSearchRequest request = TorunRequest({2014, 9, 18, 15, 0, 0, 0}, 9.0);
  request.kind = TSearchKind::Flares;
  request.allLoaded = true;
  request.satellites = ReferenceSets("iridium_gen1_celestrak_2014-09-18.tle");
  request.iridiumTable = zapodawajIridiums(std::filesystem::path(ZEN_SOURCE_DIR) / "resources" /
                                           "Data" / "flares.dat");
  request.maxFlareAngleDeg = 4.0;
  request.maxSunElevationDeg = -20.0;
  request.threads = 3;
  TSearchFlags flags, noLimitFlags;
  const TSearchOutcome limited = RunSearch(request, flags, nullptr);
  TSearchRequest noLimit = request;
  noLimit.maxSunElevationDeg = 90.0;
  const TSearchOutcome unlimited = RunSearch(noLimit, noLimitFlags, nullptr);

  int64_t inShadow = 0;
  for (const TSearchSatellite& satellite : request.satellites) {
    if (!IsSearched(request, satellite)) continue;
    const std::vector<TSecond> sec = SecondsOf(satellite, request);
    const auto dark = [&](size_t s) { return sec[s].above && !sec[s].sunlit; };
    TPanelScan scan;
    for (size_t k = 1; k < sec.size(); ++k) {
      if (!dark(k - 1) && !dark(k)) continue;
      if (!dark(k - 1)) scan.Start(sec[k - 1].panelsDeg);
      const std::array<bool, 3> minimum = scan.Next(sec[k].panelsDeg);
      for (size_t p = 0; p < 3; ++p) {
        inShadow += minimum[p] && sec[k - 1].panelsDeg[p] <= request.maxFlareAngleDeg;
      }
    }
  }
  EXPECT_EQ(limited.totalCount, 0);
  ASSERT_GT(unlimited.totalCount, 0);
  ASSERT_GT(inShadow, 0);
  EXPECT_EQ(limited.leftOut.sunTooHigh, unlimited.totalCount);
  EXPECT_EQ(limited.leftOut.inShadow, inShadow);
  EXPECT_EQ(unlimited.leftOut.inShadow, inShadow);
}

}  // namespace
}  // namespace zen::test
