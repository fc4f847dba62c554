// The bounds that let a walk leave samples out, checked second by second on real satellites:
// a satellite said to stay below, above, in the dark or in sunlight for some seconds does so.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/propagator.h"
#include "core/sun.h"
#include "prediction/motion_bounds.h"
#include "prediction/pass_walk.h"
#include "search_fixture.h"

namespace zen {
namespace {

TEST(MotionBounds, HoldAtEverySecondTheyCover) {
  const auto sets = test::ReferenceSets("visual_2026-02-11.tle");
  ZEN_ASSERT_LOADED(sets);
  const TGeodetic observer = ObserverFromSite(53.0217, 18.6107, 65.0);
  const double startUtc = DateRecToJulian(TDateRec{2026, 2, 11, 0, 0, 0, 0});
  constexpr int kSeconds = 4 * 3600;
  constexpr int kWindow = 1800;  // the part of a bound that is checked
  std::vector<TMoment> moments;
  for (int s = 0; s < kSeconds + kWindow; ++s) {
    moments.push_back(MomentAt(observer, startUtc + s / 86400.0));
  }
  double coveredSeconds = 0.0;
  for (size_t i = 0; i < sets.size(); i += 15) {
    SCOPED_TRACE(sets[i].name);
    TPropagator propagator;
    propagator.LoadElements(sets[i].set.elements);
    ASSERT_FALSE(propagator.CurrentElements.UseDeepSpace);
    struct TSecond {
      double sine = 0.0;
      double rangeKm = 0.0;
      double elevationDeg = 0.0;
      bool sunlit = false;
      TVector pos;
      TVector vel;
    };
    std::vector<TSecond> truth;
    for (const TMoment& moment : moments) {
      TSecond t;
      propagator.Propagate(t.pos, t.vel, moment.jd);
      TPropagator::ScaleStateToKm(t.pos, t.vel);
      t.sine = ElevationSineInFrame(moment.frame, t.pos, t.rangeKm);
      t.elevationDeg = Degrees(LookAngles(t.pos, t.vel, observer, moment.jd).second);
      t.sunlit = EclipseState(t.pos, moment.sun) == kSunlit;
      truth.push_back(t);
    }
    for (int s = 0; s < kSeconds; s += 7) {
      const TSecond& now = truth[static_cast<size_t>(s)];
      const double speedKmS = SpeedBoundKmS(now.pos, now.vel);
      ASSERT_GT(speedKmS, now.vel.w);
      const double dark = SecondsSurelyDark(now.pos, moments[static_cast<size_t>(s)].sun, speedKmS);
      EXPECT_TRUE(dark == 0.0 || !now.sunlit);
      // Sunlit, also with room for an uncertain state (a fiftieth of a degree of the angle to
      // the shadow's edge taken off).
      const double sunlit = SecondsSurelySunlit(now.pos, moments[static_cast<size_t>(s)].sun, speedKmS);
      const double sunlitUncertain = SecondsSurelySunlit(
          now.pos, moments[static_cast<size_t>(s)].sun, speedKmS, Radians(0.02));
      EXPECT_TRUE(sunlit == 0.0 || now.sunlit);
      EXPECT_TRUE(sunlitUncertain == 0.0 || now.sunlit);
      for (int k = 1; k <= kWindow; ++k) {
        const bool later = truth[static_cast<size_t>(s + k)].sunlit;
        ASSERT_TRUE(k > std::max(sunlit, sunlitUncertain) || later) << s << " + " << k;
      }
      coveredSeconds += sunlit;
      for (double limitDeg : {0.0, 10.0}) {
        const double below = SecondsSurelyBelow(now.sine, now.rangeKm, speedKmS, limitDeg);
        const double above = SecondsSurelyAbove(now.sine, now.rangeKm, speedKmS, limitDeg);
        for (int k = 1; k <= kWindow; ++k) {
          const TSecond& later = truth[static_cast<size_t>(s + k)];
          ASSERT_TRUE(k > below || later.elevationDeg < limitDeg) << s << " + " << k;
          ASSERT_TRUE(k > above || later.elevationDeg > limitDeg) << s << " + " << k;
          ASSERT_TRUE(k > dark || !later.sunlit) << s << " + " << k;
        }
        coveredSeconds += below + above;
      }
      coveredSeconds += dark;
    }
  }
  // The bounds leave out a good part of the time, or they would be of no use.
  EXPECT_GT(coveredSeconds, 2.0e6);
}

}  // namespace
}  // namespace zen
