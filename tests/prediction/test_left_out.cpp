// What a search's conditions left out: passes and reflections counted against the orbital
// core's own evaluation of every second, and the line that says why nothing was found.
#include <gtest/gtest.h>

#include <cmath>

#include "core/flare.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/sun.h"
#include "prediction/flare_scan.h"
#include "prediction/left_out.h"
#include "prediction/moment_table.h"
#include "prediction/pass_walk.h"
#include "search_fixture.h"

namespace zen {
namespace {

using test::ReferenceSets;
using test::TorunRequest;

TEST(LeftOutText, NamesTheReasonsThatLeftSomethingOut) {
  const struct {
    TSearchKind kind;
    int found;
    TLeftOut leftOut;
    double minDeg, maxSunDeg;
    const char* text;
  } cases[] = {
      {TSearchKind::Passes,
       0,
       {2, 1},
       10,
       -5,
       "No passes met the conditions: 3 passes above 10\u00B0 were left out because the "
       "satellite was in shadow (2) / the Sun was above \u22125\u00B0 (1)"},
      {TSearchKind::Passes,
       0,
       {4, 0},
       25,
       -12,
       "No passes met the conditions: 4 passes above 25\u00B0 were left out because the "
       "satellite was in shadow (4)"},
      {TSearchKind::Passes,
       0,
       {0, 1},
       0,
       7,
       "No passes met the conditions: 1 pass above 0\u00B0 was left out because the Sun was "
       "above 7\u00B0 (1)"},
      {TSearchKind::Passes,
       0,
       {0, 2},
       10,
       -0.25,
       "No passes met the conditions: 2 passes above 10\u00B0 were left out because the Sun was "
       "above \u22120.25\u00B0 (2)"},
      {TSearchKind::Flares,
       0,
       {5, 2},
       10,
       -5,
       "No flares met the conditions: 7 reflections were left out because the satellite was "
       "in shadow (5) / the Sun was above \u22125\u00B0 (2)"},
      {TSearchKind::Flares,
       0,
       {1, 0},
       10,
       -5,
       "No flares met the conditions: 1 reflection was left out because the satellite was in "
       "shadow (1)"},
      // Results, or nothing left out: nothing to say.
      {TSearchKind::Passes, 1, {3, 3}, 10, -5, ""},
      {TSearchKind::Flares, 2, {3, 3}, 10, -5, ""},
      {TSearchKind::Passes, 0, {0, 0}, 10, -5, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeftOutText(c.kind, c.found, c.leftOut, c.minDeg, c.maxSunDeg), c.text);
  }
}

// What the core shows of one satellite at every second of a period, from scratch.
struct TSecond {
  bool above = false;
  bool sunlit = false;
  double elevationDeg = -90.0;
  double sunElevationDeg = 0.0;
};

std::vector<TSecond> SecondsOf(const TSearchSatellite& satellite, const TSearchRequest& request,
                               int64_t lastSecond) {
  const TGeodetic site =
      ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
  const double startUtc = LocalToUtc(request.periodStartLocal, request.utcOffsetHours);
  TPropagator propagator;
  propagator.LoadElements(satellite.set.elements);
  std::vector<TSecond> seconds;
  for (int64_t s = 0; s <= lastSecond; ++s) {
    const double jd = startUtc + static_cast<double>(s) / 86400.0;
    TSecond second;
    TVector pos;
    TVector vel;
    const TVector sun = SunPosition(jd);
    second.sunElevationDeg = Degrees(LookAngles(sun, TVector{}, site, jd).second);
    if (propagator.Propagate(pos, vel, jd) == TPropagationStatus::Ok) {
      TPropagator::ScaleStateToKm(pos, vel);
      second.elevationDeg = Degrees(LookAngles(pos, vel, site, jd).second);
      second.above = second.elevationDeg > request.minSatElevationDeg;
      second.sunlit = EclipseState(pos, sun) == kSunlit;
    }
    seconds.push_back(second);
  }
  return seconds;
}

// Passes by their runs of seconds above the minimum that set inside the period. Each run's
// stretches meeting the illumination condition would be reported when the Sun at their first
// highest second is low enough; a run with none reported is left out, in the shadow when it
// had no such stretch.
struct TPassTruth {
  TLeftOut leftOut;
  int reported = 0;
  int runs = 0;
  int splitRuns = 0;  // runs with both a stretch that meets the conditions and a shadowed part
  int64_t shortestRun = INT64_MAX;
};

TPassTruth PassTruth(const std::vector<TSecond>& seconds, const TSearchRequest& request) {
  TPassTruth truth;
  const auto meets = [&](const TSecond& s) {
    return s.above && (!request.illuminationRequired || s.sunlit);
  };
  const int64_t last = static_cast<int64_t>(seconds.size()) - 1;
  for (int64_t s = 0; s <= last; ++s) {
    if (!seconds[s].above || (s > 0 && seconds[s - 1].above)) continue;
    int64_t end = s;
    while (end + 1 <= last && seconds[end + 1].above) ++end;
    if (end == last) break;  // still up when the period ends
    ++truth.runs;
    truth.shortestRun = std::min(truth.shortestRun, end - s + 1);
    int stretches = 0;
    int reported = 0;
    bool shadowed = false;
    for (int64_t k = s; k <= end; ++k) {
      if (!meets(seconds[k])) {
        shadowed = true;
        continue;
      }
      int64_t culmination = k;
      while (k + 1 <= end && meets(seconds[k + 1])) {
        ++k;
        if (seconds[k].elevationDeg > seconds[culmination].elevationDeg) culmination = k;
      }
      ++stretches;
      if (seconds[culmination].sunElevationDeg <= request.maxSunElevationDeg) ++reported;
    }
    truth.reported += reported;
    if (stretches > 0 && shadowed) ++truth.splitRuns;
    if (reported > 0) continue;
    ++(stretches > 0 ? truth.leftOut.sunTooHigh : truth.leftOut.inShadow);
    s = end;
  }
  return truth;
}

struct TPassCase {
  const char* what;
  TDateRec startUtc;
  double hours;
  double maxSunDeg;
  bool lowOrbits;  // only satellites low enough to be in the shadow all night, else all
  bool found;      // the search reports passes
};

class LeftOutPasses : public testing::TestWithParam<TPassCase> {};

// Over visual satellites at Torun in February, at the finest step and the coarsest, on one
// thread and on three: the passes left out are those of the per-second truth, each once.
TEST_P(LeftOutPasses, MatchTheSecondsOfTheCore) {
  const TPassCase c = GetParam();
  // Low orbits, below the shadow's edge at night.
  const auto sets = ReferenceSets("visual_2026-02-11.tle", [&c](const std::string& name) {
    if (!c.lowOrbits) return true;
    for (const char* low : {"ISS (ZARYA)", "CSS (TIANHE)", "HST", "KORONAS-FOTON", "COSMOS 1812",
                            "SZ-21 MODULE", "COSMOS 2550", "COSMOS 1743", "CZ-2D R/B",
                            "DELTA 2 R/B(1)", "COSMOS 1953", "COSMOS 1975"}) {
      if (name.starts_with(low)) return true;
    }
    return false;
  });
  ZEN_ASSERT_LOADED(sets);
  TSearchRequest request = TorunRequest(c.startUtc, c.hours);
  request.satellites = sets;
  request.maxSunElevationDeg = c.maxSunDeg;
  const int64_t lastSecond = PeriodOfRequest(request).seconds;

  TPassTruth truth;
  for (const TSearchSatellite& satellite : sets) {
    const TPassTruth one = PassTruth(SecondsOf(satellite, request, lastSecond), request);
    truth.leftOut += one.leftOut;
    truth.reported += one.reported;
    truth.runs += one.runs;
    truth.splitRuns += one.splitRuns;
    truth.shortestRun = std::min(truth.shortestRun, one.shortestRun);
  }
  // The case is what it says it is.
  ASSERT_EQ(truth.reported > 0, c.found);
  ASSERT_GE(truth.runs, 3);
  // The coarsest step sees every run when each is a coarse step long.
  std::vector<int> levels = {4};
  if (truth.shortestRun >= CoarseStepSeconds(0)) levels.push_back(0);

  for (const int level : levels) {
    for (const int threads : {1, 3}) {
      SCOPED_TRACE("level " + std::to_string(level + 1) + ", " + std::to_string(threads) +
                   " threads");
      request.level = level;
      request.threads = threads;
      TSearchFlags flags;
      const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
      EXPECT_EQ(outcome.totalCount, truth.reported);
      EXPECT_EQ(outcome.leftOut.inShadow, truth.leftOut.inShadow);
      EXPECT_EQ(outcome.leftOut.sunTooHigh, truth.leftOut.sunTooHigh);
      const std::string text = LeftOutText(request, outcome);
      if (c.found) {
        EXPECT_EQ(text, "");
        continue;
      }
      std::string reasons;
      if (truth.leftOut.inShadow > 0) {
        reasons = "the satellite was in shadow (" + std::to_string(truth.leftOut.inShadow) + ")";
      }
      if (truth.leftOut.sunTooHigh > 0) {
        reasons += (reasons.empty() ? "" : " / ") + std::string("the Sun was above ") +
                   DegreesText(c.maxSunDeg) + " (" + std::to_string(truth.leftOut.sunTooHigh) + ")";
      }
      EXPECT_EQ(text, "No passes met the conditions: " + std::to_string(truth.leftOut.Total()) +
                          " passes above 10\u00B0 were left out because " + reasons);
    }
  }
  if (std::string(c.what) == "split_by_the_shadow") {
    // Passes that are partly sunlit count once, not once per part.
    EXPECT_GE(truth.splitRuns, 1);
    EXPECT_EQ(truth.leftOut.Total(), truth.runs);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeftOutPasses,
    testing::Values(
        // Midwinter night: every satellite up is in the Earth's shadow.
        TPassCase{"shadow_all_night", {2026, 2, 11, 23, 0, 0, 0}, 5.0, -5.0, true, false},
        // Daylight only: sunlit, with the Sun high.
        TPassCase{"daytime_only", {2026, 2, 11, 8, 0, 0, 0}, 6.0, -5.0, true, false},
        // Dusk with a Sun limit below the twilight: passes that go into the shadow halfway.
        TPassCase{"split_by_the_shadow", {2026, 2, 11, 15, 30, 0, 0}, 2.0, -20.0, false, false},
        // The same dusk with the usual limit finds passes.
        TPassCase{"with_results", {2026, 2, 11, 15, 30, 0, 0}, 2.0, -5.0, false, true}),
    [](const testing::TestParamInfo<TPassCase>& info) { return std::string(info.param.what); });

// Leaving out samples whose outcome is certain leaves the counts as they are.
TEST(LeftOutPasses, LeavingOutCertainSamplesCountsTheSame) {
  const auto sets = ReferenceSets("visual_2026-02-11.tle");
  ZEN_ASSERT_LOADED(sets);
  const TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 0, 0, 0, 0}, 24.0);
  const TSearchPeriod period = PeriodOfRequest(request);
  const TGeodetic observer = ObserverFromSite(request.latitudeDeg, request.longitudeDeg, 65.0);
  TMomentTable table;
  table.Cover(-60, period.seconds);
  table.Fill(observer, period, -60, period.seconds);
  TTableMoments moments(table, observer, period);
  TLeftOut total;
  for (const double maxSunDeg : {-5.0, -15.0}) {
    TWalkConditions conditions = ConditionsOfRequest(request);
    conditions.maxSunElevationDeg = maxSunDeg;
    TWalkConditions everySample = conditions;
    everySample.leaveOutCertainSamples = false;
    for (size_t i = 0; i < sets.size(); i += 4) {
      SCOPED_TRACE(sets[i].name);
      std::vector<TWalkEvent> found;
      TSatelliteWalk quick(sets[i].set, conditions, period.seconds);
      quick.WalkUntil(period.seconds + 1, moments, found);
      TSatelliteWalk full(sets[i].set, everySample, period.seconds);
      full.WalkUntil(period.seconds + 1, moments, found);
      EXPECT_EQ(quick.LeftOut(), full.LeftOut());
      total += full.LeftOut();
    }
  }
  EXPECT_GE(total.inShadow, 20);
  EXPECT_GE(total.sunTooHigh, 20);
}

// Reflections of the first-generation Iridiums: those in the shadow are the minima of the
// panels' angles, followed through each run of shadowed seconds above the minimum as a
// recording follows a sunlit run; those the Sun took are the flares that a search without a
// Sun limit finds and one with it does not.
TIridiumTable ShippedTable() {
  return zapodawajIridiums(std::filesystem::path(ZEN_SOURCE_DIR) / "resources" / "Data" /
                           "flares.dat");
}

TSearchRequest FlareRequest(const TDateRec& startUtc, double hours) {
  TSearchRequest request = TorunRequest(startUtc, hours);
  request.kind = TSearchKind::Flares;
  request.allLoaded = true;
  request.satellites = ReferenceSets("iridium_gen1_celestrak_2014-09-18.tle");
  request.iridiumTable = ShippedTable();
  request.maxFlareAngleDeg = 4.0;
  request.threads = 3;
  return request;
}

// The panels' angles of a satellite at a moment, as the core gives them.
TPanelAngles AnglesAt(TPropagator& propagator, const TGeodetic& site, double jd) {
  TVector pos;
  TVector vel;
  if (propagator.Propagate(pos, vel, jd) != TPropagationStatus::Ok) return {};
  TPropagator::ScaleStateToKm(pos, vel);
  TGeodetic observer = site;
  TVector observerPos;
  TVector observerVel;
  ObserverPosVel(observer, jd, observerPos, observerVel);
  const TVector lineOfSight = VecSub(pos, observerPos);
  const TLookAngles sunRaDec = TopocentricRaDec(SunPosition(jd), TVector{}, site, jd);
  TPanelAngles angles{};
  for (size_t p = 0; p < 3; ++p) {
    angles[p] =
        Degrees(FlareOffset(pos, vel, lineOfSight, jd, site, Radians(kIridiumPanelAzimuthsDeg[p]),
                            Radians(kIridiumPanelTiltDeg), sunRaDec));
  }
  return angles;
}

int64_t ShadowReflections(const TSearchSatellite& satellite, const TSearchRequest& request) {
  const int64_t lastSecond = PeriodOfRequest(request).seconds;
  const std::vector<TSecond> seconds = SecondsOf(satellite, request, lastSecond);
  const TGeodetic site =
      ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
  const double startUtc = LocalToUtc(request.periodStartLocal, request.utcOffsetHours);
  TPropagator propagator;
  propagator.LoadElements(satellite.set.elements);
  const auto jdOf = [&](int64_t s) { return startUtc + static_cast<double>(s) / 86400.0; };
  const auto shadowed = [&](int64_t s) { return seconds[s].above && !seconds[s].sunlit; };
  int64_t count = 0;
  for (int64_t s = 0; s <= lastSecond; ++s) {
    if (!shadowed(s) || (s > 0 && shadowed(s - 1))) continue;
    TPanelScan scan;
    scan.Start(AnglesAt(propagator, site, jdOf(s - 1)));
    TPanelAngles previous{};
    // The run and the second after it, which shows whether its last second was a minimum.
    for (int64_t k = s; k <= lastSecond; ++k) {
      const TPanelAngles angles = AnglesAt(propagator, site, jdOf(k));
      const std::array<bool, 3> minimum = scan.Next(angles);
      for (size_t p = 0; p < 3; ++p) {
        if (minimum[p] && previous[p] <= request.maxFlareAngleDeg) ++count;
      }
      previous = angles;
      if (!shadowed(k)) break;
      s = k;
    }
  }
  return count;
}

TEST(LeftOutFlares, ShadowAndSunCountTheReflectionsTheyTake) {
  const struct {
    const char* what;
    TDateRec startUtc;
    double hours;
  } cases[] = {
      {"night", {2014, 9, 18, 21, 0, 0, 0}, 4.0},
      {"day", {2014, 9, 18, 8, 0, 0, 0}, 5.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSearchRequest request = FlareRequest(c.startUtc, c.hours);
    ZEN_ASSERT_LOADED(request.satellites);
    TSearchFlags flags;
    const TSearchOutcome limited = RunSearch(request, flags, nullptr);
    request.maxSunElevationDeg = 90.0;
    TSearchFlags noLimitFlags;
    const TSearchOutcome unlimited = RunSearch(request, noLimitFlags, nullptr);
    EXPECT_EQ(limited.totalCount, 0);
    EXPECT_EQ(limited.leftOut.sunTooHigh, unlimited.totalCount);
    EXPECT_EQ(unlimited.leftOut.sunTooHigh, 0);
    EXPECT_EQ(limited.leftOut.inShadow, unlimited.leftOut.inShadow);

    int64_t inShadow = 0;
    for (const TSearchSatellite& satellite : request.satellites) {
      if (IsSearched(request, satellite)) inShadow += ShadowReflections(satellite, request);
    }
    EXPECT_EQ(limited.leftOut.inShadow, inShadow);
    EXPECT_GE(limited.leftOut.Total(), 3);
    request.maxSunElevationDeg = -5.0;
    EXPECT_EQ(
        LeftOutText(request, limited),
        "No flares met the conditions: " + std::to_string(limited.leftOut.Total()) +
            " reflections were left out because " +
            (inShadow > 0 ? "the satellite was in shadow (" + std::to_string(inShadow) + ")" : "") +
            (inShadow > 0 && limited.leftOut.sunTooHigh > 0 ? " / " : "") +
            (limited.leftOut.sunTooHigh > 0 ? "the Sun was above \u22125\u00B0 (" +
                                                  std::to_string(limited.leftOut.sunTooHigh) + ")"
                                            : ""));
  }
}

}  // namespace
}  // namespace zen
