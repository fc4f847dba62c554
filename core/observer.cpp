// Observer geometry on the earth ellipsoid, and look angles with refraction.
#include "core/observer.h"

#include <cmath>
#include <limits>

#include "core/timescale.h"

namespace zen {

namespace {

// Sub-point latitudes settle to this within a few rounds for any position outside the
// earth's centre; the cap only keeps an input that never settles from running for ever.
constexpr double kLatitudeToleranceRad = 1e-10;
constexpr int kMaxLatitudeRounds = 50;

}  // namespace

TGeodetic ObserverFromSite(double latitudeDeg, double longitudeDeg, double altitudeM) {
  TGeodetic observer;
  observer.latitude = Radians(latitudeDeg);
  observer.longitude = Radians(Modulus(longitudeDeg, 360.0));
  observer.altitude = altitudeM * 0.001;
  return observer;
}

TSiteTerms SiteTermsOf(const TGeodetic& observer) {
  TSiteTerms terms;
  terms.observer = observer;
  terms.sinLatitude = std::sin(observer.latitude);
  terms.cosLatitude = std::cos(observer.latitude);
  const double sinLat = terms.sinLatitude;
  const double c = 1.0 / std::sqrt(1.0 - kEarthEccentricitySquared * sinLat * sinLat);
  const double sq = kEarthPolarFactor * c;
  terms.rhoKm = (kEarthRadiusKm * c + observer.altitude) * terms.cosLatitude;
  terms.zKm = (kEarthRadiusKm * sq + observer.altitude) * sinLat;
  return terms;
}

namespace {

// ObserverPosVel from the site's terms, which also hands back the sines and cosines it took,
// so that the frame of a moment takes each of them once.
void SitePosVel(const TSiteTerms& terms, double jd, double& theta, TVector& pos, TVector& vel,
                TObserverFrame& trig) {
  theta = WrapTwoPi(SiderealTime(jd) + terms.observer.longitude);
  const double sinTheta = std::sin(theta);
  const double cosTheta = std::cos(theta);
  pos.x = terms.rhoKm * cosTheta;
  pos.y = terms.rhoKm * sinTheta;
  pos.z = terms.zKm;
  VecMagnitude(pos);
  vel.x = -kEarthRotationRadPerS * pos.y;
  vel.y = kEarthRotationRadPerS * pos.x;
  vel.z = 0.0;
  VecMagnitude(vel);
  trig.sinLatitude = terms.sinLatitude;
  trig.cosLatitude = terms.cosLatitude;
  trig.sinTheta = sinTheta;
  trig.cosTheta = cosTheta;
}

}  // namespace

void ObserverPosVel(TGeodetic& observer, double jd, TVector& pos, TVector& vel) {
  TObserverFrame trig;
  SitePosVel(SiteTermsOf(observer), jd, observer.theta, pos, vel, trig);
}

TGeodetic EciToGeodetic(const TVector& pos, double jd) {
  return EciToGeodeticAtSidereal(pos, SiderealTime(jd));
}

TGeodetic EciToGeodeticAtSidereal(const TVector& pos, double siderealAngle) {
  TGeodetic g;
  if (!std::isfinite(pos.x) || !std::isfinite(pos.y) || !std::isfinite(pos.z)) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return TGeodetic{nan, nan, nan, nan};
  }
  g.theta = AngleFromSinCos(pos.y, pos.x);
  g.longitude = Modulus(g.theta - siderealAngle, kTwoPi);
  const double rKm = std::sqrt(pos.x * pos.x + pos.y * pos.y);
  if (rKm == 0.0) {
    // On the polar axis the latitude iteration has no horizontal distance to work with.
    g.latitude = pos.z < 0.0 ? -kHalfPi : kHalfPi;
    g.altitude = std::fabs(pos.z) - kEarthPolarRadiusKm;
    return g;
  }
  double latitude = AngleFromSinCos(pos.z, rKm);
  double c = 1.0;
  for (int round = 0; round < kMaxLatitudeRounds; ++round) {
    const double phi = latitude;
    const double sinPhi = std::sin(phi);
    c = 1.0 / std::sqrt(1.0 - kEarthEccentricitySquared * sinPhi * sinPhi);
    latitude =
        AngleFromSinCos(pos.z + kEarthRadiusKm * c * kEarthEccentricitySquared * sinPhi, rKm);
    if (std::fabs(latitude - phi) < kLatitudeToleranceRad) break;
  }
  g.latitude = latitude;
  g.altitude = rKm / std::cos(latitude) - kEarthRadiusKm * c;
  return g;
}

