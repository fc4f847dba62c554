// An independent reduction for the sky tests: ERFA's full IAU 2006/2000A routines (the CIO
// route to the terrestrial frame, light time by evaluating the ephemerides again), with the
// program's time conventions (UT1 = UTC, TT from ERFA's leap seconds) and its WGS-72
// ellipsoid. Shares nothing with sky/ but ERFA's two ephemerides.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace zen::test {

struct TIndependentTimes {
  double utc1 = 0.0, utc2 = 0.0;  // also UT1
  double tt1 = 0.0, tt2 = 0.0;
};

inline TIndependentTimes IndependentTimes(double jdUtc) {
  TIndependentTimes t;
  t.utc1 = std::floor(jdUtc - 0.5) + 0.5;
  t.utc2 = jdUtc - t.utc1;
  double tai1 = 0.0, tai2 = 0.0;
  eraUtctai(t.utc1, t.utc2, &tai1, &tai2);
  eraTaitt(tai1, tai2, &t.tt1, &t.tt2);
  return t;
}

enum class TIndependentBody { Moon, Sun };

// Where the light now reaching the earth left the body, delayDays before TT tt1 + tt2, as a
// geocentric GCRS vector (km): the Moon relative to the earth's centre then (the direction
// seen), the Sun's barycentric place then less the earth's barycentric place now.
inline void IndependentSourceKm(TIndependentBody body, double tt1, double tt2, double delayDays,
                                double p[3]) {
  constexpr double kAuKm = ERFA_DAU / 1000.0;
  if (body == TIndependentBody::Moon) {
    double pv[2][3];
    eraMoon98(tt1, tt2 - delayDays, pv);
    for (int i = 0; i < 3; ++i) p[i] = pv[0][i] * kAuKm;
    return;
  }
  double hThen[2][3], bThen[2][3], hNow[2][3], bNow[2][3];
  eraEpv00(tt1, tt2 - delayDays, hThen, bThen);
  eraEpv00(tt1, tt2, hNow, bNow);
  for (int i = 0; i < 3; ++i) p[i] = (bThen[0][i] - hThen[0][i] - bNow[0][i]) * kAuKm;
}

// The body seen from a point (GCRS, km) at TT tt1 + tt2, light time iterated to convergence.
inline void IndependentSeenKm(TIndependentBody body, double tt1, double tt2, double from[3],
                              double out[3]) {
  constexpr double kSecondsPerDay = 86400.0;
  constexpr double kCKmPerS = ERFA_CMPS / 1000.0;
  double delaySeconds = 0.0;
  for (int i = 0; i < 4; ++i) {
    double p[3];
    IndependentSourceKm(body, tt1, tt2, delaySeconds / kSecondsPerDay, p);
    eraPmp(p, from, out);
    delaySeconds = eraPm(out) / kCKmPerS;
  }
}

// The program's ellipsoid (WGS-72) turned into the terrestrial frame.
inline void IndependentSiteItrsKm(double latitudeDeg, double longitudeDeg, double altitudeKm,
                                  double xyz[3]) {
  eraGd2gce(6378.135, 1.0 / 298.26, longitudeDeg * ERFA_DD2R, latitudeDeg * ERFA_DD2R,
            altitudeKm, xyz);
}

// Azimuth (north through east) and geometric elevation, radians, of a terrestrial-frame
// direction at a site.
inline void IndependentHorizon(double latitudeDeg, double longitudeDeg, double d[3],
                               double& azimuth, double& elevation, double& rangeKm) {
  const double phi = latitudeDeg * ERFA_DD2R, lambda = longitudeDeg * ERFA_DD2R;
  const double east = -std::sin(lambda) * d[0] + std::cos(lambda) * d[1];
  const double north = -std::sin(phi) * std::cos(lambda) * d[0] -
                       std::sin(phi) * std::sin(lambda) * d[1] + std::cos(phi) * d[2];
  const double up = std::cos(phi) * std::cos(lambda) * d[0] +
                    std::cos(phi) * std::sin(lambda) * d[1] + std::sin(phi) * d[2];
  rangeKm = eraPm(d);
  azimuth = eraAnp(std::atan2(east, north));
  elevation = std::asin(up / rangeKm);
}

