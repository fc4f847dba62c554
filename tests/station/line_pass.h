// A made-up pass with answers known in closed form: a satellite flying a straight line at a
// constant height and speed past the site, over an earth whose surface drops away as
// r^2 / (2 R) with the distance r (the first term of a sphere). Azimuth, elevation, rise, set
// and culmination all follow from plane geometry, with no propagator involved.
#pragma once

#include <cmath>

#include "station/satellite_look.h"

namespace zen::station::test {

inline constexpr double kLineEarthRadiusKm = 6371.0;
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kDegPerRad = 57.29577951308232;

struct TLinePass {
  double closestBearingDeg = 0;  // from the site to the nearest point of the track
  double closestKm = 1000;       // how far the track passes from the site
  bool clockwise = true;         // seen from above, the satellite moves round the site clockwise
  double heightKm = 800;
  double speedKmS = 7.0;
  double closestJd = 2461200.5;  // the moment of the nearest point

  TLook At(double jd) const {
    const double bearing = closestBearingDeg / kDegPerRad;
    const double heading = bearing + (clockwise ? 1.0 : -1.0) * 0.5 * 3.14159265358979323846;
    const double alongKm = speedKmS * (jd - closestJd) * kSecondsPerDay;
    const double eastKm = closestKm * std::sin(bearing) + alongKm * std::sin(heading);
    const double northKm = closestKm * std::cos(bearing) + alongKm * std::cos(heading);
    const double groundKm = std::hypot(eastKm, northKm);
    const double upKm = heightKm - groundKm * groundKm / (2.0 * kLineEarthRadiusKm);
    double azDeg = std::atan2(eastKm, northKm) * kDegPerRad;
    if (azDeg < 0.0) azDeg += 360.0;
    if (azDeg >= 360.0) azDeg -= 360.0;
    TLook look;
    look.ok = true;
    look.azDeg = azDeg;
    look.elDeg = std::atan2(upKm, groundKm) * kDegPerRad;
    look.rangeKm = std::hypot(groundKm, upKm);  // the range rate is left 0: nothing here reads it
    return look;
  }

  TLookAt LookAt() const {
    return [pass = *this](double jd) { return pass.At(jd); };
  }

  // The ground distance at which the track is seen at elevationDeg: the positive root of
  // r^2 / (2 R) + r tan(e) - h = 0.
  double GroundKmAt(double elevationDeg) const {
    const double t = std::tan(elevationDeg / kDegPerRad);
    return kLineEarthRadiusKm * (-t + std::sqrt(t * t + 2.0 * heightKm / kLineEarthRadiusKm));
  }
  // Half the time the track spends above elevationDeg, in days.
  double HalfPassDays(double elevationDeg) const {
    const double r = GroundKmAt(elevationDeg);
    return std::sqrt(r * r - closestKm * closestKm) / speedKmS / kSecondsPerDay;
  }
  double RiseJd(double elevationDeg) const { return closestJd - HalfPassDays(elevationDeg); }
  double SetJd(double elevationDeg) const { return closestJd + HalfPassDays(elevationDeg); }
  double MaxElevationDeg() const {
    return std::atan2(heightKm - closestKm * closestKm / (2.0 * kLineEarthRadiusKm), closestKm) *
           kDegPerRad;
  }
};

// The passes the rotator tests fly. Through the north from azimuth 300 over 0 to 60; through the
// south from 120 over 180 to 240; and a near-overhead one (83 degrees) from the north-east to the
// south-west that swings through north-west near its top.
inline TLinePass NorthPass() {
  TLinePass pass;
  pass.closestBearingDeg = 0;
  pass.clockwise = true;
  // Seen at the horizon 60 degrees either side of north: the track's half-length there is
  // tan 60 times its distance, and the whole makes twice the distance.
  pass.closestKm = 0.5 * pass.GroundKmAt(0.0);
  return pass;
}

inline TLinePass SouthPass() {
  TLinePass pass = NorthPass();
  pass.closestBearingDeg = 180;
  return pass;
}

inline TLinePass OverheadPass() {
  TLinePass pass;
  pass.closestBearingDeg = 315;
  pass.clockwise = false;
  pass.closestKm = 60;
  pass.heightKm = 500;
  return pass;
}

}  // namespace zen::station::test
