// The rotator's path and its controller, flown over made-up passes through the north, the south
// and nearly overhead, in every azimuth range, with and without flipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "core/numeric.h"
#include "station/pass_window.h"
#include "station/rotator_control.h"

namespace zen::station {
namespace {

constexpr double kSecondDays = 1.0 / 86400.0;
using TKind = TRotatorMove::TKind;
constexpr TAzimuthRange k360 = TAzimuthRange::From0To360;
constexpr TAzimuthRange k180 = TAzimuthRange::From180To180;
constexpr TAzimuthRange k450 = TAzimuthRange::From0To450;

// A satellite flying a straight line at a constant height and speed past the site, over an earth
// whose surface drops away as r^2 / (2 R) with the distance r (the first term of a sphere). Seen
// from above it moves round the site clockwise; anticlockwise at a negative speed.
struct TLinePass {
  double closestBearingDeg = 0;  // from the site to the nearest point of the track
  // Half the distance to the horizon, sqrt(2 h R), where the track's half-length is tan 60 times
  // this: a pass from azimuth 300 to 60.
  double closestKm = 0.5 * std::sqrt(2.0 * 800.0 * 6371.0);
  double heightKm = 800;
  double speedKmS = 7.0;
  double closestJd = 2461200.5;  // the moment of the nearest point

