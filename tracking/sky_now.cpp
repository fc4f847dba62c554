#include "tracking/sky_now.h"

#include <cmath>

#include "core/timescale.h"

namespace zen {

double LocalDayStartUtc(double jdUtc, double utcOffsetHours) {
  const double local = UtcToLocal(jdUtc, utcOffsetHours);
  const double midnight = std::floor(local - 0.5) + 0.5;
  return LocalToUtc(midnight, utcOffsetHours);
}

void TSkyNow::Compute(double nowUtc, const TGeodetic& site, const TObserverFrame& frame,
                      double utcOffsetHours) {
  valid = sky.At(nowUtc);
  if (!valid) return;
  moment = nowUtc;
  moon = BodyView(sky, frame, sky.Moon(), kMoonRadiusKm);
  moonAzimuth = Degrees(moon.look.first);
  moonElevation = Degrees(moon.look.second);
  moonGeodetic = EciToGeodetic(sky.Moon().pos, nowUtc);
  moonSubLatitude = Degrees(moonGeodetic.latitude);
  moonSubLongitude = Degrees(moonGeodetic.longitude);
  if (moonSubLongitude > 180.0) moonSubLongitude -= 360.0;

  const double minute = std::floor(nowUtc * 1440.0);
  const double ageDays = phase.ageDays;
  phase = MoonPhase(sky, frame, minute == ageMinute_ ? ageDays : MoonAgeDays(nowUtc));
  ageMinute_ = minute;

  const double day = LocalDayStartUtc(nowUtc, utcOffsetHours);
  const bool sameSite = riseSetKnown_ && riseSetSite_.latitude == site.latitude &&
                        riseSetSite_.longitude == site.longitude &&
                        riseSetSite_.altitude == site.altitude;
  if (!sameSite || day != riseSetDay) {
    riseSetDay = day;
    riseSetSite_ = site;
    riseSetKnown_ = true;
    moonRiseSet = MoonRiseSet(site, day);
  }
}

}  // namespace zen
