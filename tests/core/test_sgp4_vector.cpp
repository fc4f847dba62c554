// The vector near-earth path against the one-satellite path over the real near-earth sets of
// the reference data, from ten days before epoch to fifteen years after (mean anomalies of half
// a million radians, and past many sets' decay), on every instruction set the build compiled
// and this processor runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/numeric.h"
#include "core/propagator.h"
#include "core/sgp4_batch.h"
#include "core/sgp4_vector.h"
#include "tests/core/test_propagator_fixture.h"
#include "tests/core/vector_targets.h"

namespace zen {
namespace {

using test::kOneMillimetreKm;
using test::kOneMicrometrePerSecondKm;
constexpr double kDaysPerYear = 365.25;

using test::TPinnedTarget;

std::vector<std::unique_ptr<TPropagator>> NearEarthSets() {
  std::vector<std::unique_ptr<TPropagator>> sets;
  for (const char* file :
       {"stations_2026-05-30.tle", "weather_2026-05-30.tle", "science_2026-05-30.tle",
        "starlink_2026-05-30.tle", "visual_2026-02-11.tle", "amateur_2025-04-29.tle",
        "iridium_gen1_celestrak_2008-04-22.tle", "iridium_gen1_2016-12-05_nostatus.tle"}) {
    auto catalog = std::make_unique<TCatalog>();
    const int count = catalog->ReadElementFile(test::ReferenceData(std::string("tle/") + file));
    for (int slot = 1; slot <= count; ++slot) {
      auto p = std::make_unique<TPropagator>();
      p->LoadElements(catalog->CatalogElements[slot].lines);
      p->PrepareModel();
      if (TNearEarthBatch::Fits(*p)) sets.push_back(std::move(p));
    }
  }
  return sets;
}

// The vector sine and cosine against the standard library's from small arguments to a million
// radians (a low orbit's mean anomaly passes half a million about fifteen years after epoch),
// just off multiples of a right angle as well, on every instruction set.
TEST(VectorNearEarth, SineAndCosineHoldForLargeArguments) {
  std::vector<double> x;
  for (int i = -2000; i <= 2000; ++i) x.push_back(i * 499.99917 + 0.123 * i / 2000.0);
  for (double turns : {1.0, 7.0, 4.0e3, 9.0e4, 1.5e5}) {
    for (double offset : {-1.0e-9, 0.0, 3.0e-13}) x.push_back(turns * kHalfPi + offset);
  }
  std::vector<double> sine(x.size()), cosine(x.size());
  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    VectorSineCosine(x.data(), sine.data(), cosine.data(), x.size());
    double worst = 0.0, worstAt = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
      const double error =
          std::max(std::abs(sine[i] - std::sin(x[i])), std::abs(cosine[i] - std::cos(x[i])));
      if (!(error <= worst)) {
        worst = error;
        worstAt = x[i];
      }
    }
    EXPECT_LE(worst, 1.0e-15) << VectorTargetName() << " at " << worstAt << " rad";
  }
}

