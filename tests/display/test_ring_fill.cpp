// Rings filled by the share of each pixel they cover: areas of known shapes, agreement with
// the toolkit's own smooth filler, and stopping on request.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <string>
#include <vector>

#include "display/ring_fill.h"
#include "gui_application.h"
#include "image_probe.h"

namespace zen {
namespace {

using TRing = std::vector<QPointF>;

// The covered share of every pixel, from a white fill over black.
double CoveredArea(const QImage& image) {
  double area = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) area += qRed(image.pixel(x, y)) / 255.0;
  }
  return area;
}

TRing Reversed(TRing ring) {
  std::reverse(ring.begin(), ring.end());
  return ring;
}

TRing Repeated(const TRing& ring, int times) {
  TRing out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), ring.begin(), ring.end());
  return out;
}

// A regular polygon of corners round (cx, cy).
TRing Regular(double cx, double cy, double radius, int corners, double turnDeg = 0) {
  TRing ring;
  for (int i = 0; i < corners; ++i) {
    const double a = (turnDeg + 360.0 * i / corners) * M_PI / 180.0;
    ring.emplace_back(cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
  return ring;
}

// Twice the signed area by the shoelace formula, halved and made positive.
double ShoelaceArea(const TRing& ring) {
  double twice = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const QPointF& a = ring[i];
    const QPointF& b = ring[(i + 1) % ring.size()];
    twice += a.x() * b.y() - b.x() * a.y();
  }
  return std::fabs(twice) / 2;
}

struct TAreaCase {
  const char* name;
  TRing ring;
  double area;  // the area the ring covers, each part once
};

class RingArea : public ::testing::TestWithParam<TAreaCase> {};

TEST_P(RingArea, CoveredSharesAddUpToTheAreaInside) {
  QImage image = test::BlackImage(120, 90);
  ASSERT_TRUE(FillRing(image, GetParam().ring, qRgb(255, 255, 255)));
  // Each pixel's share is kept to a 255th: an error of at most half of that per edge pixel.
  EXPECT_NEAR(CoveredArea(image), GetParam().area, 0.5);
}

const TRing kRectangle = {{10.25, 20.5}, {50.75, 20.5}, {50.75, 33.125}, {10.25, 33.125}};
const TRing kTriangle = {{5.5, 80.0}, {60.2, 3.7}, {111.1, 70.3}};
// An L of two rectangles: 40 x 10 and 10 x 30.
const TRing kEll = {{20, 20}, {60, 20}, {60, 30}, {30, 30}, {30, 60}, {20, 60}};
const TRing kDiamond = Regular(60, 45, 30, 4, 45);

INSTANTIATE_TEST_SUITE_P(
    Shapes, RingArea,
    ::testing::Values(TAreaCase{"RectangleOnFractions", kRectangle, 40.5 * 12.625},
                      TAreaCase{"RectangleTheOtherWayRound", Reversed(kRectangle), 40.5 * 12.625},
                      TAreaCase{"Triangle", kTriangle, ShoelaceArea(kTriangle)},
                      TAreaCase{"ConcaveEll", kEll, 40 * 10 + 10 * 30},
                      TAreaCase{"TurnedSquare", kDiamond, 2 * 30.0 * 30.0},
                      TAreaCase{"ManySidedPolygon", Regular(60, 45, 40.3, 5000),
                                ShoelaceArea(Regular(60, 45, 40.3, 5000))},
                      TAreaCase{"PartlyOutsideTheImage",
                                TRing{{-20.5, -10}, {40, -10}, {40, 20.25}, {-20.5, 20.25}},
                                40.0 * 20.25}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RingFill, ARingRunningTwiceRoundIsFilledNotCancelled) {
  QImage image = test::BlackImage(120, 90);
  ASSERT_TRUE(FillRing(image, Repeated(kRectangle, 2), qRgb(255, 255, 255)));
  EXPECT_EQ(qRed(image.pixel(30, 27)), 255);
  EXPECT_EQ(qRed(image.pixel(60, 27)), 0);
  EXPECT_EQ(qRed(image.pixel(30, 40)), 0);
}

TEST(RingFill, AgreesWithTheToolkitsSmoothFiller) {
  test::EnsureGuiApplication();
  // A star of 37 points with edges at every slope.
  TRing star;
  for (int i = 0; i < 74; ++i) {
    const double a = i * M_PI / 37.0;
    const double r = i % 2 == 0 ? 140.0 : 55.0;
    star.emplace_back(160.3 + r * std::cos(a), 120.7 + r * 0.8 * std::sin(a));
  }
  QImage ours = test::BlackImage(320, 240);
  ASSERT_TRUE(FillRing(ours, star, qRgb(0x2E, 0x38, 0x40)));
  QImage theirs = test::BlackImage(320, 240);
  {
    QPainter painter(&theirs);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2E, 0x38, 0x40));
    painter.drawPolygon(star.data(), int(star.size()), Qt::WindingFill);
  }
  int differing = 0;
  int mostApart = 0;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      const QRgb a = ours.pixel(x, y);
      const QRgb b = theirs.pixel(x, y);
      const int apart = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
      mostApart = std::max(mostApart, apart);
      differing += apart > 0;
    }
  }
  EXPECT_LE(mostApart, 2) << differing << " pixels differ";
}

TEST(RingFill, StopsWhenToldAndSaysSo) {
  // A ring too large for one band of rows: each band is asked about.
  QImage image = test::BlackImage(2000, 2000);
  const TRing large = {{1, 1}, {1999, 1}, {1999, 1999}, {1, 1999}};
  int asked = 0;
  EXPECT_FALSE(FillRing(image, large, qRgb(255, 255, 255), [&] { return ++asked < 2; }));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(qRed(image.pixel(1000, 2)), 255) << "the first band is filled";
  EXPECT_EQ(qRed(image.pixel(1000, 1998)), 0) << "the last band is not";
  // Let go on, the whole ring is filled.
  QImage whole = test::BlackImage(2000, 2000);
  EXPECT_TRUE(FillRing(whole, large, qRgb(255, 255, 255), [] { return true; }));
  EXPECT_NEAR(CoveredArea(whole), 1998.0 * 1998.0, 0.5);
}

}  // namespace
}  // namespace zen
