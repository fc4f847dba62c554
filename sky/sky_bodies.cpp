#include "sky/sky_bodies.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace zen {
namespace {

constexpr double kAuKm = ERFA_DAU / 1000.0;
constexpr double kSecondsPerDay = 86400.0;
// What pulls each body about the earth's centre (km^3/s^2): the earth and the Moon for the Moon,
// the Sun for the Sun (the earth goes round it, so seen from the earth the Sun falls the same).
constexpr double kEarthMoonGm = 398600.4418 + 4902.800066;
constexpr double kSunGm = 1.32712440018e11;

TBodyState FromAuPerDay(const double pv[2][3]) {
  TBodyState s;
  s.pos = {pv[0][0] * kAuKm, pv[0][1] * kAuKm, pv[0][2] * kAuKm, 0.0};
  s.vel = {pv[1][0] * kAuKm / kSecondsPerDay, pv[1][1] * kAuKm / kSecondsPerDay,
           pv[1][2] * kAuKm / kSecondsPerDay, 0.0};
  VecMagnitude(s.pos);
  VecMagnitude(s.vel);
  return s;
}

// The place one light time ago, moved back on a velocity (km/s): the light now arriving left
// the body that long ago, while the earth is where it is now.
void BackByLightTime(TBodyState& s, const TVector& velocity) {
  const double delay = s.pos.w / kSpeedOfLightKmPerS;
  s.pos = {s.pos.x - delay * velocity.x, s.pos.y - delay * velocity.y,
           s.pos.z - delay * velocity.z, 0.0};
  VecMagnitude(s.pos);
}

// Within the minute the body falls towards the earth's centre as well: a velocity kept from the
// minute's start would be off by up to 0.16 m/s at the Moon, a tenth of the shift of a
// moonbounce echo at 23 cm.
TBodyState Advanced(const TBodyState& s, double seconds, double gm) {
  const double pull = -gm / (s.pos.w * s.pos.w * s.pos.w);
  const double half = 0.5 * seconds * seconds * pull;
  TBodyState out;
  out.pos = {s.pos.x + seconds * s.vel.x + half * s.pos.x,
             s.pos.y + seconds * s.vel.y + half * s.pos.y,
             s.pos.z + seconds * s.vel.z + half * s.pos.z, 0.0};
  out.vel = {s.vel.x + seconds * pull * s.pos.x, s.vel.y + seconds * pull * s.pos.y,
             s.vel.z + seconds * pull * s.pos.z, 0.0};
  VecMagnitude(out.pos);
  VecMagnitude(out.vel);
  return out;
}

TBodyState InModelFrame(const TMatrix3& frame, const TBodyState& s) {
  return {Rotate(frame, s.pos), Rotate(frame, s.vel)};
}

}  // namespace

TBodyState MoonJ2000(double jdUtc) {
  const TTwoPartJd tt = TerrestrialTime(jdUtc);
  double pv[2][3];
  eraMoon98(tt.day, tt.fraction, pv);
  TBodyState s = FromAuPerDay(pv);
  // The Moon relative to the earth's centre when the light left it: the direction one sees
  // (the earth's own motion round the Sun shifts the place and the light alike).
  BackByLightTime(s, s.vel);
  return s;
}

TBodyState SunJ2000(double jdUtc) {
  const TTwoPartJd tt = TerrestrialTime(jdUtc);
  double heliocentric[2][3], barycentric[2][3];
  eraEpv00(tt.day, tt.fraction, heliocentric, barycentric);
  // The Sun seen from the earth is the earth's heliocentric vector turned round.
  double pv[2][3];
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 3; ++j) pv[i][j] = -heliocentric[i][j];
  TBodyState s = FromAuPerDay(pv);
  // The Sun moves round the barycentre at about 13 m/s: its place when the light left it is
  // the geometric one to a hundredth of an arcsecond. Taking the earth's orbital velocity here
  // instead would add the 20" of aberration and shift the range by up to 250 km.
  double sunBarycentric[2][3];
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 3; ++j) sunBarycentric[i][j] = barycentric[i][j] - heliocentric[i][j];
  BackByLightTime(s, FromAuPerDay(sunBarycentric).vel);
  return s;
}

bool TSky::At(double jdUtc) {
  if (!SkyDateAccepted(jdUtc)) return false;
  const double minute = std::floor((jdUtc - 0.5) * 1440.0) / 1440.0 + 0.5;
  if (minute != minute_) {
    minute_ = minute;
    frame_ = ModelFrameFromJ2000(minute);
    moonAtMinute_ = InModelFrame(frame_, MoonJ2000(minute));
    sunAtMinute_ = InModelFrame(frame_, SunJ2000(minute));
  }
  moment_ = jdUtc;
  const double seconds = (jdUtc - minute_) * kSecondsPerDay;
  moon_ = Advanced(moonAtMinute_, seconds, kEarthMoonGm);
  sun_ = Advanced(sunAtMinute_, seconds, kSunGm);
  return true;
}

}  // namespace zen
