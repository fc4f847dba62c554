// Julian dates, calendar records, element-set epochs, local offsets and sidereal angles.
#include "core/timescale.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "core/numeric.h"

namespace zen {

namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Two blanks first, so that month m starts at character 3m (1-based).
constexpr char kMonthNames[] = "  JanFebMarAprMayJunJulAugSepOctNovDec";

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

double Frac(double x) { return x - std::trunc(x); }

int YearOfTwoDigits(int yy) { return yy >= 57 ? yy + 1900 : yy + 2000; }

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// An epoch is yy * 1000 + day of year.
constexpr double kEpochYearFactor = 1000.0;
constexpr double kEpochYearLimit = 100.0;
constexpr double kEpochDayLimit = 367.0;

// The epoch's two-digit year and day of year; false, with neither set, when the epoch names no
// moment (the year would not even fit an int for the largest values a field can hold).
bool SplitEpoch(double epoch, int& yy, double& day) {
  if (!EpochInRange(epoch)) return false;
  yy = static_cast<int>(std::trunc(epoch / kEpochYearFactor));
  day = Frac(epoch / kEpochYearFactor) * kEpochYearFactor;
  return true;
}

// Mean sidereal seconds at 0h UT of the day Tu centuries from J2000, advanced by the day
// fraction ut, reduced into one day.
double GmstSeconds(double tu, double ut) {
  double gmst = 24110.54841 + tu * (8640184.812866 + tu * (0.093104 - tu * 6.2e-6));
  return Modulus(gmst + 86636.555366976 * ut, 86400.0);
}

}  // namespace

double JulianDateOfYear(int year) {
  int y = year - 1;
  int a = y / 100;
  int b = 2 - a + a / 4;
  return std::trunc(365.25 * y) + 428.0 + 1720994.5 + b;
}

bool EpochInRange(double epoch) {
  if (!(epoch >= 0.0 && epoch < kEpochYearLimit * kEpochYearFactor)) return false;
  return Frac(epoch / kEpochYearFactor) * kEpochYearFactor < kEpochDayLimit;
}

double JulianDateOfEpoch(double epoch) {
  int yy = 0;
  double day = 0.0;
  if (!SplitEpoch(epoch, yy, day)) return kNaN;
  return JulianDateOfYear(YearOfTwoDigits(yy)) + day;
}

int DayOfYear(int year, int month, int day) {
  int sum = 0;
  for (int m = 1; m < month && m <= 12; ++m) sum += kMonthDays[m - 1];
  sum += day;
  if (IsLeapYear(year) && month > 2) ++sum;
  return sum;
}

double FractionOfDay(int hour, int minute, int second, int hundredths) {
  return (((second + hundredths / 100.0) / 60.0 + minute) / 60.0 + hour) / 24.0;
}

double DateRecToJulian(const TDateRec& d) {
  return JulianDateOfYear(d.year) + DayOfYear(d.year, d.month, d.day) +
         FractionOfDay(d.hour, d.minute, d.second, d.hundredths);
}

std::string JulianToDateText(int places, double jd) {
  // Outside these years the year's text would not keep its four places, and far outside them
  // the day count would not fit an int.
  static const double firstJd = JulianDateOfYear(1) + 1.0;
  static const double lastJd = JulianDateOfYear(10000);
  if (!(jd >= firstJd && jd < lastJd)) return "???? ??? ??";
  if (places < 0) places = 0;
  if (places > 3) places = 3;
  double half = (0.5 / 86400.0) / std::pow(10.0, places);
  double f = Frac(jd + 0.5);
  if (f + half >= 1.0) {
    f = 0.0;
    jd += half;
  }
  double z = std::trunc(jd + 0.5);
  double a = z;
  if (z > 2299160.0) {
    double alpha = std::trunc((z - 1867216.25) / 36524.25);
    a = z + 1.0 + alpha - std::trunc(alpha / 4.0);
  }
  double b = a + 1524.0;
  double c = std::trunc((b - 122.1) / 365.25);
  double d = std::trunc(365.25 * c);
  double e = std::trunc((b - d) / 30.6001);
  double day = b - d - std::trunc(30.6001 * e) + f;
  int month = e >= 13.5 ? static_cast<int>(std::lround(e - 13.0))
                        : static_cast<int>(std::lround(e - 1.0));
  int year = month > 2.5 ? static_cast<int>(c) - 4716 : static_cast<int>(c) - 4715;

  // A month outside 1..12 only comes from a date that is not finite.
  const char* monthName = (month >= 1 && month <= 12) ? kMonthNames + 3 * month - 1 : "???";
  char text[48];
  std::snprintf(text, sizeof text, "%4d %.3s %s", year, monthName,
                TwoDigits(static_cast<unsigned>(std::trunc(day))).c_str());
  return std::string(text).substr(0, 11);
}