struct TIndependentLook {
  double azimuth = 0.0;    // radians
  double elevation = 0.0;  // radians, geometric
  double rangeKm = 0.0;
};

// A body's look angles from a site. A scan over a day may pass the celestial-to-intermediate
// matrix of its middle as rc2i (it moves by far less than an arcsecond in a day).
inline TIndependentLook IndependentBodyLook(TIndependentBody body, double latitudeDeg,
                                            double longitudeDeg, double altitudeKm,
                                            double jdUtc, double (*rc2i)[3] = nullptr) {
  const TIndependentTimes t = IndependentTimes(jdUtc);
  double ownRc2i[3][3], rpom[3][3], rc2t[3][3];
  if (rc2i == nullptr) {
    eraC2i06a(t.tt1, t.tt2, ownRc2i);
    rc2i = ownRc2i;
  }
  eraIr(rpom);  // no polar motion
  eraC2tcio(rc2i, eraEra00(t.utc1, t.utc2), rpom, rc2t);
  double siteItrs[3], siteGcrs[3], seen[3], seenItrs[3];
  IndependentSiteItrsKm(latitudeDeg, longitudeDeg, altitudeKm, siteItrs);
  eraTrxp(rc2t, siteItrs, siteGcrs);
  IndependentSeenKm(body, t.tt1, t.tt2, siteGcrs, seen);
  eraRxp(rc2t, seen, seenItrs);
  TIndependentLook look;
  IndependentHorizon(latitudeDeg, longitudeDeg, seenItrs, look.azimuth, look.elevation,
                     look.rangeKm);
  return look;
}

// A site's GCRS position (km) at a UTC moment, by the CIO route.
inline void IndependentSiteGcrsKm(double latitudeDeg, double longitudeDeg, double altitudeKm,
                                  double jdUtc, double gcrs[3]) {
  const TIndependentTimes t = IndependentTimes(jdUtc);
  double rc2t[3][3], itrs[3];
  eraC2t06a(t.tt1, t.tt2, t.utc1, t.utc2, 0.0, 0.0, rc2t);
  IndependentSiteItrsKm(latitudeDeg, longitudeDeg, altitudeKm, itrs);
  eraTrxp(rc2t, itrs, gcrs);
}

// The J2000 (GCRS) right ascension and declination, radians, of a target given in the
// models' frame (true equator, mean equinox of date), seen from a site: the target is turned
// to the true equinox by the equation of the equinoxes, then back through the full
// precession-nutation; the site goes to GCRS by the CIO route.
inline void IndependentJ2000RaDec(double modelKm[3], double latitudeDeg,
                                  double longitudeDeg, double altitudeKm, double jdUtc,
                                  double& ra, double& dec) {
  const TIndependentTimes t = IndependentTimes(jdUtc);
  double trueOfDate[3], npb[3][3], target[3];
  double rz[3][3];
  eraIr(rz);
  eraRz(-eraEe06a(t.tt1, t.tt2), rz);
  eraRxp(rz, modelKm, trueOfDate);
  eraPnm06a(t.tt1, t.tt2, npb);
  eraTrxp(npb, trueOfDate, target);
  double siteGcrs[3], d[3];
  IndependentSiteGcrsKm(latitudeDeg, longitudeDeg, altitudeKm, jdUtc, siteGcrs);
  eraPmp(target, siteGcrs, d);
  eraC2s(d, &ra, &dec);
  ra = eraAnp(ra);
}

// The UTC Julian date of a calendar moment.
inline double IndependentJd(int year, int month, int day, double hours = 0.0) {
  double d0 = 0.0, d1 = 0.0;
  eraCal2jd(year, month, day, &d0, &d1);
  return d0 + d1 + hours / 24.0;
}

}  // namespace zen::test
