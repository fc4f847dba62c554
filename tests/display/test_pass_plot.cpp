// The pass picture on rendered images: the sky plot's geometry, the path's colours and minute
// marks, the Sun, the elevation curve, the device pixel ratio and the empty path.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "display/pass_plot.h"
#include "gui_application.h"

namespace zen {
namespace {

constexpr double kSixPm = 2461383.25;  // a Julian date at 18:00:00 UTC
constexpr double kSecond = 1.0 / 86400.0;
const QSize kSize(800, 500);

class PassPlot : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureGuiApplication(); }
};

// Some pixel within radius of a logical point, at a ratio, has every channel within tolerance
// of the colour.
bool ColourNear(const QImage& image, QPointF at, const QColor& colour, int radius = 1,
                double ratio = 1.0, int tolerance = 40) {
  const int cx = static_cast<int>(std::floor(at.x() * ratio));
  const int cy = static_cast<int>(std::floor(at.y() * ratio));
  for (int y = cy - radius; y <= cy + radius; ++y) {
    for (int x = cx - radius; x <= cx + radius; ++x) {
      if (!image.valid(x, y)) continue;
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) <= tolerance &&
          std::abs(c.green() - colour.green()) <= tolerance &&
          std::abs(c.blue() - colour.blue()) <= tolerance) {
        return true;
      }
    }
  }
  return false;
}

// A point a second from kSixPm + from seconds up to to seconds.
TPassTrack Track(int from, int to, const std::function<TTrackPoint(int)>& at) {
  TPassTrack track;
  for (int s = from; s <= to; ++s) {
    TTrackPoint point = at(s);
    point.timeUtc = kSixPm + s * kSecond;
    track.points.push_back(point);
  }
  track.sunElevationDeg = -20.0;
  return track;
}

// Due west to due east over the zenith in three minutes; the light of each half given.
TPassTrack OverTheZenith(bool firstHalfLit, bool secondHalfLit, int from = 0, int to = 180) {
  return Track(from, to, [=](int s) {
    const bool first = s < 90;
    return TTrackPoint{0, first ? 270.0 : 90.0, first ? s : 180.0 - s, 500.0,
                       first ? firstHalfLit : secondHalfLit};
  });
}

TEST_F(PassPlot, SkyPointsFollowTheRadarConvention) {
  const QRectF disc(100, 50, 200, 200);  // centre (200, 150), horizon 100
  const double diagonal = 100.0 / std::sqrt(2.0);
  const struct {
    double az, el, x, y;
  } cases[] = {
      {123.0, 90.0, 200, 150}, {0.0, 0.0, 200, 50},
      {90.0, 0.0, 300, 150},   {180.0, 0.0, 200, 250},
      {270.0, 0.0, 100, 150},  {180.0, 45.0, 200, 200},
      {90.0, 45.0, 250, 150},  {45.0, 0.0, 200 + diagonal, 150 - diagonal},
      {0.0, -10.0, 200, 50},   {90.0, -30.0, 300, 150},
  };
  for (const auto& c : cases) {
    const QPointF p = SkyPlotPoint(disc, c.az, c.el);
    EXPECT_NEAR(p.x(), c.x, 1e-9) << c.az << " " << c.el;
    EXPECT_NEAR(p.y(), c.y, 1e-9) << c.az << " " << c.el;
  }
}

TEST_F(PassPlot, LayoutKeepsThePartsApartAtEverySize) {
  for (QSize size :
       {QSize(640, 400), QSize(800, 500), QSize(1600, 1000), QSize(1600, 400), QSize(640, 1000)}) {
    const TPassPlotLayout l = PassPlotLayoutFor(size);
    const QRectF image(QPointF(0, 0), size);
    EXPECT_DOUBLE_EQ(l.skyDisc.width(), l.skyDisc.height()) << size.width();
    EXPECT_GT(l.skyDisc.width(), 0.35 * std::min(size.width(), size.height())) << size.width();
    EXPECT_GT(l.curveArea.width(), 0.25 * size.width()) << size.width();
    EXPECT_LT(l.skyDisc.right(), l.curveArea.left()) << size.width();
    EXPECT_LT(std::max(l.skyDisc.bottom(), l.curveArea.bottom()), l.factsArea.top());
    for (const QRectF& part : {l.skyDisc, l.curveArea, l.factsArea}) {
      EXPECT_TRUE(image.contains(part)) << size.width();
    }
  }
}

