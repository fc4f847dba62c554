// Low-precision solar theory (about 0.01 degree) and the conical shadow test.
#include "core/sun.h"

#include <cmath>

#include "core/elements.h"
#include "core/timescale.h"

namespace zen {

namespace {

// Julian date of 1900 January 0.5, the origin of the theory's centuries.
constexpr double kJulianDate1900 = 2415020.0;
constexpr double kDaysPerJulianYear = 365.25;
constexpr double kDaysPerJulianCentury = 36525.0;
constexpr double kSecondsPerDay = 86400.0;

}  // namespace

TVector SunPosition(double jd) {
  const double d = jd - kJulianDate1900;
  const double year = 1900.0 + d / kDaysPerJulianYear;
  const double t = (d + DeltaEt(year) / kSecondsPerDay) / kDaysPerJulianCentury;

  const double meanAnomaly = Radians(Modulus(
      Modulus(35999.04975 * t, 360.0) + 358.47583 - (0.000150 + 0.0000033 * t) * t * t, 360.0));
  const double meanLongitude =
      Radians(Modulus(Modulus(36000.76892 * t, 360.0) + 279.69668 + 0.0003025 * t * t, 360.0));
  const double centre = Radians((1.91946 - (0.004789 + 0.000014 * t) * t) * std::sin(meanAnomaly) +
                                (0.020094 - 0.0001 * t) * std::sin(2.0 * meanAnomaly) +
                                0.000293 * std::sin(3.0 * meanAnomaly));
  const double moonNode = Radians(Modulus(259.18 - 1934.142 * t, 360.0));
  const double longitude =
      WrapTwoPi(meanLongitude + centre - Radians(0.00569 - 0.00479 * std::sin(moonNode)));
  const double trueAnomaly = WrapTwoPi(meanAnomaly + centre);
  const double e = 0.01675104 - (0.0000418 + 0.000000126 * t) * t;
  const double distanceAu = 1.0000002 * (1.0 - e * e) / (1.0 + e * std::cos(trueAnomaly));
  const double obliquity =
      Radians(23.452294 - (0.0130125 + (0.00000164 - 0.000000503 * t) * t) * t +
              0.00256 * std::cos(moonNode));

  const double distanceKm = kAstronomicalUnitKm * distanceAu;
  TVector sun;
  sun.x = distanceKm * std::cos(longitude);
  sun.y = distanceKm * std::sin(longitude) * std::cos(obliquity);
  sun.z = distanceKm * std::sin(longitude) * std::sin(obliquity);
  sun.w = distanceKm;
  return sun;
}

int EclipseState(const TVector& sat, const TVector& sun) {
  const double earthSemiDiameter = ArcSin(kEarthRadiusKm / sat.w);
  const TVector toSun = VecSub(sun, sat);
  const double sunSemiDiameter = ArcSin(kSunRadiusKm / toSun.w);
  TVector sunDir = sun;
  TVector nadir = VecScale(-1.0, sat);
  const double theta = VecAngle(sunDir, nadir);
  if (earthSemiDiameter - sunSemiDiameter - theta >= 0.0 && earthSemiDiameter >= sunSemiDiameter) {
    return kUmbra;
  }
  if (theta < earthSemiDiameter + sunSemiDiameter) return kPenumbra;
  return kSunlit;
}

}  // namespace zen
