// Passes found by the search checked against an evaluation of every whole second of the period
// with the orbital core's own routines.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "core/observer.h"
#include "core/propagator.h"
#include "core/sun.h"
#include "prediction/moment_table.h"
#include "search_fixture.h"

namespace zen {
namespace {

using test::ReferenceSets;
using test::TorunRequest;

// What one whole second shows of a satellite.
struct TSecondTruth {
  bool meets = false;  // above the minimum elevation and (when required) sunlit
  double elevationDeg = -90.0;
  double sunElevationDeg = 0.0;
};

// Seconds first..last of the request's period, each evaluated from scratch.
class TTruth {
 public:
  TTruth(const TSearchSatellite& satellite, const TSearchRequest& request, int64_t first,
         int64_t last)
      : first_(first) {
    const TGeodetic observer =
        ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
    const double startUtc = LocalToUtc(request.periodStartLocal, request.utcOffsetHours);
    TPropagator propagator;
    propagator.LoadElements(satellite.set.elements);
    for (int64_t s = first; s <= last; ++s) {
      const double jd = startUtc + static_cast<double>(s) / 86400.0;
      TSecondTruth truth;
      TVector pos;
      TVector vel;
      const TVector sun = SunPosition(jd);
      truth.sunElevationDeg = Degrees(LookAngles(sun, TVector{}, observer, jd).second);
      if (propagator.Propagate(pos, vel, jd) == TPropagationStatus::Ok) {
        TPropagator::ScaleStateToKm(pos, vel);
        truth.elevationDeg = Degrees(LookAngles(pos, vel, observer, jd).second);
        truth.meets = truth.elevationDeg > request.minSatElevationDeg &&
                      (!request.illuminationRequired || EclipseState(pos, sun) == 0);
      }
      seconds_.push_back(truth);
    }
  }

  const TSecondTruth& At(int64_t s) const { return seconds_.at(static_cast<size_t>(s - first_)); }
  int64_t First() const { return first_; }

 private:
  int64_t first_;
  std::vector<TSecondTruth> seconds_;
};

// A pass by its seconds, with the elevations of the satellite and the Sun at culmination.
struct TPassSeconds {
  int64_t rise = 0;
  int64_t culmination = 0;
  int64_t set = 0;
  double elevationDeg = 0.0;
  double sunElevationDeg = 0.0;
  friend auto operator<=>(const TPassSeconds&, const TPassSeconds&) = default;
};

int64_t SecondOf(const TFound& row, double startUtc) {
  return std::llround((row.timeUtc - startUtc) * 86400.0);
}

// The passes of full-output rows, by catalogue number, in the order of the rows.
std::map<std::string, std::vector<TPassSeconds>> PassesOf(const TResultRows& rows,
                                                          double startUtc) {
  std::map<std::string, std::vector<TPassSeconds>> passes;
  for (size_t r = 0; r + 2 < rows.size() && rows[r]; r += 4) {
    passes[rows[r]->catalogNumber].push_back(
        {SecondOf(*rows[r], startUtc), SecondOf(*rows[r + 1], startUtc),
         SecondOf(*rows[r + 2], startUtc), rows[r + 1]->elevation, rows[r + 1]->sunElevation});
  }
  return passes;
}

struct TLevelCase {
  int level;
  bool illuminationRequired;
  double maxSunElevationDeg;
  int fewestPasses;  // the period holds at least these, so the checks above have work to do
};

class PassesMatchEverySecond : public testing::TestWithParam<TLevelCase> {};

// Every pass reported is a whole stretch of seconds that meet the conditions (rise the first,
// set the last, culmination the first highest), the Sun is below the limit at culmination,
// and every such stretch at least one coarse step long inside the period is reported.
TEST_P(PassesMatchEverySecond, OnVisualSets) {
  const TLevelCase c = GetParam();
  const auto sets = ReferenceSets("visual_2026-02-11.tle", [](const std::string& name) {
    return name.starts_with("ISS (ZARYA)") || name.starts_with("ENVISAT") ||
           name.starts_with("AJISAI") || name.starts_with("HST") || name.starts_with("OAO 2") ||
           name.starts_with("SEASAT 1") || name.starts_with("ATLAS CENTAUR 2");
  });
  ZEN_ASSERT_LOADED(sets);
  ASSERT_EQ(sets.size(), 7u);
  TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 15, 0, 0, 0}, 12.0);
  request.satellites = sets;
  request.level = c.level;
  request.illuminationRequired = c.illuminationRequired;
  request.maxSunElevationDeg = c.maxSunElevationDeg;
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
  ASSERT_FALSE(outcome.terminated || outcome.interruptedByCancel || outcome.interruptedInSort);

