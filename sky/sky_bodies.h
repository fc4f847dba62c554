// The Moon and the precise Sun: geocentric places from ERFA's lunar theory and Earth
// ephemeris, and a per-moment snapshot of both in the models' frame.
#pragma once

#include "core/numeric.h"
#include "sky/sky_frames.h"

namespace zen {

inline constexpr double kMoonRadiusKm = 1737.4;

// Geocentric position (km, magnitude filled) and velocity (km/s) of a body.
struct TBodyState {
  TVector pos;
  TVector vel;
};

// The Moon in the J2000 frame, as seen from the earth's centre: its place relative to the
// earth one light time ago, from ERFA's lunar theory.
TBodyState MoonJ2000(double jdUtc);
// The Sun in the J2000 frame, astrometric (its place when the light left it, from where the
// earth is now: no aberration), from ERFA's Earth ephemeris. This is the precise
// Sun of the sky features; the shadow, pass and flare rules keep their own (SunPosition).
TBodyState SunJ2000(double jdUtc);

// The Moon, the precise Sun and the frame turn at one moment, in the models' frame, so they
// meet the propagated satellites and the observer of ObserverPosVel. The frame and the two
// ephemerides are evaluated at the start of each UTC minute and kept: within the minute the
// bodies move on their velocities and fall towards the earth's centre (their velocities off by
// less than a centimetre a second, which a moonbounce echo's Doppler shift needs) and the frame
// turns by far less than a milliarcsecond. Every value depends only on the moment,
// never on what was asked before.
class TSky {
 public:
  // Moves the snapshot to a moment; false (and the snapshot unchanged) for a date the sky
  // does not accept.
  bool At(double jdUtc);
  double Moment() const { return moment_; }
  const TBodyState& Moon() const { return moon_; }
  const TBodyState& Sun() const { return sun_; }
  // The models' frame from J2000 at the moment.
  const TMatrix3& ModelFromJ2000() const { return frame_; }
  TVector ToJ2000(const TVector& model) const { return RotateBack(frame_, model); }
  TVector FromJ2000(const TVector& j2000) const { return Rotate(frame_, j2000); }

 private:
  double minute_ = 0.0;  // Julian date of the kept minute's start; 0 before the first
  TMatrix3 frame_;
  TBodyState moonAtMinute_;  // in the models' frame
  TBodyState sunAtMinute_;
  double moment_ = 0.0;
  TBodyState moon_;
  TBodyState sun_;
};

}  // namespace zen