TEST(VectorNearEarth, AgreesWithOneSatellitePathOnEveryInstructionSet) {
  const std::vector<std::unique_ptr<TPropagator>> sets = NearEarthSets();
  ASSERT_GT(sets.size(), 5000u);
  TNearEarthBatch batch;
  batch.Resize(sets.size());
  for (size_t lane = 0; lane < sets.size(); ++lane) batch.SetLane(lane, *sets[lane]);

  const std::vector<int64_t> targets = VectorTargets();
  ASSERT_FALSE(targets.empty());
  // Two ranges that split a vector, so the tail of the first and the unaligned start of the
  // second are both exercised.
  const size_t split = 13;
  int failedLanes = 0;
  for (double days : {-10.0, 10.0, kDaysPerYear, 5.0 * kDaysPerYear, 15.0 * kDaysPerYear}) {
    // The one-satellite answers, each lane at the same offset from its own epoch.
    std::vector<TPropagationStatus> expectedStatus(sets.size());
    std::vector<TVector> expectedPos(sets.size()), expectedVel(sets.size());
    for (size_t lane = 0; lane < sets.size(); ++lane) {
      TPropagator& p = *sets[lane];
      expectedStatus[lane] =
          p.Propagate(expectedPos[lane], expectedVel[lane], p.CurrentElements.epochJulian + days);
      TPropagator::ScaleStateToKm(expectedPos[lane], expectedVel[lane]);
      if (expectedStatus[lane] != TPropagationStatus::Ok) ++failedLanes;
    }
    // The moment of each lane, for the calls that take one per lane.
    std::vector<double> moments(sets.size());
    for (size_t lane = 0; lane < sets.size(); ++lane) {
      moments[lane] = sets[lane]->CurrentElements.epochJulian + days;
    }
    for (int64_t target : targets) {
      TPinnedTarget pin(target);
      ASSERT_STREQ(VectorTargetName(), VectorTargetName(target));
      // How the lanes are propagated: each lane at its moment as the first lane of a call (alone
      // at first, then at the head of a range that starts anywhere in a vector); or every lane
      // at its own moment in calls that each take a moment per lane, one over all lanes and
      // one in ranges of a few lanes that end inside a vector.
      for (const char* way : {"one moment", "all lanes", "ranges"}) {
        SCOPED_TRACE(testing::Message() << VectorTargetName() << ", " << days << " days, " << way);
        const std::string how = way;
        if (how == "all lanes") batch.PropagateVector(0, sets.size(), moments.data());
        if (how == "ranges") {
          for (size_t lane = 0; lane < sets.size(); lane += split) {
            batch.PropagateVector(lane, std::min(sets.size(), lane + split), moments.data() + lane);
          }
        }
        int mismatches = 0;
        for (size_t lane = 0; lane < sets.size() && mismatches < 10; ++lane) {
          if (how == "one moment") {
            const size_t end = lane < split ? lane + 1 : std::min(sets.size(), lane + split);
            batch.PropagateVector(lane, end, moments[lane]);
          }
          TVector pos, vel;
          const TPropagationStatus status = batch.Result(lane, pos, vel);
          TPropagator::ScaleStateToKm(pos, vel);
          const double posErrorKm = VecSub(pos, expectedPos[lane]).w;
          const double velErrorKmS = VecSub(vel, expectedVel[lane]).w;
          const bool agrees = status == expectedStatus[lane] && posErrorKm <= kOneMillimetreKm &&
                              velErrorKmS <= kOneMicrometrePerSecondKm;
          if (!agrees) {
            ++mismatches;
            ADD_FAILURE() << "set " << sets[lane]->CurrentElements.catalogNumber << ": status "
                          << PropagationStatusText(status) << " against "
                          << PropagationStatusText(expectedStatus[lane]) << ", position off by "
                          << posErrorKm * 1.0e6 << " mm, velocity by " << velErrorKmS * 1.0e9
                          << " um/s";
          }
        }
      }
    }
  }
  // The sweep reaches sets that have decayed, so the statuses are compared too.
  EXPECT_GT(failedLanes, 100);
}

// All lanes at one moment in one call, as the compute cycle uses it, against per-lane calls:
// the lanes of a vector do not disturb each other, and the lanes outside the range are left
// as they were.
TEST(VectorNearEarth, OneCallOverManyLanesEqualsOneLaneAtATime) {
  const std::vector<std::unique_ptr<TPropagator>> sets = NearEarthSets();
  ASSERT_GT(sets.size(), 100u);
  const size_t count = 101;
  TNearEarthBatch whole, single;
  whole.Resize(count);
  single.Resize(count);
  for (size_t lane = 0; lane < count; ++lane) {
    whole.SetLane(lane, *sets[lane * 37 % sets.size()]);
    single.SetLane(lane, *sets[lane * 37 % sets.size()]);
  }
  const double jd = sets[0]->CurrentElements.epochJulian + 3.0 * kDaysPerYear;
  whole.PropagateVector(0, count, jd);
  for (size_t lane = 0; lane < count; ++lane) {
    single.PropagateVector(lane, lane + 1, jd);
    TVector posWhole, velWhole, posSingle, velSingle;
    EXPECT_EQ(whole.Result(lane, posWhole, velWhole), single.Result(lane, posSingle, velSingle));
    EXPECT_EQ(posWhole.x, posSingle.x);
    EXPECT_EQ(velWhole.z, velSingle.z);
  }
  // A moment that is no number fails every lane as the one-satellite path fails it, on every
  // instruction set, with the zeros it leaves.
  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
      whole.PropagateVector(0, count, bad);
      for (size_t lane = 0; lane < count; ++lane) {
        TVector pos, vel, expectedPos, expectedVel;
        const TPropagationStatus expected =
            sets[lane * 37 % sets.size()]->Propagate(expectedPos, expectedVel, bad);
        EXPECT_EQ(whole.Result(lane, pos, vel), expected) << VectorTargetName();
        EXPECT_EQ(pos.y, 0.0);
        EXPECT_EQ(vel.x, 0.0);
      }
    }
  }
  // A range that ends inside a vector writes nothing past its end.
  TNearEarthBatch tail;
  tail.Resize(count);
  for (size_t lane = 0; lane < count; ++lane) tail.SetLane(lane, *sets[lane]);
  tail.PropagateVector(0, 3, sets[0]->CurrentElements.epochJulian);
  for (size_t lane = 3; lane < 8; ++lane) {
    TVector pos, vel;
    tail.Result(lane, pos, vel);
    EXPECT_EQ(pos.x, 0.0);
    EXPECT_EQ(vel.y, 0.0);
  }
}