  const double startUtc = LocalToUtc(request.periodStartLocal, request.utcOffsetHours);
  const int64_t periodSeconds = 12 * 3600;
  const int64_t coarse = CoarseStepSeconds(c.level);
  auto passes = PassesOf(outcome.rows, startUtc);
  int total = 0;
  for (const TSearchSatellite& satellite : sets) {
    const TTruth truth(satellite, request, -coarse, periodSeconds + 1);
    std::vector<TPassSeconds> expected;  // the stretches that must be found
    for (int64_t s = 1; s < periodSeconds; ++s) {
      if (!truth.At(s).meets || truth.At(s - 1).meets) continue;
      TPassSeconds pass{s, s, s, 0.0, 0.0};
      while (truth.At(pass.set + 1).meets) {
        ++pass.set;
        if (truth.At(pass.set).elevationDeg > truth.At(pass.culmination).elevationDeg) {
          pass.culmination = pass.set;
        }
      }
      if (pass.set + 1 > periodSeconds || pass.set - pass.rise + 1 < coarse) continue;
      pass.elevationDeg = truth.At(pass.culmination).elevationDeg;
      pass.sunElevationDeg = truth.At(pass.culmination).sunElevationDeg;
      if (pass.sunElevationDeg > request.maxSunElevationDeg) continue;
      expected.push_back(pass);  // found with the same elevations to the bit
    }
    const std::vector<TPassSeconds>& found = passes[satellite.catalogNumberText];
    total += static_cast<int>(found.size());
    for (const TPassSeconds& pass : found) {
      SCOPED_TRACE(satellite.name + " rise " + std::to_string(pass.rise));
      ASSERT_GE(pass.rise, truth.First() + 1);
      ASSERT_LE(pass.set, periodSeconds - 1);
      EXPECT_TRUE(truth.At(pass.rise).meets);
      // Only a pass under way at the start may begin at the first second the walk looks at.
      EXPECT_TRUE(!truth.At(pass.rise - 1).meets || pass.rise == 1 - coarse);
      EXPECT_TRUE(truth.At(pass.set).meets);
      EXPECT_FALSE(truth.At(pass.set + 1).meets);
      for (int64_t s = pass.rise; s <= pass.set; ++s) {
        EXPECT_TRUE(truth.At(s).meets);
        if (s < pass.culmination) {
          EXPECT_LT(truth.At(s).elevationDeg, truth.At(pass.culmination).elevationDeg);
        } else {
          EXPECT_LE(truth.At(s).elevationDeg, truth.At(pass.culmination).elevationDeg);
        }
      }
      EXPECT_LE(truth.At(pass.culmination).sunElevationDeg, request.maxSunElevationDeg);
    }
    for (const TPassSeconds& pass : expected) {
      EXPECT_NE(std::find(found.begin(), found.end(), pass), found.end())
          << satellite.name << " misses the pass rising at second " << pass.rise;
    }
    // One satellite's passes follow one another without overlapping.
    for (size_t p = 1; p < found.size(); ++p) EXPECT_GT(found[p].rise, found[p - 1].set + 1);
  }
  EXPECT_EQ(total, outcome.totalCount);
  EXPECT_GE(total, c.fewestPasses);
}

