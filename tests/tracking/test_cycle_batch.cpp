// The compute cycle propagates near-earth sets in batches and shares large lists between
// threads; every tracked satellite must still get the bits of its set computed alone, and
// those must agree with the one-satellite path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/sdp4_batch.h"
#include "core/sun.h"
#include "core/timescale.h"
#include "cycle_reference.h"
#include "test_support.h"
#include "tracking/compute_cycle.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

template <class T>
bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The set computed alone (CycleWayState) and seen alone (CycleWaySight), with the moment passed
// to each; the propagated state must also lie within a millimetre of the propagator's own, and
// the sight within a few units in the last place of the one-satellite functions'. A model that
// breaks down leaves the earlier numbers and only clears computed.
// A deep-space set's lane (deep, lane) is kept from call to call, as the cycle keeps its own.
void ReferenceStep(TSatState& s, TPropagator& model, TDeepSpaceBatch& deep, size_t lane,
                   double t, const TGeodetic& site) {
  TVector pos;
  TVector vel;
  TPropagationStatus status;
  if (TDeepSpaceBatch::Fits(model)) {
    deep.PropagateVector(lane, lane + 1, t);
    status = deep.Result(lane, pos, vel);
  } else {
    status = test::CycleWayState(model, t, pos, vel);
  }
  TVector onePos;
  TVector oneVel;
  ASSERT_EQ(model.Propagate(onePos, oneVel, t), status);
  if (status != TPropagationStatus::Ok) {
    s.computed = false;
    return;
  }
  ASSERT_TRUE(test::WithinMillimetre(pos, vel, onePos, oneVel));
  TPropagator::ScaleStateToKm(pos, vel);
  s.position = pos;
  s.velocity = vel;
  const test::TCycleSight sight = test::CycleWaySight(pos, vel, site, t);
  ASSERT_TRUE(test::NearOneSatelliteSight(sight, pos, vel, site, t));
  s.geodetic = sight.geodetic;
  s.lookAngles = sight.lookAngles;
  s.raDec = sight.raDec;
  s.eclipse = sight.eclipse;
  s.latitude = Degrees(s.geodetic.latitude);
  s.longitude = FoldLongitude(Degrees(s.geodetic.longitude));
  s.azimuth = Degrees(s.lookAngles.first);
  s.elevation = Degrees(s.lookAngles.second);
  s.rightAscension = Degrees(s.raDec.first);
  s.declination = Degrees(s.raDec.second);
  s.computed = std::isfinite(s.latitude) && std::isfinite(s.longitude) &&
               std::isfinite(s.elevation);
}

bool SameState(const TSatState& a, const TSatState& b) {
  return a.computed == b.computed && a.eclipse == b.eclipse && SameBits(a.latitude, b.latitude) &&
         SameBits(a.longitude, b.longitude) && SameBits(a.azimuth, b.azimuth) &&
         SameBits(a.elevation, b.elevation) && SameBits(a.rightAscension, b.rightAscension) &&
         SameBits(a.declination, b.declination) && SameBits(a.position, b.position) &&
         SameBits(a.velocity, b.velocity) && SameBits(a.geodetic, b.geodetic) &&
         SameBits(a.lookAngles, b.lookAngles) && SameBits(a.raDec, b.raDec);
}

