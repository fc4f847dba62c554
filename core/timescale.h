// Julian dates, calendar records, element-set epochs, local offsets and sidereal angles.
#pragma once

#include <cstdint>
#include <string>

namespace zen {

// Calendar date and time of day; text form yyyy-mm-dd hh:mm:ss.
struct TDateRec {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t hundredths = 0;

  friend bool operator==(const TDateRec&, const TDateRec&) = default;
};

// Julian date of 1950 January 0.0, the origin of the deep-space model's day count.
inline constexpr double kJulianDate1950 = 2433281.5;
// Julian date of 2000 January 1.5 (J2000).
inline constexpr double kJulianDate2000 = 2451545.0;

// The instant before 1 January 0h of the year (0.0 January).
double JulianDateOfYear(int year);
// An element-set epoch yyddd.dddddddd that names a moment: a two-digit year and a day of
// year from 0 up to (not including) 367.
bool EpochInRange(double epoch);
// yyddd.dddddddd of an element set; two-digit years 57..99 are 1957..1999, 00..56 2000..2056.
// NaN for an epoch that is not EpochInRange.
double JulianDateOfEpoch(double epoch);
int DayOfYear(int year, int month, int day);
double FractionOfDay(int hour, int minute, int second, int hundredths);
double DateRecToJulian(const TDateRec& date);
TDateRec JulianToDateRec(double jd);
// "2001 Dec 16": rounds with the time text's decimals, so 23:59:59.9999 is the next day.
// "???? ??? ??" for a date that is not finite or lies outside the years 1..9999.
std::string JulianToDateText(int places, double jd);
// "20:26:08.123" with colons, "202608.123" without; 0..3 decimals of the second. Question
// marks in place of the digits when jd is not finite.
std::string JulianToTimeText(bool colons, int places, double jd);
// "2001-12-16 20:26:08"; hundredths are not shown.
std::string DateRecToText(const TDateRec& date);
// The machine's local clock; hundredths 0.
TDateRec NowDateRec();

// utcOffsetHours is local time minus UTC.
double LocalToUtc(double jd, double utcOffsetHours);
double UtcToLocal(double jd, double utcOffsetHours);

// Greenwich mean sidereal angle (radians, [0, 2pi)) at an element-set epoch; also gives the
// epoch's days since 1950 January 0.0, which the deep-space model keeps. Both are NaN for an
// epoch that is not EpochInRange.
double SiderealTimeAtEpoch(double epoch, double& daysSince1950);
double SiderealTimeAtEpoch(double epoch);
// Greenwich mean sidereal angle (radians, [0, 2pi)) at a Julian date.
double SiderealTime(double jd);
// Dynamical-time correction (seconds) for a possibly fractional year.
double DeltaEt(double year);

std::string TwoDigits(unsigned n);
std::string ThreeDigits(unsigned n);

}  // namespace zen
