// An independent reduction for the sky tests: ERFA's full IAU 2006/2000A routines (CIO route,
// light time iterated), with the program's conventions (UT1 = UTC, WGS-72). Shares nothing
// with sky/ but ERFA's two ephemerides.
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

// Geocentric GCRS place (km) the light left delayDays before TT tt1 + tt2 (the Sun's less the
// earth's barycentric place now).
inline void IndependentSourceKm(TIndependentBody body, double tt1, double tt2, double delayDays,
                                double p[3]) {
  double h[2][3], b[2][3], hNow[2][3], bNow[2][3];
  if (body == TIndependentBody::Moon) {
    eraMoon98(tt1, tt2 - delayDays, h);
    eraSxp(ERFA_DAU / 1000.0, h[0], p);
    return;
  }
  eraEpv00(tt1, tt2 - delayDays, h, b);
  eraEpv00(tt1, tt2, hNow, bNow);
  for (int i = 0; i < 3; ++i) p[i] = (b[0][i] - h[0][i] - bNow[0][i]) * (ERFA_DAU / 1000.0);
}

// The body seen from a GCRS point (km) at TT tt1 + tt2.
inline void IndependentSeenKm(TIndependentBody body, double tt1, double tt2, double from[3],
                              double out[3]) {
  double delayDays = 0.0, p[3];
  for (int i = 0; i < 4; ++i) {
    IndependentSourceKm(body, tt1, tt2, delayDays, p);
    eraPmp(p, from, out);
    delayDays = eraPm(out) / (ERFA_CMPS / 1000.0) / ERFA_DAYSEC;
  }
}

inline void IndependentSiteItrsKm(double latitudeDeg, double longitudeDeg, double altitudeKm,
                                  double xyz[3]) {
  eraGd2gce(6378.135, 1.0 / 298.26, longitudeDeg * ERFA_DD2R, latitudeDeg * ERFA_DD2R, altitudeKm,
            xyz);
}

// Azimuth (north through east) and geometric elevation, radians, of a terrestrial direction.
inline void IndependentHorizon(double latitudeDeg, double longitudeDeg, double d[3],
                               double& azimuth, double& elevation, double& rangeKm) {
  double r[3][3], enu[3];  // rows: east, north, up
  eraIr(r);
  eraRz(longitudeDeg * ERFA_DD2R + ERFA_DPI / 2.0, r);
  eraRx(ERFA_DPI / 2.0 - latitudeDeg * ERFA_DD2R, r);
  eraRxp(r, d, enu);
  rangeKm = eraPm(d);
  azimuth = eraAnp(std::atan2(enu[0], enu[1]));
  elevation = std::asin(enu[2] / rangeKm);
}

struct TIndependentLook {
  double azimuth = 0.0, elevation = 0.0, rangeKm = 0.0;  // radians (elevation geometric), km
};

// A body's look angles from a site; a day's scan may pass the day's celestial-to-intermediate
// matrix as rc2i.
inline TIndependentLook IndependentBodyLook(TIndependentBody body, double latitudeDeg,
                                            double longitudeDeg, double altitudeKm, double jdUtc,
                                            double (*rc2i)[3] = nullptr) {
  const TIndependentTimes t = IndependentTimes(jdUtc);
  double ownRc2i[3][3], rpom[3][3], rc2t[3][3];
  if (rc2i == nullptr) {
    eraC2i06a(t.tt1, t.tt2, ownRc2i);
    rc2i = ownRc2i;
  }
  eraIr(rpom);
  eraC2tcio(rc2i, eraEra00(t.utc1, t.utc2), rpom, rc2t);
  double site[3], siteGcrs[3], seen[3], seenItrs[3];
  IndependentSiteItrsKm(latitudeDeg, longitudeDeg, altitudeKm, site);
  eraTrxp(rc2t, site, siteGcrs);
  IndependentSeenKm(body, t.tt1, t.tt2, siteGcrs, seen);
  eraRxp(rc2t, seen, seenItrs);
  TIndependentLook look;
  IndependentHorizon(latitudeDeg, longitudeDeg, seenItrs, look.azimuth, look.elevation,
                     look.rangeKm);
  return look;
}

inline void IndependentSiteGcrsKm(double latitudeDeg, double longitudeDeg, double altitudeKm,
                                  double jdUtc, double gcrs[3]) {
  const TIndependentTimes t = IndependentTimes(jdUtc);
  double rc2t[3][3], itrs[3];
  eraC2t06a(t.tt1, t.tt2, t.utc1, t.utc2, 0.0, 0.0, rc2t);
  IndependentSiteItrsKm(latitudeDeg, longitudeDeg, altitudeKm, itrs);
  eraTrxp(rc2t, itrs, gcrs);
}

// J2000 (GCRS) RA/Dec, radians, from a site of a target in the models' frame (true equator,
// mean equinox): to the true equinox by the equation of the equinoxes, then back through the
// full precession-nutation.
inline void IndependentJ2000RaDec(double modelKm[3], double latitudeDeg, double longitudeDeg,
                                  double altitudeKm, double jdUtc, double& ra, double& dec) {
  const TIndependentTimes t = IndependentTimes(jdUtc);
  double rz[3][3], npb[3][3], trueOfDate[3], target[3], site[3], d[3];
  eraIr(rz);
  eraRz(-eraEe06a(t.tt1, t.tt2), rz);
  eraRxp(rz, modelKm, trueOfDate);
  eraPnm06a(t.tt1, t.tt2, npb);
  eraTrxp(npb, trueOfDate, target);
  IndependentSiteGcrsKm(latitudeDeg, longitudeDeg, altitudeKm, jdUtc, site);
  eraPmp(target, site, d);
  eraC2s(d, &ra, &dec);
  ra = eraAnp(ra);
}

inline double IndependentJd(int year, int month, int day, double hours = 0.0) {
  double d0 = 0.0, d1 = 0.0;
  eraCal2jd(year, month, day, &d0, &d1);
  return d0 + d1 + hours / 24.0;
}

}  // namespace zen::test
