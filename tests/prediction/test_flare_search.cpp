// The flare search: the panel scan on made-up angles, and flares of the first-generation
// Iridiums checked against the orbital core's own per-second evaluation.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <set>

#include "core/flare.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/sun.h"
#include "prediction/flare_scan.h"
#include "prediction/moment_table.h"
#include "prediction/pass_walk.h"
#include "search_fixture.h"

namespace zen {
namespace {

using test::ReferenceSets;
using test::TorunRequest;

// A run of angles fed to the scan, and the minima it must find: (sample, panel 1..3).
struct TScanCase {
  const char* what;
  TPanelAngles before;
  std::vector<TPanelAngles> samples;
  std::set<std::pair<int, int>> minima;
};

class PanelScan : public testing::TestWithParam<TScanCase> {};

TEST_P(PanelScan, FindsTheMinima) {
  const TScanCase& c = GetParam();
  TPanelScan scan;
  scan.Start(c.before);
  std::set<std::pair<int, int>> found;
  for (size_t k = 0; k < c.samples.size(); ++k) {
    const std::array<bool, 3> minimum = scan.Next(c.samples[k]);
    for (int panel = 0; panel < 3; ++panel) {
      if (!minimum[static_cast<size_t>(panel)]) continue;
      ASSERT_GT(k, 0u);
      found.insert({static_cast<int>(k) - 1, panel + 1});
    }
  }
  EXPECT_EQ(found, c.minima);
}

constexpr double kBehind = 180.0;

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelScan,
    testing::Values(
        TScanCase{"one dip", {9, 9, 9}, {{8, 9, 9}, {7, 9, 9}, {6, 9, 9}, {7, 9, 9}}, {{2, 1}}},
        // Still falling when the recording ends: the minimum is not seen.
        TScanCase{"falling to the end", {9, 9, 9}, {{9, 8, 9}, {9, 7, 9}}, {}},
        // Rising from the first sample on: the minimum came before the recording.
        TScanCase{"rising from the start", {1, 9, 9}, {{2, 9, 9}, {3, 9, 9}, {4, 9, 9}}, {}},
        TScanCase{"minimum at the first sample", {2, 9, 9}, {{1, 9, 9}, {2, 9, 9}}, {{0, 1}}},
        // Of equal smallest angles the last counts.
        TScanCase{"flat bottom", {9, 9, 9}, {{9, 9, 3}, {9, 9, 2}, {9, 9, 2}, {9, 9, 4}}, {{2, 3}}},
        TScanCase{"from behind the panel",
                  {kBehind, 9, 9},
                  {{kBehind, 9, 9}, {5, 9, 9}, {kBehind, 9, 9}},
                  {{1, 1}}},
        // Panel 1 bottoms out at the second that shows panel 2's minimum: that step must not
        // forget panel 1's smaller angle, or panel 1's minimum would be reported a second
        // late, where its angle is no minimum.
        TScanCase{"minimum found as another panel bottoms out",
                  {9, 9, 9},
                  {{6, 3, 9}, {5, 2, 9}, {3, 3, 9}, {4, 9, 9}, {6, 9, 9}},
                  {{1, 2}, {2, 1}}},
        // A minimum on one panel begins a new stretch for all: a shallower second dip of
        // another panel is found after it.
        TScanCase{"second dip after another panel's minimum",
                  {9, 9, 9},
                  {{1, 9, 9}, {3, 8, 9}, {4, 7, 9}, {3, 8, 9}, {2, 9, 9}, {3, 9, 9}},
                  {{0, 1}, {2, 2}, {4, 1}}}),
    [](const testing::TestParamInfo<TScanCase>& info) {
      std::string name = info.param.what;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

// What the core shows of a satellite at one second.
struct TSecondView {
  TPanelAngles anglesDeg{};
  double elevationDeg = 0.0;
  double sunElevationDeg = 0.0;
  int eclipse = -1;
  double velocityZ = 0.0;
};

TSecondView ViewAt(TPropagator& propagator, const TGeodetic& site, double jd) {
  TSecondView view;
  TVector pos;
  TVector vel;
  if (propagator.Propagate(pos, vel, jd) != TPropagationStatus::Ok) return view;
  TPropagator::ScaleStateToKm(pos, vel);
  const TVector sun = SunPosition(jd);
  TGeodetic observer = site;
  TVector observerPos;
  TVector observerVel;
  ObserverPosVel(observer, jd, observerPos, observerVel);
  const TVector lineOfSight = VecSub(pos, observerPos);
  const TLookAngles sunRaDec = TopocentricRaDec(sun, TVector{}, site, jd);
  for (size_t p = 0; p < 3; ++p) {
    view.anglesDeg[p] =
        Degrees(FlareOffset(pos, vel, lineOfSight, jd, site, Radians(kIridiumPanelAzimuthsDeg[p]),
                            Radians(kIridiumPanelTiltDeg), sunRaDec));
  }
  view.elevationDeg = Degrees(LookAngles(pos, vel, site, jd).second);
  view.sunElevationDeg = Degrees(LookAngles(sun, TVector{}, site, jd).second);
  view.eclipse = EclipseState(pos, sun);
  view.velocityZ = vel.z;
  return view;
}

TIridiumTable ShippedTable() {
  return zapodawajIridiums(std::filesystem::path(ZEN_SOURCE_DIR) / "resources" / "Data" /
                           "flares.dat");
}

TSearchRequest FlareRequest(const TDateRec& startUtc, double hours, double maxAngleDeg,
                            int threads) {
  TSearchRequest request = TorunRequest(startUtc, hours);
  request.kind = TSearchKind::Flares;
  request.allLoaded = true;
  request.satellites = ReferenceSets("iridium_gen1_celestrak_2014-09-18.tle");
  request.iridiumTable = ShippedTable();
  request.maxFlareAngleDeg = maxAngleDeg;
  request.threads = threads;
  return request;
}

TSearchOutcome Search(const TSearchRequest& request) {
  TSearchFlags flags;
  TSearchOutcome outcome = RunSearch(request, flags, nullptr);
  EXPECT_FALSE(outcome.terminated || outcome.interruptedByCancel || outcome.interruptedInSort);
  return outcome;
}

// Three days over Torun: every flare is a minimum, at one-second resolution, of its panel's
// angle as the core computes it, no larger than the largest angle, of a sunlit satellite above
// the minimum elevation with the Sun below its limit; a smaller largest angle keeps exactly
// the flares within it, whatever the number of threads.
TEST(FlareSearch, FlaresAreMinimaOfTheirPanelsAngle) {
  const TDateRec start{2014, 9, 18, 0, 0, 0, 0};
  const TSearchRequest wide = FlareRequest(start, 72.0, 4.0, 2);
  ZEN_ASSERT_LOADED(wide.satellites);
  ASSERT_EQ(wide.satellites.size(), 92u);
  const TSearchOutcome outcome = Search(wide);
  const double startUtc = LocalToUtc(wide.periodStartLocal, wide.utcOffsetHours);
  const TGeodetic site = ObserverFromSite(wide.latitudeDeg, wide.longitudeDeg, wide.altitudeM);

  std::map<std::string, const TSearchSatellite*> byNumber;
  for (const TSearchSatellite& s : wide.satellites) byNumber[s.catalogNumberText] = &s;
  for (const auto& row : outcome.rows) {
    ASSERT_TRUE(row.has_value());
    SCOPED_TRACE(row->sat + " at " + std::to_string(row->timeUtc) + " panel " +
                 std::to_string(row->panel));
    ASSERT_TRUE(row->panel >= 1 && row->panel <= 3);
    const size_t p = row->panel - 1u;
    const int64_t second = std::llround((row->timeUtc - startUtc) * 86400.0);
    TPropagator propagator;
    propagator.LoadElements(byNumber.at(row->catalogNumber)->set.elements);
    std::array<TSecondView, 3> view;
    for (int64_t k = 0; k < 3; ++k) {
      view[static_cast<size_t>(k)] =
          ViewAt(propagator, site, startUtc + static_cast<double>(second - 1 + k) / 86400.0);
    }
    EXPECT_EQ(row->flareAngles, view[1].anglesDeg);
    EXPECT_LE(view[1].anglesDeg[p], view[0].anglesDeg[p]);
    EXPECT_LT(view[1].anglesDeg[p], view[2].anglesDeg[p]);
    EXPECT_LE(view[1].anglesDeg[p], wide.maxFlareAngleDeg);
    EXPECT_EQ(view[1].eclipse, kSunlit);
    EXPECT_GT(view[1].elevationDeg, wide.minSatElevationDeg);
    EXPECT_EQ(row->elevation, view[1].elevationDeg);
    EXPECT_LE(view[1].sunElevationDeg, wide.maxSunElevationDeg);
    EXPECT_EQ(row->direction, view[1].velocityZ >= 0.0 ? 'A' : 'D');
  }
  // Sorted by time.
  for (size_t r = 1; r < outcome.rows.size(); ++r) {
    EXPECT_LE(outcome.rows[r - 1]->timeUtc, outcome.rows[r]->timeUtc);
  }

  // The same flares within the smaller largest angle, to the bit, searched on one thread.
  const TSearchOutcome narrow = Search(FlareRequest(start, 72.0, 1.0, 1));
  EXPECT_GE(narrow.totalCount, 3);
  EXPECT_GT(outcome.totalCount, narrow.totalCount);
  TResultRows within;
  for (const auto& row : outcome.rows) {
    if (row->flareAngles[row->panel - 1u] <= 1.0) within.push_back(row);
  }
  test::ExpectSameRows(narrow.rows, within);
  for (size_t r = 0; r < narrow.rows.size() && r < within.size(); ++r) {
    EXPECT_EQ(narrow.rows[r]->flareAngles, within[r]->flareAngles);
    EXPECT_EQ(narrow.rows[r]->panel, within[r]->panel);
    EXPECT_EQ(narrow.rows[r]->direction, within[r]->direction);
  }
}

// Only the satellites of the table are searched, however they are named; the label comes from
// the table or, without it, from the name.
TEST(FlareSearch, SearchesOnlyTheSatellitesOfTheTable) {
  // Half an hour of an evening with flares.
  TSearchRequest request = FlareRequest(TDateRec{2014, 9, 18, 18, 0, 0, 0}, 0.5, 4.0, 2);
  ZEN_ASSERT_LOADED(request.satellites);
  const TSearchOutcome all = Search(request);
  ASSERT_GE(all.totalCount, 1);
  std::set<std::string> flaring;
  for (const auto& row : all.rows) {
    flaring.insert(row->catalogNumber);
    const TIridiumData& data = *std::find_if(
        request.iridiumTable.begin(), request.iridiumTable.end(), [&](const TIridiumData& d) {
          return std::to_string(d.catalogNumber) == row->catalogNumber;
        });
    EXPECT_EQ(row->sat, data.label + " " + data.statusMark);
  }

  request.useIridiumTable = false;
  const TSearchOutcome byName = Search(request);
  ASSERT_EQ(byName.rows.size(), all.rows.size());
  for (size_t r = 0; r < all.rows.size(); ++r) {
    // "IRIDIUM 68 [+]" gives "68 [+]".
    EXPECT_EQ(byName.rows[r]->sat, all.rows[r]->sat.substr(0, all.rows[r]->sat.size() - 2) + " [" +
                                       all.rows[r]->sat.back() + "]");
  }

  std::erase_if(request.iridiumTable, [&](const TIridiumData& d) {
    return flaring.contains(std::to_string(d.catalogNumber));
  });
  const TSearchOutcome without = Search(request);
  EXPECT_EQ(without.totalCount, 0);

  request.iridiumTable.clear();
  test::TRecordingListener listener;
  TSearchFlags flags;
  const TSearchOutcome none = RunSearch(request, flags, &listener);
  EXPECT_EQ(none.totalCount, 0);
  EXPECT_TRUE(listener.started.empty());
}

// Leaving out samples of a satellite surely below the minimum or in the dark while no
// recording runs changes no flare: every minimum is reported (any angle, any Sun) and the two
// walks agree to the bit.
TEST(FlareSearch, LeavingOutSamplesChangesNoFlare) {
  const auto sets = ReferenceSets("iridium_gen1_celestrak_2014-09-18.tle");
  ZEN_ASSERT_LOADED(sets);
  TSearchRequest request = TorunRequest(TDateRec{2014, 9, 18, 0, 0, 0, 0}, 24.0);
  request.kind = TSearchKind::Flares;
  request.maxFlareAngleDeg = 180.0;
  request.maxSunElevationDeg = 90.0;
  const TSearchPeriod period = PeriodOfRequest(request);
  const TWalkConditions conditions = ConditionsOfRequest(request);
  TWalkConditions everySample = conditions;
  everySample.leaveOutCertainSamples = false;
  TMomentTable table(true);
  table.Cover(-60, period.seconds);
  table.Fill(conditions.observer, period, -60, period.seconds);
  TTableMoments moments(table, conditions.observer, period);
  int flares = 0;
  for (size_t i = 0; i < sets.size(); i += 4) {
    SCOPED_TRACE(sets[i].name);
    std::vector<TWalkEvent> expected;
    std::vector<TWalkEvent> found;
    TSatelliteWalk(sets[i].set, everySample, period.seconds)
        .WalkUntil(period.seconds + 1, moments, expected);
    TSatelliteWalk walk(sets[i].set, conditions, period.seconds);
    for (int64_t stop = 0; !walk.Finished(); stop += 700) walk.WalkUntil(stop, moments, found);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t e = 0; e < found.size(); ++e) {
      const TFlareEvent& a = std::get<TFlareEvent>(found[e]);
      const TFlareEvent& b = std::get<TFlareEvent>(expected[e]);
      EXPECT_EQ(a.sample.second, b.sample.second);
      EXPECT_EQ(a.sample.azimuthDeg, b.sample.azimuthDeg);
      EXPECT_EQ(a.anglesDeg, b.anglesDeg);
      EXPECT_EQ(a.panel, b.panel);
    }
    flares += static_cast<int>(found.size());
  }
  EXPECT_GE(flares, 50);
}

}  // namespace
}  // namespace zen
