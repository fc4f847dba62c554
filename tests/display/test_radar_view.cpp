// The radar redraw on rendered images: the chart or the logo, the horizon rules for
// satellites and track, and the cursor it asks for.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <utility>

#include "display/canvas.h"
#include "display/colours.h"
#include "display/radar_primitives.h"
#include "display/radar_view.h"
#include "image_probe.h"
#include "scene_support.h"

namespace zen {
namespace {

using test::CountColour;
using test::IsColour;

const QRect kWholeRadar(0, 0, kRadarImageWidth, kRadarImageHeight);

class RadarView : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LoadTracked(p.list, dir.path().toStdString(), {"ALPHA", "BRAVO", "CHARLIE"});
    ASSERT_EQ(p.list.TrackedCount, 3);
    for (int i = 1; i <= 3; ++i) p.Place(i, 0.0, 0.0, 0.0, -10.0);
    p.cycle.RadarShown = true;
  }

  // Only samples 0 and 1 computed: one segment.
  void OneSegment(double az0, double el0, double az1, double el1, int umbra = 0) {
    p.Track([](int, TTrackSample& s) { s.computed = false; });
    TTrackSample& a = p.cycle.ActiveTrack[0];
    TTrackSample& b = p.cycle.ActiveTrack[1];
    a = TTrackSample{};
    b = TTrackSample{};
    a.computed = b.computed = true;
    a.azimuth = az0;
    a.elevation = el0;
    b.azimuth = az1;
    b.elevation = el1;
    b.umbra = static_cast<uint8_t>(umbra);
  }

  QImage Radar(TRadarDraw* result = nullptr) {
    QImage image = test::Filled(kRadarImageWidth, kRadarImageHeight, Qt::white);
    TRadarDraw r = view.DrawRadar(image, p.Scene());
    if (result != nullptr) *result = r;
    return image;
  }

  QTemporaryDir dir;
  test::TSceneParts p;
  TRadarView view;
};

TEST_F(RadarView, ShownRadarHasTheChartAndTheSatellitesFromTheHorizonUp) {
  p.Place(1, 0.0, 0.0, 90.0, 0.0);     // on the horizon, east: square at (153..158, 77..82)
  p.Place(2, 0.0, 0.0, 270.0, -0.1);   // just below: not drawn
  p.Place(3, 0.0, 0.0, 0.0, 90.0, 2);  // zenith, in umbra
  TRadarDraw result;
  QImage radar = Radar(&result);
  EXPECT_TRUE(result.painted);
  EXPECT_TRUE(result.crosshair);
  EXPECT_TRUE(view.RadarWasShown);
  EXPECT_TRUE(IsColour(radar, 0, 0, kBlack));
  EXPECT_TRUE(IsColour(radar, 20, 12, test::kRadarInk));
  EXPECT_EQ(CountColour(radar, kLitColour, QRect(153, 77, 6, 6)), 36);
  EXPECT_EQ(CountColour(radar, kLitColour, kWholeRadar), 36);
  EXPECT_EQ(CountColour(radar, kUmbraColour, QRect(85, 77, 6, 6)), 36);
}

TEST_F(RadarView, LogoIsPaintedOnceWhenTheRadarGoesAway) {
  const struct {
    bool shown;
    bool painted;
    bool logo;
  } steps[] = {
      {false, false, false},                       // at start the window's own logo stays untouched
      {true, true, false},   {false, true, true},  // just switched off: logo on black
      {false, false, false},                       // still off: nothing painted
      {true, true, false},
  };
  int step = 0;
  for (const auto& s : steps) {
    p.cycle.RadarShown = s.shown;
    TRadarDraw result;
    QImage radar = Radar(&result);
    EXPECT_EQ(result.painted, s.painted) << "step " << step;
    EXPECT_EQ(result.crosshair, s.shown) << "step " << step;
    EXPECT_EQ(view.RadarWasShown, s.shown) << "step " << step;
    EXPECT_EQ(CountColour(radar, test::kLogoInk, kWholeRadar), s.logo ? 60 * 40 : 0)
        << "step " << step;
    if (!s.painted) {
      EXPECT_EQ(CountColour(radar, Qt::white, kWholeRadar), kRadarImageWidth * kRadarImageHeight)
          << "step " << step;
    }
    if (s.logo) {
      EXPECT_TRUE(IsColour(radar, 88 - 30, 80 - 20, test::kLogoInk));
      EXPECT_TRUE(IsColour(radar, 88 - 31, 80 - 20, kBlack));
    }
    ++step;
  }
}

