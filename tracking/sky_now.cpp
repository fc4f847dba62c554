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

  // The age is worked out at the start of the minute and counted on from there, so that it
  // depends on the moment alone and not on which second of the minute came first.
  const double minuteStart = std::floor(nowUtc * 1440.0) / 1440.0;
  if (minuteStart != ageMinute_) {
    ageAtMinute_ = MoonAgeDays(minuteStart);
    ageMinute_ = minuteStart;
  }
  phase = MoonPhase(sky, frame, ageAtMinute_ + (nowUtc - minuteStart));

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