  TLook At(double jd) const {
    const double bearing = Radians(closestBearingDeg);
    const double alongKm = speedKmS * (jd - closestJd) / kSecondDays;  // heading bearing + 90
    const double eastKm = closestKm * std::sin(bearing) + alongKm * std::cos(bearing);
    const double northKm = closestKm * std::cos(bearing) - alongKm * std::sin(bearing);
    const double groundKm = std::hypot(eastKm, northKm);
    const double upKm = heightKm - groundKm * groundKm / (2.0 * 6371.0);
    const double azDeg = Degrees(std::atan2(eastKm, northKm));
    // The range rate is left 0: nothing here reads it.
    return {true, azDeg < 0.0 ? azDeg + 360.0 : azDeg, Degrees(std::atan2(upKm, groundKm)),
            std::hypot(groundKm, upKm)};
  }
  TLookAt LookAt() const {
    return [pass = *this](double jd) { return pass.At(jd); };
  }
};
// Through the north from azimuth 300 over 0 to 60, through the south from 120 over 180 to 240,
// and up to 83 degrees from the north-east to the south-west, through the north-west near the top.
const TLinePass kNorth{}, kSouth{.closestBearingDeg = 180};
const TLinePass kOverhead{
    .closestBearingDeg = 315, .closestKm = 60, .heightKm = 500, .speedKmS = -7.0};

// How far a command points from the satellite on either axis. A flipped command points over the
// top: (az + 180, 180 - el) is the sky's (az, el). Below the horizon the rotator points at it.
double PointingErrorDeg(const TAim& command, bool flipped, TLook look) {
  const double skyAzDeg = flipped ? command.azDeg - 180.0 : command.azDeg;
  const double skyElDeg = flipped ? 180.0 - command.elDeg : command.elDeg;
  return std::max(std::fabs(std::remainder(skyAzDeg - look.azDeg, 360.0)),
                  std::fabs(skyElDeg - std::max(look.elDeg, 0.0)));
}

TEST(RotatorControl, PrepositionsFollowsInsideTheRangeAndParksCrossingTheStopOnlyWhenItMust) {
  const struct {
    const char* what;
    TLinePass sky;
    TRotatorGeometry geometry;
    bool flipped;   // the path must flip
    int crossings;  // swings across the stop that cannot be avoided
  } cases[] = {
      {"north, stop at north", kNorth, {k360, false}, false, 1},
      {"north, stop at north, flipping", kNorth, {k360, true}, true, 0},
      {"north, stop at south", kNorth, {k180, false}, false, 0},
      {"north, 450 degrees", kNorth, {k450, false}, false, 0},
      {"north, 450 degrees, no need to flip", kNorth, {k450, true}, false, 0},
      {"south, stop at south", kSouth, {k180, false}, false, 1},
      {"south, stop at south, flipping", kSouth, {k180, true}, true, 0},
      {"south, stop at north", kSouth, {k360, false}, false, 0},
      {"overhead through north-west, stop at north", kOverhead, {k360, false}, false, 1},
      {"overhead, flipping", kOverhead, {k360, true}, true, 0},
      {"overhead, 450 degrees", kOverhead, {k450, false}, false, 0},
      {"overhead, stop at south", kOverhead, {k180, false}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Tolerance, cycle and lowest elevation change from row to row, so that each pass meets
    // several of them; every other row parks, at an azimuth outside every range, which one
    // whole turn brings in: -200 is 160 and 500 is 140 in each of them.
    const auto index = &c - cases, row = index % 3;
    const bool low = index % 4 == 0;
    const TRotatorSettings settings{.minElevationDeg = std::array{0.0, 5.0, 10.0}[row],
                                    .toleranceDeg = std::array{1.0, 0.5, 2.0}[row],
                                    .cycleSeconds = std::array{1.0, 2.0, 3.0}[row],
                                    .geometry = c.geometry,
                                    .park = index % 2 == 0,
                                    .parkAim = low ? TAim{-200, 30} : TAim{500, 10}};
    const double lowestAzDeg = c.geometry.range == k180 ? -180.0 : 0.0;
    const double highestAzDeg = lowestAzDeg + (c.geometry.range == k450 ? 450.0 : 360.0);
    const double highestElDeg = c.geometry.flip ? 180.0 : 90.0;
    // Where the path must cross the stop it follows the satellite a little past it before
    // swinging round, and meanwhile points at the stop.
    const double slackDeg = c.crossings > 0 ? 2.5 : 1e-6;
    TRotatorControl control(settings);
    const TLookAt lookAt = c.sky.LookAt();
    const TPassWindow pass = FindPass(lookAt, c.sky.closestJd - 0.02, 0.0);
    ASSERT_TRUE(pass.Valid());
    std::optional<std::pair<double, TRotatorMove>> last;
    int before = 0, during = 0, after = 0, jumps = 0;
    const double startJd = pass.riseJd - 300 * kSecondDays, endJd = pass.setJd + 120 * kSecondDays;
    for (double k = 0, jd = startJd; jd <= endJd; jd = startJd + ++k * 0.5 * kSecondDays) {
      const TRotatorMove move = control.Step(jd, lookAt, pass);  // and sent at once
      control.Sent(move, jd);
      const TLook look = c.sky.At(jd);
      const bool up = jd >= pass.riseJd && jd <= pass.setJd;
      const TAim& aim = move.aim;
      if (move.kind == TKind::None) {
        // Nothing sent though the cycle allowed it: the rotator must be within tolerance.
        if (up && last && last->second.kind == TKind::Point &&
            look.elDeg >= settings.minElevationDeg &&
            jd - last->first >= settings.cycleSeconds * kSecondDays) {
          EXPECT_LE(PointingErrorDeg(last->second.aim, c.flipped, look),
                    settings.toleranceDeg + slackDeg)
              << "held too long at " << jd;
        }
        continue;
      }
      ASSERT_TRUE(aim.azDeg >= lowestAzDeg && aim.azDeg <= highestAzDeg && aim.elDeg >= 0.0 &&
                  aim.elDeg <= highestElDeg)
          << aim.azDeg << " " << aim.elDeg;
      if (up) {
        ++during;
        EXPECT_EQ(move.kind, TKind::Point);
        EXPECT_GE(look.elDeg, settings.minElevationDeg);
        EXPECT_LE(PointingErrorDeg(aim, c.flipped, look), slackDeg) << jd;
        ASSERT_TRUE(last);
        EXPECT_GE((jd - last->first) / kSecondDays, settings.cycleSeconds - 1e-3);
        const double movedAzDeg = std::fabs(aim.azDeg - last->second.aim.azDeg);
        EXPECT_GT(std::max(movedAzDeg, std::fabs(aim.elDeg - last->second.aim.elDeg)),
                  settings.toleranceDeg);
        // A move of hundreds of degrees, not the few between two commands: across the stop.
        if (movedAzDeg > 30.0) ++jumps;
      } else if (jd < pass.riseJd) {
        // Pre-positioned within the lead at the rise azimuth on the horizon.
        ++before;
        EXPECT_EQ(move.kind, TKind::Point);
        EXPECT_GE(jd, pass.riseJd - settings.leadSeconds * kSecondDays);
        EXPECT_LT(jd, pass.riseJd - (settings.leadSeconds - 1) * kSecondDays);
        EXPECT_LE(PointingErrorDeg(aim, c.flipped, {.azDeg = c.sky.At(pass.riseJd).azDeg}), 1e-6);
      } else {
        // Parked within a second of the set, at the park aim brought into the range.
        ++after;
        EXPECT_EQ(move.kind, TKind::Park);
        EXPECT_EQ(aim.azDeg, low ? 160.0 : 140.0);
        EXPECT_EQ(aim.elDeg, low ? 30.0 : 10.0);
        EXPECT_LT(jd, pass.setJd + kSecondDays);
      }
      last = {jd, move};
    }
    EXPECT_EQ(jumps, c.crossings);
    EXPECT_GT(during, 20);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, settings.park ? 1 : 0);
  }
}

TEST(PassPath, OfTheWaysThatFitTakesTheOneNearestTheRotator) {
  // An eastern pass, 20 to 70 degrees: with 450 degrees it fits as 20..70 and as 380..430.
  std::vector<TAim> track;
  for (int i = 0; i <= 50; ++i) track.push_back({20.0 + i, 30.0 - std::fabs(i - 25.0)});
  // The rotator at 250 is 130 degrees from 380 and 230 from 20; at 199, 181 from 380, 179 from 20.
  const std::pair<std::optional<TAim>, double> ways[] = {
      {{}, 20}, {TAim{10, 45}, 20}, {TAim{400, 0}, 380}, {TAim{250, 0}, 380}, {TAim{199, 0}, 20}};
  for (const auto& [rotator, firstAzDeg] : ways) {
    TPassPath path = TPassPath::Choose({k450, true}, track, rotator);
    EXPECT_FALSE(path.Flipped()) << firstAzDeg;
    EXPECT_NEAR(path.AimFor(20, 5).azDeg, firstAzDeg, 1e-6);
    EXPECT_NEAR(path.AimFor(70, 0).azDeg, firstAzDeg + 50.0, 1e-6);  // and on from there
  }
  // Without a track the plain azimuth within the range; a look that is not a number is held.
  TPassPath plain({k180, false});
  EXPECT_NEAR(plain.AimFor(350.0, 10.0).azDeg, -10.0, 1e-6);
  EXPECT_NEAR(plain.AimFor(std::nan(""), 10.0).azDeg, -10.0, 1e-6);
  const TAim clamped = ClampToRange({k450, true}, {std::nan(""), std::nan("")});
  EXPECT_TRUE(clamped.azDeg == 0.0 && clamped.elDeg == 0.0);
}

TEST(IntoRange, BringsAnyAzimuthInByWholeTurnsAndRefusesOnlyAnElevationBeyondReach) {
  const double nan = std::nan("");
  const std::optional<double> unknown;
  // clang-format off
  const struct {
    TRotatorGeometry geometry;
    TAim aim;
    std::optional<double> nearAzDeg;  // where the rotator was last known
    std::optional<double> azDeg;      // the position taken; none: out of reach
  } cases[] = {
      // West is -90 with the stop at south, not the stop itself; east of north is 330 with 450
      // degrees; a turn and a bit is 40.
      {{k180, false}, {270, 10}, unknown, -90},
      {{k360, false}, {-90, 10}, unknown, 270},
      {{k450, false}, {-30, 10}, unknown, 330},
      {{k360, false}, {400, 10}, unknown, 40},
      {{k180, false}, {-200, 10}, unknown, 160},
      {{k180, false}, {450, 10}, unknown, 90},
      {{k360, false}, {123.4, 10}, unknown, 123.4},
      // Two turns fit: the one nearer the rotator, else the azimuth as given, else the lowest.
      {{k450, false}, {30, 10}, 400.0, 390},
      {{k450, false}, {30, 10}, 100.0, 30},
      {{k450, false}, {60, 10}, 250.0, 420},
      {{k450, false}, {60, 10}, 230.0, 60},
      {{k450, false}, {420, 10}, unknown, 420},
      {{k450, false}, {-300, 10}, unknown, 60},
      {{k360, false}, {0, 10}, 350.0, 360},
      {{k360, false}, {360, 10}, 10.0, 0},
      {{k180, false}, {180, 10}, -170.0, -180},
      // No turn changes an elevation.
      {{k360, false}, {10, 95}, unknown, std::nullopt},
      {{k360, true}, {10, 95}, unknown, 10},
      {{k450, true}, {10, 180}, unknown, 10},
      {{k360, true}, {10, 180.5}, unknown, std::nullopt},
      {{k180, false}, {10, -0.5}, unknown, std::nullopt},
      {{k360, false}, {nan, 10}, unknown, std::nullopt},
      {{k360, false}, {10, nan}, unknown, std::nullopt},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "range " << int(c.geometry.range) << " flip " << c.geometry.flip << " aim "
                 << c.aim.azDeg << "," << c.aim.elDeg << " near " << c.nearAzDeg.value_or(nan));
    const std::optional<TAim> aim = IntoRange(c.geometry, c.aim, c.nearAzDeg);
    ASSERT_EQ(aim.has_value(), c.azDeg.has_value());
    EXPECT_EQ(OutOfReachText(c.geometry, c.aim).empty(), c.azDeg.has_value());
    if (!aim) continue;
    EXPECT_NEAR(aim->azDeg, *c.azDeg, 1e-9);
    EXPECT_EQ(aim->elDeg, c.aim.elDeg);
    // The same direction of the sky: a whole number of turns away.
    EXPECT_NEAR(std::remainder(aim->azDeg - c.aim.azDeg, 360.0), 0.0, 1e-9);
  }
  EXPECT_EQ(OutOfReachText({k360, false}, {10, 95}),
            "elevation 95° is beyond the rotator's 0° to 90°");

