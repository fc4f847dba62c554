// The compute cycle: live states, counts, radar state, day/night boundary and ground track.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/elements.h"
#include "core/sdp4_batch.h"
#include "core/sun.h"
#include "cycle_reference.h"
#include "test_support.h"
#include "tracking/compute_cycle.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

constexpr double kSameMetre = 1e-3;  // km
constexpr double kSecond = 1.0 / 86400.0;

// The two built-in sets and a copy of the station set that has long decayed by 2026.
class ComputeCycle : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zen_cycle_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
    std::ofstream out(dir_ / "sats.tle", std::ios::binary);
    for (const TNamedElements& s : SelfTestSatellites) {
      out << s.name << "\n" << s.line1 << "\n" << s.line2 << "\n";
    }
    out.close();
    list_.TleFileName = (dir_ / "sats.tle").string();
    list_.zapodawajSatelity(dir_);
    site_ = ObserverFromSite(52.23, 21.01, 110.0);
    epochIss_ = JulianDateOfEpoch(1352.14768052);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void TrackAll() {
    TSelection none;
    list_.AddTr(true, false, 0, none);
  }

  fs::path dir_;
  TSatelliteList list_;
  TTimeControl time_;
  TComputeCycle cycle_;
  TShowOptions options_;
  TGeodetic site_;
  double epochIss_ = 0.0;
};

TEST_F(ComputeCycle, WithNothingTrackedOnlyTheSunIsComputed) {
  for (TRadarMode mode : {TRadarMode::On, TRadarMode::Off, TRadarMode::Auto}) {
    options_.radarMode = mode;
    cycle_.LiczWszo(epochIss_, site_, list_, time_, options_);
    EXPECT_EQ(cycle_.VisibleCount, 0);
    EXPECT_EQ(cycle_.RadarShown, mode == TRadarMode::On);
  }
  EXPECT_EQ(cycle_.SunNow.moment, epochIss_);
  EXPECT_NEAR(cycle_.SunNow.position.w, 1.47e8, 1e6);  // mid December
  EXPECT_EQ(cycle_.ActiveTrack[0].time, 0.0);          // no track without an active satellite
  TVector sun = SunPosition(epochIss_);
  EXPECT_EQ(cycle_.SunNow.position.x, sun.x);
  EXPECT_GT(cycle_.SunNow.subLatitude, -23.5);
  EXPECT_LT(cycle_.SunNow.subLatitude, -23.0);
}

TEST(RadarState, ElevationExactlyZeroCountsAsVisible) {
  EXPECT_TRUE(AboveHorizon(0.0));
  EXPECT_FALSE(AboveHorizon(-1e-12));
  EXPECT_FALSE(RadarShownFor(TRadarMode::Auto, 0));
  EXPECT_TRUE(RadarShownFor(TRadarMode::Auto, 1));
  EXPECT_FALSE(RadarShownFor(TRadarMode::Off, 5));
  EXPECT_TRUE(RadarShownFor(TRadarMode::On, 0));
  EXPECT_EQ(RadarModeFromIndex(7), TRadarMode::On);
  EXPECT_EQ(RadarModeFromIndex(1), TRadarMode::Off);
  EXPECT_EQ(RadarModeFromIndex(2), TRadarMode::Auto);
}

