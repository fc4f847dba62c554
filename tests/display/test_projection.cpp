// Map and radar projections: corners, centre, folding, rounding and the inverses.
#include <gtest/gtest.h>

#include <ostream>

#include "display/projection.h"

namespace zen {
namespace {

constexpr double kExact = 1e-9;

struct TMapCase {
  double lat;
  double lon;
  int x;
  int y;
};

void PrintTo(const TMapCase& c, std::ostream* os) {
  *os << "lat " << c.lat << " lon " << c.lon << " -> (" << c.x << ", " << c.y << ")";
}

class LonLatToMapTest : public ::testing::TestWithParam<TMapCase> {};

TEST_P(LonLatToMapTest, GivesThePixel) {
  const TMapCase& c = GetParam();
  QPoint p = LonLatToMap(c.lat, c.lon);
  EXPECT_EQ(p.x(), c.x) << "lat " << c.lat << " lon " << c.lon;
  EXPECT_EQ(p.y(), c.y) << "lat " << c.lat << " lon " << c.lon;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LonLatToMapTest,
    ::testing::Values(TMapCase{90, -180, 15, 15}, TMapCase{-90, 180, 615, 375},
                      TMapCase{0, 0, 315, 195},
                      // Above 180 folds once; below -180 does not and leaves the image.
                      TMapCase{0, 200, 48, 195}, TMapCase{0, -200, -18, 195},
                      TMapCase{0, 360, 315, 195},
                      // Halves go to the even pixel: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
                      TMapCase{89.75, 0, 315, 15}, TMapCase{89.25, 0, 315, 17},
                      TMapCase{88.75, 0, 315, 17}, TMapCase{-89.75, 0, 315, 375}));

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbour) {
  const struct {
    double value;
    int rounded;
  } cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},     {-1.5, -2},
               {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {7.0, 7}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(MapToLonLat, ReadsCornersCentreAndClampsTheMargin) {
  const struct {
    int x, y;
    double lat, lon;
  } cases[] = {{15, 15, 90, -180},   {315, 195, 0, 0}, {615, 375, -90, 180}, {0, 0, 90, -180},
               {629, 389, -90, 180}, {315, 5, 90, 0},  {65, 75, 60, -150}};
  for (const auto& c : cases) {
    TMapPoint p = MapToLonLat(c.x, c.y);
    EXPECT_NEAR(p.lat, c.lat, kExact) << c.x << "," << c.y;
    EXPECT_NEAR(p.lon, c.lon, kExact) << c.x << "," << c.y;
  }
}

TEST(MapToLonLat, EveryMapPixelProjectsBackToItself) {
  for (int y = 15; y <= 375; ++y) {
    for (int x = 15; x <= 615; ++x) {
      TMapPoint p = MapToLonLat(x, y);
      QPoint back = LonLatToMap(p.lat, p.lon);
      ASSERT_EQ(back, QPoint(x, y)) << "lat " << p.lat << " lon " << p.lon;
    }
  }
}

TEST(AzElToRadar, PutsZenithAtCentreAndHorizonAt68Pixels) {
  const struct {
    double az, el;
    int x, y;
  } cases[] = {{0, 90, 88, 80},
               {123, 90, 88, 80},
               {0, 0, 88, 12},
               {90, 0, 156, 80},
               {180, 0, 88, 148},
               {270, 0, 20, 80},
               {45, 45, 112, 56},
               {90, 30, 133, 80},
               // Below the horizon the point lies outside the circle; callers clamp first.
               {0, -90, 88, -56}};
  for (const auto& c : cases) {
    EXPECT_EQ(AzElToRadar(c.az, c.el), QPoint(c.x, c.y)) << "az " << c.az << " el " << c.el;
  }
}

TEST(RadarToAzEl, ReadsDirectionsRoundItsOwnCentre) {
  // The inverse's centre is (87, 79), one pixel up and left of the drawing centre.
  const struct {
    int x, y;
    double az, el;
  } cases[] = {
      {87, 40, 360, 90 - 39 * 90.0 / 68}, {121, 79, 90, 45}, {87, 113, 180, 45}, {53, 79, 270, 45}};
  for (const auto& c : cases) {
    TRadarPoint p = RadarToAzEl(c.x, c.y);
    EXPECT_NEAR(p.az, c.az, kExact) << c.x << "," << c.y;
    EXPECT_NEAR(p.el, c.el, kExact) << c.x << "," << c.y;
  }
}

TEST(RadarToAzEl, CentreIsZenithAndBeyondTheHorizonIsZero) {
  EXPECT_NEAR(RadarToAzEl(87, 79).el, 90.0, 1e-3);
  EXPECT_EQ(RadarToAzEl(0, 0).el, 0.0);
  EXPECT_EQ(RadarToAzEl(87 + 69, 79).el, 0.0);
  EXPECT_GT(RadarToAzEl(87 + 67, 79).el, 0.0);
}

}  // namespace
}  // namespace zen
