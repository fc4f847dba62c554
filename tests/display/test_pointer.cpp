// Pointer hit tests, readouts and press decisions over the map, the radar and the time panel.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "core/timescale.h"
#include "display/pointer.h"
#include "scene_support.h"

namespace zen {
namespace {

const TDateRec kMarkerMoment{2026, 5, 30, 19, 15, 30, 0};
constexpr double kOneSecondDays = 1.0 / 86400.0;

class Pointer : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LoadTracked(p.list, dir.path().toStdString(),
                      {"ALPHA", "BRAVO", "CHARLIE", "DELTA ABCDEFGHIJKLMNOPQR"});
    ASSERT_EQ(p.list.TrackedCount, 4);
    ASSERT_EQ(p.list.NameOf(4), "DELTA ABCDEFGHIJKLMNOPQR");
    // Far from everything the tests point at: south-east of the map, low in the north-west.
    for (int i = 1; i <= 4; ++i) p.Place(i, -80.0, 170.0, 300.0, -80.0);
    p.Track([](int, TTrackSample& s) { s.computed = false; });
    p.time.SetUTCOffset(2.0);
    p.cycle.RadarShown = true;
  }

  void Sample(int k, double lat, double lon, double az, double el) {
    TTrackSample& s = p.cycle.ActiveTrack[static_cast<size_t>(k)];
    s.computed = true;
    s.latitude = lat;
    s.longitude = lon;
    s.azimuth = az;
    s.elevation = el;
    s.time = DateRecToJulian(kMarkerMoment);
  }

  QTemporaryDir dir;
  test::TSceneParts p;
};

struct THitCase {
  double dA;
  double dB;
  bool hit;
};

TEST_F(Pointer, SatelliteHitNeedsADistanceStrictlyBelowTheRadius) {
  // Euclidean in the plane of the two angles: (3, 4) is exactly 5 away.
  const THitCase mapCases[] = {{5.0, 0.0, false},  {4.99, 0.0, true}, {0.0, -5.0, false},
                               {0.0, -4.99, true}, {3.0, 4.0, false}, {3.5, 3.5, true}};
  p.Place(2, 10.0, 20.0, 100.0, 40.0);
  for (const THitCase& c : mapCases) {
    EXPECT_EQ(NearestSat(p.list, false, 10.0 + c.dA, 20.0 + c.dB), c.hit ? 2 : 0)
        << "map " << c.dA << ", " << c.dB;
  }
  const THitCase radarCases[] = {
      {10.0, 0.0, false}, {9.99, 0.0, true}, {6.0, 8.0, false}, {0.0, -9.99, true}};
  for (const THitCase& c : radarCases) {
    EXPECT_EQ(NearestSat(p.list, true, 100.0 + c.dA, 40.0 + c.dB), c.hit ? 2 : 0)
        << "radar " << c.dA << ", " << c.dB;
  }
}

TEST_F(Pointer, TrackSampleRadiusIsFiveOnBothViews) {
  Sample(37, 10.0, 20.0, 100.0, 40.0);
  const THitCase cases[] = {{5.0, 0.0, false}, {4.99, 0.0, true}, {0.0, 4.99, true}};
  for (const THitCase& c : cases) {
    int expected = c.hit ? 37 : kNoTrackSample;
    EXPECT_EQ(NearestTrackSample(p.cycle, false, 10.0 + c.dA, 20.0 + c.dB), expected);
    EXPECT_EQ(NearestTrackSample(p.cycle, true, 100.0 + c.dA, 40.0 + c.dB), expected);
  }
}

