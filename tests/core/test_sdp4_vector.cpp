// The vector deep-space path against the one-satellite path over every deep-space set of the
// reference data (geostationary, navigation, Molniya and the other high orbits) and a few made
// ones at the model's edges, on every instruction set the build compiled and this processor
// runs. Each lane keeps its own integrator and periodics, so each is compared with a copy of its
// propagator called at the same moments in the same order: forwards, backwards across epoch,
// far out and back again, and minute by minute.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/numeric.h"
#include "core/propagator.h"
#include "core/sdp4_batch.h"
#include "core/sgp4_vector.h"
#include "tests/core/test_propagator_fixture.h"
#include "tests/core/vector_targets.h"

namespace zen {
namespace {

using test::kOneMillimetreKm;
using test::kOneMicrometrePerSecondKm;
constexpr double kDaysPerYear = 365.25;

using test::TPinnedTarget;

TPropagator Prepared(const TTleLines& lines) {
  TPropagator p;
  p.LoadElements(lines);
  p.PrepareModel();
  return p;
}

// Made sets where the model changes its way: an inclination of exactly zero and one that the
// lunar-solar rate drives below zero, the two eccentricity bands of the 12-hour resonance, a
// retrograde synchronous orbit and a high orbit whose drag brings it down within the sweep.
std::vector<TPropagator> EdgeSets() {
  std::vector<test::TOrbitFields> fields;
  auto add = [&fields](double revPerDay, double eccentricity, double inclinationDeg,
                       double argPerigeeDeg, double bstar) {
    test::TOrbitFields f;
    f.catalogNumber = 98000 + static_cast<int>(fields.size());
    f.revPerDay = revPerDay;
    f.eccentricity = eccentricity;
    f.inclinationDeg = inclinationDeg;
    f.argPerigeeDeg = argPerigeeDeg;
    f.bstar = bstar;
    fields.push_back(f);
  };
  add(1.00272, 0.0002, 0.0, 0.0, 0.0);
  add(1.00272, 0.0003, 0.0001, 90.0, 0.0);
  add(1.0027, 0.001, 0.02, 200.0, 0.0);
  add(1.0, 0.01, 160.0, 30.0, 0.0);
  add(2.006, 0.62, 63.4, 270.0, 0.0);
  add(2.006, 0.69, 63.4, 280.0, 1.0e-4);
  add(2.006, 0.74, 63.0, 250.0, 0.0);
  add(2.2, 0.73, 46.8, 47.0, 0.014);
  add(4.5, 0.70, 28.0, 180.0, 0.05);
  std::vector<TPropagator> sets;
  for (const test::TOrbitFields& f : fields) sets.push_back(Prepared(test::MakeLines(f)));
  return sets;
}

// Every deep-space set of the reference data, and the made ones.
std::vector<TPropagator> DeepSpaceSets() {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(test::ReferenceData("tle"))) {
    if (entry.path().extension() == ".tle") paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  std::vector<TPropagator> sets;
  for (const std::filesystem::path& path : paths) {
    TCatalog catalog;
    const int count = catalog.ReadElementFile(path);
    for (int slot = 1; slot <= count; ++slot) {
      TPropagator p = Prepared(catalog.CatalogElements[slot].lines);
      if (TDeepSpaceBatch::Fits(p)) sets.push_back(p);
    }
  }
  for (TPropagator& p : EdgeSets()) {
    if (TDeepSpaceBatch::Fits(p)) sets.push_back(p);
  }
  return sets;
}

// One call of PropagateVector.
struct TCall {
  size_t begin, end;
  double jd;
};

struct TAnswer {
  TPropagationStatus status;
  TVector pos, vel;  // km, km/s
};

// The moments of the sweep, as days from each lane's epoch: the first five in order, then out of
// order and backwards, across epoch both ways, far out and back.
const double kOffsets[] = {-10.0,
                           10.0,
                           kDaysPerYear,
                           5.0 * kDaysPerYear,
                           15.0 * kDaysPerYear,
                           3.0 * kDaysPerYear + 0.37,
                           -2.0,
                           kDaysPerYear - 0.3,
                           0.2,
                           10.0 + 1.0 / 96.0,
                           -10.0 - 0.45};

// The calls of the sweep: each lane alone at its own offsets, then ranges of 11 lanes (starting
// anywhere in a vector and ending inside one) at their first lane's offsets, then every lane at
// moments a few minutes apart over three hours, which reuse the periodics and the integrator.
std::vector<TCall> SweepCalls(const std::vector<TPropagator>& sets) {
  std::vector<TCall> calls;
  const size_t count = sets.size();
  for (double days : kOffsets) {
    for (size_t lane = 0; lane < count; ++lane) {
      calls.push_back({lane, lane + 1, sets[lane].CurrentElements.epochJulian + days});
    }
  }
  for (double days : {kDaysPerYear, 4.0, -6.0}) {
    for (size_t lane = 0; lane < count; lane += 11) {
      calls.push_back(
          {lane, std::min(count, lane + 11), sets[lane].CurrentElements.epochJulian + days});
    }
  }
  double latest = 0.0;
  for (const TPropagator& p : sets) latest = std::max(latest, p.CurrentElements.epochJulian);
  for (int minute = 0; minute <= 180; minute += 7) {
    calls.push_back({0, count, latest + 30.0 + minute / kMinutesPerDay});
  }
  return calls;
}

// The one-satellite answers of every lane of every call, each lane's propagator a copy called
// at the lane's moments in the lane's order.
std::vector<std::vector<TAnswer>> OneSatelliteAnswers(std::vector<TPropagator> sets,
                                                      const std::vector<TCall>& calls) {
  std::vector<std::vector<TAnswer>> answers;
  for (const TCall& call : calls) {
    std::vector<TAnswer>& row = answers.emplace_back();
    for (size_t lane = call.begin; lane < call.end; ++lane) {
      TAnswer a;
      a.status = sets[lane].Propagate(a.pos, a.vel, call.jd);
      TPropagator::ScaleStateToKm(a.pos, a.vel);
      row.push_back(a);
    }
  }
  return answers;
}

// How far a lane's result lies from the one-satellite answer; empty when it agrees.
std::string Disagreement(const TDeepSpaceBatch& batch, size_t lane, const TAnswer& expected) {
  TVector pos, vel;
  const TPropagationStatus status = batch.Result(lane, pos, vel);
  TPropagator::ScaleStateToKm(pos, vel);
  const double posErrorKm = VecSub(pos, expected.pos).w;
  const double velErrorKmS = VecSub(vel, expected.vel).w;
  if (status == expected.status && posErrorKm <= kOneMillimetreKm &&
      velErrorKmS <= kOneMicrometrePerSecondKm) {
    return {};
  }
  return std::string(PropagationStatusText(status)) + " against " +
         PropagationStatusText(expected.status) + ", position off by " +
         std::to_string(posErrorKm * 1.0e6) + " mm, velocity by " +
         std::to_string(velErrorKmS * 1.0e9) + " um/s";
}

TEST(VectorDeepSpace, AgreesWithOneSatellitePathOnEveryInstructionSet) {
  std::vector<TPropagator> sets = DeepSpaceSets();
  ASSERT_GT(sets.size(), 800u);
  // The same set in two neighbouring lanes, driven apart by the single-lane calls.
  sets.insert(sets.begin() + 1, sets[0]);
  size_t resonant = 0, synchronous = 0, lowInclination = 0;
  for (const TPropagator& p : sets) {
    resonant += p.Deep.resonant ? 1 : 0;
    synchronous += p.Deep.synchronous ? 1 : 0;
    lowInclination += p.Deep.inclination < 0.2 ? 1 : 0;
  }
  // Both resonances and both ways of applying the periodics are swept.
  EXPECT_GT(synchronous, 300u);
  EXPECT_GT(resonant - synchronous, 20u);
  EXPECT_GT(lowInclination, 100u);

  const std::vector<TCall> calls = SweepCalls(sets);
  const std::vector<std::vector<TAnswer>> answers = OneSatelliteAnswers(sets, calls);
  size_t failed = 0;
  for (const std::vector<TAnswer>& row : answers) {
    for (const TAnswer& a : row) failed += a.status != TPropagationStatus::Ok ? 1 : 0;
  }
  // The sweep reaches sets that have decayed or left the model's range.
  EXPECT_GT(failed, 10u);

  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    ASSERT_STREQ(VectorTargetName(), VectorTargetName(target));
    TDeepSpaceBatch batch;
    batch.Resize(sets.size());
    for (size_t lane = 0; lane < sets.size(); ++lane) batch.SetLane(lane, sets[lane]);
    int mismatches = 0;
    for (size_t c = 0; c < calls.size() && mismatches < 10; ++c) {
      batch.PropagateVector(calls[c].begin, calls[c].end, calls[c].jd);
      for (size_t lane = calls[c].begin; lane < calls[c].end; ++lane) {
        const std::string off = Disagreement(batch, lane, answers[c][lane - calls[c].begin]);
        if (!off.empty() && ++mismatches <= 10) {
          ADD_FAILURE() << VectorTargetName() << ", call " << c << ", set "
                        << sets[lane].CurrentElements.catalogNumber << ": " << off;
        }
      }
    }
  }
}

// A lane starts from its propagator's present state: a propagator already driven out and back
// hands its integrator and periodics to the lane, which goes on as the propagator does, and
// neither moves the other afterwards. A moment that is no number fails every lane and leaves
// its state alone; a call over a range leaves the lanes outside it as they were.
TEST(VectorDeepSpace, LanesContinueFromTheirPropagatorAndKeepToThemselves) {
  std::vector<TPropagator> sets;
  for (TPropagator& p : EdgeSets()) {
    if (p.Deep.resonant) sets.push_back(p);
  }
  ASSERT_GE(sets.size(), 6u);
  for (TPropagator& p : sets) {
    TVector pos, vel;
    const double epoch = p.CurrentElements.epochJulian;
    p.Propagate(pos, vel, epoch + 900.0);
    p.Propagate(pos, vel, epoch + 400.2);
  }
  const std::vector<TPropagator> copies = sets;
  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    std::vector<TPropagator> mirror = copies;
    TDeepSpaceBatch batch;
    batch.Resize(sets.size());
    for (size_t lane = 0; lane < sets.size(); ++lane) batch.SetLane(lane, sets[lane]);
    const double epoch = sets[0].CurrentElements.epochJulian;
    for (double jd : {epoch + 400.21, std::numeric_limits<double>::quiet_NaN(), epoch + 380.0,
                      std::numeric_limits<double>::infinity(), epoch + 380.01, epoch - 3.0}) {
      batch.PropagateVector(0, sets.size(), jd);
      for (size_t lane = 0; lane < sets.size(); ++lane) {
        TAnswer a;
        a.status = mirror[lane].Propagate(a.pos, a.vel, jd);
        TPropagator::ScaleStateToKm(a.pos, a.vel);
        EXPECT_EQ(Disagreement(batch, lane, a), "") << VectorTargetName() << ", lane " << lane;
      }
    }
    // Lanes 2 and 3 alone: the others keep the results of the call before, and their state,
    // so that all of them go on as their propagators at a moment within the periodics' reuse.
    TVector before, beforeVel, after, afterVel;
    batch.Result(0, before, beforeVel);
    batch.PropagateVector(2, 4, epoch + 5000.0);
    for (size_t lane = 2; lane < 4; ++lane) {
      TVector pos, vel;
      mirror[lane].Propagate(pos, vel, epoch + 5000.0);
    }
    batch.Result(0, after, afterVel);
    EXPECT_EQ(before.x, after.x);
    EXPECT_EQ(beforeVel.z, afterVel.z);
    const double soon = epoch - 3.0 + 10.0 / kMinutesPerDay;
    batch.PropagateVector(0, sets.size(), soon);
    for (size_t lane = 0; lane < sets.size(); ++lane) {
      TAnswer a;
      a.status = mirror[lane].Propagate(a.pos, a.vel, soon);
      TPropagator::ScaleStateToKm(a.pos, a.vel);
      EXPECT_EQ(Disagreement(batch, lane, a), "") << VectorTargetName() << ", lane " << lane;
    }
  }
}

}  // namespace
}  // namespace zen