TEST_F(RadarView, TrackSegmentNeedsAnEndStrictlyAboveTheHorizon) {
  const struct {
    double el0;
    double el1;
    bool drawn;
  } cases[] = {
      {0.0, 0.0, false},  {-5.0, 0.0, false}, {-10.0, -20.0, false},
      {-10.0, 5.0, true}, {5.0, -10.0, true}, {0.1, 0.0, true},
  };
  p.list.ActiveSat = 1;
  p.show.radarTrack = true;
  p.show.radarMarkers = true;
  for (const auto& c : cases) {
    OneSegment(45.0, c.el0, 135.0, c.el1);
    QImage radar = Radar();
    EXPECT_EQ(CountColour(radar, kLitColour, kWholeRadar) > 0, c.drawn) << c.el0 << " to " << c.el1;
  }
}

TEST_F(RadarView, RadarTrackFollowsItsOwnOptionsNotTheMapOnes) {
  p.list.ActiveSat = 1;
  OneSegment(45.0, 30.0, 135.0, 30.0);
  p.show.trackLine = true;
  p.show.trackMarkers = true;
  EXPECT_EQ(CountColour(Radar(), kLitColour, kWholeRadar), 0);
  p.show.trackLine = false;
  p.show.trackMarkers = false;
  p.show.radarTrack = true;
  EXPECT_GT(CountColour(Radar(), kLitColour, kWholeRadar), 0);
  p.show.radarTrack = false;
  p.show.radarMarkers = true;
  EXPECT_GT(CountColour(Radar(), kLitColour, kWholeRadar), 0);
  p.list.ActiveSat = 0;
  EXPECT_EQ(CountColour(Radar(), kLitColour, kWholeRadar), 0);
}

TEST_F(RadarView, ActiveBelowTheHorizonHasNoSymbolButItsTrackShows) {
  p.list.ActiveSat = 1;
  p.Place(1, 0.0, 0.0, 0.0, -5.0, 2);
  p.show.radarTrack = true;
  OneSegment(0.0, 10.0, 60.0, 30.0);
  QImage radar = Radar();
  EXPECT_EQ(CountColour(radar, kUmbraColour, kWholeRadar), 0);
  EXPECT_GT(CountColour(radar, kLitColour, kWholeRadar), 0);
}

TEST_F(RadarView, TrackIsDrawnOverTheSymbols) {
  p.list.ActiveSat = 1;
  p.show.radarTrack = true;
  p.Place(2, 0.0, 0.0, 0.0, 90.0);         // lit square round the centre (88, 80)
  OneSegment(270.0, 60.0, 90.0, 60.0, 1);  // across the centre, in umbra
  QImage radar = Radar();
  EXPECT_TRUE(IsColour(radar, 88, 80, kUmbraColour));
  EXPECT_TRUE(IsColour(radar, 88, 82, kLitColour));
}

TEST_F(RadarView, SatelliteWithoutAComputedStateIsNotDrawn) {
  p.Place(1, 0.0, 0.0, 0.0, 90.0);
  p.list.TrackedSats[1].computed = false;
  EXPECT_EQ(CountColour(Radar(), kLitColour, kWholeRadar), 0);
}

TEST_F(RadarView, NamesThatWouldOverlapAnEarlierOneOrTheActiveOneAreLeftOut) {
  // ALPHA and BRAVO a pixel or two apart high in the north, CHARLIE alone in the south.
  const QPoint alpha = AzElToRadar(0.0, 60.0);
  const QPoint bravo = AzElToRadar(0.0, 58.0);
  const QPoint charlie = AzElToRadar(180.0, 30.0);
  ASSERT_LE(bravo.y() - alpha.y(), 2);
  p.Place(1, 0.0, 0.0, 0.0, 60.0);
  p.Place(2, 0.0, 0.0, 0.0, 58.0);
  p.Place(3, 0.0, 0.0, 180.0, 30.0);
  const struct {
    int active;
    const char* shownName;  // of ALPHA and BRAVO
    QPoint shownAt;
  } cases[] = {{0, "ALPHA", alpha}, {1, "ALPHA", alpha}, {2, "BRAVO", bravo}};
  for (const auto& c : cases) {
    p.list.ActiveSat = c.active;
    p.show.radarNames = false;
    QImage expected = Radar();
    {
      TCanvas canvas(expected);
      SetRadarLabelFont(canvas);
      canvas.SetBrushClear();
      const int height = canvas.TextHeight(QString());
      for (const auto& [name, at] : {std::pair{QString::fromLatin1(c.shownName), c.shownAt},
                                     std::pair{QStringLiteral("CHARLIE"), charlie}}) {
        const QRect box = kRadarLabels.Box(at, canvas.TextWidth(name), height);
        canvas.TextOut(box.left(), box.top(), name);
      }
    }
    p.show.radarNames = true;
    EXPECT_EQ(Radar(), expected) << "active " << c.active;
  }
}

}  // namespace
}  // namespace zen