TEST_F(ComputeCycle, CachedModelsGiveTheNumbersOfAFreshLoad) {
  TrackAll();
  // A deep-space set's numbers hang on the moments its model was called at since the cycle
  // laid it out (the integrator's point, the periodics reused within half an hour): its
  // reference is a lane and a propagator loaded once and fed the same moments.
  const size_t positions = static_cast<size_t>(list_.TrackedCount) + 1;
  std::vector<TPropagator> sinceLayout(positions);
  TDeepSpaceBatch deep;
  deep.Resize(positions);
  for (size_t i = 1; i < positions; ++i) {
    sinceLayout[i].LoadElements(list_.ElementsOf(static_cast<int>(i)).elements);
    sinceLayout[i].PrepareModel();
    if (TDeepSpaceBatch::Fits(sinceLayout[i])) deep.SetLane(i, sinceLayout[i]);
  }
  int deepSpace = 0;
  for (double minutes : {0.0, 17.0, 360.0, -45.5, 1440.0}) {
    double t = epochIss_ + minutes / 1440.0;
    cycle_.LiczWszo(t, site_, list_, time_, options_);
    for (int i = 1; i <= list_.TrackedCount; ++i) {
      TPropagator fresh;
      fresh.LoadElements(list_.ElementsOf(i).elements);
      TPropagator& one = TDeepSpaceBatch::Fits(sinceLayout[static_cast<size_t>(i)])
                             ? sinceLayout[static_cast<size_t>(i)]
                             : fresh;
      TVector pos;
      TVector vel;
      if (&one == &fresh) {
        ASSERT_EQ(test::CycleWayState(fresh, t, pos, vel), TPropagationStatus::Ok);
      } else {
        ++deepSpace;
        deep.PropagateVector(static_cast<size_t>(i), static_cast<size_t>(i) + 1, t);
        ASSERT_EQ(deep.Result(static_cast<size_t>(i), pos, vel), TPropagationStatus::Ok);
      }
      TVector onePos;
      TVector oneVel;
      ASSERT_EQ(one.Propagate(onePos, oneVel, t), TPropagationStatus::Ok);
      EXPECT_TRUE(test::WithinMillimetre(pos, vel, onePos, oneVel));
      TPropagator::ScaleStateToKm(pos, vel);
      const TSatState& s = list_.TrackedSats[static_cast<size_t>(i)];
      ASSERT_TRUE(s.computed);
      EXPECT_EQ(s.position.x, pos.x) << list_.NameOf(i) << " at " << minutes;
      EXPECT_EQ(s.position.y, pos.y);
      EXPECT_EQ(s.velocity.z, vel.z);
      const test::TCycleSight sight = test::CycleWaySight(pos, vel, site_, t);
      EXPECT_TRUE(test::NearOneSatelliteSight(sight, pos, vel, site_, t));
      EXPECT_EQ(s.latitude, Degrees(sight.geodetic.latitude));
      EXPECT_EQ(s.elevation, Degrees(sight.lookAngles.second));
    }
  }
  EXPECT_GT(deepSpace, 0);
}

TEST_F(ComputeCycle, StatesAreStoredInDegreesWithFoldedLongitude) {
  TrackAll();
  cycle_.LiczWszo(epochIss_, site_, list_, time_, options_);
  for (int i = 1; i <= list_.TrackedCount; ++i) {
    const TSatState& s = list_.TrackedSats[static_cast<size_t>(i)];
    EXPECT_GT(s.longitude, -180.0);
    EXPECT_LE(s.longitude, 180.0);
    EXPECT_NEAR(s.azimuth, Degrees(s.lookAngles.first), 1e-12);
    EXPECT_NEAR(s.declination, Degrees(s.raDec.second), 1e-12);
    EXPECT_LE(s.eclipse, 2);
  }
  EXPECT_EQ(FoldLongitude(181.0), -179.0);
  EXPECT_EQ(FoldLongitude(180.0), 180.0);
  EXPECT_EQ(FoldLongitude(-179.5), -179.5);
}

TEST_F(ComputeCycle, VisibleCountsMatchTheStates) {
  TrackAll();
  // Scan a day: whenever a satellite is above the horizon it is counted, and only then.
  int everVisible = 0;
  for (int step = 0; step < 288; ++step) {
    double t = epochIss_ + step * 5.0 / 1440.0;
    cycle_.LiczWszo(t, site_, list_, time_, options_);
    int visible = 0;
    int eclipsed = 0;
    for (int i = 1; i <= list_.TrackedCount; ++i) {
      const TSatState& s = list_.TrackedSats[static_cast<size_t>(i)];
      if (s.elevation >= 0.0) ++visible;
      if (s.elevation >= 0.0 && s.eclipse == 2) ++eclipsed;
    }
    ASSERT_EQ(cycle_.VisibleCount, visible);
    ASSERT_EQ(cycle_.VisibleEclipsedCount, eclipsed);
    ASSERT_EQ(cycle_.RadarShown, visible > 0);  // "Auto" by default
    everVisible += visible;
  }
  EXPECT_GT(everVisible, 0);
}

