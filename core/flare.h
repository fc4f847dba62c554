// Mirror geometry of an Iridium antenna panel: how far the reflected Sun is from the observer.
#pragma once

#include <array>

#include "core/numeric.h"
#include "core/observer.h"

namespace zen {

// The three main mission antennas of a first-generation Iridium satellite, panels 1 to 3.
inline constexpr double kIridiumPanelTiltDeg = -40.0;
inline constexpr std::array<double, 3> kIridiumPanelAzimuthsDeg = {-120.0, 0.0, 120.0};

// A panel in inertial coordinates: its unit normal and two unit axes in its plane.
struct TPanelAxes {
  TVector normal;
  TVector inPlaneP;
  TVector inPlaneQ;
};

// The panel of azimuth a (about the body's near-vertical axis, from the velocity) and tilt t
// (radians; negative turns the normal toward the earth) of a satellite at pos, moving at vel.
// vel must be neither zero nor parallel to pos.
TPanelAxes PanelAxes(const TVector& pos, const TVector& vel, double panelAzimuth, double panelTilt);

// Angular distance (radians) between the Sun and the observer's line of sight mirrored in the
// panel, or pi when the observer is behind the panel. lineOfSight is the satellite's position
// minus the observer's (km) at jd; sunRaDec is TopocentricRaDec of the Sun for the same
// observer and moment. The right-ascension difference is taken the short way round the sky.
double FlareOffset(const TVector& pos, const TVector& vel, const TVector& lineOfSight, double jd,
                   TGeodetic observer, double panelAzimuth, double panelTilt,
                   const TLookAngles& sunRaDec);

}  // namespace zen
