// Many targets seen from one site at one moment, a vector of targets at a time: the sub-point,
// the look angles, the topocentric right ascension and declination and the shadow of each, as
// EciToGeodeticAtSidereal, LookAnglesInFrame, RaDecInFrame and EclipseState give them for one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/numeric.h"
#include "core/observer.h"

namespace zen {

// One column per quantity, kCapacity targets at most. The columns are aligned and padded, so
// the vector units read and write whole vectors; lanes past the count are scratch.
struct TSightBlock {
  static constexpr size_t kCapacity = 128;

  // In: the inertial state of each target, km and km/s.
  alignas(64) double x[kCapacity];
  alignas(64) double y[kCapacity];
  alignas(64) double z[kCapacity];
  alignas(64) double vx[kCapacity];
  alignas(64) double vy[kCapacity];
  alignas(64) double vz[kCapacity];

  // Out: the magnitudes of the position and the velocity (TVector's w), km and km/s.
  alignas(64) double distance[kCapacity];
  alignas(64) double speed[kCapacity];
  // Out: the sub-point (TGeodetic's fields, radians and km).
  alignas(64) double latitude[kCapacity];
  alignas(64) double longitude[kCapacity];
  alignas(64) double altitude[kCapacity];
  alignas(64) double theta[kCapacity];
  // Out: azimuth, refracted elevation (radians), range (km) and range rate (km/s).
  alignas(64) double azimuth[kCapacity];
  alignas(64) double elevation[kCapacity];
  alignas(64) double range[kCapacity];
  alignas(64) double rangeRate[kCapacity];
  // Out: topocentric right ascension and declination, radians.
  alignas(64) double rightAscension[kCapacity];
  alignas(64) double declination[kCapacity];
  // Out: Degrees() of the latitude, longitude, azimuth, elevation, right ascension and
  // declination, the same bits.
  alignas(64) double latitudeDeg[kCapacity];
  alignas(64) double longitudeDeg[kCapacity];
  alignas(64) double azimuthDeg[kCapacity];
  alignas(64) double elevationDeg[kCapacity];
  alignas(64) double rightAscensionDeg[kCapacity];
  alignas(64) double declinationDeg[kCapacity];
  // Out: kSunlit, kPenumbra or kUmbra.
  uint8_t eclipse[kCapacity];
};

// Fills the outputs of targets [0, count) seen from frame, with the Greenwich sidereal angle and
// the Sun (km) of the frame's moment. Each quantity lies within a few units in the last place
// (the sub-point's altitude within a micrometre) of the one-target functions: only the
// elementary functions differ (the vector path's sine, cosine and arc tangent), and the
// sub-point's latitude is iterated on its tangent rather than on its angle. Within metres of
// the polar axis the altitude here is the sounder one: r / cos(latitude) there loses digits. A target whose
// position is not finite gets NaNs and counts as sunlit, as it does there. Runs on the
// instruction set PropagateVector uses (PinVectorTarget pins both).
void SightsInFrame(const TObserverFrame& frame, double siderealAngle, const TVector& sun,
                   TSightBlock& block, size_t count);

// Targets each seen at a moment of its own (the lanes of one satellite at several seconds):
// what a search decides from, per target its frame and its Sun in, the elevation and the
// shadow out.
struct TLaneSightBlock {
  static constexpr size_t kCapacity = 32;

  // In: the position of each target, km.
  alignas(64) double x[kCapacity];
  alignas(64) double y[kCapacity];
  alignas(64) double z[kCapacity];
  // In: the frame of each target's moment (TObserverFrame's position and sines and cosines).
  alignas(64) double siteX[kCapacity];
  alignas(64) double siteY[kCapacity];
  alignas(64) double siteZ[kCapacity];
  alignas(64) double sinLatitude[kCapacity];
  alignas(64) double cosLatitude[kCapacity];
  alignas(64) double sinTheta[kCapacity];
  alignas(64) double cosTheta[kCapacity];
  // In: the Sun of each target's moment, km.
  alignas(64) double sunX[kCapacity];
  alignas(64) double sunY[kCapacity];
  alignas(64) double sunZ[kCapacity];

  // Out: ElevationSineInFrame and its range (km), ArcSin of the sine (the geometric elevation),
  // Degrees(RefractedElevation) of that.
  alignas(64) double elevationSine[kCapacity];
  alignas(64) double range[kCapacity];
  alignas(64) double geometric[kCapacity];
  alignas(64) double elevationDeg[kCapacity];
  // Out: the angle between the Sun and the nadir less the earth's and the Sun's
  // semi-diameters, as EclipseState draws the shadow's edge: positive when sunlit.
  alignas(64) double shadowMargin[kCapacity];
};

// Puts target i of a lane block in the frame and the Sun of its moment.
inline void SetLaneMoment(TLaneSightBlock& block, size_t i, const TObserverFrame& frame,
                          const TVector& sun) {
  block.siteX[i] = frame.pos.x;
  block.siteY[i] = frame.pos.y;
  block.siteZ[i] = frame.pos.z;
  block.sinLatitude[i] = frame.sinLatitude;
  block.cosLatitude[i] = frame.cosLatitude;
  block.sinTheta[i] = frame.sinTheta;
  block.cosTheta[i] = frame.cosTheta;
  block.sunX[i] = sun.x;
  block.sunY[i] = sun.y;
  block.sunZ[i] = sun.z;
}

// Fills the outputs of targets [0, count). Each lies within a few units in the last place of the
// one-target functions' (only the vector path's sine, cosine and arc tangent differ), as
// SightsInFrame's do. Runs on the instruction set PropagateVector uses.
void LaneSights(TLaneSightBlock& block, size_t count);

}  // namespace zen