TEST_F(ComputeCycle, BrokenDownModelIsKeptButNotComputedOrCounted) {
  TrackAll();
  options_.radarMode = TRadarMode::Auto;
  // Twenty-five years after its epoch the station's set has decayed in the model.
  double t = epochIss_ + 25 * 365.25;
  cycle_.LiczWszo(t, site_, list_, time_, options_);
  EXPECT_EQ(list_.TrackedCount, 2);
  EXPECT_FALSE(list_.TrackedSats[2].computed);
  EXPECT_TRUE(std::isfinite(list_.TrackedSats[2].latitude));
  EXPECT_LE(cycle_.VisibleCount, 1);
}

TEST_F(ComputeCycle, EndOfTrackIsTheLivePosition) {
  TrackAll();
  list_.ActiveSat = 2;
  struct Case {
    TSatOnTrack choice;
    int liveSample;
  };
  for (Case c :
       {Case{TSatOnTrack::Begin, 0}, Case{TSatOnTrack::Middle, 50}, Case{TSatOnTrack::End, 100}}) {
    options_.satOnTrack = c.choice;
    cycle_.LiczWszo(epochIss_ + 0.3, site_, list_, time_, options_);
    const TTrackSample& live = cycle_.ActiveTrack[static_cast<size_t>(c.liveSample)];
    const TSatState& s = list_.TrackedSats[2];
    EXPECT_NEAR(live.position.x, s.position.x, kSameMetre);
    EXPECT_NEAR(live.position.y, s.position.y, kSameMetre);
    EXPECT_NEAR(live.position.z, s.position.z, kSameMetre);
    EXPECT_NEAR(live.time, epochIss_ + 0.3, 1e-9);
  }
  // One period in 100 equal steps.
  double period = list_.TrackedSats[2].catalogIndex == 2 ? 1.0 / 15.59935715 : 0.0;
  EXPECT_NEAR(cycle_.ActiveTrack[100].time - cycle_.ActiveTrack[0].time, period, 1e-9);
  EXPECT_NEAR(cycle_.ActiveTrack[1].time - cycle_.ActiveTrack[0].time, period / 100, 1e-9);
  // The period units follow the active satellite.
  EXPECT_NEAR(time_.UnitLength[4], period, 1e-15);
  EXPECT_NEAR(time_.UnitLength[5], period / 100, 1e-15);
  EXPECT_EQ(cycle_.ActiveSnapshot.name, "ISS");
}

TEST_F(ComputeCycle, TrackKeepsItsContentWhileNoTrackOptionIsOn) {
  TrackAll();
  list_.ActiveSat = 1;
  cycle_.LiczWszo(epochIss_, site_, list_, time_, options_);
  double first = cycle_.ActiveTrack[0].time;
  options_.trackLine = options_.trackMarkers = options_.radarTrack = options_.radarMarkers = false;
  cycle_.LiczWszo(epochIss_ + 0.5, site_, list_, time_, options_);
  EXPECT_EQ(cycle_.ActiveTrack[0].time, first);
  options_.radarMarkers = true;
  cycle_.LiczWszo(epochIss_ + 0.5, site_, list_, time_, options_);
  EXPECT_NE(cycle_.ActiveTrack[0].time, first);
}

