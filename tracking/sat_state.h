// The live state of one tracked satellite, as the compute cycle leaves it.
#pragma once

#include <cstdint>

#include "core/numeric.h"
#include "core/observer.h"

namespace zen {

struct TSatState {
  int32_t catalogIndex = 0;  // 1-based slot of the catalogue
  // False when the model broke down (or the set could not be decoded) at the last cycle:
  // the satellite stays in the list but is neither drawn nor counted.
  bool computed = false;
  double latitude = 0.0;   // degrees
  double longitude = 0.0;  // degrees, (-180, 180]
  double azimuth = 0.0;    // degrees
  double elevation = 0.0;  // degrees, refracted
  double rightAscension = 0.0;  // degrees, topocentric
  double declination = 0.0;     // degrees, topocentric
  TVector position;             // inertial, km
  TVector velocity;             // inertial, km/s
  TGeodetic geodetic;
  TLookAngles lookAngles;
  TLookAngles raDec;
  uint8_t eclipse = 0;  // 0 sunlit, 1 penumbra, 2 umbra
};

// Longitude in degrees folded into (-180, 180] the way the tracker stores it: one
// subtraction of 360 above 180.
inline double FoldLongitude(double longitudeDeg) {
  return longitudeDeg > 180.0 ? longitudeDeg - 360.0 : longitudeDeg;
}

}  // namespace zen