TObserverFrame ObserverFrameAt(TGeodetic observer, double jd) {
  return ObserverFrameAt(SiteTermsOf(observer), jd);
}

TObserverFrame ObserverFrameAt(const TSiteTerms& terms, double jd) {
  TObserverFrame frame;
  double theta = 0.0;
  SitePosVel(terms, jd, theta, frame.pos, frame.vel, frame);
  return frame;
}

TLookAngles LookAnglesInFrame(const TObserverFrame& frame, const TVector& pos, const TVector& vel) {
  const TVector range = VecSub(pos, frame.pos);
  const TVector rangeVel = VecSub(vel, frame.vel);

  const double south = frame.sinLatitude * frame.cosTheta * range.x +
                       frame.sinLatitude * frame.sinTheta * range.y - frame.cosLatitude * range.z;
  const double east = -frame.sinTheta * range.x + frame.cosTheta * range.y;
  const double zenith = ZenithComponent(frame, range);

  // The quadrant comes from the signs of both components, so a target exactly east or west
  // (south = 0, of either sign) is not turned round.
  double azimuth = WrapTwoPi(AngleFromSinCos(east, -south));
  if (azimuth >= kTwoPi) azimuth -= kTwoPi;

  TLookAngles look;
  look.first = azimuth;
  look.second = RefractedElevation(ArcSin(zenith / range.w));
  look.third = range.w;
  look.fourth = VecDot(range, rangeVel) / range.w;
  return look;
}

double ElevationInFrame(const TObserverFrame& frame, const TVector& pos) {
  double rangeKm = 0.0;
  return RefractedElevation(ArcSin(ElevationSineInFrame(frame, pos, rangeKm)));
}

TLookAngles LookAngles(const TVector& pos, const TVector& vel, TGeodetic observer, double jd) {
  return LookAnglesInFrame(ObserverFrameAt(observer, jd), pos, vel);
}

TLookAngles TopocentricRaDec(const TVector& pos, const TVector& vel, TGeodetic observer,
                             double jd) {
  const TObserverFrame frame = ObserverFrameAt(observer, jd);
  return RaDecInFrame(frame, LookAnglesInFrame(frame, pos, vel));
}

TLookAngles RaDecInFrame(const TObserverFrame& frame, const TLookAngles& look) {
  // The frame's theta is the local sidereal angle, the right ascension of the site's
  // meridian, by which the horizon directions turn into the sky's.
  const double sinLat = frame.sinLatitude;
  const double cosLat = frame.cosLatitude;
  const double sinLst = frame.sinTheta;
  const double cosLst = frame.cosTheta;
  const double cosEl = std::cos(look.second);
  const double l = -std::cos(look.first) * cosEl;
  const double m = std::sin(look.first) * cosEl;
  const double n = std::sin(look.second);

  const double sinDec = -l * cosLat + n * sinLat;
  const double declination = ArcSin(sinDec);
  const double cosDec = std::sqrt(std::fmax(0.0, 1.0 - sinDec * sinDec));
  double rightAscension = 0.0;
  // At a celestial pole every right ascension is the same direction; 0 stands for them.
  if (cosDec > 0.0) {
    rightAscension = WrapTwoPi(
        AngleFromSinCos((l * sinLat * sinLst + m * cosLst + n * cosLat * sinLst) / cosDec,
                        (l * sinLat * cosLst - m * sinLst + n * cosLat * cosLst) / cosDec));
    if (rightAscension >= kTwoPi) rightAscension -= kTwoPi;
  }
  TLookAngles out = look;
  out.first = rightAscension;
  out.second = declination;
  return out;
}

}  // namespace zen