TEST_F(ComputeCycle, TerminatorIsRefreshedOncePerMinuteOfComputedTime) {
  double t = epochIss_;
  int refreshes = 0;
  double last = cycle_.TerminatorTime;
  for (int c = 0; c < 10; ++c) {
    cycle_.LiczWszo(t, site_, list_, time_, options_);
    if (cycle_.TerminatorTime != last) ++refreshes;
    last = cycle_.TerminatorTime;
    t += 30 * kSecond;
  }
  EXPECT_EQ(refreshes, 5);
  // The curve closes on itself and lies 90 degrees from the sub-solar point.
  const TLatLon& p0 = cycle_.TerminatorPoints[0];
  const TLatLon& p120 = cycle_.TerminatorPoints[120];
  EXPECT_NEAR(p0.latitude, p120.latitude, 1e-9);
  EXPECT_NEAR(std::fmod(p0.longitude - p120.longitude + 720.0, 360.0), 0.0, 1e-9);
  options_.solarIllumination = false;
  cycle_.LiczWszo(t + 1.0, site_, list_, time_, options_);
  EXPECT_EQ(cycle_.TerminatorTime, last);
}

struct SkokCase {
  double distance, bearing, lon1, lat1, lat2, lon2;
};

TEST(Skok, JumpsAlongGreatCircles) {
  const SkokCase cases[] = {
      {90, 0, 10, 0, 90, 10},      // north to the pole
      {90, 90, 10, 0, 0, 100},     // east along the equator
      {90, 180, 0, 0, -90, 0},     // south to the pole
      {45, 270, 0, 0, 0, -45},     // west
      {120, 90, 10, 0, 0, 100},    // distances above 90 are 90
      {10, 270, -175, 0, 0, 175},  // crossing -180 folds once
  };
  for (const SkokCase& c : cases) {
    double lat = 0;
    double lon = 0;
    Skok(lat, lon, c.distance, c.bearing, c.lon1, c.lat1);
    EXPECT_NEAR(lat, c.lat2, 1e-6) << c.distance << " " << c.bearing;
    if (std::fabs(c.lat2) < 89.0) {
      EXPECT_NEAR(lon, c.lon2, 1e-6) << c.distance << " " << c.bearing;
    }
  }
  double latA = 0, lonA = 0, latB = 0, lonB = 0;
  Skok(latA, lonA, 30, 135, 20, 90);
  Skok(latB, lonB, 30, 135, 20, 89.999);
  EXPECT_EQ(latA, latB);
  EXPECT_EQ(lonA, lonB);
  Skok(latA, lonA, 30, 45, 20, -95);
  Skok(latB, lonB, 30, 45, 20, -89.999);
  EXPECT_EQ(latA, latB);
}

}  // namespace
}  // namespace zen

#include "tracking/site.h"

namespace zen {
namespace {

struct SignCase {
  const char* name;
  const char* sign;
  const char* expected;
};

TEST(Site, EmptySignComesFromTheName) {
  const SignCase cases[] = {
      {"Warsaw, Poland", "", "Warsaw"},
      {"Warsaw", "", "Warsaw"},
      {", nowhere", "", ", nowhere"},
      {"Warsaw, Poland", "WAW", "WAW"},
  };
  for (const SignCase& c : cases) {
    TSite s;
    s.name = c.name;
    s.sign = c.sign;
    UstawLokacje(s);
    EXPECT_EQ(s.sign, c.expected) << c.name;
  }
}

TEST(Site, ObserverRecordInRadiansAndKilometres) {
  TSite s = DefaultSite();
  s.longitude = -75.0;
  s.latitude = 40.0;
  s.altitude = 1250.0;
  TGeodetic g = UstawLokacje(s);
  EXPECT_NEAR(g.longitude, Radians(285.0), 1e-12);
  EXPECT_NEAR(g.latitude, Radians(40.0), 1e-12);
  EXPECT_NEAR(g.altitude, 1.25, 1e-12);
  EXPECT_EQ(DefaultSite().locator, "JO93ha");
}

}  // namespace
}  // namespace zen