INSTANTIATE_TEST_SUITE_P(Levels, PassesMatchEverySecond,
                         testing::Values(TLevelCase{0, true, -5.0, 3}, TLevelCase{4, true, -5.0, 3},
                                         TLevelCase{2, false, 90.0, 6}));

// Leaving out the samples whose outcome is certain (a satellite surely below the minimum,
// surely in the dark, or up in daylight that cannot give a pass) changes nothing: the same
// passes to the last bit, with the minimum at the horizon (where refraction counts most) and
// above it, for near-earth and deep-space sets.
TEST(SatelliteWalk, LeavingOutSurelyBelowSamplesChangesNothing) {
  auto sets = ReferenceSets("visual_2026-02-11.tle");
  ZEN_ASSERT_LOADED(sets);
  const auto deep = ReferenceSets("molniya_2023-06-28.tle");
  const TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 0, 0, 0, 0}, 24.0);
  const TSearchPeriod period = PeriodOfRequest(request);
  const TGeodetic observer = ObserverFromSite(request.latitudeDeg, request.longitudeDeg, 65.0);
  TMomentTable table;
  table.Cover(-60, period.seconds);
  table.Fill(observer, period, -60, period.seconds);
  TTableMoments moments(table, observer, period);
  std::vector<TSearchSatellite> walked;
  for (size_t i = 0; i < sets.size(); i += 5) walked.push_back(sets[i]);
  for (size_t i = 0; i < deep.size() && i < 3; ++i) walked.push_back(deep[i]);

  struct TCase {
    int level;
    double minimumDeg;
    bool illuminationRequired;
    double maxSunDeg;
  };
  int passes = 0;
  for (const TCase& c :
       {TCase{0, 10.0, true, -5.0}, TCase{1, 0.0, true, 90.0}, TCase{2, 5.0, false, 0.0}}) {
    TWalkConditions conditions;
    conditions.coarseStepSeconds = CoarseStepSeconds(c.level);
    conditions.minSatElevationDeg = c.minimumDeg;
    conditions.illuminationRequired = c.illuminationRequired;
    conditions.maxSunElevationDeg = c.maxSunDeg;
    TWalkConditions everySample = conditions;
    everySample.leaveOutCertainSamples = false;
    for (const TSearchSatellite& satellite : walked) {
      SCOPED_TRACE(satellite.name);
      std::vector<TWalkEvent> expected;
      std::vector<TWalkEvent> found;
      TSatelliteWalk(satellite.set, everySample, period.seconds)
          .WalkUntil(period.seconds + 1, moments, expected);
      // In pieces, as a search walks it, pausing wherever a piece ends.
      TSatelliteWalk walk(satellite.set, conditions, period.seconds);
      for (int64_t stop = 0; !walk.Finished(); stop += 500) walk.WalkUntil(stop, moments, found);
      ASSERT_EQ(found.size(), expected.size());
      for (size_t e = 0; e < found.size(); ++e) {
        for (auto part : {&TPassEvent::rise, &TPassEvent::culmination, &TPassEvent::set}) {
          const TPassSample& a = std::get<TPassEvent>(found[e]).*part;
          const TPassSample& b = std::get<TPassEvent>(expected[e]).*part;
          EXPECT_EQ(a.second, b.second);
          EXPECT_EQ(a.azimuthDeg, b.azimuthDeg);
          EXPECT_EQ(a.elevationDeg, b.elevationDeg);
          EXPECT_EQ(a.rangeKm, b.rangeKm);
          EXPECT_EQ(a.sunElevationDeg, b.sunElevationDeg);
        }
      }
      passes += static_cast<int>(found.size());
    }
  }
  EXPECT_GE(passes, 100);
}

