// The deep-space model: resonance choice, the integrator's restart at epoch, and the two
// ways the lunar-solar periodics are applied.
#include <gtest/gtest.h>

#include <cmath>

#include "core/propagator.h"
#include "tests/core/test_propagator_fixture.h"

namespace zen {
namespace {

constexpr double kResonanceStepMinutes = 720.0;
constexpr double kTenthRadian = 0.1;

TPropagator Loaded(const test::TOrbitFields& f) {
  TPropagator p;
  p.LoadElements(test::MakeLines(f));
  TVector pos, vel;
  p.PropagateMinutes(pos, vel, 0.0);
  return p;
}

test::TOrbitFields Geostationary() {
  test::TOrbitFields f;
  f.revPerDay = 1.00272;
  f.eccentricity = 0.0002;
  f.inclinationDeg = 0.05;
  f.nodeDeg = 80.0;
  return f;
}

test::TOrbitFields HalfDay(double eccentricity) {
  test::TOrbitFields f;
  f.revPerDay = 2.006;
  f.eccentricity = eccentricity;
  f.inclinationDeg = 63.4;
  f.argPerigeeDeg = 270.0;
  return f;
}

struct TResonanceCase {
  const char* name;
  test::TOrbitFields fields;
  bool resonant;
  bool synchronous;
};

class ResonanceChoice : public testing::TestWithParam<TResonanceCase> {};

TEST_P(ResonanceChoice, FollowsMeanMotionAndEccentricity) {
  const TResonanceCase& c = GetParam();
  TPropagator p = Loaded(c.fields);
  ASSERT_TRUE(p.CurrentElements.UseDeepSpace);
  EXPECT_EQ(p.Deep.resonant, c.resonant);
  EXPECT_EQ(p.Deep.synchronous, c.synchronous);
}

INSTANTIATE_TEST_SUITE_P(
    Orbits, ResonanceChoice,
    testing::Values(TResonanceCase{"Geostationary", Geostationary(), true, true},
                    TResonanceCase{"HalfDayEccentric", HalfDay(0.7), true, false},
                    TResonanceCase{"HalfDayModerate", HalfDay(0.3), false, false},
                    TResonanceCase{"HalfDayAtThreshold", HalfDay(0.5), true, false}),
    [](const testing::TestParamInfo<TResonanceCase>& info) { return info.param.name; });

TEST(ResonanceChoice, SelfTestDeepSpaceSetIsNotResonant) {
  TPropagator p;
  p.LoadElements(SelfTestLines(0));
  TVector pos, vel;
  ASSERT_EQ(p.PropagateMinutes(pos, vel, 0.0), TPropagationStatus::Ok);
  EXPECT_NEAR(p.Init.motion, 0.01347, 0.00001);
  EXPECT_FALSE(p.Deep.resonant);
}

TEST(ResonanceChoice, GeostationaryMeanMotion) {
  TPropagator p = Loaded(Geostationary());
  EXPECT_NEAR(p.Init.motion, 0.004375, 0.000001);
}

class ResonantDetour : public testing::TestWithParam<TResonanceCase> {};

// Crossing epoch restarts the integrator there, so a detour before epoch leaves no trace.
TEST_P(ResonantDetour, SamePositionBeforeAndAfterADetourAcrossEpoch) {
  TPropagator p = Loaded(GetParam().fields);
  ASSERT_TRUE(p.Deep.resonant);
  TVector first, firstVel, detour, detourVel, again, againVel;
  ASSERT_EQ(p.PropagateMinutes(first, firstVel, 10000.0), TPropagationStatus::Ok);
  EXPECT_LT(std::fabs(10000.0 - p.Deep.timeReached), kResonanceStepMinutes);
  ASSERT_EQ(p.PropagateMinutes(detour, detourVel, -100.0), TPropagationStatus::Ok);
  EXPECT_EQ(p.Deep.timeReached, 0.0);
  ASSERT_EQ(p.PropagateMinutes(again, againVel, 10000.0), TPropagationStatus::Ok);
  EXPECT_EQ(first.x, again.x);
  EXPECT_EQ(first.y, again.y);
  EXPECT_EQ(first.z, again.z);
  EXPECT_EQ(firstVel.x, againVel.x);

  TPropagator fresh = Loaded(GetParam().fields);
  TVector freshPos, freshVel;
  ASSERT_EQ(fresh.PropagateMinutes(freshPos, freshVel, 10000.0), TPropagationStatus::Ok);
  EXPECT_EQ(first.x, freshPos.x);
  EXPECT_EQ(first.z, freshPos.z);
}

// Stepping back toward epoch from a later time lands near where a fresh integration goes.
TEST_P(ResonantDetour, SteppingBackAgreesWithAFreshIntegration) {
  TPropagator p = Loaded(GetParam().fields);
  TVector pos, vel, freshPos, freshVel;
  ASSERT_EQ(p.PropagateMinutes(pos, vel, 20000.0), TPropagationStatus::Ok);
  ASSERT_EQ(p.PropagateMinutes(pos, vel, 5000.0), TPropagationStatus::Ok);
  EXPECT_LT(std::fabs(5000.0 - p.Deep.timeReached), kResonanceStepMinutes);
  TPropagator fresh = Loaded(GetParam().fields);
  ASSERT_EQ(fresh.PropagateMinutes(freshPos, freshVel, 5000.0), TPropagationStatus::Ok);
  TPropagator::ScaleStateToKm(pos, vel);
  TPropagator::ScaleStateToKm(freshPos, freshVel);
  EXPECT_LT(std::hypot(pos.x - freshPos.x, pos.y - freshPos.y, pos.z - freshPos.z), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Orbits, ResonantDetour,
    testing::Values(TResonanceCase{"Geostationary", Geostationary(), true, true},
                    TResonanceCase{"HalfDayEccentric", HalfDay(0.7), true, false}),
    [](const testing::TestParamInfo<TResonanceCase>& info) { return info.param.name; });

TEST(ResonantDetour, FarMomentsAreRefusedInsteadOfIntegratedForHours) {
  TPropagator p = Loaded(Geostationary());
  TVector pos{1.0, 1.0, 1.0, 1.0}, vel;
  EXPECT_EQ(p.PropagateMinutes(pos, vel, 1.0e12), TPropagationStatus::NonFinite);
  EXPECT_EQ(pos.x, 0.0);
}

test::TOrbitFields Inclined(double inclinationRad, double nodeDeg) {
  test::TOrbitFields f;
  f.revPerDay = 1.5;
  f.eccentricity = 0.1;
  f.inclinationDeg = Degrees(inclinationRad);
  f.nodeDeg = nodeDeg;
  return f;
}

// From 0.2 rad up the node takes the periodic term divided by sin i directly.
TEST(DeepSpacePeriodics, DirectBranchAtQuarterRadian) {
  TPropagator p = Loaded(Inclined(0.25, 40.0));
  const double t = 3000.0;
  double e = 0.1, incl = 0.25, omega = 1.0, node = 10.0, meanAnomaly = 2.0;
  p.DeepSpacePeriodic(e, incl, omega, node, meanAnomaly, t);
  const TDeepSpaceState& d = p.Deep;
  const double ph = (d.shs + d.shl) / d.sinI;
  EXPECT_DOUBLE_EQ(node, 10.0 + ph);
  EXPECT_DOUBLE_EQ(omega, 1.0 + (d.sghs + d.sghl) - d.cosI * ph);
  EXPECT_DOUBLE_EQ(meanAnomaly, 2.0 + d.pl);
  EXPECT_DOUBLE_EQ(incl, 0.25 + d.pinc);
  EXPECT_DOUBLE_EQ(e, 0.1 + d.pe);
}

// Below 0.2 rad the node is rebuilt from its vector form: the answer differs from the direct
// one at second order, and stays on the turn of the node it corrects.
TEST(DeepSpacePeriodics, VectorBranchAtThreeTwentiethsRadian) {
  TPropagator p = Loaded(Inclined(0.15, 40.0));
  const double t = 3000.0;
  for (double nodeIn : {Radians(40.0), kTwoPi - 0.01, 10.0, -2.0}) {
    double e = 0.1, incl = 0.15, omega = 1.0, node = nodeIn, meanAnomaly = 2.0;
    p.DeepSpacePeriodic(e, incl, omega, node, meanAnomaly, t);
    const TDeepSpaceState& d = p.Deep;
    const double direct = nodeIn + (d.shs + d.shl) / d.sinI;
    EXPECT_NE(node, direct) << nodeIn;
    EXPECT_NEAR(node, direct, kTenthRadian) << nodeIn;
    // The mean longitude M + omega + Omega moves by the direct branch's amount to first order.
    const double longitudeIn = 2.0 + 1.0 + nodeIn;
    const double directLongitude =
        longitudeIn + d.pl + (d.sghs + d.sghl) + (1.0 - d.cosI) * (d.shs + d.shl) / d.sinI;
    EXPECT_NEAR(meanAnomaly + omega + node, directLongitude, kTenthRadian) << nodeIn;
    EXPECT_DOUBLE_EQ(incl, 0.15 + d.pinc);
  }
}

// Turning the node by two degrees turns the orbit by two degrees about the pole (the Sun and
// Moon terms hardly notice), on either side of 270 degrees, where the rebuilt node's angle
// range ends.
TEST(DeepSpacePeriodics, LowInclinationOrbitTurnsWithItsNode) {
  const double turnDeg = 2.0;
  for (double nodeDeg : {100.0, 269.0, 350.0}) {
    TPropagator p = Loaded(Inclined(0.15, nodeDeg));
    TPropagator turned = Loaded(Inclined(0.15, nodeDeg + turnDeg));
    const double c = std::cos(Radians(turnDeg));
    const double s = std::sin(Radians(turnDeg));
    for (double t : {-720.0, 0.0, 720.0}) {
      TVector pos, vel, pos2, vel2;
      ASSERT_EQ(p.PropagateMinutes(pos, vel, t), TPropagationStatus::Ok);
      ASSERT_EQ(turned.PropagateMinutes(pos2, vel2, t), TPropagationStatus::Ok);
      TPropagator::ScaleStateToKm(pos, vel);
      TPropagator::ScaleStateToKm(pos2, vel2);
      const double x = c * pos.x - s * pos.y;
      const double y = s * pos.x + c * pos.y;
      EXPECT_LT(std::hypot(x - pos2.x, y - pos2.y, pos.z - pos2.z), 20.0) << nodeDeg << " " << t;
    }
  }
}

TEST(DeepSpaceMend, EquatorialDeepSpaceSetStaysFinite) {
  test::TOrbitFields f = Geostationary();
  f.inclinationDeg = 0.0;
  TPropagator p = Loaded(f);
  for (double t : {-1440.0, 0.0, 1440.0}) {
    TVector pos, vel;
    ASSERT_EQ(p.PropagateMinutes(pos, vel, t), TPropagationStatus::Ok) << t;
    TPropagator::ScaleStateToKm(pos, vel);
    EXPECT_NEAR(pos.w, 42164.0, 100.0) << t;
    EXPECT_LT(std::fabs(pos.z), 10.0) << t;
  }
  EXPECT_EQ(p.Deep.ssh, 0.0);
}

}  // namespace
}  // namespace zen
