// Time control: real time and simulation, jumps, automatic stepping, offsets and the wheel.
#include <gtest/gtest.h>

#include <cmath>

#include "tracking/date_text.h"
#include "tracking/time_control.h"

namespace zen {
namespace {

// Julian dates near 2.45e6 carry about 5e-10 days of rounding.
constexpr double kJulianRounding = 1e-9;
constexpr double kMinute = 1.0 / 1440.0;

const TDateRec kClock{2026, 5, 30, 21, 15, 30, 0};

TEST(TimeControl, UnitLengthsAreCalendarDifferences) {
  // Differences of Julian dates near 2.45e6, so each carries their rounding.
  TTimeControl t;
  EXPECT_NEAR(t.UnitLength[0], 1.0 / 86400.0, kJulianRounding);
  EXPECT_NEAR(t.UnitLength[1], kMinute, kJulianRounding);
  EXPECT_NEAR(t.UnitLength[2], 1.0 / 24.0, kJulianRounding);
  EXPECT_EQ(t.UnitLength[0], DateRecToJulian({2000, 1, 1, 0, 0, 1, 0}) -
                                 DateRecToJulian({2000, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(t.UnitLength[3], 1.0);
  EXPECT_EQ(t.UnitLength[4], 0.0);
  EXPECT_EQ(t.UnitLength[5], 0.0);
}

TEST(TimeControl, RealTimeFollowsTheClockThroughTheOffset) {
  TTimeControl t;
  t.SetUTCOffset(2.0);
  t.PobierzCzas(kClock);
  EXPECT_EQ(t.LocalRecord, kClock);
  EXPECT_EQ(t.SimTime, t.MachineTime);
  EXPECT_NEAR(t.NowUtc, DateRecToJulian(kClock) - 2.0 / 24.0, kJulianRounding);
  EXPECT_EQ(t.UtcRecord, (TDateRec{2026, 5, 30, 19, 15, 30, 0}));
}

TEST(TimeControl, SimulationStartsFromNowAndJumpsExactly) {
  TTimeControl t;
  t.PobierzCzas(kClock);
  t.SetMode(TTimeMode::Simulation, false);
  t.JumpUnit = 1;        // min
  t.JumpMultiplier = 3;  // 5
  t.Jump(+1);
  t.PobierzCzas(TDateRec{2026, 5, 30, 21, 16, 0, 0});  // the clock runs on; simulation does not
  EXPECT_NEAR(t.SimTime - DateRecToJulian(kClock), 5 * kMinute, kJulianRounding);
  EXPECT_EQ(t.LocalRecord, (TDateRec{2026, 5, 30, 21, 20, 30, 0}));
  t.Jump(-1);
  t.Jump(-1);
  EXPECT_EQ(JulianToDateRec(t.SimTime), (TDateRec{2026, 5, 30, 21, 10, 30, 0}));
}

struct MultiplierCase {
  int index;
  double value;
};

TEST(TimeControl, MultipliersReadTheirTexts) {
  const MultiplierCase cases[] = {{0, 0.25}, {1, 0.5}, {2, 1}, {3, 5},
                                  {4, 10},   {5, 20},  {6, 30}, {7, 60}};
  TTimeControl t;
  t.JumpUnit = 0;
  for (const MultiplierCase& c : cases) {
    t.JumpMultiplier = c.index;
    EXPECT_EQ(t.JumpMultiplierValue(), c.value);
    EXPECT_DOUBLE_EQ(t.JumpInterval(), c.value * t.UnitLength[0]);
  }
}

TEST(TimeControl, PeriodUnitsAreZeroUntilASatelliteWasActive) {
  TTimeControl t;
  t.PobierzCzas(kClock);
  t.SetMode(TTimeMode::Simulation, false);
  t.JumpMultiplier = 2;  // "1"
  double before = t.SimTime;
  for (int unit : {kJumpUnitPeriod, kJumpUnitMarker}) {
    t.JumpUnit = unit;
    t.Jump(+1);
    EXPECT_EQ(t.SimTime, before);
  }
  t.SetActivePeriod(0.0641);
  t.JumpUnit = kJumpUnitPeriod;
  t.Jump(+1);
  EXPECT_NEAR(t.SimTime - before, 0.0641, kJulianRounding);
  t.JumpUnit = kJumpUnitMarker;
  t.Jump(+1);
  EXPECT_NEAR(t.SimTime - before, 0.0641 * 1.01, kJulianRounding);
}

TEST(TimeControl, AutomaticSteppingTogglesAndSwapsCaptions) {
  TTimeControl t;
  t.ToggleAutoForward();
  EXPECT_EQ(t.AutoStep, 1);
  EXPECT_STREQ(t.AutoForwardCaption(), "STOP");
  EXPECT_STREQ(t.AutoBackwardCaption(), "Auto bck");
  t.ToggleAutoForward();
  EXPECT_EQ(t.AutoStep, 0);
  EXPECT_STREQ(t.AutoForwardCaption(), "Auto fwd");
  t.ToggleAutoForward();
  t.ToggleAutoBackward();  // backward while forward runs
  EXPECT_EQ(t.AutoStep, -1);
  EXPECT_STREQ(t.AutoForwardCaption(), "Auto fwd");
  EXPECT_STREQ(t.AutoBackwardCaption(), "STOP");
  t.SetMode(TTimeMode::RealTime, false);
  EXPECT_EQ(t.AutoStep, 0);
  EXPECT_STREQ(t.AutoForwardCaption(), "Auto fwd");
  EXPECT_STREQ(t.AutoBackwardCaption(), "Auto bck");
}

TEST(TimeControl, AutoTickMovesOnlyInSimulation) {
  TTimeControl t;
  t.PobierzCzas(kClock);
  t.ToggleAutoBackward();
  EXPECT_FALSE(t.AutoTick());  // real time
  t.SetMode(TTimeMode::Simulation, false);
  t.JumpUnit = 2;        // hour
  t.JumpMultiplier = 0;  // 0.25
  double before = t.SimTime;
  EXPECT_TRUE(t.AutoTick());
  EXPECT_NEAR(t.SimTime - before, -0.25 / 24.0, kJulianRounding);
}

TEST(TimeControl, ReturnToRealTimeAfterAnEvent) {
  TTimeControl t;
  t.SetMode(TTimeMode::Simulation, false);
  t.WentToEvent = true;
  EXPECT_FALSE(t.SetMode(TTimeMode::RealTime, false));
  EXPECT_FALSE(t.WentToEvent);
  t.SetMode(TTimeMode::Simulation, false);
  t.WentToEvent = true;
  EXPECT_TRUE(t.SetMode(TTimeMode::RealTime, true));
  EXPECT_FALSE(t.SetMode(TTimeMode::RealTime, true));  // cleared by the first return
}

struct WheelCase {
  int delta;
  TWheelKeys keys;
  double markers;  // expected step in markers, or NaN for "one jump interval"
};

TEST(TimeControl, WheelStepsByKeys) {
  TTimeControl t;
  t.PobierzCzas(kClock);
  t.SetActivePeriod(0.07);
  t.JumpUnit = 1;
  t.JumpMultiplier = 4;  // 10 min
  EXPECT_EQ(t.WheelStep(120, {}), 0.0);  // real time: nothing
  t.SetMode(TTimeMode::Simulation, false);
  const WheelCase cases[] = {
      {120, {}, NAN},           {-120, {}, NAN},
      {120, {true, false, false}, 1}, {-120, {true, false, false}, -1},
      {120, {false, true, false}, 5}, {-240, {false, true, false}, -5},
      {120, {true, true, false}, 0},  {120, {false, false, true}, 0},
      {0, {}, 0},
  };
  for (const WheelCase& c : cases) {
    double expected = std::isnan(c.markers) ? (c.delta > 0 ? 1 : -1) * 10 * t.UnitLength[1]
                                            : c.markers * 0.0007;
    EXPECT_NEAR(t.WheelStep(c.delta, c.keys), expected, 1e-15)
        << c.delta << " shift " << c.keys.shift << " ctrl " << c.keys.ctrl;
  }
}

struct OffsetCase {
  double hours;
  const char* text;
  double stored;
};

TEST(UtcOffset, TextsAndClamping) {
  const OffsetCase cases[] = {
      {5.5, "+5:30", 5.5},   {-3.5, "-3:30", -3.5}, {1.0, "+1:00", 1.0},  {0.0, "+0:00", 0.0},
      {12.5, "+12:00", 12},  {-13, "-12:00", -12},  {5.75, "+5:45", 5.75}, {-0.5, "-0:30", -0.5},
  };
  for (const OffsetCase& c : cases) {
    TTimeControl t;
    t.SetUTCOffset(c.hours);
    EXPECT_EQ(t.OffsetText(), c.text) << c.hours;
    EXPECT_EQ(t.UtcOffsetHours(), c.stored);
  }
  TTimeControl t;
  EXPECT_EQ(t.OffsetLabel(), "UTC +0:00");
  t.SetUTCOffset(12.0);
  t.SetUTCOffset(t.UtcOffsetHours() + 0.5);  // "+" at +12:00
  EXPECT_EQ(t.OffsetLabel(), "UTC +12:00");
  t.SetUTCOffset(NAN);
  EXPECT_EQ(t.UtcOffsetHours(), -12.0);
}

TEST(UtcOffset, QuestionNamesBothOffsets) {
  EXPECT_EQ(TimeZoneQuestion(1.0, 2.0),
            "UTC offset detected on this machine is different from saved one.\r"
            "Do you want to change it from +1:00 to +2:00?");
}

TEST(TimeControl, TypedMomentIsReadInTheDisplayedScale) {
  TTimeControl t;
  t.SetUTCOffset(5.5);
  t.PobierzCzas(kClock);
  t.SetMode(TTimeMode::Simulation, false);
  t.Display = TTimeDisplay::Utc;
  EXPECT_EQ(t.UstawCzas("2002-06-01 12:00:00"), "2002-06-01 12:00:00");
  t.PobierzCzas(kClock);
  EXPECT_EQ(DateRecToText(t.DisplayRecord()), "2002-06-01 12:00:00");
  t.Display = TTimeDisplay::Local;
  EXPECT_EQ(DateRecToText(t.DisplayRecord()), "2002-06-01 17:30:00");
  t.UstawCzas("2002-06-01 12:00:00");
  t.PobierzCzas(kClock);
  EXPECT_EQ(DateRecToText(t.DisplayRecord()), "2002-06-01 12:00:00");
  EXPECT_EQ(DateRecToText(t.UtcRecord), "2002-06-01 06:30:00");
}

struct DateTextCase {
  const char* typed;
  const char* normal;
};

TEST(NormaliseDateText, HoldsEveryFieldInRange) {
  const DateTextCase cases[] = {
      {"2023-02-30 25:61:61", "2023-02-28 23:59:59"},
      {"2024-02-30 12:00:00", "2024-02-29 12:00:00"},
      {"0000-00-00 00:00:00", "2000-01-01 00:00:00"},
      {"1900-06-15 10:00:00", "1958-06-15 10:00:00"},
      {"2100-06-15 10:00:00", "2055-06-15 10:00:00"},
      {"2023-02-29 10:00:00", "2023-02-28 10:00:00"},
      {"2000-02-29 10:00:00", "2000-02-29 10:00:00"},
      {"2100-02-29 10:00:00", "2055-02-28 10:00:00"},
      {"2026-13-31 10:00:00", "2026-12-31 10:00:00"},
      {"2026-04-31 10:00:00", "2026-04-30 10:00:00"},
      {"abcd-ef-gh ij:kl:mn", "2000-01-01 00:00:00"},
      {"____-__-__ __:__:__", "2000-01-01 00:00:00"},
      {"2026-05-30", "2026-05-30 00:00:00"},
      {"", "2000-01-01 00:00:00"},
      {"2026-05-30 12:34:56 trailing", "2026-05-30 12:34:56"},
      {"2026--5-30 12:34:56", "2026-01-30 12:34:56"},
  };
  for (const DateTextCase& c : cases) {
    TNormalisedDate d = NormaliseDateText(c.typed);
    EXPECT_EQ(d.text, c.normal) << '"' << c.typed << '"';
    EXPECT_EQ(DateRecToText(d.record), d.text);
    EXPECT_EQ(d.record.hundredths, 0);
  }
}

}  // namespace
}  // namespace zen
