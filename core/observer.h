// Observer geometry: the site's inertial position, sub-points, look angles and topocentric
// right ascension and declination.
#pragma once

#include "core/elements.h"
#include "core/numeric.h"

namespace zen {

// The earth model of the geometry: equatorial radius kEarthRadiusKm, flattening 1/298.26.
inline constexpr double kEarthFlattening = 1.0 / 298.26;
inline constexpr double kEarthEccentricitySquared =
    2.0 * kEarthFlattening - kEarthFlattening * kEarthFlattening;
inline constexpr double kEarthPolarFactor = (1.0 - kEarthFlattening) * (1.0 - kEarthFlattening);
inline constexpr double kEarthPolarRadiusKm = kEarthRadiusKm * (1.0 - kEarthFlattening);
inline constexpr double kEarthRotationRadPerS = 7.292115855228083e-5;

// A place on (or above) the ellipsoid. For the observer the caller sets latitude, longitude
// and altitude, and ObserverPosVel writes theta, the local mean sidereal angle. For a
// sub-point the longitude lies in [0, 2pi) and theta is the right ascension of the position,
// in (-pi/2, 3pi/2] as AngleFromSinCos gives it.
struct TGeodetic {
  double latitude = 0.0;   // radians, north positive
  double longitude = 0.0;  // radians, east positive
  double altitude = 0.0;   // km above the ellipsoid
  double theta = 0.0;      // radians
};

// What the observer sees of a target. The same record carries azimuth and elevation
// (LookAngles) or right ascension and declination (TopocentricRaDec) in its first two fields.
struct TLookAngles {
  double first = 0.0;   // azimuth from north through east, or right ascension; [0, 2pi)
  double second = 0.0;  // elevation with refraction, or declination; radians
  double third = 0.0;   // range, km
  double fourth = 0.0;  // range rate, km/s, positive when the distance grows
};

// The observer record from a site in degrees and metres (longitude taken into [0, 360)).
TGeodetic ObserverFromSite(double latitudeDeg, double longitudeDeg, double altitudeM);

// Inertial position (km) and velocity (km/s) of the observer at a Julian date (UTC), both with
// magnitudes; writes the observer's theta.
void ObserverPosVel(TGeodetic& observer, double jd, TVector& pos, TVector& vel);

// Sub-point of an inertial position (km). A position on the polar axis lies above the pole
// (latitude +-pi/2, altitude over the polar radius); a position that is not finite gives a
// record of NaNs rather than a number that means nothing.
TGeodetic EciToGeodetic(const TVector& pos, double jd);

// EciToGeodetic with the Greenwich sidereal angle of the moment (SiderealTime(jd)) at hand:
// the same numbers, bit for bit, for a caller that converts many positions at one moment.
TGeodetic EciToGeodeticAtSidereal(const TVector& pos, double siderealAngle);

// Below this geometric elevation the refraction formula has poles (its argument runs through
// whole turns as the elevation nears -5.11 degrees) and no longer describes the atmosphere.
inline constexpr double kRefractionFloorDeg = -2.0;

// Elevation after atmospheric refraction, for a geometric elevation in radians. Inline, as the
// searches refract every sample they look at.
inline double RefractedElevation(double elevation) {
  const double h = Degrees(elevation);
  if (!(h > kRefractionFloorDeg)) return elevation;
  const double r = Radians((1.02 / Tan(Radians(h + 10.3 / (h + 5.11)))) / 60.0);
  return elevation + r >= 0.0 ? elevation + r : elevation;
}

// What the look angles need of the observer at one moment: its inertial position and velocity
// and the sines and cosines that turn a range vector into the horizon frame. Computed once
// per moment, it serves every target seen at that moment (a search walks thousands of
// satellites over the same seconds).
struct TObserverFrame {
  TVector pos;  // km, magnitude filled
  TVector vel;  // km/s, magnitude filled
  double sinLatitude = 0.0;
  double cosLatitude = 0.0;
  double sinTheta = 0.0;  // of the local mean sidereal angle
  double cosTheta = 0.0;
};

// The observer's frame at a Julian date (UTC). The observer is a copy, as for LookAngles.
TObserverFrame ObserverFrameAt(TGeodetic observer, double jd);

// What a site's frame keeps from one moment to the next: the terms of its latitude and height.
struct TSiteTerms {
  TGeodetic observer;
  double sinLatitude = 0.0;
  double cosLatitude = 0.0;
  double rhoKm = 0.0;  // distance from the earth's axis
  double zKm = 0.0;    // distance from the equator's plane
};
TSiteTerms SiteTermsOf(const TGeodetic& observer);

// ObserverFrameAt(terms.observer, jd), the same numbers, bit for bit, without the site's terms
// worked out again: for a caller that wants the frames of many moments.
TObserverFrame ObserverFrameAt(const TSiteTerms& terms, double jd);

// LookAngles of a target in a frame of ObserverFrameAt: the same numbers, bit for bit.
TLookAngles LookAnglesInFrame(const TObserverFrame& frame, const TVector& pos, const TVector& vel);

// Only the refracted elevation (radians) of LookAnglesInFrame, bit for bit, for callers that
// need nothing else of a target (a search deciding whether a satellite is up).
double ElevationInFrame(const TObserverFrame& frame, const TVector& pos);

// The zenith component of a range vector in the horizon frame. The one expression of it, so
// every elevation of the frame's functions is the same to the last bit.
inline double ZenithComponent(const TObserverFrame& f, const TVector& range) {
  return f.cosLatitude * f.cosTheta * range.x + f.cosLatitude * f.sinTheta * range.y +
         f.sinLatitude * range.z;
}

// The sine of the geometric elevation of a target and its range (km): ElevationInFrame is
// RefractedElevation(ArcSin(the sine)), bit for bit. Lets a caller rule out a target far
// below a limit without the arc sine and the refraction. Inline: a search asks it of every
// sample.
inline double ElevationSineInFrame(const TObserverFrame& frame, const TVector& pos,
                                   double& rangeKm) {
  const TVector range = VecSub(pos, frame.pos);
  rangeKm = range.w;
  return ZenithComponent(frame, range) / range.w;
}

// Azimuth, refracted elevation, range and range rate of a target (km, km/s) seen from the
// observer. The observer is a copy: the caller's record keeps its theta.
TLookAngles LookAngles(const TVector& pos, const TVector& vel, TGeodetic observer, double jd);

// As LookAngles, with topocentric right ascension and declination in the first two fields.
TLookAngles TopocentricRaDec(const TVector& pos, const TVector& vel, TGeodetic observer, double jd);

// TopocentricRaDec of a target from its LookAnglesInFrame in the same frame: the same numbers,
// bit for bit, without working out the frame and the look angles again.
TLookAngles RaDecInFrame(const TObserverFrame& frame, const TLookAngles& look);

}  // namespace zen
