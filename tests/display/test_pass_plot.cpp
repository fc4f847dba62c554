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
      {123.0, 90.0, 200, 150},  {0.0, 0.0, 200, 50},     {90.0, 0.0, 300, 150},
      {180.0, 0.0, 200, 250},   {270.0, 0.0, 100, 150},  {180.0, 45.0, 200, 200},
      {90.0, 45.0, 250, 150},   {45.0, 0.0, 200 + diagonal, 150 - diagonal},
      {0.0, -10.0, 200, 50},    {90.0, -30.0, 300, 150},
  };
  for (const auto& c : cases) {
    const QPointF p = SkyPlotPoint(disc, c.az, c.el);
    EXPECT_NEAR(p.x(), c.x, 1e-9) << c.az << " " << c.el;
    EXPECT_NEAR(p.y(), c.y, 1e-9) << c.az << " " << c.el;
  }
}

TEST_F(PassPlot, LayoutKeepsThePartsApartAtEverySize) {
  for (QSize size : {QSize(640, 400), QSize(800, 500), QSize(1600, 1000), QSize(1600, 400),
                     QSize(640, 1000)}) {
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

TEST_F(PassPlot, PathOverTheZenithCrossesTheCentreInItsLight) {
  for (bool lit : {true, false}) {
    TPassPlot plot;
    plot.track = OverTheZenith(lit, lit);
    const QImage image = RenderPassPlot(plot, kSize);
    const QRectF disc = PassPlotLayoutFor(kSize).skyDisc;
    const QColor colour = lit ? kPassSunlitColour : kPassDarkColour;
    EXPECT_TRUE(ColourNear(image, disc.center(), colour, 0)) << lit;
    // Through the middles of the west and east radii; nothing of it north of the centre.
    EXPECT_TRUE(ColourNear(image, disc.center() - QPointF(disc.width() / 4, 0), colour)) << lit;
    EXPECT_TRUE(ColourNear(image, disc.center() + QPointF(disc.width() / 4, 0), colour)) << lit;
    EXPECT_FALSE(ColourNear(image, disc.center() - QPointF(0, disc.width() / 4), colour, 3));
  }
}

TEST_F(PassPlot, SunlitAndDarkPartsTakeTheirColoursInBothPlots) {
  TPassPlot plot;
  plot.track = OverTheZenith(true, false);
  const QImage image = RenderPassPlot(plot, kSize);
  const TPassPlotLayout l = PassPlotLayoutFor(kSize);
  const double from = kSixPm;
  const double to = kSixPm + 180 * kSecond;
  const struct {
    QPointF at;
    bool lit;
  } probes[] = {
      {SkyPlotPoint(l.skyDisc, 270.0, 45.0), true},
      {SkyPlotPoint(l.skyDisc, 90.0, 45.0), false},
      {CurvePoint(l, from, to, kSixPm + 45 * kSecond, 45.0), true},
      {CurvePoint(l, from, to, kSixPm + 135 * kSecond, 45.0), false},
  };
  for (const auto& probe : probes) {
    EXPECT_TRUE(ColourNear(image, probe.at, probe.lit ? kPassSunlitColour : kPassDarkColour))
        << probe.at.x() << "," << probe.at.y();
    EXPECT_FALSE(ColourNear(image, probe.at, probe.lit ? kPassDarkColour : kPassSunlitColour, 2));
  }
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
  } marks[] = {{0, 270, 0, "Rise"}, {60, 270, 60, "Flare"}, {90, 90, 90, "Max"}, {180, 90, 0, "Set"}};
  for (const auto& m : marks) {
    plot.marks.push_back({kSixPm + m.second * kSecond, m.az, m.el, m.label});
  }
  const QImage image = RenderPassPlot(plot, kSize);
  const TPassPlotLayout l = PassPlotLayoutFor(kSize);
  const QColor white(245, 245, 245);
  for (const auto& m : marks) {
    EXPECT_TRUE(ColourNear(image, SkyPlotPoint(l.skyDisc, m.az, m.el), white, 0)) << m.label;
    const QPointF onCurve = CurvePoint(l, kSixPm, kSixPm + 180 * kSecond,
                                       kSixPm + m.second * kSecond, m.el);
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

TEST_F(PassPlot, CrowdedMinuteLabelsDoNotOverlapAndTheirTicksStay) {
  // An hour creeping over 20 degrees of azimuth low in the east.
  TPassPlot plot;
  plot.track = Track(0, 3600, [](int s) { return TTrackPoint{0, 80.0 + s / 180.0, 5.0, 0, true}; });
  const std::vector<TMinuteMark> marks = SkyMinuteMarks(plot, PassPlotLayoutFor(QSize(640, 400)));
  ASSERT_EQ(marks.size(), 61u);
  std::vector<QRectF> shown;
  for (const TMinuteMark& mark : marks) {
    EXPECT_GT(mark.tick.length(), 0.0);
    if (!mark.labelShown) continue;
    for (const QRectF& other : shown) EXPECT_FALSE(other.intersects(mark.labelBox));
    shown.push_back(mark.labelBox);
  }
  EXPECT_GT(shown.size(), 1u);
  EXPECT_LT(shown.size(), marks.size());
}

TEST_F(PassPlot, TimeLabelsFitWhateverTheSpan) {
  const struct {
    int seconds;
    QSize size;
  } cases[] = {{20, QSize(640, 400)},   {600, QSize(640, 400)},    {6 * 3600, QSize(640, 400)},
               {600, QSize(1600, 1000)}, {24 * 3600, QSize(1600, 1000)}};
  for (const auto& c : cases) {
    TPassPlot plot;
    plot.track = Track(0, c.seconds, [](int) { return TTrackPoint{0, 10.0, 10.0, 0, true}; });
    const TPassPlotLayout l = PassPlotLayoutFor(c.size);
    const std::vector<TTimeTick> ticks = CurveTimeTicks(plot, l);
    if (c.seconds >= 600) {
      EXPECT_GE(ticks.size(), 3u) << c.seconds;
    }
    for (size_t i = 0; i < ticks.size(); ++i) {
      EXPECT_GE(ticks[i].timeUtc, kSixPm - 1e-9);
      EXPECT_LE(ticks[i].timeUtc, kSixPm + c.seconds * kSecond + 1e-9);
      EXPECT_GE(ticks[i].labelBox.left(), l.skyDisc.right()) << c.seconds;
      EXPECT_LE(ticks[i].labelBox.right(), c.size.width()) << c.seconds;
      if (i > 0) {
        EXPECT_FALSE(ticks[i - 1].labelBox.intersects(ticks[i].labelBox)) << c.seconds;
      }
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
  EXPECT_EQ(twice.deviceIndependentSize(), QSizeF(kSize));
  const QRectF disc = PassPlotLayoutFor(kSize).skyDisc;
  EXPECT_TRUE(ColourNear(twice, SkyPlotPoint(disc, 270.0, 45.0), kPassSunlitColour, 0, 2.0));
  EXPECT_TRUE(ColourNear(twice, SkyPlotPoint(disc, 90.0, 45.0), kPassDarkColour, 0, 2.0));
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
  EXPECT_FALSE(ColourNear(image, SkyPlotPoint(l.skyDisc, 0.0, 0.0), kPassPlotBackground, 0));
  int text = 0;
  for (int x = static_cast<int>(l.curveArea.left()) + 2; x < l.curveArea.right() - 2; ++x) {
    if (image.pixelColor(x, static_cast<int>(l.curveArea.center().y())).lightness() > 100) ++text;
  }
  EXPECT_GT(text, 3);
  // Nothing of the path's colours, nor the Sun, although its elevation is positive.
  for (const QColor& colour : {kPassSunlitColour, kPassDarkColour, kPassSunColour}) {
    EXPECT_FALSE(ColourNear(image, l.skyDisc.center(), colour, 640, 1.0, 10));
  }
}

}  // namespace
}  // namespace zen
