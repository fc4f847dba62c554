// Time scales: Julian dates, calendar records, texts, local offsets and sidereal angles.
#include <gtest/gtest.h>

#include <cmath>

#include "core/numeric.h"
#include "core/timescale.h"

namespace zen {
namespace {

// A Julian date near 2.45e6 carries about 4e-10 days of rounding (35 microseconds).
constexpr double kJulianRounding = 1e-9;
constexpr double kOneSecondDays = 1.0 / 86400.0;

TEST(JulianDate, OfYearAndEpoch) {
  EXPECT_EQ(JulianDateOfYear(2001), 2451909.5);
  EXPECT_EQ(JulianDateOfYear(2000), 2451543.5);
  EXPECT_EQ(JulianDateOfYear(1958), 2436203.5);
  EXPECT_NEAR(JulianDateOfEpoch(1350.85148252), 2452260.35148252, kJulianRounding);
  // Two-digit years: 56 is 2056, 57 is 1957.
  EXPECT_EQ(JulianDateOfEpoch(56001.0), JulianDateOfYear(2056) + 1.0);
  EXPECT_EQ(JulianDateOfEpoch(57001.0), JulianDateOfYear(1957) + 1.0);
  EXPECT_EQ(JulianToDateRec(JulianDateOfEpoch(56001.0)).year, 2056);
  EXPECT_EQ(JulianToDateRec(JulianDateOfEpoch(57001.0)).year, 1957);
}

// The epoch field allows exponents: any value that is not a two-digit year and a day names no
// moment and gives no date, rather than an integer out of range.
TEST(JulianDate, EpochsOutOfRangeGiveNoDate) {
  for (double epoch : {99999.9999e+15, 1.0e300, -0.5, 26367.0, 100000.0, -1.0e300}) {
    EXPECT_FALSE(EpochInRange(epoch)) << epoch;
    double daysSince1950 = 0.0;
    EXPECT_TRUE(std::isnan(SiderealTimeAtEpoch(epoch, daysSince1950)) && std::isnan(daysSince1950));
    EXPECT_EQ(JulianToDateText(0, JulianDateOfEpoch(epoch)), "???? ??? ??") << epoch;
    EXPECT_EQ(JulianToTimeText(true, 2, JulianDateOfEpoch(epoch)), "??:??:??.??") << epoch;
  }
  for (double epoch : {0.0, 26150.5, 24366.99999999, 57001.0}) {
    EXPECT_TRUE(EpochInRange(epoch)) << epoch;
    double daysSince1950 = 0.0;
    SiderealTimeAtEpoch(epoch, daysSince1950);
    EXPECT_NEAR(daysSince1950, JulianDateOfEpoch(epoch) - kJulianDate1950, kJulianRounding);
  }
  for (double jd : {HUGE_VAL, 1.0e300, -5.0, 1.0e8}) {
    EXPECT_EQ(JulianToDateRec(jd).month, 0) << jd;
  }
}

struct DayCase {
  int year, month, day, expected;
};

TEST(DayOfYear, CountsLeapDaysByTheGregorianRule) {
  const DayCase cases[] = {
      {2000, 3, 1, 61}, {1900, 3, 1, 60}, {2004, 2, 29, 60}, {2001, 1, 1, 1},
      {2001, 12, 31, 365}, {2004, 12, 31, 366}, {2100, 12, 31, 365}, {2026, 5, 30, 150},
  };
  for (const DayCase& c : cases) {
    EXPECT_EQ(DayOfYear(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month;
  }
}

TEST(DateRec, RoundTripsThroughJulianDates) {
  for (uint16_t year : {1957, 1999, 2000, 2001, 2024, 2026, 2056}) {
    for (uint16_t month = 1; month <= 12; ++month) {
      for (uint16_t day : {1, 15, 28}) {
        for (uint16_t hour : {0, 11, 23}) {
          TDateRec r{year, month, day, hour, 59, 58, 0};
          EXPECT_EQ(JulianToDateRec(DateRecToJulian(r)), r) << DateRecToText(r);
        }
      }
    }
  }
  TDateRec withHundredths{2026, 5, 30, 12, 0, 7, 25};
  EXPECT_EQ(JulianToDateRec(DateRecToJulian(withHundredths)), withHundredths);
}

TEST(DateText, RoundsUpToTheNextDayJustBeforeMidnight) {
  double midnight = DateRecToJulian(TDateRec{2001, 12, 16, 0, 0, 0, 0});
  double before = midnight - 0.0001 * kOneSecondDays;
  EXPECT_EQ(JulianToDateText(3, before), "2001 Dec 16");
  EXPECT_EQ(JulianToTimeText(false, 3, before), "000000.000");
  EXPECT_EQ(JulianToDateText(3, midnight - 0.01 * kOneSecondDays), "2001 Dec 15");
  EXPECT_EQ(JulianToTimeText(true, 3, midnight - 0.01 * kOneSecondDays), "23:59:59.990");
}

TEST(DateText, GregorianSwitch) {
  // 2299160.5 is 15 October 1582 by the Gregorian branch; the Julian branch (up to
  // 2299160) gives 4 October for the day before.
  EXPECT_EQ(JulianToDateText(0, 2299160.5), "1582 Oct 15");
  EXPECT_EQ(JulianToDateText(0, 2299159.5), "1582 Oct 04");
}

TEST(TimeText, FormatsWithAndWithoutColons) {
  double jd = DateRecToJulian(TDateRec{2001, 12, 16, 20, 26, 8, 12});
  EXPECT_EQ(JulianToTimeText(true, 0, jd), "20:26:08");
  EXPECT_EQ(JulianToTimeText(false, 0, jd), "202608");
  EXPECT_EQ(JulianToTimeText(true, 2, jd), "20:26:08.12");
  EXPECT_EQ(JulianToTimeText(true, 9, jd), "20:26:08.120");  // places clamp to 3
  EXPECT_EQ(JulianToDateText(0, jd), "2001 Dec 16");
}

TEST(DateRecToText, FixedWidthFields) {
  EXPECT_EQ(DateRecToText(TDateRec{2001, 12, 16, 20, 26, 8, 0}), "2001-12-16 20:26:08");
  EXPECT_EQ(DateRecToText(TDateRec{2026, 1, 2, 3, 4, 5, 99}), "2026-01-02 03:04:05");
}

TEST(LocalOffset, RoundTripsAndShiftsByHours) {
  double jd = 2461190.25;
  EXPECT_NEAR(UtcToLocal(LocalToUtc(jd, 5.5), 5.5), jd, kJulianRounding);
  EXPECT_NEAR(LocalToUtc(jd, 2.0), jd - 2.0 / 24.0, kJulianRounding);
  EXPECT_NEAR(UtcToLocal(jd, -8.0), jd - 8.0 / 24.0, kJulianRounding);
}

TEST(SiderealTime, MatchesTheJ2000Value) {
  EXPECT_NEAR(Degrees(SiderealTime(kJulianDate2000)), 280.46061837, 1e-6);
  // One solar day later the angle has gained about 0.9856 degrees.
  double gain = Degrees(SiderealTime(kJulianDate2000 + 1.0) - SiderealTime(kJulianDate2000));
  EXPECT_NEAR(gain, 0.98564736, 1e-6);
  for (double jd : {2451545.0, 2452260.35, 2461190.9}) {
    double g = SiderealTime(jd);
    EXPECT_GE(g, 0.0);
    EXPECT_LT(g, kTwoPi);
  }
}

TEST(SiderealTime, AtEpochAgreesWithJulianDateFormAndGivesDaysSince1950) {
  double days = 0.0;
  double atEpoch = SiderealTimeAtEpoch(1350.85148252, days);
  EXPECT_NEAR(atEpoch, SiderealTime(2452260.35148252), 1e-9);
  EXPECT_NEAR(days, 2452260.35148252 - 2433281.5, kJulianRounding);
}

TEST(DeltaEt, FollowsTheFittedCurve) {
  EXPECT_NEAR(DeltaEt(1975.0), 26.465 + 0.747622 * 25, 1e-9);
  EXPECT_NEAR(DeltaEt(2000.0), 26.465 + 0.747622 * 50 + 1.886913 * std::sin(kTwoPi * 25 / 33),
              1e-9);
}

TEST(Digits, LeadingZeros) {
  EXPECT_EQ(TwoDigits(7), "07");
  EXPECT_EQ(TwoDigits(42), "42");
  EXPECT_EQ(ThreeDigits(7), "007");
  EXPECT_EQ(ThreeDigits(123), "123");
}

TEST(NowDateRec, IsAValidCalendarRecord) {
  TDateRec now = NowDateRec();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.second, 59);
  EXPECT_EQ(now.hundredths, 0);
}

}  // namespace
}  // namespace zen