std::string JulianToTimeText(bool colons, int places, double jd) {
  if (places < 0) places = 0;
  if (places > 3) places = 3;
  if (!std::isfinite(jd)) {
    std::string text = colons ? "??:??:??" : "??????";
    if (places > 0) text += "." + std::string(static_cast<size_t>(places), '?');
    return text;
  }
  double factor = std::pow(10.0, places);
  double s = Frac(jd - 0.5) * 86400.0;
  // nearbyint rounds half to even in the default rounding mode.
  s = std::nearbyint(s * factor) / factor;
  double h = std::trunc(s / 3600.0);
  s -= 3600.0 * h;
  double m = std::trunc(s / 60.0);
  s -= 60.0 * m;
  if (h == 24.0) h = 0.0;
  double v = 1000000.0 + 10000.0 * h + 100.0 * m + s;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*f", places, v);
  std::string text(buffer + 1);
  if (colons) {
    text.insert(4, ":");
    text.insert(2, ":");
  }
  return text.substr(0, 12);
}

TDateRec JulianToDateRec(double jd) {
  std::string date = JulianToDateText(3, jd);
  std::string time = JulianToTimeText(false, 3, jd);
  TDateRec r;
  r.year = static_cast<uint16_t>(IntField(date, 1, 4));
  std::string_view names(kMonthNames);
  size_t pos = names.find(std::string_view(date).substr(5, 3));
  // find gives a 0-based position; month m starts at 1-based character 3m.
  r.month = static_cast<uint16_t>(pos == std::string_view::npos ? 0 : (pos + 1) / 3);
  r.day = static_cast<uint16_t>(IntField(date, 10, 2));
  r.hour = static_cast<uint16_t>(IntField(time, 1, 2));
  r.minute = static_cast<uint16_t>(IntField(time, 3, 2));
  r.second = static_cast<uint16_t>(IntField(time, 5, 2));
  r.hundredths = static_cast<uint16_t>(IntField(time, 8, 2));
  return r;
}

std::string DateRecToText(const TDateRec& d) {
  return std::to_string(d.year) + "-" + TwoDigits(d.month) + "-" + TwoDigits(d.day) + " " +
         TwoDigits(d.hour) + ":" + TwoDigits(d.minute) + ":" + TwoDigits(d.second);
}

TDateRec NowDateRec() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  TDateRec r;
  r.year = static_cast<uint16_t>(local.tm_year + 1900);
  r.month = static_cast<uint16_t>(local.tm_mon + 1);
  r.day = static_cast<uint16_t>(local.tm_mday);
  r.hour = static_cast<uint16_t>(local.tm_hour);
  r.minute = static_cast<uint16_t>(local.tm_min);
  // A leap second reads as the last second of the minute.
  r.second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  r.hundredths = 0;
  return r;
}

double LocalToUtc(double jd, double utcOffsetHours) { return jd - utcOffsetHours / 24.0; }

double UtcToLocal(double jd, double utcOffsetHours) { return jd + utcOffsetHours / 24.0; }

double SiderealTimeAtEpoch(double epoch, double& daysSince1950) {
  int yy = 0;
  double d = 0.0;
  if (!SplitEpoch(epoch, yy, d)) {
    daysSince1950 = kNaN;
    return kNaN;
  }
  double ut = Frac(d);
  d = std::trunc(d);
  double jd = JulianDateOfYear(YearOfTwoDigits(yy)) + d;
  double tu = (jd - kJulianDate2000) / 36525.0;
  double gmst = GmstSeconds(tu, ut);
  daysSince1950 = jd + ut - kJulianDate1950;
  return kTwoPi * gmst / 86400.0;
}

double SiderealTimeAtEpoch(double epoch) {
  double unused = 0.0;
  return SiderealTimeAtEpoch(epoch, unused);
}

double SiderealTime(double jd) {
  double ut = Frac(jd + 0.5);
  double tu = (jd - ut - kJulianDate2000) / 36525.0;
  return kTwoPi * GmstSeconds(tu, ut) / 86400.0;
}

double DeltaEt(double year) {
  return 26.465 + 0.747622 * (year - 1950.0) + 1.886913 * std::sin(kTwoPi * (year - 1975.0) / 33.0);
}

std::string TwoDigits(unsigned n) {
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::string ThreeDigits(unsigned n) {
  return std::string(1, static_cast<char>('0' + n / 100)) + TwoDigits(n % 100);
}

}  // namespace zen