TEST_F(Pointer, NearestWinsAndEqualDistancesGoToTheFirstInOrder) {
  p.Place(2, 10.0, 23.0, 100.0, 43.0);
  p.Place(3, 10.0, 17.0, 100.0, 37.0);
  EXPECT_EQ(NearestSat(p.list, false, 10.0, 20.0), 2);
  EXPECT_EQ(NearestSat(p.list, true, 100.0, 40.0), 2);
  EXPECT_EQ(NearestSat(p.list, false, 10.0, 19.0), 3);
  Sample(60, 0.0, 3.0, 0.0, 0.0);
  Sample(20, 0.0, -3.0, 0.0, 0.0);
  Sample(80, 0.0, 2.0, 0.0, 0.0);
  EXPECT_EQ(NearestTrackSample(p.cycle, false, 0.0, 0.0), 80);
  Sample(80, 0.0, 4.0, 0.0, 0.0);
  EXPECT_EQ(NearestTrackSample(p.cycle, false, 0.0, 0.0), 20);
}

TEST_F(Pointer, NoWrapAcrossTheDateLineOrNorth) {
  p.Place(1, 0.0, 179.0, 359.0, 30.0);
  EXPECT_EQ(NearestSat(p.list, false, 0.0, -179.0), 0);
  EXPECT_EQ(NearestSat(p.list, true, 1.0, 30.0), 0);
  EXPECT_EQ(NearestSat(p.list, false, 0.0, 178.0), 1);
  EXPECT_EQ(NearestSat(p.list, true, 357.0, 30.0), 1);
}

TEST_F(Pointer, BelowTheHorizonTakesPartButBrokenModelsDoNot) {
  p.Place(1, 0.0, 0.0, 200.0, -6.0);
  EXPECT_EQ(NearestSat(p.list, true, 200.0, 0.0), 1);
  p.list.TrackedSats[1].computed = false;
  EXPECT_EQ(NearestSat(p.list, true, 200.0, 0.0), 0);
  EXPECT_EQ(NearestSat(p.list, false, 0.0, 0.0), 0);
}

TEST_F(Pointer, MarkerTextIsTheSampleTimeInTheShownScale) {
  Sample(5, 0.0, 0.0, 0.0, 0.0);
  p.time.Display = TTimeDisplay::Utc;
  EXPECT_EQ(MarkerText(p.cycle, p.time, 5), " 19:15:30 (UTC)");
  p.time.Display = TTimeDisplay::Local;
  EXPECT_EQ(MarkerText(p.cycle, p.time, 5), " 21:15:30 (UTC +2:00)");
}

TEST_F(Pointer, MapReadoutGivesPositionLocatorAndWhatIsThere) {
  // Pixel (65, 75) is 60 N, 150 W.
  const QString place = QStringLiteral("150.0000° W, 60.0000° N [BP50aa]");
  EXPECT_EQ(MapReadout(p.Scene(), 65, 75), place);
  EXPECT_EQ(MapReadout(p.Scene(), 315, 195), QStringLiteral("0.0000° E, 0.0000° N [JJ00aa]"));

  p.list.ActiveSat = 1;
  p.show.trackMarkers = true;
  p.time.Display = TTimeDisplay::Utc;
  Sample(12, 61.0, -151.0, 0.0, 0.0);
  EXPECT_EQ(MapReadout(p.Scene(), 65, 75), place + "  -  track marker:  19:15:30 (UTC)");
  p.Place(3, 57.0, -150.0);
  EXPECT_EQ(MapReadout(p.Scene(), 65, 75), place + "  -  object: CHARLIE");
  // Without the map track drawn, markers are not offered.
  p.Place(3, -80.0, 170.0);
  p.show.trackMarkers = false;
  EXPECT_EQ(MapReadout(p.Scene(), 65, 75), place);
  p.show.trackLine = true;
  p.list.ActiveSat = 0;
  EXPECT_EQ(MapReadout(p.Scene(), 65, 75), place);
}

