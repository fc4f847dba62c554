// Bounds of a satellite's motion as seen from the site and from the Sun.
#include "prediction/motion_bounds.h"

#include <algorithm>
#include <cmath>

#include "core/elements.h"
#include "core/observer.h"
#include "core/sun.h"

namespace zen {

namespace {

constexpr double kGravityKm3PerS2 = 398600.8;
// No satellite the models still give comes this close to the earth's centre.
constexpr double kLowestRadiusKm = kEarthRadiusKm - 100.0;
// The models' departures from a Kepler orbit in speed, and more.
constexpr double kSpeedFactor = 1.05;
constexpr double kSpeedMarginKmS = 0.05;
// The site's own speed about the earth's axis is at most 0.47 km/s.
constexpr double kSiteSpeedKmS = 0.5;
// Refraction lifts an elevation by at most 0.74 degrees (at a geometric -2 degrees, nothing
// below); near the zenith it lowers it by at most 0.00004 degrees.
constexpr double kRefractionLiftDeg = 1.0;
constexpr double kRefractionDropDeg = 0.01;
// The Sun's direction turns by about a degree a day; the Sun's apparent size hardly changes.
constexpr double kSunTurnRadPerS = 1.0e-6;
constexpr double kAngleMarginRad = 1.0e-7;
constexpr double kLongestSeconds = 86400.0;

// Seconds within which the geometric elevation changes by less than gapRad: moving at most
// d = speed * t against the site, the line of sight turns by at most asin(d / range), and the
// zenith turns with the earth. The first guess ignores the earth's turn; the second takes it
// off the gap for the longer first time, which keeps it on the safe side.
double SecondsOfElevationChange(double gapRad, double rangeKm, double speedBoundKmS) {
  if (!(gapRad > 0.0) || !(rangeKm > 0.0) || !(speedBoundKmS > 0.0)) return 0.0;
  const double speedKmS = speedBoundKmS + kSiteSpeedKmS;
  const double first = rangeKm * std::sin(std::min(gapRad, kHalfPi)) / speedKmS;
  const double turnRad = gapRad - kEarthRotationRadPerS * first;
  if (!(turnRad > 0.0)) return 0.0;
  return std::min(rangeKm * std::sin(std::min(turnRad, kHalfPi)) / speedKmS, kLongestSeconds);
}

}  // namespace

double SpeedBoundKmS(const TVector& posKm, const TVector& velKmS) {
  if (!(posKm.w > kLowestRadiusKm)) return 0.0;
  const double speedSq =
      velKmS.w * velKmS.w + 2.0 * kGravityKm3PerS2 * (1.0 / kLowestRadiusKm - 1.0 / posKm.w);
  if (!std::isfinite(speedSq)) return 0.0;
  return kSpeedFactor * std::sqrt(speedSq) + kSpeedMarginKmS;
}

double SecondsSurelyBelowElevation(double elevationRad, double rangeKm, double speedBoundKmS,
                                   double limitDeg) {
  const double gapRad = Radians(limitDeg - kRefractionLiftDeg) - elevationRad;
  return SecondsOfElevationChange(gapRad, rangeKm, speedBoundKmS);
}

double SecondsSurelyAboveElevation(double elevationRad, double rangeKm, double speedBoundKmS,
                                   double limitDeg) {
  const double gapRad = elevationRad - Radians(limitDeg + kRefractionDropDeg);
  return SecondsOfElevationChange(gapRad, rangeKm, speedBoundKmS);
}

double SecondsSurelyBelow(double elevationSine, double rangeKm, double speedBoundKmS,
                          double limitDeg) {
  return SecondsSurelyBelowElevation(ArcSin(elevationSine), rangeKm, speedBoundKmS, limitDeg);
}

double SecondsSurelyAbove(double elevationSine, double rangeKm, double speedBoundKmS,
                          double limitDeg) {
  return SecondsSurelyAboveElevation(ArcSin(elevationSine), rangeKm, speedBoundKmS, limitDeg);
}

double ShadowEdgeMarginRad(const TVector& posKm, const TVector& sunKm) {
  const double earthSemiDiameter = ArcSin(kEarthRadiusKm / posKm.w);
  const TVector toSun = VecSub(sunKm, posKm);
  const double sunSemiDiameter = ArcSin(kSunRadiusKm / toSun.w);
  TVector sunDir = sunKm;
  TVector nadir = VecScale(-1.0, posKm);
  return VecAngle(sunDir, nadir) - (earthSemiDiameter + sunSemiDiameter);
}

namespace {

// Seconds within which an angular margin to the shadow's edge surely stays positive.
double SecondsMarginHolds(double marginRad, const TVector& posKm, double speedBoundKmS) {
  if (!(marginRad > 0.0) || !(speedBoundKmS > 0.0)) return 0.0;
  // The nadir turns by at most speed / radius; the earth's semi-diameter changes by at most
  // R speed / (r sqrt(r^2 - R^2)) as the radius r changes at most at the speed; both taken at
  // the lowest radius the satellite can reach in the time.
  auto rateAfter = [&](double seconds) {
    const double radiusKm = posKm.w - speedBoundKmS * seconds;
    if (!(radiusKm > kEarthRadiusKm + 1.0)) return HUGE_VAL;
    return speedBoundKmS / radiusKm +
           kEarthRadiusKm * speedBoundKmS /
               (radiusKm * std::sqrt(radiusKm * radiusKm - kEarthRadiusKm * kEarthRadiusKm)) +
           kSunTurnRadPerS;
  };
  // The rate at the first guess holds for any shorter time, so the second guess is safe.
  const double first = std::min(marginRad / rateAfter(0.0), kLongestSeconds);
  return std::min(marginRad / rateAfter(first), first);
}

}  // namespace

double SecondsSurelyDarkOfMargin(double marginRad, const TVector& posKm, double speedBoundKmS) {
  // Not sunlit while the angle between the Sun and the nadir stays below the sum of the
  // semi-diameters.
  return SecondsMarginHolds(-marginRad - kAngleMarginRad, posKm, speedBoundKmS);
}

double SecondsSurelySunlitOfMargin(double marginRad, const TVector& posKm, double speedBoundKmS,
                                   double uncertaintyRad) {
  return SecondsMarginHolds(marginRad - uncertaintyRad - kAngleMarginRad, posKm, speedBoundKmS);
}

double SecondsSurelyDark(const TVector& posKm, const TVector& sunKm, double speedBoundKmS) {
  return SecondsSurelyDarkOfMargin(ShadowEdgeMarginRad(posKm, sunKm), posKm, speedBoundKmS);
}

double SecondsSurelySunlit(const TVector& posKm, const TVector& sunKm, double speedBoundKmS,
                           double uncertaintyRad) {
  return SecondsSurelySunlitOfMargin(ShadowEdgeMarginRad(posKm, sunKm), posKm, speedBoundKmS,
                                     uncertaintyRad);
}

}  // namespace zen
