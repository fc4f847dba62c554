// The Moon and the sky's frame at the compute cycle's moment, for the map, the radar and the
// information tables.
#pragma once

#include "core/observer.h"
#include "sky/sky_site.h"

namespace zen {

class TSkyNow {
 public:
  // Works out the Moon for the site at nowUtc. The rise and set belong to the local day of
  // nowUtc by the given UTC offset and are worked out again only when the day or the site
  // changes; the age once a minute, at the minute's start, and counted on from there.
  void Compute(double nowUtc, const TGeodetic& site, const TObserverFrame& frame,
               double utcOffsetHours);

  // False outside the sky's dates (1950-2100): then nothing below means anything.
  bool valid = false;
  double moment = 0.0;
  TSky sky;
  TBodyView moon;
  TMoonPhase phase;
  double moonAzimuth = 0.0;    // degrees
  double moonElevation = 0.0;  // degrees, refracted
  TGeodetic moonGeodetic;      // sub-lunar point
  double moonSubLatitude = 0.0;   // degrees
  double moonSubLongitude = 0.0;  // degrees, (-180, 180]
  TRiseSet moonRiseSet;
  double riseSetDay = 0.0;  // UTC Julian date of the local day's start the events belong to

 private:
  TGeodetic riseSetSite_;
  bool riseSetKnown_ = false;
  double ageMinute_ = -1.0;  // UTC Julian date of the minute ageAtMinute_ belongs to
  double ageAtMinute_ = 0.0;
};

// The UTC Julian date at which the local day (by the UTC offset) holding jdUtc begins.
double LocalDayStartUtc(double jdUtc, double utcOffsetHours);

}  // namespace zen
