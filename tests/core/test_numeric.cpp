// Numeric, vector and field helpers: the edge behaviour the orbital routines are written against.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/numeric.h"

namespace zen {
namespace {

constexpr double kExact = 1e-15;
constexpr double kRounding = 1e-12;

struct AngleCase {
  double s;
  double c;
  double expected;
};

TEST(AngleFromSinCos, ResolvesQuadrantsIntoMinusHalfPiToThreeHalvesPi) {
  const AngleCase cases[] = {
      {-1.0, 1.0, -kPi / 4},       // fourth quadrant stays negative
      {0.0, -1.0, kPi},            // c < 0 adds pi
      {-1.0, 0.0, 3 * kPi / 2},    // c = 0 without dividing
      {1.0, 0.0, kPi / 2},
      {0.0, 0.0, 3 * kPi / 2},     // s = 0 is not positive
      {1.0, 1.0, kPi / 4},
      {1.0, -1.0, 3 * kPi / 4},
      {-1.0, -1.0, 5 * kPi / 4},
  };
  for (const AngleCase& t : cases) {
    EXPECT_NEAR(AngleFromSinCos(t.s, t.c), t.expected, kRounding) << t.s << ", " << t.c;
  }
}

TEST(ArcSinArcCos, ClampOutsideUnitRange) {
  EXPECT_DOUBLE_EQ(ArcSin(1.0000001), kPi / 2);
  EXPECT_DOUBLE_EQ(ArcSin(-3.0), -kPi / 2);
  EXPECT_DOUBLE_EQ(ArcCos(-1.0), kPi);
  EXPECT_DOUBLE_EQ(ArcCos(1.0), 0.0);
  EXPECT_NEAR(ArcSin(0.5), kPi / 6, kRounding);
  EXPECT_NEAR(ArcCos(0.5), kPi / 3, kRounding);
}

TEST(Power, NonPositiveBaseGivesMinusOne) {
  EXPECT_EQ(Power(0.0, 2.0), -1.0);
  EXPECT_EQ(Power(-8.0, 1.0 / 3.0), -1.0);
  EXPECT_NEAR(Power(8.0, 1.0 / 3.0), 2.0, kRounding);
  EXPECT_NEAR(Power(2.0, 10.0), 1024.0, 1e-9);
}

TEST(Modulus, CorrectsNegativeRemainderOnce) {
  EXPECT_EQ(Modulus(-1.0, 360.0), 359.0);
  EXPECT_EQ(Modulus(-360.0, 360.0), 0.0);
  EXPECT_EQ(Modulus(725.0, 360.0), 5.0);
  EXPECT_NEAR(WrapTwoPi(-kPi / 2), 3 * kPi / 2, kRounding);
  EXPECT_NEAR(WrapTwoPi(5 * kPi), kPi, kRounding);
}

TEST(SignHelpers, ZeroIsItsOwnSign) {
  EXPECT_EQ(Sign(0.0), 0);
  EXPECT_EQ(Sign(-0.1), -1);
  EXPECT_EQ(Sign(2.0), 1);
  EXPECT_EQ(SignChar(0.0), '+');
  EXPECT_EQ(SignChar(-1e-9), '-');
}

TEST(Vectors, ScaleKeepsPositiveMagnitudeAndSubFillsIt) {
  TVector v{3.0, 4.0, 12.0, 0.0};
  VecMagnitude(v);
  EXPECT_EQ(v.w, 13.0);
  TVector s = VecScale(-1.0, v);
  EXPECT_EQ(s.x, -3.0);
  EXPECT_EQ(s.w, 13.0);
  TVector d = VecSub(TVector{1, 2, 3, 0}, TVector{1, -2, 0, 0});
  EXPECT_EQ(d.w, 5.0);
  TVector a{1, 0, 0, 0};
  TVector b{0, 2, 0, 0};
  EXPECT_NEAR(VecAngle(a, b), kPi / 2, kExact);
  EXPECT_EQ(b.w, 2.0);
  EXPECT_EQ(VecDot(TVector{1, 2, 3, 0}, TVector{4, -5, 6, 0}), 12.0);
}

struct FieldCase {
  const char* text;
  int first;
  int count;
  double expected;
};

TEST(IntField, BlanksAreZerosAndBadFieldsAreZero) {
  const FieldCase cases[] = {
      {"-0", 1, 2, 0},     {"-2", 1, 2, -2},     {"  ", 1, 2, 0},   {"1 2", 1, 3, 102},
      {"  -5", 1, 4, 0},   {"x12", 2, 2, 12},    {"+7", 1, 2, 7},   {"12a", 1, 3, 0},
      {"-", 1, 1, 0},      {"5", 1, 4, 5},       {"", 1, 3, 0},     {"ab -3", 4, 2, -3},
  };
  for (const FieldCase& t : cases) {
    EXPECT_EQ(IntField(t.text, t.first, t.count), t.expected) << '"' << t.text << '"';
  }
}

TEST(RealField, BlanksAreZerosAndBadFieldsAreZero) {
  const FieldCase cases[] = {
      {" .00001069", 1, 10, 0.00001069},
      {"   7.7953", 1, 9, 7.7953},
      {"6507984", 1, 7, 6507984.0},
      {"", 1, 5, 0.0},
      {"1 2", 1, 3, 102.0},
      {"  -5", 1, 4, 0.0},
      {"-.5", 1, 3, -0.5},
      {"1.5e2", 1, 5, 150.0},
      {"1.5e", 1, 4, 0.0},
      {"inf", 1, 3, 0.0},
      {"nan", 1, 3, 0.0},
      {"1,5", 1, 3, 0.0},
      {"-11606", 1, 6, -11606.0},
  };
  for (const FieldCase& t : cases) {
    EXPECT_DOUBLE_EQ(RealField(t.text, t.first, t.count), t.expected) << '"' << t.text << '"';
  }
  EXPECT_NEAR(RealField("6507984", 1, 7) * 1e-7, 0.6507984, kExact);
}

TEST(StrictInt, SkipsLeadingBlanksAndFailsOnAnythingElse) {
  int64_t v = 99;
  EXPECT_TRUE(StrictInt(" 4652", v));
  EXPECT_EQ(v, 4652);
  EXPECT_TRUE(StrictInt("-7", v));
  EXPECT_EQ(v, -7);
  for (const char* bad : {"", "   ", "4 6", "46 ", "x1", "1.0", "-"}) {
    v = 99;
    EXPECT_FALSE(StrictInt(bad, v)) << '"' << bad << '"';
    EXPECT_EQ(v, 99);
  }
}

TEST(SpacesToZeros, ReplacesEveryBlank) {
  std::string t = " 1 2 ";
  SpacesToZeros(t);
  EXPECT_EQ(t, "01020");
}

TEST(PointInRect, EdgesAreOutside) {
  // left 10, bottom 20, right 30, top 5
  EXPECT_TRUE(PointInRect(11, 19, 10, 20, 30, 5));
  EXPECT_FALSE(PointInRect(10, 10, 10, 20, 30, 5));
  EXPECT_FALSE(PointInRect(30, 10, 10, 20, 30, 5));
  EXPECT_FALSE(PointInRect(15, 5, 10, 20, 30, 5));
  EXPECT_FALSE(PointInRect(15, 20, 10, 20, 30, 5));
}

TEST(DopplerShift, IsTheFrequencyHeardOnTheGround) {
  // 145.8 MHz from a satellite closing at 7 km/s: 145.8e6 Hz x 7 / 299792.458 = 3404.4 Hz
  // higher; receding at the same speed, as much lower.
  const double kHalfHertzInMegahertz = 0.5e-6;
  EXPECT_NEAR(DopplerShift(145.8, -7.0), 145.8034044, kHalfHertzInMegahertz);
  EXPECT_NEAR(DopplerShift(145.8, 7.0), 145.7965956, kHalfHertzInMegahertz);
  // 2.4 GHz (in MHz) at 3 km/s receding: 24.0 kHz lower.
  EXPECT_NEAR(DopplerShift(2400.0, 3.0), 2399.975983, kHalfHertzInMegahertz);
  EXPECT_EQ(DopplerShift(145.8, 0.0), 145.8);
}

}  // namespace
}  // namespace zen