TEST_F(Pointer, RadarReadoutGivesDirectionAndStatusOrTheBanner) {
  p.cycle.VisibleCount = 3;
  p.cycle.VisibleEclipsedCount = 1;
  p.cycle.SunNow.elevation = -12.5;
  // The inverse's centre (87, 79): distance taken as 0.0001, azimuth 270.
  const QString head = QStringLiteral("Azm: 270.000°, Elev: 90.000°");
  EXPECT_EQ(RadarReadout(p.Scene(), 87, 79),
            head + " - radar status: 3 objects (1 eclipsed) - Sun elevation: -12.500°");
  p.cycle.VisibleEclipsedCount = 0;
  EXPECT_EQ(RadarReadout(p.Scene(), 87, 79),
            head + " - radar status: 3 objects - Sun elevation: -12.500°");

  p.list.ActiveSat = 2;
  p.show.radarTrack = true;
  Sample(3, 0.0, 0.0, 271.0, 88.0);
  EXPECT_EQ(RadarReadout(p.Scene(), 87, 79), head + "  -  track marker:  21:15:30 (UTC +2:00)");
  p.Place(2, 0.0, 0.0, 270.0, 82.0);
  EXPECT_EQ(RadarReadout(p.Scene(), 87, 79), head + "  -  object: BRAVO");

  p.cycle.RadarShown = false;
  EXPECT_TRUE(RadarReadout(p.Scene(), 87, 79).isEmpty());
}

TEST_F(Pointer, RightPressOnTheMapOpensThePopupAndPicksThePoint) {
  TPressDecision empty = MapPress(p.Scene(), true, 65, 75);
  EXPECT_EQ(empty.action, TPressAction::OpenMapPopup);
  EXPECT_EQ(empty.popupSat, 0);
  EXPECT_TRUE(empty.stopTrackingCaption.isEmpty());
  ASSERT_TRUE(empty.picked);
  EXPECT_DOUBLE_EQ(empty.pickedPoint.lat, 60.0);
  EXPECT_DOUBLE_EQ(empty.pickedPoint.lon, -150.0);

  p.Place(4, 60.0, -150.0);
  TPressDecision onSat = MapPress(p.Scene(), true, 65, 75);
  EXPECT_EQ(onSat.popupSat, 4);
  EXPECT_EQ(onSat.stopTrackingCaption, QStringLiteral("Stop tracking: DELTA ABCDEFGHIJKLMNOPQR"));
  EXPECT_EQ(onSat.stopTrackingCaption.size(), 39);
}

TEST_F(Pointer, LeftPressOnTheMapTogglesTheActiveSatelliteOrGoesToAMarker) {
  p.Place(2, 60.0, -150.0);
  p.list.ActiveSat = 1;
  TPressDecision select = MapPress(p.Scene(), false, 65, 75);
  EXPECT_EQ(select.action, TPressAction::SetActive);
  EXPECT_EQ(select.newActiveSat, 2);
  EXPECT_TRUE(select.picked);
  p.list.ActiveSat = 2;
  TPressDecision deselect = MapPress(p.Scene(), false, 65, 75);
  EXPECT_EQ(deselect.action, TPressAction::SetActive);
  EXPECT_EQ(deselect.newActiveSat, 0);

  // A marker under a satellite loses to it; alone it is a jump.
  p.show.trackLine = true;
  Sample(44, 60.5, -150.0, 0.0, 0.0);
  EXPECT_EQ(MapPress(p.Scene(), false, 65, 75).action, TPressAction::SetActive);
  p.Place(2, -80.0, 170.0);
  for (bool middle : {true, false}) {
    p.show.middleAfterGoToMarker = middle;
    TPressDecision go = MapPress(p.Scene(), false, 65, 75);
    EXPECT_EQ(go.action, TPressAction::GoToMarker);
    EXPECT_EQ(go.marker, 44);
    EXPECT_DOUBLE_EQ(go.markerUtc, DateRecToJulian(kMarkerMoment));
    EXPECT_NEAR(go.markerSimTime - go.markerUtc, 2.0 / 24.0, kOneSecondDays);
    EXPECT_EQ(go.middleAfter, middle);
  }
  EXPECT_EQ(MapPress(p.Scene(), false, 400, 300).action, TPressAction::None);
}

