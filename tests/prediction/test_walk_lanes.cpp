// Walks that take their near-earth samples from the vector lanes against walks from the
// one-satellite path alone: the same events to the last bit, and the same passes left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <string>
#include <variant>
#include <vector>

#include "core/catalog.h"
#include "core/propagator.h"
#include "prediction/moment_table.h"
#include "prediction/pass_walk.h"
#include "search_fixture.h"

namespace zen {
namespace {

using test::ReferenceSets;
using test::TorunRequest;

void ExpectSameSample(const TPassSample& a, const TPassSample& b) {
  EXPECT_EQ(a.second, b.second);
  EXPECT_EQ(a.azimuthDeg, b.azimuthDeg);
  EXPECT_EQ(a.elevationDeg, b.elevationDeg);
  EXPECT_EQ(a.rangeKm, b.rangeKm);
  EXPECT_EQ(a.sunAzimuthDeg, b.sunAzimuthDeg);
  EXPECT_EQ(a.sunElevationDeg, b.sunElevationDeg);
}

void ExpectSameEvent(const TWalkEvent& a, const TWalkEvent& b) {
  ASSERT_EQ(a.index(), b.index());
  if (const TPassEvent* pass = std::get_if<TPassEvent>(&a)) {
    const TPassEvent& other = std::get<TPassEvent>(b);
    ExpectSameSample(pass->rise, other.rise);
    ExpectSameSample(pass->culmination, other.culmination);
    ExpectSameSample(pass->set, other.set);
    EXPECT_EQ(pass->sunlitSeconds, other.sunlitSeconds);
    return;
  }
  const TFlareEvent& flare = std::get<TFlareEvent>(a);
  const TFlareEvent& other = std::get<TFlareEvent>(b);
  ExpectSameSample(flare.sample, other.sample);
  EXPECT_EQ(flare.anglesDeg, other.anglesDeg);
  EXPECT_EQ(flare.panel, other.panel);
  EXPECT_EQ(flare.direction, other.direction);
}

// A low orbit with heavy drag, its epoch half a day before the period: it comes down during it.
TTleLines DecayingLines() {
  return {test::WithChecksum("1 99002U 26001A   26041.50000000  .00000000  00000-0  10000-1 0  999"),
          test::WithChecksum("2 99002  51.6000 120.0000 0010000  90.0000  10.0000 16.20000000    1")};
}

struct TCase {
  const char* name;
  TSearchKind kind;
  int level;
  double minimumDeg;
  bool illuminationRequired;
  double maxSunDeg;
  double maxFlareDeg;
};

// Every case walks its sets side by side in pieces, as a search does, sharing one set of lanes
// that each walk refills in turn; the reference walks each set alone from the one-satellite
// path. Near-earth, deep-space, decaying and long-decayed sets; coarse steps of 60, 30, 10 and
// 1 seconds; the minimum at the horizon (where refraction counts most) and above it; passes with
// and without the illumination and Sun conditions (daylight stretches), and flares.
TEST(SatelliteWalk, VectorLanesChangeNoEvent) {
  const auto visual = ReferenceSets("visual_2026-02-11.tle");
  ZEN_ASSERT_LOADED(visual);
  const auto deep = ReferenceSets("molniya_2023-06-28.tle");
  const auto iridium = ReferenceSets("iridium_gen1_celestrak_2014-09-18.tle");
  ASSERT_FALSE(deep.empty());
  ASSERT_FALSE(iridium.empty());
  const auto [oldLine1, oldLine2] = test::MakeLinePair(99001);  // long decayed by the period
  std::vector<TSearchSatellite> passSets;
  for (size_t i = 0; i < visual.size(); i += 3) passSets.push_back(visual[i]);
  for (size_t i = 0; i < deep.size() && i < 3; ++i) passSets.push_back(deep[i]);
  passSets.push_back(SearchSatelliteOf("DECAYING", DecodeCatalogSet(DecayingLines())));
  passSets.push_back(SearchSatelliteOf("DECAYED", DecodeCatalogSet({oldLine1, oldLine2})));
  std::vector<TSearchSatellite> flareSets;
  for (size_t i = 0; i < iridium.size(); i += 3) flareSets.push_back(iridium[i]);

  {
    // Up at the start of the pass period, down before its end.
    TPropagator decaying;
    decaying.LoadElements(DecayingLines());
    TVector pos;
    TVector vel;
    const double start = DateRecToJulian(TDateRec{2026, 2, 11, 0, 0, 0, 0});
    ASSERT_EQ(decaying.Propagate(pos, vel, start), TPropagationStatus::Ok);
    ASSERT_NE(decaying.Propagate(pos, vel, start + 1.0), TPropagationStatus::Ok);
  }
  int events = 0;
  int64_t leftOut = 0;
  for (const TCase& c : {
           TCase{"visual", TSearchKind::Passes, 0, 10.0, true, -5.0, 1.0},
           TCase{"horizon", TSearchKind::Passes, 1, 0.0, true, 90.0, 1.0},
           TCase{"unlit", TSearchKind::Passes, 2, 5.0, false, 0.0, 1.0},
           TCase{"every second", TSearchKind::Passes, 4, 20.0, true, -5.0, 1.0},
           TCase{"flares", TSearchKind::Flares, 0, 10.0, true, -5.0, 1.0},
           TCase{"any flare", TSearchKind::Flares, 1, 0.0, true, 90.0, 180.0},
       }) {
    SCOPED_TRACE(c.name);
    const bool flares = c.kind == TSearchKind::Flares;
    TSearchRequest request = flares ? TorunRequest(TDateRec{2014, 9, 18, 0, 0, 0, 0}, 24.0)
                                    : TorunRequest(TDateRec{2026, 2, 11, 0, 0, 0, 0}, 30.0);
    request.kind = c.kind;
    request.level = c.level;
    request.minSatElevationDeg = c.minimumDeg;
    request.illuminationRequired = c.illuminationRequired;
    request.maxSunElevationDeg = c.maxSunDeg;
    request.maxFlareAngleDeg = c.maxFlareDeg;
    const TSearchPeriod period = PeriodOfRequest(request);
    const TWalkConditions conditions = ConditionsOfRequest(request);
    TWalkConditions oneSatellite = conditions;
    oneSatellite.vectorSamples = false;
    TMomentTable table(flares);
    table.Cover(-60, period.seconds);
    table.Fill(conditions.observer, period, -60, period.seconds);
    TTableMoments moments(table, conditions.observer, period);
    const std::vector<TSearchSatellite>& sets = flares ? flareSets : passSets;

    std::vector<std::vector<TWalkEvent>> expected(sets.size());
    std::vector<TLeftOut> expectedLeftOut(sets.size());
    for (size_t k = 0; k < sets.size(); ++k) {
      TSatelliteWalk reference(sets[k].set, oneSatellite, period.seconds);
      reference.WalkUntil(period.seconds + 1, moments, expected[k]);
      expectedLeftOut[k] = reference.LeftOut();
      events += static_cast<int>(expected[k].size());
      leftOut += reference.LeftOut().Total();
    }
    // The lanes as they are, and lanes moved three kilometres off (with room for it): where a
    // decision is not certain from them, the one-satellite path takes over.
    for (double departureKm : {0.0, 3.0}) {
      SCOPED_TRACE(testing::Message() << "lanes " << departureKm << " km off");
      std::vector<std::unique_ptr<TSatelliteWalk>> walks;
      for (const TSearchSatellite& satellite : sets) {
        walks.push_back(std::make_unique<TSatelliteWalk>(satellite.set, conditions, period.seconds));
      }
      std::vector<std::vector<TWalkEvent>> found(sets.size());
      TWalkLanes lanes(departureKm);
      for (int64_t stop = 0; stop <= period.seconds + 900; stop += 900) {
        for (size_t k = 0; k < sets.size(); ++k) walks[k]->WalkUntil(stop, moments, found[k], &lanes);
      }
      for (size_t k = 0; k < sets.size(); ++k) {
        SCOPED_TRACE(sets[k].name);
        ASSERT_TRUE(walks[k]->Finished());
        ASSERT_EQ(found[k].size(), expected[k].size());
        for (size_t e = 0; e < expected[k].size(); ++e) ExpectSameEvent(found[k][e], expected[k][e]);
        EXPECT_EQ(walks[k]->LeftOut(), expectedLeftOut[k]);
      }
    }
  }
  EXPECT_GE(events, 400);
  EXPECT_GE(leftOut, 50);
}

// The whole search on two threads, whose walks take the lanes, against walks of every set alone
// from the one-satellite path: every pass line to the bit, in the order of the culminations.
TEST(PassSearch, RowsEqualThoseOfTheOneSatellitePath) {
  const auto visual = ReferenceSets("visual_2026-02-11.tle");
  ZEN_ASSERT_LOADED(visual);
  const auto deep = ReferenceSets("molniya_2023-06-28.tle");
  TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 0, 0, 0, 0}, 30.0);
  for (size_t i = 1; i < visual.size(); i += 2) request.satellites.push_back(visual[i]);
  for (size_t i = 0; i < deep.size() && i < 2; ++i) request.satellites.push_back(deep[i]);
  request.satellites.push_back(SearchSatelliteOf("DECAYING", DecodeCatalogSet(DecayingLines())));
  request.threads = 2;
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);

  const TSearchPeriod period = PeriodOfRequest(request);
  TWalkConditions oneSatellite = ConditionsOfRequest(request);
  oneSatellite.vectorSamples = false;
  TMomentTable table;
  table.Cover(-60, period.seconds);
  table.Fill(oneSatellite.observer, period, -60, period.seconds);
  TTableMoments moments(table, oneSatellite.observer, period);
  struct TExpected {
    size_t satellite;
    TPassEvent pass;
  };
  std::vector<TExpected> expected;
  TLeftOut leftOut;
  for (size_t k = 0; k < request.satellites.size(); ++k) {
    TSatelliteWalk walk(request.satellites[k].set, oneSatellite, period.seconds);
    std::vector<TWalkEvent> events;
    walk.WalkUntil(period.seconds + 1, moments, events);
    for (const TWalkEvent& event : events) expected.push_back({k, std::get<TPassEvent>(event)});
    leftOut += walk.LeftOut();
  }
  std::stable_sort(expected.begin(), expected.end(), [](const TExpected& a, const TExpected& b) {
    return a.pass.culmination.second < b.pass.culmination.second;
  });
  EXPECT_EQ(outcome.leftOut, leftOut);
  ASSERT_EQ(outcome.passes.size(), expected.size());
  ASSERT_GE(expected.size(), 100u);
  for (size_t i = 0; i < expected.size(); ++i) {
    const TPassLine& line = outcome.passes[i];
    EXPECT_EQ(line.satellite, expected[i].satellite);
    EXPECT_EQ(line.sunlitSeconds, expected[i].pass.sunlitSeconds);
    const std::pair<const TFound*, const TPassSample*> rows[] = {
        {&line.rise, &expected[i].pass.rise},
        {&line.culmination, &expected[i].pass.culmination},
        {&line.set, &expected[i].pass.set}};
    for (const auto& [found, sample] : rows) {
      EXPECT_EQ(found->timeUtc, period.JulianAt(sample->second));
      EXPECT_EQ(found->azimuth, sample->azimuthDeg);
      EXPECT_EQ(found->elevation, sample->elevationDeg);
      EXPECT_EQ(found->range, sample->rangeKm);
      EXPECT_EQ(found->sunAzimuth, sample->sunAzimuthDeg);
      EXPECT_EQ(found->sunElevation, sample->sunElevationDeg);
    }
  }
}

}  // namespace
}  // namespace zen
