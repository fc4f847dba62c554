// The rotator's path through a pass and its controller, flown over made-up passes through the
// north, the south and nearly overhead, in every azimuth range, with and without flipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "line_pass.h"
#include "station/pass_window.h"
#include "station/rotator_control.h"
#include "station/rotator_path.h"

namespace zen::station {
namespace {

using test::kSecondsPerDay;
using test::TLinePass;

// Between two commands of a pass that does not cross the stop the azimuth moves a few degrees;
// a swing across the stop is a move of hundreds.
constexpr double kJumpDeg = 30.0;
// Where a path must cross the stop it follows the satellite a little past it before swinging
// round, and meanwhile points at the stop.
constexpr double kAtTheStopDeg = 2.5;
constexpr double kExactDeg = 1e-6;

// [-180, 180)
double Wrap180(double deg) {
  double wrapped = std::fmod(deg + 180.0, 360.0);
  if (wrapped < 0.0) wrapped += 360.0;
  return wrapped - 180.0;
}

// How far a command points from the satellite on either axis. A flipped command points over the
// top: (az + 180, 180 - el) is the sky's (az, el). Below the horizon the rotator points at it.
double PointingErrorDeg(const TAim& command, bool flipped, const TLook& look) {
  const double skyAzDeg = flipped ? command.azDeg - 180.0 : command.azDeg;
  const double skyElDeg = flipped ? 180.0 - command.elDeg : command.elDeg;
  return std::max(std::fabs(Wrap180(skyAzDeg - look.azDeg)),
                  std::fabs(skyElDeg - std::max(look.elDeg, 0.0)));
}

bool InRange(const TRotatorGeometry& geometry, const TAim& aim) {
  return aim.azDeg >= LowestAzimuthDeg(geometry.range) &&
         aim.azDeg <= HighestAzimuthDeg(geometry.range) && aim.elDeg >= 0.0 &&
         aim.elDeg <= (geometry.flip ? 180.0 : 90.0);
}

double AimDistanceDeg(const TAim& a, const TAim& b) {
  return std::max(std::fabs(a.azDeg - b.azDeg), std::fabs(a.elDeg - b.elDeg));
}

std::vector<TAim> Track(const TLinePass& pass, double stepSeconds) {
  std::vector<TAim> track;
  const double riseJd = pass.RiseJd(0.0);
  const double setJd = pass.SetJd(0.0);
  for (double jd = riseJd; jd <= setJd; jd += stepSeconds / kSecondsPerDay) {
    const TLook look = pass.At(jd);
    track.push_back({look.azDeg, look.elDeg});
  }
  return track;
}

constexpr TAzimuthRange k360 = TAzimuthRange::From0To360;
constexpr TAzimuthRange k180 = TAzimuthRange::From180To180;
constexpr TAzimuthRange k450 = TAzimuthRange::From0To450;

struct TPathCase {
  const char* what;
  TLinePass pass;
  TRotatorGeometry geometry;
  bool flipped;   // the path must flip
  int crossings;  // swings across the stop that cannot be avoided
};

const TPathCase kPathCases[] = {
    {"north, stop at north", test::NorthPass(), {k360, false}, false, 1},
    {"north, stop at north, flipping", test::NorthPass(), {k360, true}, true, 0},
    {"north, stop at south", test::NorthPass(), {k180, false}, false, 0},
    {"north, 450 degrees", test::NorthPass(), {k450, false}, false, 0},
    {"north, 450 degrees, flipping kept for need", test::NorthPass(), {k450, true}, false, 0},
    {"south, stop at south", test::SouthPass(), {k180, false}, false, 1},
    {"south, stop at south, flipping", test::SouthPass(), {k180, true}, true, 0},
    {"south, stop at north", test::SouthPass(), {k360, false}, false, 0},
    {"overhead via north-west, stop at north", test::OverheadPass(), {k360, false}, false, 1},
    {"overhead via north-west, flipping", test::OverheadPass(), {k360, true}, true, 0},
    {"overhead via north-west, 450 degrees", test::OverheadPass(), {k450, false}, false, 0},
    {"overhead via north-west, stop at south", test::OverheadPass(), {k180, false}, false, 0},
};

TEST(PassPath, FollowsEveryPassInsideTheRangeAndCrossesTheStopOnlyWhenItMust) {
  for (const TPathCase& c : kPathCases) {
    TPassPath path = TPassPath::Choose(c.geometry, Track(c.pass, 3.0));
    EXPECT_EQ(path.Flipped(), c.flipped) << c.what;
    EXPECT_EQ(path.CrossesStop(), c.crossings > 0) << c.what;
    const double slackDeg = c.crossings > 0 ? kAtTheStopDeg : kExactDeg;
    int jumps = 0;
    int aims = 0;
    std::optional<TAim> previous;
    // Followed every second, not on the three-second samples it was chosen from.
    for (double jd = c.pass.RiseJd(0.0); jd <= c.pass.SetJd(0.0); jd += 1.0 / kSecondsPerDay) {
      const TLook look = c.pass.At(jd);
      const TAim aim = path.AimFor(look.azDeg, look.elDeg);
      ++aims;
      ASSERT_TRUE(InRange(c.geometry, aim)) << c.what << ": " << aim.azDeg << " " << aim.elDeg;
      EXPECT_LE(PointingErrorDeg(aim, c.flipped, look), slackDeg)
          << c.what << " at az " << look.azDeg;
      if (previous && std::fabs(aim.azDeg - previous->azDeg) > kJumpDeg) ++jumps;
      previous = aim;
    }
    EXPECT_EQ(jumps, c.crossings) << c.what;
    EXPECT_GT(aims, 300) << c.what;
  }
}

TEST(PassPath, OfTheWaysThatFitTakesTheOneNearestTheRotator) {
  // An eastern pass, 20 to 70 degrees: with 450 degrees it fits as 20..70 and as 380..430.
  std::vector<TAim> track;
  for (int i = 0; i <= 50; ++i) track.push_back({20.0 + i, 30.0 - std::fabs(i - 25.0)});
  const struct {
    const char* what;
    std::optional<TAim> rotator;
    double firstAzDeg;
  } cases[] = {
      {"unknown rotator: the lower", std::nullopt, 20.0},
      {"rotator at 400", TAim{400, 0}, 380.0},
      {"rotator at 10", TAim{10, 45}, 20.0},
      {"rotator at 250: 130 degrees from 380, 230 from 20", TAim{250, 0}, 380.0},
      {"rotator at 199: 181 from 380, 179 from 20", TAim{199, 0}, 20.0},
  };
  for (const auto& c : cases) {
    TPassPath path = TPassPath::Choose({k450, true}, track, c.rotator);
    EXPECT_FALSE(path.Flipped()) << c.what;
    const TAim first = path.AimFor(track.front().azDeg, track.front().elDeg);
    EXPECT_NEAR(first.azDeg, c.firstAzDeg, kExactDeg) << c.what;
    // And it goes on from there.
    EXPECT_NEAR(path.AimFor(track.back().azDeg, 0).azDeg, c.firstAzDeg + 50.0, kExactDeg) << c.what;
  }
  // Without a track the plain azimuth within the range.
  TPassPath plain({k180, false});
  EXPECT_NEAR(plain.AimFor(350.0, 10.0).azDeg, -10.0, kExactDeg);
}

TEST(PassPath, CommandsAreClampedIntoTheRange) {
  const double nan = std::nan("");
  const struct {
    TRotatorGeometry geometry;
    TAim in;
    TAim out;
  } cases[] = {
      {{k360, false}, {-5, -3}, {0, 0}},      {{k360, false}, {370, 95}, {360, 90}},
      {{k360, true}, {120, 185}, {120, 180}}, {{k180, false}, {-200, 45}, {-180, 45}},
      {{k180, false}, {190, 45}, {180, 45}},  {{k450, false}, {460, 100}, {450, 90}},
      {{k450, true}, {nan, nan}, {0, 0}},     {{k180, true}, {nan, 200}, {-180, 180}},
  };
  for (const auto& c : cases) {
    const TAim out = ClampToRange(c.geometry, c.in);
    EXPECT_EQ(out.azDeg, c.out.azDeg) << c.in.azDeg << " " << c.in.elDeg;
    EXPECT_EQ(out.elDeg, c.out.elDeg) << c.in.azDeg << " " << c.in.elDeg;
  }
}

// One tick of a flown controller: what it proposed (and was sent at once).
struct TTick {
  double jd;
  TRotatorMove move;
  bool flipped;  // the path's, while there is one
};

// Steps the controller every tickSeconds from fromJd to toJd as the program would: the pass window
// is searched again once the one in hand has set, and every proposal is sent.
std::vector<TTick> Fly(TRotatorControl& control, const TLookAt& lookAt, double fromJd, double toJd,
                       double tickSeconds) {
  std::vector<TTick> ticks;
  TPassWindow pass = FindPass(lookAt, fromJd, 0.0);
  for (int64_t k = 0;; ++k) {
    const double jd = fromJd + static_cast<double>(k) * tickSeconds / kSecondsPerDay;
    if (jd > toJd) break;
    if (pass.Valid() && jd > pass.setJd) pass = FindPass(lookAt, jd, 0.0);
    const TRotatorMove move = control.Step(jd, lookAt, pass);
    control.Sent(move, jd);
    ticks.push_back({jd, move, control.Path() != nullptr && control.Path()->Flipped()});
  }
  return ticks;
}

TEST(RotatorControl, PrepositionsFollowsWithinToleranceAndCycleAndParksOnce) {
  struct TControlCase {
    TPathCase path;
    double toleranceDeg;
    double cycleSeconds;
    double minElevationDeg;
    bool park;
    TAim parkAim;
  };
  const TControlCase cases[] = {
      {kPathCases[0], 1.0, 1.0, 0.0, true, {0, 90}},
      {kPathCases[1], 1.0, 1.0, 0.0, true, {0, 90}},
      {kPathCases[2], 0.5, 2.0, 0.0, false, {0, 90}},
      {kPathCases[3], 1.0, 1.0, 0.0, true, {500, 100}},
      {kPathCases[4], 1.0, 1.0, 10.0, false, {0, 90}},
      {kPathCases[5], 1.0, 1.0, 0.0, true, {180, 90}},
      {kPathCases[6], 1.0, 1.0, 0.0, true, {180, 45}},
      {kPathCases[9], 2.0, 3.0, 0.0, true, {0, 90}},
      {kPathCases[10], 1.0, 1.0, 5.0, true, {0, 90}},
  };
  for (const TControlCase& c : cases) {
    const char* what = c.path.what;
    const TLinePass& sky = c.path.pass;
    TRotatorSettings settings;
    settings.geometry = c.path.geometry;
    settings.toleranceDeg = c.toleranceDeg;
    settings.cycleSeconds = c.cycleSeconds;
    settings.minElevationDeg = c.minElevationDeg;
    settings.park = c.park;
    settings.parkAim = c.parkAim;
    TRotatorControl control(settings);
    const TLookAt lookAt = sky.LookAt();
    // The window the controller is given first.
    const double startJd = sky.RiseJd(0.0) - 300.0 / kSecondsPerDay;
    const TPassWindow pass = FindPass(lookAt, startJd, 0.0);
    ASSERT_TRUE(pass.Valid()) << what;
    const std::vector<TTick> ticks =
        Fly(control, lookAt, startJd, pass.setJd + 120.0 / kSecondsPerDay, 0.5);

    const double slackDeg = c.path.crossings > 0 ? kAtTheStopDeg : kExactDeg;
    std::vector<TTick> before;
    std::vector<TTick> during;
    std::vector<TTick> after;
    std::optional<TTick> last;
    int jumps = 0;
    for (const TTick& tick : ticks) {
      const TLook look = sky.At(tick.jd);
      if (tick.move.kind == TRotatorMove::TKind::None) {
        // Nothing sent though the cycle allowed it: the rotator is within tolerance.
        if (last && last->move.kind == TRotatorMove::TKind::Point && tick.jd >= pass.riseJd &&
            tick.jd <= pass.setJd && look.elDeg >= c.minElevationDeg &&
            (tick.jd - last->jd) * kSecondsPerDay >= c.cycleSeconds) {
          EXPECT_LE(PointingErrorDeg(last->move.aim, tick.flipped, look), c.toleranceDeg + slackDeg)
              << what << " held too long at " << tick.jd;
        }
        continue;
      }
      ASSERT_TRUE(InRange(settings.geometry, tick.move.aim)) << what;
      if (tick.jd < pass.riseJd) {
        before.push_back(tick);
      } else if (tick.jd <= pass.setJd) {
        during.push_back(tick);
        EXPECT_EQ(tick.move.kind, TRotatorMove::TKind::Point) << what;
        EXPECT_EQ(tick.flipped, c.path.flipped) << what;
        EXPECT_GE(look.elDeg, c.minElevationDeg) << what;
        EXPECT_LE(PointingErrorDeg(tick.move.aim, tick.flipped, look), slackDeg) << what;
        ASSERT_TRUE(last.has_value());
        EXPECT_GE((tick.jd - last->jd) * kSecondsPerDay, c.cycleSeconds - 1e-3) << what;
        EXPECT_GT(AimDistanceDeg(tick.move.aim, last->move.aim), c.toleranceDeg) << what;
        if (std::fabs(tick.move.aim.azDeg - last->move.aim.azDeg) > kJumpDeg) ++jumps;
      } else {
        after.push_back(tick);
      }
      last = tick;
    }
    // Pre-positioned once, within the lead, at the rise azimuth on the horizon.
    ASSERT_EQ(before.size(), 1u) << what;
    EXPECT_EQ(before[0].move.kind, TRotatorMove::TKind::Point) << what;
    EXPECT_GE(before[0].jd, pass.riseJd - settings.leadSeconds / kSecondsPerDay) << what;
    EXPECT_LT(before[0].jd, pass.riseJd - (settings.leadSeconds - 1.0) / kSecondsPerDay) << what;
    TLook rise = sky.At(pass.riseJd);
    rise.elDeg = 0.0;
    EXPECT_LE(PointingErrorDeg(before[0].move.aim, c.path.flipped, rise), kExactDeg) << what;

    EXPECT_EQ(jumps, c.path.crossings) << what;
    EXPECT_GT(during.size(), 20u) << what;
    if (c.park) {
      ASSERT_EQ(after.size(), 1u) << what;
      EXPECT_EQ(after[0].move.kind, TRotatorMove::TKind::Park) << what;
      const TAim parked = ClampToRange(settings.geometry, c.parkAim);
      EXPECT_EQ(after[0].move.aim.azDeg, parked.azDeg) << what;
      EXPECT_EQ(after[0].move.aim.elDeg, parked.elDeg) << what;
      EXPECT_LT(after[0].jd, pass.setJd + 1.0 / kSecondsPerDay) << what;
    } else {
      EXPECT_TRUE(after.empty()) << what;
    }
  }
}

TEST(RotatorControl, AMoveNotSentIsProposedAgainAndForgetResends) {
  const TLinePass sky = test::NorthPass();
  const TLookAt lookAt = sky.LookAt();
  TRotatorSettings settings;
  settings.geometry = {k360, true};
  settings.park = true;
  TRotatorControl control(settings);
  const TPassWindow pass = FindPass(lookAt, sky.RiseJd(0.0) - 0.01, 0.0);
  ASSERT_TRUE(pass.Valid());
  const double second = 1.0 / kSecondsPerDay;
  using TKind = TRotatorMove::TKind;

  EXPECT_EQ(control.Step(pass.riseJd - 200 * second, lookAt, pass).kind, TKind::None);
  const TRotatorMove ready = control.Step(pass.riseJd - 100 * second, lookAt, pass);
  ASSERT_EQ(ready.kind, TKind::Point);
  // Failed: proposed again, to the same place.
  const TRotatorMove again = control.Step(pass.riseJd - 99 * second, lookAt, pass);
  ASSERT_EQ(again.kind, TKind::Point);
  EXPECT_EQ(again.aim.azDeg, ready.aim.azDeg);
  EXPECT_EQ(again.aim.elDeg, ready.aim.elDeg);
  control.Sent(again, pass.riseJd - 99 * second);
  EXPECT_EQ(control.Step(pass.riseJd - 98 * second, lookAt, pass).kind, TKind::None);
  control.Forget();
  EXPECT_FALSE(control.LastSent());
  EXPECT_EQ(control.Step(pass.riseJd - 97 * second, lookAt, pass).kind, TKind::Point);

  // In the pass: sent, then within the cycle nothing, unless forgotten.
  const double midJd = 0.5 * (pass.riseJd + pass.setJd);
  const TRotatorMove follow = control.Step(midJd, lookAt, pass);
  ASSERT_EQ(follow.kind, TKind::Point);
  control.Sent(follow, midJd);
  EXPECT_EQ(control.Step(midJd + 0.5 * second, lookAt, pass).kind, TKind::None);
  control.Forget();
  EXPECT_EQ(control.Step(midJd + 0.6 * second, lookAt, pass).kind, TKind::Point);
  control.Sent(control.Step(midJd + 0.7 * second, lookAt, pass), midJd + 0.7 * second);
  // The clock set back half a minute: no waiting for it to catch up with the last command.
  EXPECT_EQ(control.Step(midJd - 30 * second, lookAt, pass).kind, TKind::Point);

  // After the set: park until it went out, then nothing.
  const double afterJd = pass.setJd + 10 * second;
  EXPECT_EQ(control.Step(afterJd, lookAt, pass).kind, TKind::Park);
  const TRotatorMove park = control.Step(afterJd + second, lookAt, TPassWindow{});
  ASSERT_EQ(park.kind, TKind::Park);
  control.Sent(park, afterJd + second);
  EXPECT_EQ(control.Step(afterJd + 2 * second, lookAt, pass).kind, TKind::None);
  EXPECT_EQ(control.Step(afterJd + 600 * second, lookAt, TPassWindow{}).kind, TKind::None);
}

TEST(RotatorControl, DoesNotParkWhenTheNextPassIsWithinItsLead) {
  const double second = 1.0 / kSecondsPerDay;
  for (const double gapSeconds : {60.0, 600.0}) {
    const TLinePass first = test::NorthPass();
    TLinePass next = test::SouthPass();
    next.closestJd = first.SetJd(0.0) + gapSeconds * second + next.HalfPassDays(0.0);
    const TLookAt lookAt = [&](double jd) {
      const TLook a = first.At(jd);
      const TLook b = next.At(jd);
      return a.elDeg >= b.elDeg ? a : b;
    };
    const TPassWindow firstWindow = FindPass(lookAt, first.RiseJd(0.0) - 60 * second, 0.0);
    const TPassWindow nextWindow = FindPass(lookAt, firstWindow.setJd + second, 0.0);
    ASSERT_NEAR(nextWindow.riseJd, next.RiseJd(0.0), 1.01 * second);

    TRotatorSettings settings;
    settings.geometry = {k360, true};
    settings.park = true;
    settings.leadSeconds = 120;
    TRotatorControl control(settings);
    const std::vector<TTick> ticks = Fly(control, lookAt, firstWindow.riseJd - 60 * second,
                                         nextWindow.riseJd + 60 * second, 1.0);
    int parks = 0;
    int waits = 0;
    for (const TTick& tick : ticks) {
      if (tick.move.kind == TRotatorMove::TKind::Park) {
        ++parks;
        EXPECT_GT(tick.jd, firstWindow.setJd);
      }
      if (tick.move.kind == TRotatorMove::TKind::Point && tick.jd > firstWindow.setJd &&
          tick.jd < nextWindow.riseJd) {
        ++waits;
        // Waiting for the next pass at its rise on the horizon, within the lead. The controller's
        // window was searched from another moment, so its rise may differ by a second, in which
        // the azimuth moves less than 0.03 degrees.
        TLook rise = next.At(nextWindow.riseJd);
        rise.elDeg = 0.0;
        EXPECT_LE(PointingErrorDeg(tick.move.aim, tick.flipped, rise), 0.03) << gapSeconds;
        EXPECT_GE(tick.jd, nextWindow.riseJd - 120 * second) << gapSeconds;
      }
    }
    EXPECT_EQ(parks, gapSeconds > 120.0 ? 1 : 0) << gapSeconds;
    EXPECT_EQ(waits, 1) << gapSeconds;
  }
}

}  // namespace
}  // namespace zen::station