TEST_F(PassPlot, PathOverTheZenithCrossesTheCentreEachPartInItsLight) {
  // Sunlit from the west up to the zenith, dark from there down to the east.
  TPassPlot plot;
  plot.track = OverTheZenith(true, false);
  const QImage image = RenderPassPlot(plot, kSize);
  const TPassPlotLayout l = PassPlotLayoutFor(kSize);
  const double to = kSixPm + 180 * kSecond;
  const struct {
    QPointF at;
    bool lit;
  } probes[] = {
      {l.skyDisc.center(), false},
      {SkyPlotPoint(l.skyDisc, 270.0, 45.0), true},
      {SkyPlotPoint(l.skyDisc, 90.0, 45.0), false},
      {CurvePoint(l, kSixPm, to, kSixPm + 45 * kSecond, 45.0), true},
      {CurvePoint(l, kSixPm, to, kSixPm + 135 * kSecond, 45.0), false},
  };
  for (const auto& probe : probes) {
    EXPECT_TRUE(ColourNear(image, probe.at, probe.lit ? kPassSunlitColour : kPassDarkColour, 0))
        << probe.at.x() << "," << probe.at.y();
    EXPECT_FALSE(ColourNear(image, probe.at, probe.lit ? kPassDarkColour : kPassSunlitColour, 2));
  }
  // Nothing of it north of the centre.
  const QPointF north = SkyPlotPoint(l.skyDisc, 0.0, 45.0);
  EXPECT_FALSE(ColourNear(image, north, kPassSunlitColour, 3) ||
               ColourNear(image, north, kPassDarkColour, 3));
}

TEST_F(PassPlot, SunIsDrawnOnlyFromTheHorizonUp) {
  const struct {
    double el;
    bool shown;
  } cases[] = {{30.0, true}, {0.0, true}, {-0.5, false}, {-20.0, false}};
  for (const auto& c : cases) {
    TPassPlot plot;
    plot.track = OverTheZenith(true, true);
    plot.track.sunAzimuthDeg = 200.0;
    plot.track.sunElevationDeg = c.el;
    const QImage image = RenderPassPlot(plot, kSize);
    const QRectF disc = PassPlotLayoutFor(kSize).skyDisc;
    const QPointF sun = SkyPlotPoint(disc, 200.0, c.el);
    EXPECT_EQ(ColourNear(image, sun, kPassSunColour, 0), c.shown) << c.el;
    EXPECT_EQ(ColourNear(image, disc.center(), kPassSunColour, disc.width() / 2), c.shown);
  }
}

TEST_F(PassPlot, CurvePeaksAtTheCulminationsTimeAndElevation) {
  // 60 degrees at the middle of ten minutes: a third of the way down the axes, halfway across.
  TPassPlot plot;
  plot.track = Track(0, 600, [](int s) {
    return TTrackPoint{0, 150.0 + s * 0.1, 60.0 * std::sin(3.14159265358979 * s / 600.0), 900.0,
                       true};
  });
  const QImage image = RenderPassPlot(plot, kSize);
  const QRectF area = PassPlotLayoutFor(kSize).curveArea;
  for (int y = static_cast<int>(area.top()); y < area.bottom(); ++y) {
    double sum = 0.0;
    int count = 0;
    for (int x = static_cast<int>(area.left()); x < area.right(); ++x) {
      if (ColourNear(image, QPointF(x, y), kPassSunlitColour, 0)) {
        sum += x;
        ++count;
      }
    }
    if (count == 0) continue;
    EXPECT_NEAR(sum / count, area.center().x(), 3.0);
    EXPECT_NEAR(y, area.top() + area.height() / 3.0, 3.0);
    return;
  }
  ADD_FAILURE() << "no curve";
}

TEST_F(PassPlot, MarksAreDrawnAtTheirPlacesInBothPlots) {
  TPassPlot plot;
  plot.track = OverTheZenith(true, true);
  const struct {
    int second;
    double az, el;
    const char* label;
  } marks[] = {
      {0, 270, 0, "Rise"}, {60, 270, 60, "Flare"}, {90, 90, 90, "Max"}, {180, 90, 0, "Set"}};
  for (const auto& m : marks) {
    plot.marks.push_back({kSixPm + m.second * kSecond, m.az, m.el, m.label});
  }
  const QImage image = RenderPassPlot(plot, kSize);
  const TPassPlotLayout l = PassPlotLayoutFor(kSize);
  const QColor white(245, 245, 245);
  for (const auto& m : marks) {
    EXPECT_TRUE(ColourNear(image, SkyPlotPoint(l.skyDisc, m.az, m.el), white, 0)) << m.label;
    const QPointF onCurve =
        CurvePoint(l, kSixPm, kSixPm + 180 * kSecond, kSixPm + m.second * kSecond, m.el);
    EXPECT_TRUE(ColourNear(image, onCurve, white, 0)) << m.label;
  }
}