  // After a pass that ended in the far turn of a 450-degree rotator, its park north-east of north
  // is taken in that turn too, not swung a whole turn back.
  TRotatorControl control({.geometry = {k450, false}, .park = true, .parkAim = {30, 10}});
  const TLinePass pass = kNorth;
  const TPassWindow window = FindPass(pass.LookAt(), pass.closestJd - 0.02, 0.0);
  control.Sent({TKind::Point, {400, 20}}, window.setJd - 5 * kSecondDays);
  TRotatorMove park;
  for (double jd = window.setJd - 3 * kSecondDays;
       park.kind != TKind::Park && jd < window.setJd + 5 * kSecondDays; jd += kSecondDays) {
    park = control.Step(jd, pass.LookAt(), window);
    control.Sent(park, jd);
  }
  EXPECT_EQ(park.kind, TKind::Park);
  EXPECT_NEAR(park.aim.azDeg, 390.0, 1e-9);
}

TEST(RotatorControl, ProposesUntilSentAndParksOnlyWhenTheNextPassIsNotNear) {
  // The north pass, then the same through the south rising 100 s after it has set.
  const TLinePass first = kNorth;
  const TPassWindow pass = FindPass(first.LookAt(), first.closestJd - 0.02, 0.0);
  const double s = kSecondDays, riseJd = pass.riseJd, midJd = first.closestJd, setJd = pass.setJd;
  TLinePass next = kSouth;
  next.closestJd = 2.0 * setJd - midJd + 100 * s;
  const TLookAt lookAt = [&](double jd) {
    const TLook a = first.At(jd), b = next.At(jd);
    return a.elDeg >= b.elDeg ? a : b;
  };
  const double nextRiseJd = FindPass(lookAt, setJd + s, 0.0).riseJd;
  ASSERT_NEAR(nextRiseJd - setJd, 100 * s, 1.01 * s);
  TRotatorControl control({.geometry = {k360, true}, .park = true});  // a lead of 120 s
  TRotatorControl early({.leadSeconds = 60, .geometry = {k360, true}, .park = true});
  auto step = [&](double jd, TRotatorControl& c) {
    return c.Step(jd, lookAt, FindPass(lookAt, jd, 0.0));
  };
  EXPECT_EQ(step(riseJd - 200 * s, control).kind, TKind::None);  // before the lead
  const TRotatorMove ready = step(riseJd - 100 * s, control);
  const TRotatorMove again = step(riseJd - 99 * s, control);  // not sent: proposed again
  EXPECT_TRUE(ready.kind == TKind::Point && again.kind == TKind::Point &&
              again.aim.azDeg == ready.aim.azDeg && again.aim.elDeg == ready.aim.elDeg);
  control.Sent(again, riseJd - 99 * s);
  EXPECT_EQ(step(riseJd - 98 * s, control).kind, TKind::None);
  control.Forget();
  EXPECT_EQ(step(riseJd - 97 * s, control).kind, TKind::Point);
  // In the pass: sent, then within the cycle nothing, unless forgotten.
  control.Sent(step(midJd, control), midJd);
  EXPECT_EQ(step(midJd + 0.5 * s, control).kind, TKind::None);
  control.Forget();
  EXPECT_EQ(step(midJd + 0.6 * s, control).kind, TKind::Point);
  control.Sent(step(midJd + 0.7 * s, control), midJd + 0.7 * s);
  // The clock set back half a minute: no waiting for it to catch up with the last command.
  EXPECT_EQ(step(midJd - 30 * s, control).kind, TKind::Point);
  // After the set the next pass rises within the lead: no parking, but waiting at its rise on the
  // horizon. The controller's window was searched from another moment, so its rise may differ
  // by a second, in which the azimuth moves less than 0.03 degrees.
  const TRotatorMove wait = step(setJd + 10 * s, control);
  EXPECT_EQ(wait.kind, TKind::Point);
  EXPECT_LE(PointingErrorDeg(wait.aim, false, {.azDeg = next.At(nextRiseJd).azDeg}), 0.03);
  // With a shorter lead: park until it went out, then nothing until the next lead.
  early.Sent(step(midJd, early), midJd);
  EXPECT_EQ(step(setJd + 10 * s, early).kind, TKind::Park);
  const TRotatorMove park = step(setJd + 11 * s, early);
  ASSERT_EQ(park.kind, TKind::Park);
  early.Sent(park, setJd + 11 * s);
  EXPECT_EQ(step(setJd + 12 * s, early).kind, TKind::None);
  EXPECT_EQ(step(nextRiseJd - 65 * s, early).kind, TKind::None);
  EXPECT_EQ(step(nextRiseJd - 55 * s, early).kind, TKind::Point);
}

}  // namespace
}  // namespace zen::station