TEST(ComputeCycleBatch, EverySatelliteHasTheBitsOfItsSetComputedAlone) {
  // Starlink (near-earth, some low enough for the simplified drag), the stations, and the
  // deep-space sets of the geostationary, navigation and Molniya files: over ten thousand
  // satellites, enough for the cycle to share its ticks between threads.
  const fs::path dir = fs::temp_directory_path() / "zen_cycle_batch";
  fs::create_directories(dir);
  {
    std::ofstream out(dir / "all.tle", std::ios::binary);
    for (const char* name : {"starlink_2026-05-30", "stations_2026-05-30", "geo_2026-05-30",
                             "gnss_2026-02-11", "molniya_2023-06-28"}) {
      std::ifstream in(test::ReferenceDataDir() / "tle" / (std::string(name) + ".tle"),
                       std::ios::binary);
      ASSERT_TRUE(in) << name;
      out << in.rdbuf() << "\n";
    }
  }
  TSatelliteList list;
  list.TleFileName = (dir / "all.tle").string();
  list.zapodawajSatelity(dir);
  TSelection none;
  list.AddTr(true, false, 0, none);
  ASSERT_GT(list.TrackedCount, 10000);

  // The reference: one propagator, one deep-space lane and one state per catalogue slot, fed
  // the same moments. The cycle sets its deep-space lanes again from its own propagators, which
  // nothing has moved, whenever it lays out its lanes: the reference's lanes follow from
  // untouched copies.
  std::vector<TPropagator> models(static_cast<size_t>(list.LoadedCount) + 1);
  std::vector<TPropagator> untouched(models.size());
  std::vector<TSatState> expected(models.size());
  TDeepSpaceBatch deep;
  deep.Resize(models.size());
  int deepSpace = 0;
  for (int slot = 1; slot <= list.LoadedCount; ++slot) {
    const TCatalogSet& set = list.Catalog.CatalogElements[static_cast<size_t>(slot)];
    ASSERT_TRUE(set.decodable);
    models[static_cast<size_t>(slot)].LoadElements(set.elements);
    untouched[static_cast<size_t>(slot)].LoadElements(set.elements);
    untouched[static_cast<size_t>(slot)].PrepareModel();
    deepSpace += set.elements.UseDeepSpace ? 1 : 0;
  }
  // The deep-space model's numbers hang on the moments it was called at before (the
  // integrator's point, the periodics reused within half an hour): a deep-space set's
  // propagator starts again with its lane.
  auto layDeepLanes = [&] {
    for (size_t slot = 1; slot < models.size(); ++slot) {
      if (!TDeepSpaceBatch::Fits(untouched[slot])) continue;
      deep.SetLane(slot, untouched[slot]);
      models[slot] = untouched[slot];
    }
  };
  EXPECT_GT(deepSpace, 500);

  struct Moment {
    double days;       // from the Starlink epochs
    int untrackFirst;  // tracked rows removed before the moment
  };
  const Moment moments[] = {
      {0.0, 0},  {0.25, 0}, {0.25 + 1.0 / 86400.0, 0},
      {3.0, 5},  // a shorter list: the lanes are laid out again
      {-40.0, 0},  // back before the epochs
      {400.0, 0}, {2500.0, 1},  // long after: many low orbits have decayed
  };
  const double epoch = JulianDateOfEpoch(26150.0);
  TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  TComputeCycle cycle;
  TTimeControl time;
  TShowOptions options;
  int brokenDown = 0;
  for (const Moment& m : moments) {
    for (int k = 0; k < m.untrackFirst; ++k) list.RemoveTr(false, false, 1, TSelection{});
    if (&m == &moments[0] || m.untrackFirst > 0) layDeepLanes();
    const double t = epoch + m.days;
    cycle.LiczWszo(t, site, list, time, options);
    int visible = 0;
    int visibleEclipsed = 0;
    for (int i = 1; i <= list.TrackedCount; ++i) {
      const TSatState& got = list.TrackedSats[static_cast<size_t>(i)];
      const size_t slot = static_cast<size_t>(got.catalogIndex);
      TSatState& want = expected[slot];
      want.catalogIndex = got.catalogIndex;
      ReferenceStep(want, models[slot], deep, slot, t, site);
      ASSERT_FALSE(HasFatalFailure()) << list.NameOf(i) << " at " << m.days << " days";
      ASSERT_TRUE(SameState(got, want)) << list.NameOf(i) << " at " << m.days << " days";
      brokenDown += want.computed ? 0 : 1;
      if (want.computed && want.elevation >= 0.0) {
        ++visible;
        visibleEclipsed += want.eclipse == kUmbra ? 1 : 0;
      }
    }
    EXPECT_EQ(cycle.VisibleCount, visible) << m.days;
    EXPECT_EQ(cycle.VisibleEclipsedCount, visibleEclipsed) << m.days;
  }
  EXPECT_GT(brokenDown, 1000);
  fs::remove_all(dir);
}

TEST(ComputeCycleBatch, AListNeverLoadedLeavesOnlyTheSunToCompute) {
  TSatelliteList list;
  TComputeCycle cycle;
  TTimeControl time;
  TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  cycle.LiczWszo(JulianDateOfEpoch(26150.0), site, list, time, TShowOptions{});
  EXPECT_EQ(cycle.VisibleCount, 0);
  EXPECT_GT(cycle.SunNow.position.w, 1.4e8);
}

TEST(CycleTeam, EveryPieceOfEveryRunIsTakenExactlyOnce) {
  TCycleTeam team(4);
  std::vector<int> taken(1000, 0);
  for (int pieces : {0, 1, 3, 1000, 7, 1000}) {
    std::fill(taken.begin(), taken.end(), 0);
    auto piece = [&taken](int k) { ++taken[static_cast<size_t>(k)]; };
    team.Share(pieces, piece);
    for (size_t k = 0; k < taken.size(); ++k) {
      ASSERT_EQ(taken[k], k < static_cast<size_t>(pieces) ? 1 : 0) << pieces << " pieces";
    }
  }
}

}  // namespace
}  // namespace zen