// One set in every lane, each lane a second later than the one before (as a search walks a
// satellite), and sets mixed with moments a day apart: every lane agrees with the one-satellite
// path at its own moment, and a range cut short inside a vector writes nothing past its end.
TEST(VectorNearEarth, EveryLaneTakesItsOwnMoment) {
  const std::vector<std::unique_ptr<TPropagator>> sets = NearEarthSets();
  ASSERT_GT(sets.size(), 100u);
  const size_t count = 29;
  for (const char* row : {"one set", "many sets"}) {
    const bool oneSet = std::string(row) == "one set";
    TNearEarthBatch batch;
    batch.Resize(count + 8);
    std::vector<double> moments(count);
    for (size_t lane = 0; lane < count + 8; ++lane) {
      batch.SetLane(lane, *sets[oneSet ? 5 : lane * 53 % sets.size()]);
    }
    for (size_t lane = 0; lane < count; ++lane) {
      const TPropagator& p = *sets[oneSet ? 5 : lane * 53 % sets.size()];
      moments[lane] = oneSet ? p.CurrentElements.epochJulian + 40.0 + lane / 86400.0
                             : p.CurrentElements.epochJulian - 3.0 + lane;
    }
    for (int64_t target : VectorTargets()) {
      TPinnedTarget pin(target);
      batch.PropagateVector(count, count + 8, moments[0]);
      batch.PropagateVector(0, count, moments.data());
      for (size_t lane = 0; lane < count + 8; ++lane) {
        TPropagator p = *sets[oneSet ? 5 : lane * 53 % sets.size()];
        TVector pos, vel, expectedPos, expectedVel;
        const TPropagationStatus expected =
            p.Propagate(expectedPos, expectedVel, lane < count ? moments[lane] : moments[0]);
        ASSERT_EQ(batch.Result(lane, pos, vel), expected) << row << ", lane " << lane;
        TPropagator::ScaleStateToKm(pos, vel);
        TPropagator::ScaleStateToKm(expectedPos, expectedVel);
        EXPECT_LE(VecSub(pos, expectedPos).w, kOneMillimetreKm) << row << ", lane " << lane;
        EXPECT_LE(VecSub(vel, expectedVel).w, kOneMicrometrePerSecondKm) << row << ", lane " << lane;
      }
    }
  }
}

// The most eccentric orbits the full near-earth model takes (a period under 225 minutes with
// the perigee above 220 km), where Kepler's equation takes the most steps and the lanes of a
// vector settle after different counts: every moment of a few revolutions agrees with the
// one-satellite path.
TEST(VectorNearEarth, EccentricOrbitsAgreeThroughKeplersEquation) {
  std::vector<std::unique_ptr<TPropagator>> sets;
  int number = 90000;
  for (double eccentricity : {0.05, 0.15, 0.25, 0.35, 0.42, 0.45}) {
    for (double argPerigeeDeg : {0.0, 100.0, 250.0}) {
      test::TOrbitFields f;
      f.catalogNumber = number++;
      f.eccentricity = eccentricity;
      f.argPerigeeDeg = argPerigeeDeg;
      f.revPerDay = 6.45;
      f.bstar = 1.0e-5;
      auto p = std::make_unique<TPropagator>();
      p->LoadElements(test::MakeLines(f));
      p->PrepareModel();
      if (TNearEarthBatch::Fits(*p)) sets.push_back(std::move(p));
    }
  }
  ASSERT_EQ(sets.size(), 18u);
  TNearEarthBatch batch;
  batch.Resize(sets.size());
  for (size_t lane = 0; lane < sets.size(); ++lane) batch.SetLane(lane, *sets[lane]);
  const double epoch = sets[0]->CurrentElements.epochJulian;
  for (int64_t target : VectorTargets()) {
    TPinnedTarget pin(target);
    for (int minute = 0; minute < 3 * 222; minute += 3) {
      const double jd = epoch + minute / kMinutesPerDay;
      batch.PropagateVector(0, sets.size(), jd);
      for (size_t lane = 0; lane < sets.size(); ++lane) {
        TVector pos, vel, expectedPos, expectedVel;
        const TPropagationStatus expected = sets[lane]->Propagate(expectedPos, expectedVel, jd);
        const TPropagationStatus status = batch.Result(lane, pos, vel);
        ASSERT_EQ(status, expected)
            << VectorTargetName() << ", lane " << lane << ", minute " << minute;
        TPropagator::ScaleStateToKm(pos, vel);
        TPropagator::ScaleStateToKm(expectedPos, expectedVel);
        EXPECT_LE(VecSub(vel, expectedVel).w, kOneMicrometrePerSecondKm);
        EXPECT_LE(VecSub(pos, expectedPos).w, kOneMillimetreKm);
      }
    }
  }
}

}  // namespace
}  // namespace zen
