// Rings filled by the share of each pixel they cover: areas of known shapes and agreement
// with the toolkit's own smooth filler.
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

struct TAreaCase {
  const char* name;
  TRing ring;
  double area;  // inside the image, by hand
};

class RingArea : public ::testing::TestWithParam<TAreaCase> {};

TEST_P(RingArea, CoveredSharesAddUpToTheAreaInside) {
  QImage image = test::BlackImage(120, 90);
  ASSERT_TRUE(FillRing(image, GetParam().ring, qRgb(255, 255, 255)));
  // Each share is kept to a 255th: half of that at most per edge pixel.
  EXPECT_NEAR(CoveredArea(image), GetParam().area, 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RingArea,
    ::testing::Values(
        TAreaCase{"RectangleOnFractions",
                  {{10.25, 20.5}, {50.75, 20.5}, {50.75, 33.125}, {10.25, 33.125}},
                  40.5 * 12.625},
        TAreaCase{"TheOtherWayRound",
                  {{10.25, 33.125}, {50.75, 33.125}, {50.75, 20.5}, {10.25, 20.5}},
                  40.5 * 12.625},
        // Shoelace: |5.5 (3.7 - 70.3) + 60.2 (70.3 - 80) + 111.1 (80 - 3.7)| / 2.
        TAreaCase{"Triangle", {{5.5, 80.0}, {60.2, 3.7}, {111.1, 70.3}}, 3763.345},
        TAreaCase{"ConcaveEll", {{20, 20}, {60, 20}, {60, 30}, {30, 30}, {30, 60}, {20, 60}}, 700},
        TAreaCase{"TurnedSquare", {{60, 15}, {90, 45}, {60, 75}, {30, 45}}, 1800},
        TAreaCase{"PartlyOutside", {{-20.5, -10}, {40, -10}, {40, 20.25}, {-20.5, 20.25}}, 810},
        // Twice round is filled once, not cancelled.
        TAreaCase{"TwiceRound",
                  {{10, 10}, {30, 10}, {30, 20}, {10, 20}, {10, 10}, {30, 10}, {30, 20}, {10, 20}},
                  200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RingFill, AgreesWithTheToolkitsSmoothFiller) {
  test::EnsureGuiApplication();
  TRing star;  // 37 points, edges at every slope
  for (int i = 0; i < 74; ++i) {
    const double r = i % 2 == 0 ? 140.0 : 55.0;
    star.emplace_back(160.3 + r * std::cos(i * M_PI / 37),
                      120.7 + r * 0.8 * std::sin(i * M_PI / 37));
  }
  QImage ours = test::BlackImage(320, 240);
  ASSERT_TRUE(FillRing(ours, star, qRgb(0x2E, 0x38, 0x40)));
  QImage theirs = test::BlackImage(320, 240);
  QPainter painter(&theirs);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x2E, 0x38, 0x40));
  painter.drawPolygon(star.data(), int(star.size()), Qt::WindingFill);
  painter.end();
  int mostApart = 0;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      const QRgb a = ours.pixel(x, y);
      const QRgb b = theirs.pixel(x, y);
      mostApart = std::max({mostApart, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                            std::abs(qBlue(a) - qBlue(b))});
    }
  }
  EXPECT_LE(mostApart, 2);
}

}  // namespace
}  // namespace zen