// A geostationary satellite stands still in the sky: one below the minimum never rises, and
// one above it all day is still in its pass when the period ends, so neither is reported,
// while a low satellite searched with them is.
TEST(PassSearch, GeostationarySatellitesGiveNoPass) {
  const auto geo = ReferenceSets("geo_2026-05-30.tle");
  const auto low = ReferenceSets("stations_2026-05-30.tle",
                                 [](const std::string& name) { return name.starts_with("ISS"); });
  ZEN_ASSERT_LOADED(geo);
  TSearchRequest request = TorunRequest(TDateRec{2026, 5, 30, 0, 0, 0, 0}, 24.0);
  request.illuminationRequired = false;
  request.maxSunElevationDeg = 90.0;
  const TGeodetic observer = ObserverFromSite(request.latitudeDeg, request.longitudeDeg, 65.0);
  const double startUtc = LocalToUtc(request.periodStartLocal, request.utcOffsetHours);
  // Elevations every ten minutes of the day, from scratch.
  auto elevationRange = [&](const TSearchSatellite& satellite) {
    TPropagator propagator;
    propagator.LoadElements(satellite.set.elements);
    std::pair<double, double> range{90.0, -90.0};
    for (int minute = -10; minute <= 24 * 60 + 10; minute += 10) {
      const double jd = startUtc + minute / 1440.0;
      TVector pos;
      TVector vel;
      propagator.Propagate(pos, vel, jd);
      TPropagator::ScaleStateToKm(pos, vel);
      const double elevationDeg = Degrees(LookAngles(pos, vel, observer, jd).second);
      range = {std::min(range.first, elevationDeg), std::max(range.second, elevationDeg)};
    }
    return range;
  };
  std::set<std::string> geoNumbers;
  for (const TSearchSatellite& satellite : geo) {
    const auto [lowest, highest] = elevationRange(satellite);
    const bool below = highest < request.minSatElevationDeg - 5.0;
    const bool above = lowest > request.minSatElevationDeg + 5.0;
    if ((below && geoNumbers.size() % 2 == 0) || (above && geoNumbers.size() % 2 == 1)) {
      request.satellites.push_back(satellite);
      geoNumbers.insert(satellite.catalogNumberText);
    }
    if (geoNumbers.size() == 6) break;
  }
  ASSERT_EQ(geoNumbers.size(), 6u);
  request.satellites.insert(request.satellites.end(), low.begin(), low.end());
  request.threads = 2;
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
  EXPECT_GE(outcome.totalCount, 2);
  for (const auto& row : outcome.rows) {
    EXPECT_TRUE(!row || geoNumbers.count(row->catalogNumber) == 0) << row->sat;
  }
}

// A set whose orbit has long decayed by the period cannot be propagated: it never rises, and
// the search goes on with the others.
TEST(PassSearch, SetThatCannotBePropagatedNeverRises) {
  auto sets = ReferenceSets("visual_2026-02-11.tle",
                            [](const std::string& name) { return name.starts_with("ENVISAT"); });
  ZEN_ASSERT_LOADED(sets);
  const auto [line1, line2] = test::MakeLinePair(99001);  // elements of 2001, a low orbit
  TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 15, 0, 0, 0}, 12.0);
  TPropagator propagator;
  propagator.LoadElements(TTleLines{line1, line2});
  TVector pos;
  TVector vel;
  ASSERT_NE(propagator.Propagate(pos, vel, LocalToUtc(request.periodStartLocal, 2.0)),
            TPropagationStatus::Ok);
  request.satellites = {SearchSatelliteOf("DECAYED", DecodeCatalogSet({line1, line2})), sets[0]};
  request.illuminationRequired = false;
  request.maxSunElevationDeg = 90.0;
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
  EXPECT_GE(outcome.totalCount, 1);
  for (const auto& row : outcome.rows) EXPECT_TRUE(!row || row->catalogNumber != "99001");
}

}  // namespace
}  // namespace zen
