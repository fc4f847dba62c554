// Edge cases of the near-earth model and of the propagator's entry: model choice, the
// density parameter's perigee rules, repeatability, negative times, the circular and
// retrograde-equatorial mends, and breakdown by status.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/propagator.h"
#include "tests/core/test_propagator_fixture.h"

namespace zen {
namespace {

constexpr double kTenthKm = 0.1;
constexpr double kHundredthMinute = 0.01;
constexpr double kTenMetresKm = 0.010;
constexpr double kFiftyKm = 50.0;

TPropagationStatus PropagateKm(TPropagator& p, double tsinceMinutes, TVector& pos, TVector& vel) {
  TPropagationStatus status = p.PropagateMinutes(pos, vel, tsinceMinutes);
  if (status == TPropagationStatus::Ok) TPropagator::ScaleStateToKm(pos, vel);
  return status;
}

struct TSelfTestCase {
  size_t index;
  bool deepSpace;
  double periodMinutes;
  double perigeeKm;
  double apogeeKm;
};

// Names the case instead of dumping its bytes (padding included) when a test fails.
void PrintTo(const TSelfTestCase& c, std::ostream* os) {
  *os << "self-test set " << c.index;
}

class SelfTestSet : public testing::TestWithParam<TSelfTestCase> {};

TEST_P(SelfTestSet, ChoosesTheModelAndDerivesThePublishedValues) {
  const TSelfTestCase& c = GetParam();
  TPropagator p;
  p.LoadElements(SelfTestLines(c.index));
  EXPECT_EQ(p.CurrentElements.UseDeepSpace, c.deepSpace);
  EXPECT_NEAR(p.CurrentElements.perigeeHeightKm, c.perigeeKm, kTenthKm);
  EXPECT_NEAR(p.CurrentElements.apogeeHeightKm, c.apogeeKm, kTenthKm);
  TVector pos, vel;
  ASSERT_EQ(p.PropagateMinutes(pos, vel, 0.0), TPropagationStatus::Ok);
  EXPECT_FALSE(p.CurrentElements.ModelInitPending);
  EXPECT_NEAR(kTwoPi / p.Init.motion, c.periodMinutes, kHundredthMinute);
}

INSTANTIATE_TEST_SUITE_P(BothModels, SelfTestSet,
                         testing::Values(TSelfTestCase{0, true, 466.57, 577.7, 26504.7},
                                         TSelfTestCase{1, false, 92.32, 385.4, 389.8}));

TEST(Propagator, IssSemiMajorAxisIsTheDecodedOne) {
  TPropagator p;
  p.LoadElements(SelfTestLines(1));
  EXPECT_NEAR(p.CurrentElements.semiMajorAxisKm, 6765.7, kTenthKm);
}

// A near-circular set whose recovered perigee lies at the wanted height.
TPropagator WithPerigee(double perigeeKm) {
  test::TOrbitFields f;
  f.eccentricity = 0.0005;
  f.bstar = 1.0e-4;
  const double targetAxis = (1.0 + perigeeKm / kEarthRadiusKm) / (1.0 - f.eccentricity);
  double motion = Ke() / std::pow(targetAxis, 1.5);
  TPropagator p;
  for (int i = 0; i < 4; ++i) {
    f.revPerDay = motion * kMinutesPerDay / kTwoPi;
    p.LoadElements(test::MakeLines(f));
    TVector pos, vel;
    p.PropagateMinutes(pos, vel, 0.0);
    motion *= std::pow(p.Init.axis / targetAxis, 1.5);
  }
  return p;
}

struct TPerigeeCase {
  double perigeeKm;
  double sKm;
  bool simplifiedDrag;
};

class DensityParameter : public testing::TestWithParam<TPerigeeCase> {};

TEST_P(DensityParameter, FollowsThePerigeeRules) {
  const TPerigeeCase& c = GetParam();
  TPropagator p = WithPerigee(c.perigeeKm);
  const double actualPerigeeKm =
      (p.Init.axis * (1.0 - p.CurrentElements.eccentricity) - 1.0) * kEarthRadiusKm;
  ASSERT_NEAR(actualPerigeeKm, c.perigeeKm, kTenthKm);
  const double sKm = (p.Init.s - 1.0) * kEarthRadiusKm;
  const double expectedSKm = c.sKm < 0 ? actualPerigeeKm - 78.0 : c.sKm;
  EXPECT_NEAR(sKm, expectedSKm, 1e-6);
  const double q = (120.0 - sKm) / kEarthRadiusKm;
  EXPECT_NEAR(p.Init.qms4, q * q * q * q, 1e-20);
  EXPECT_EQ(p.Init.simplifiedDrag, c.simplifiedDrag);
  // The full model has the higher drag terms; the simplified one has none.
  EXPECT_EQ(p.Init.d2 != 0.0, !c.simplifiedDrag);
}

// sKm < 0: s follows the perigee, 78 km below it.
INSTANTIATE_TEST_SUITE_P(Perigees, DensityParameter,
                         testing::Values(TPerigeeCase{230.0, 78.0, false},
                                         TPerigeeCase{210.0, 78.0, true},
                                         TPerigeeCase{150.0, -1.0, true},
                                         TPerigeeCase{90.0, 20.0, true}));

TEST(DensityParameter, Perigee150GivesS72) {
  TPropagator p = WithPerigee(150.0);
  EXPECT_NEAR((p.Init.s - 1.0) * kEarthRadiusKm, 72.0, kTenthKm);
}

class BothSelfTestSets : public testing::TestWithParam<size_t> {};

TEST_P(BothSelfTestSets, RepeatedCallsAndReloadsGiveIdenticalResults) {
  const double moments[] = {0.0, 1440.0, -1440.0, 95.5, 10000.0};
  TPropagator once;
  once.LoadElements(SelfTestLines(GetParam()));
  for (double t : moments) {
    TVector pos1, vel1, pos2, vel2, pos3, vel3;
    ASSERT_EQ(once.PropagateMinutes(pos1, vel1, t), TPropagationStatus::Ok);
    ASSERT_EQ(once.PropagateMinutes(pos2, vel2, t), TPropagationStatus::Ok);
    TPropagator reloaded;
    reloaded.LoadElements(SelfTestLines(GetParam()));
    reloaded.LoadElements(SelfTestLines(GetParam()));
    ASSERT_EQ(reloaded.PropagateMinutes(pos3, vel3, t), TPropagationStatus::Ok);
    EXPECT_EQ(pos1.x, pos2.x);
    EXPECT_EQ(pos1.z, pos2.z);
    EXPECT_EQ(vel1.y, vel2.y);
    EXPECT_EQ(pos1.x, pos3.x);
    EXPECT_EQ(pos1.y, pos3.y);
    EXPECT_EQ(vel1.z, vel3.z);
  }
}

TEST_P(BothSelfTestSets, JulianDateAndMinutesSinceEpochAgree) {
  TPropagator p;
  p.LoadElements(SelfTestLines(GetParam()));
  TVector pos1, vel1, pos2, vel2;
  const double jd = p.CurrentElements.epochJulian - 0.75;
  ASSERT_EQ(p.Propagate(pos1, vel1, jd), TPropagationStatus::Ok);
  ASSERT_EQ(p.PropagateMinutes(pos2, vel2, (jd - p.CurrentElements.epochJulian) * 1440.0),
            TPropagationStatus::Ok);
  EXPECT_EQ(pos1.x, pos2.x);
  EXPECT_EQ(vel1.z, vel2.z);
}

TEST_P(BothSelfTestSets, NegativeTimesJoinTheEpochWithoutAJump) {
  TPropagator p;
  p.LoadElements(SelfTestLines(GetParam()));
  const double halfGapMinutes = 0.001;
  TVector before, velBefore, after, velAfter;
  ASSERT_EQ(PropagateKm(p, -halfGapMinutes, before, velBefore), TPropagationStatus::Ok);
  ASSERT_EQ(PropagateKm(p, halfGapMinutes, after, velAfter), TPropagationStatus::Ok);
  // 0.12 s of flight at a few km/s: well under a kilometre apart, and consistent with the velocity.
  const double gapSeconds = 2.0 * halfGapMinutes * 60.0;
  EXPECT_NEAR(after.x - before.x, velBefore.x * gapSeconds, kTenMetresKm);
  EXPECT_NEAR(after.y - before.y, velBefore.y * gapSeconds, kTenMetresKm);
  EXPECT_NEAR(after.z - before.z, velBefore.z * gapSeconds, kTenMetresKm);

  TVector pos, vel;
  ASSERT_EQ(PropagateKm(p, -2880.0, pos, vel), TPropagationStatus::Ok);
  const TElements& el = p.CurrentElements;
  EXPECT_GT(pos.w, kEarthRadiusKm + el.perigeeHeightKm - kFiftyKm);
  EXPECT_LT(pos.w, kEarthRadiusKm + el.apogeeHeightKm + kFiftyKm);
}

INSTANTIATE_TEST_SUITE_P(SelfTest, BothSelfTestSets, testing::Values(0u, 1u));

TEST(Propagator, ScaleStateToKmUsesTheEarthRadiusAndTheMinute) {
  TVector pos{1.0, 0.0, 0.0, 0.0};
  TVector vel{0.0, 1.0, 0.0, 0.0};
  TPropagator::ScaleStateToKm(pos, vel);
  EXPECT_DOUBLE_EQ(pos.x, 6378.135);
  EXPECT_DOUBLE_EQ(pos.w, 6378.135);
  EXPECT_DOUBLE_EQ(vel.y, 106.30225);
  EXPECT_DOUBLE_EQ(vel.w, 106.30225);
}

// A set with eccentricity exactly 0 would divide by e in C3 and the mean-anomaly drag term;
// those terms vanish with e, so the circular set lands beside its nearly circular twin.
TEST(Sgp4Mend, CircularSetMatchesTheNearestNonCircularOne) {
  test::TOrbitFields f;
  f.revPerDay = 15.2;  // perigee near 400 km: the full drag model
  f.bstar = 3.0e-4;
  f.eccentricity = 0.0;
  TPropagator circular;
  circular.LoadElements(test::MakeLines(f));
  f.eccentricity = 1.0e-7;
  TPropagator nearly;
  nearly.LoadElements(test::MakeLines(f));
  for (double t : {-1440.0, 0.0, 720.0, 1440.0}) {
    TVector pos1, vel1, pos2, vel2;
    ASSERT_EQ(PropagateKm(circular, t, pos1, vel1), TPropagationStatus::Ok) << t;
    ASSERT_EQ(PropagateKm(nearly, t, pos2, vel2), TPropagationStatus::Ok) << t;
    EXPECT_LT(std::hypot(pos1.x - pos2.x, pos1.y - pos2.y, pos1.z - pos2.z), kTenMetresKm) << t;
  }
  EXPECT_FALSE(circular.Init.simplifiedDrag);
  EXPECT_EQ(circular.Init.c3, 0.0);
  EXPECT_EQ(circular.Init.meanAnomalyDragCoef, 0.0);
}

TEST(Sdp4Mend, CircularDeepSpaceSetStaysFinite) {
  test::TOrbitFields f;
  f.revPerDay = 2.0;
  f.eccentricity = 0.0;
  f.inclinationDeg = 55.0;
  TPropagator p;
  p.LoadElements(test::MakeLines(f));
  ASSERT_TRUE(p.CurrentElements.UseDeepSpace);
  TVector pos, vel;
  ASSERT_EQ(PropagateKm(p, 1440.0, pos, vel), TPropagationStatus::Ok);
  EXPECT_NEAR(pos.w, p.CurrentElements.semiMajorAxisKm, 2.0 * kFiftyKm);
}

// 1 + cos i is 0 at exactly 180 degrees; the floor keeps the L coefficient finite and leaves
// every other inclination, down to the line's last digit, unchanged.
TEST(Sgp4Mend, RetrogradeEquatorialSetIsFiniteAndOthersUnchanged) {
  test::TOrbitFields f;
  f.inclinationDeg = 180.0;
  f.eccentricity = 0.001;
  TPropagator exact;
  exact.LoadElements(test::MakeLines(f));
  TVector pos, vel;
  for (double t : {-720.0, 0.0, 1440.0}) {
    ASSERT_EQ(PropagateKm(exact, t, pos, vel), TPropagationStatus::Ok) << t;
    EXPECT_GT(pos.w, kEarthRadiusKm + exact.CurrentElements.perigeeHeightKm - kFiftyKm);
    EXPECT_LT(pos.w, kEarthRadiusKm + exact.CurrentElements.apogeeHeightKm + kFiftyKm);
    // An equatorial orbit stays in the equator.
    EXPECT_LT(std::fabs(pos.z), 1.0);
  }
  f.inclinationDeg = 179.9999;
  TPropagator nearly;
  nearly.LoadElements(test::MakeLines(f));
  ASSERT_EQ(nearly.PropagateMinutes(pos, vel, 0.0), TPropagationStatus::Ok);
  const TModelInit& m = nearly.Init;
  EXPECT_DOUBLE_EQ(m.longPeriodLCoef,
                   0.125 * 0.004690140306468832 * m.sinI * (3.0 + 5.0 * m.cosI) / (1.0 + m.cosI));
}

TEST(PropagatorBreakdown, NonFiniteMomentsReportAndLeaveZeros) {
  TPropagator p;
  p.LoadElements(SelfTestLines(1));
  for (double jd :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    TVector pos{1.0, 2.0, 3.0, 4.0}, vel{1.0, 2.0, 3.0, 4.0};
    EXPECT_EQ(p.Propagate(pos, vel, jd), TPropagationStatus::NonFinite);
    EXPECT_EQ(pos.x, 0.0);
    EXPECT_EQ(vel.z, 0.0);
  }
}

// A low, heavily dragged orbit far past its epoch: the drag polynomial takes a through zero.
TEST(PropagatorBreakdown, DecayedOrbitReportsInsteadOfNaN) {
  test::TOrbitFields f;
  f.revPerDay = 16.3;
  f.bstar = 5.0e-3;
  f.eccentricity = 0.0005;
  TPropagator p;
  p.LoadElements(test::MakeLines(f));
  int breakdowns = 0;
  for (double days = 0.0; days <= 200.0; days += 0.5) {
    TVector pos{1.0, 1.0, 1.0, 1.0}, vel{1.0, 1.0, 1.0, 1.0};
    TPropagationStatus status = p.PropagateMinutes(pos, vel, days * kMinutesPerDay);
    if (status == TPropagationStatus::Ok) {
      ASSERT_TRUE(std::isfinite(pos.x) && std::isfinite(vel.x));
      VecMagnitude(pos);
      EXPECT_GE(pos.w, 1.0);
    } else {
      ++breakdowns;
      EXPECT_EQ(pos.x, 0.0);
      EXPECT_EQ(pos.y, 0.0);
      EXPECT_EQ(vel.z, 0.0);
    }
  }
  EXPECT_GT(breakdowns, 0);
}

TEST(PropagatorBreakdown, EachStatusHasItsOwnWord) {
  const TPropagationStatus all[] = {TPropagationStatus::Ok,
                                    TPropagationStatus::EccentricityOutOfRange,
                                    TPropagationStatus::NonPositiveAxis,
                                    TPropagationStatus::NonFinite, TPropagationStatus::Decayed};
  EXPECT_STREQ(PropagationStatusText(TPropagationStatus::Decayed), "decayed");
  for (size_t i = 0; i < std::size(all); ++i) {
    for (size_t j = i + 1; j < std::size(all); ++j) {
      EXPECT_STRNE(PropagationStatusText(all[i]), PropagationStatusText(all[j]));
    }
  }
}

// The eccentricity field takes an exponent, so a set can pass the checks with e of 1 or more:
// both models report the eccentricity at every moment, not a NaN that surfaced later.
TEST(PropagatorBreakdown, EccentricityOfOneOrMoreReportsEccentricity) {
  for (double revPerDay : {15.5, 2.0}) {
    for (const char* field : {"1.0e+07", "1.5e+07", "9.9e+99"}) {
      test::TOrbitFields f;
      f.revPerDay = revPerDay;
      f.bstar = 1.0e-4;
      TTleLines lines = test::MakeLines(f);
      lines.line2 = test::WithChecksum(lines.line2.replace(26, 7, field));
      ASSERT_TRUE(ElementSetValid(lines)) << field;
      TPropagator p;
      p.LoadElements(lines);
      ASSERT_GE(p.CurrentElements.eccentricity, 1.0) << field;
      for (double t : {0.0, 10.0, -1440.0}) {
        TVector pos{1.0, 1.0, 1.0, 1.0}, vel{1.0, 1.0, 1.0, 1.0};
        EXPECT_EQ(p.PropagateMinutes(pos, vel, t), TPropagationStatus::EccentricityOutOfRange)
            << revPerDay << " rev/day, e field " << field << ", t " << t;
        EXPECT_EQ(pos.x, 0.0);
        EXPECT_EQ(vel.z, 0.0);
      }
    }
  }
}

// Mean motions the element line can hold but no orbit has: a status, never a NaN or a hang.
TEST(PropagatorBreakdown, ImpossibleMeanMotionReportsInsteadOfNaN) {
  for (double revPerDay : {0.0, -1.0}) {
    test::TOrbitFields f;
    f.revPerDay = revPerDay;
    TPropagator p;
    p.LoadElements(test::MakeLines(f));
    for (double t : {0.0, 1440.0}) {
      TVector pos{1.0, 1.0, 1.0, 1.0}, vel{1.0, 1.0, 1.0, 1.0};
      EXPECT_NE(p.PropagateMinutes(pos, vel, t), TPropagationStatus::Ok) << revPerDay;
      EXPECT_EQ(pos.x, 0.0);
      EXPECT_EQ(vel.y, 0.0);
    }
  }
}

}  // namespace
}  // namespace zen