TEST_F(PassPlot, EachWholeMinuteHasATickAcrossThePathAndALocalLabel) {
  // 18:00:30 to 18:05:10 UTC, an hour and a half ahead locally: 19:31 to 19:35.
  TPassPlot plot;
  plot.track = Track(30, 310, [](int s) { return TTrackPoint{0, 270.0, s * 0.25, 900.0, true}; });
  plot.utcOffsetHours = 1.5;
  const std::vector<TMinuteMark> marks = SkyMinuteMarks(plot, PassPlotLayoutFor(kSize));
  ASSERT_EQ(marks.size(), 5u);
  const QImage image = RenderPassPlot(plot, kSize);
  const QRectF disc = PassPlotLayoutFor(kSize).skyDisc;
  for (int m = 1; m <= 5; ++m) {
    const TMinuteMark& mark = marks[static_cast<size_t>(m - 1)];
    EXPECT_NEAR(mark.timeUtc, kSixPm + m * 60 * kSecond, 1e-9);
    EXPECT_EQ(mark.label, QStringLiteral("19:3%1").arg(m));
    // The path runs east along the west radius; the tick stands across it, the half-minute not.
    const QPointF at = SkyPlotPoint(disc, 270.0, m * 15.0);
    const QPointF half = SkyPlotPoint(disc, 270.0, m * 15.0 - 7.5);
    for (double dy : {-3.5, 3.5}) {
      EXPECT_TRUE(ColourNear(image, at + QPointF(0, dy), kPassSunlitColour, 0)) << m;
      EXPECT_FALSE(ColourNear(image, half + QPointF(0, dy), kPassSunlitColour, 0)) << m;
    }
  }
}

TEST_F(PassPlot, PathsOfHoursKeepTheirLabelsApart) {
  // Six hours creeping over 30 degrees of azimuth low in the east: a tick each minute, the
  // labels that would overlap left out; the time axis labelled at wider steps.
  TPassPlot plot;
  plot.track = Track(0, 6 * 3600, [](int s) { return TTrackPoint{0, 80.0 + s / 720.0, 5, 0, 1}; });
  for (QSize size : {QSize(640, 400), QSize(1600, 1000)}) {
    const TPassPlotLayout l = PassPlotLayoutFor(size);
    const std::vector<TMinuteMark> marks = SkyMinuteMarks(plot, l);
    ASSERT_EQ(marks.size(), 361u);
    std::vector<QRectF> boxes;
    for (const TMinuteMark& mark : marks) {
      EXPECT_GT(mark.tick.length(), 0.0);
      if (mark.labelShown) boxes.push_back(mark.labelBox);
    }
    EXPECT_GT(boxes.size(), 1u);
    EXPECT_LT(boxes.size(), marks.size());
    const std::vector<TTimeTick> ticks = CurveTimeTicks(plot, l);
    EXPECT_GE(ticks.size(), 3u);
    for (const TTimeTick& tick : ticks) {
      EXPECT_GE(tick.labelBox.left(), l.skyDisc.right());
      EXPECT_LE(tick.labelBox.right(), size.width());
      boxes.push_back(tick.labelBox);
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
      for (size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(boxes[i].intersects(boxes[j]));
    }
  }
}

TEST_F(PassPlot, RatioTwoDrawsTheSamePictureOnTwiceThePixels) {
  TPassPlot plot;
  plot.title = "TEST SAT  2026-12-08";
  plot.track = OverTheZenith(true, false);
  plot.track.sunAzimuthDeg = 200.0;
  plot.track.sunElevationDeg = 10.0;
  plot.facts = {{"Rise", "18:00:00"}, {"Max", "18:01:30  90.0°"}};
  const QImage single = RenderPassPlot(plot, kSize);
  const QImage twice = RenderPassPlot(plot, kSize, 2.0);
  EXPECT_EQ(twice.size(), kSize * 2);
  const QRectF disc = PassPlotLayoutFor(kSize).skyDisc;
  EXPECT_TRUE(ColourNear(twice, SkyPlotPoint(disc, 200.0, 10.0), kPassSunColour, 0, 2.0));
  // Averaged down, the fine picture differs from the plain one only at the edges of lines.
  QImage shrunk = twice.scaled(kSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double difference = 0.0;
  for (int y = 0; y < kSize.height(); ++y) {
    for (int x = 0; x < kSize.width(); ++x) {
      const QColor a = single.pixelColor(x, y);
      const QColor b = shrunk.pixelColor(x, y);
      difference += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                    std::abs(a.blue() - b.blue());
    }
  }
  EXPECT_LT(difference / (kSize.width() * kSize.height() * 3), 2.0);
}

TEST_F(PassPlot, EmptyTrackDrawsTheFrameAndNoPath) {
  TPassPlot plot;
  plot.title = "NOTHING";
  plot.track.sunElevationDeg = 40.0;
  const QImage image = RenderPassPlot(plot, QSize(640, 400));
  ASSERT_EQ(image.size(), QSize(640, 400));
  const TPassPlotLayout l = PassPlotLayoutFor(QSize(640, 400));
  // The horizon and the curve's frame.
  EXPECT_FALSE(ColourNear(image, SkyPlotPoint(l.skyDisc, 0.0, 0.0), kPassPlotBackground, 0));
  EXPECT_FALSE(ColourNear(image, l.curveArea.topLeft(), kPassPlotBackground, 0, 1.0, 10));
  // Nothing of the path's colours, nor the Sun, although its elevation is positive.
  for (const QColor& colour : {kPassSunlitColour, kPassDarkColour, kPassSunColour}) {
    EXPECT_FALSE(ColourNear(image, l.skyDisc.center(), colour, 640, 1.0, 10));
  }
}

}  // namespace
}  // namespace zen