TEST_F(Pointer, RadarPressSelectsButNeverDeselects) {
  p.Place(2, 0.0, 0.0, 270.0, 85.0);
  p.list.ActiveSat = 1;
  for (bool shown : {true, false}) {
    p.cycle.RadarShown = shown;
    TPressDecision d = RadarPress(p.Scene(), false, 87, 79);
    EXPECT_EQ(d.action, TPressAction::SetActive) << "radar shown " << shown;
    EXPECT_EQ(d.newActiveSat, 2);
    EXPECT_FALSE(d.picked);
  }
  p.list.ActiveSat = 2;
  EXPECT_EQ(RadarPress(p.Scene(), false, 87, 79).action, TPressAction::None);

  p.Place(2, 0.0, 0.0, 100.0, 10.0);
  p.show.radarMarkers = true;
  Sample(9, 0.0, 0.0, 272.0, 87.0);
  TPressDecision go = RadarPress(p.Scene(), false, 87, 79);
  EXPECT_EQ(go.action, TPressAction::GoToMarker);
  EXPECT_EQ(go.marker, 9);
}

TEST_F(Pointer, RightPressOnTheRadarStepsTheMode) {
  const struct {
    TRadarMode from;
    TRadarMode to;
  } cases[] = {{TRadarMode::On, TRadarMode::Off},
               {TRadarMode::Off, TRadarMode::Auto},
               {TRadarMode::Auto, TRadarMode::On}};
  p.Place(1, 0.0, 0.0, 270.0, 89.0);  // even over a satellite
  for (const auto& c : cases) {
    p.show.radarMode = c.from;
    TPressDecision d = RadarPress(p.Scene(), true, 87, 79);
    EXPECT_EQ(d.action, TPressAction::StepRadarMode);
    EXPECT_EQ(d.radarMode, c.to);
  }
}

TEST(TimePanelPress, ZonesExcludeTheirDividingLines) {
  TTimeControl realTime;
  TTimeControl simulation;
  simulation.SetMode(TTimeMode::Simulation, false);
  using A = TTimePanelAction;
  const struct {
    int x;
    int y;
    A inRealTime;
    A inSimulation;
  } cases[] = {
      {20, 8, A::ToggleMode, A::ToggleMode},
      {1, 1, A::ToggleMode, A::ToggleMode},
      {0, 8, A::None, A::None},
      {40, 8, A::None, A::None},
      {20, 16, A::None, A::None},
      {20, 0, A::None, A::None},
      {79, 8, A::None, A::PressAutoForward},
      {118, 8, A::None, A::None},
      {130, 8, A::ToggleScale, A::ToggleScale},
      {157, 8, A::ToggleScale, A::ToggleScale},
      {158, 8, A::None, A::None},
      {50, 17, A::ToggleView, A::ToggleView},
      {1, 80, A::ToggleView, A::ToggleView},
      {50, 81, A::None, A::None},
      {158, 40, A::None, A::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TimePanelPress(realTime, c.x, c.y), c.inRealTime) << c.x << ", " << c.y;
    EXPECT_EQ(TimePanelPress(simulation, c.x, c.y), c.inSimulation) << c.x << ", " << c.y;
  }
}

TEST(TimePanelPress, AutomaticZoneCyclesOffForwardBackwardOff) {
  TTimeControl time;
  time.SetMode(TTimeMode::Simulation, false);
  const int expected[] = {1, -1, 0, 1};
  for (int step : expected) {
    TTimePanelAction a = TimePanelPress(time, 79, 8);
    if (a == TTimePanelAction::PressAutoForward) time.ToggleAutoForward();
    if (a == TTimePanelAction::PressAutoBackward) time.ToggleAutoBackward();
    EXPECT_EQ(time.AutoStep, step);
  }
}

}  // namespace
}  // namespace zen
