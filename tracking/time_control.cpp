// Which moment the tracker computes for: real time from the machine clock, or simulation.
#include "tracking/time_control.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/numeric.h"
#include "tracking/date_text.h"

namespace zen {

TTimeControl::TTimeControl() {
  // Unit lengths as differences of calendar moments, so they carry the same rounding as
  // every other Julian date of the program.
  const TDateRec origin{2000, 1, 1, 0, 0, 0, 0};
  double j0 = DateRecToJulian(origin);
  TDateRec r = origin;
  r.second = 1;
  UnitLength[0] = DateRecToJulian(r) - j0;
  r = origin;
  r.minute = 1;
  UnitLength[1] = DateRecToJulian(r) - j0;
  r = origin;
  r.hour = 1;
  UnitLength[2] = DateRecToJulian(r) - j0;
  r = origin;
  r.day = 2;
  UnitLength[3] = DateRecToJulian(r) - j0;
}

void TTimeControl::PobierzCzas(const TDateRec& machineClock) {
  MachineTime = DateRecToJulian(machineClock);
  if (mode_ == TTimeMode::Simulation) {
    NowUtc = LocalToUtc(SimTime, utcOffsetHours_);
    UtcRecord = JulianToDateRec(NowUtc);
    LocalRecord = JulianToDateRec(SimTime);
  } else {
    LocalRecord = machineClock;
    SimTime = MachineTime;
    NowUtc = LocalToUtc(MachineTime, utcOffsetHours_);
    UtcRecord = JulianToDateRec(NowUtc);
  }
}

bool TTimeControl::SetMode(TTimeMode mode, bool beginAfterReturnToRealTime) {
  bool resetToBegin = false;
  if (mode == TTimeMode::RealTime) {
    AutoStep = 0;
    resetToBegin = beginAfterReturnToRealTime && WentToEvent;
    WentToEvent = false;
  }
  mode_ = mode;
  return resetToBegin;
}

double TTimeControl::JumpMultiplierValue() const {
  const char* text = kJumpMultiplierNames[static_cast<size_t>(JumpMultiplier)];
  double value = 0.0;
  std::from_chars(text, text + std::strlen(text), value);
  return value;
}

double TTimeControl::JumpInterval() const {
  return UnitLength[static_cast<size_t>(JumpUnit)] * JumpMultiplierValue();
}

void TTimeControl::Jump(int direction) { SimTime += direction * JumpInterval(); }

void TTimeControl::ToggleAutoForward() { AutoStep = (AutoStep == 1) ? 0 : 1; }

void TTimeControl::ToggleAutoBackward() { AutoStep = (AutoStep == -1) ? 0 : -1; }

bool TTimeControl::AutoTick() {
  if (mode_ != TTimeMode::Simulation || AutoStep == 0) return false;
  SimTime += UnitLength[static_cast<size_t>(JumpUnit)] * AutoStep * JumpMultiplierValue();
  return true;
}

double TTimeControl::WheelStep(int wheelDelta, TWheelKeys keys) const {
  if (mode_ != TTimeMode::Simulation || wheelDelta == 0) return 0.0;
  int sign = wheelDelta > 0 ? 1 : -1;
  if (keys.other) return 0.0;
  if (!keys.shift && !keys.ctrl) return sign * JumpInterval();
  if (keys.shift && !keys.ctrl) return sign * UnitLength[kJumpUnitMarker];
  if (keys.ctrl && !keys.shift) return sign * 5.0 * UnitLength[kJumpUnitMarker];
  return 0.0;
}

std::string TTimeControl::UstawCzas(std::string_view typed) {
  TNormalisedDate d = NormaliseDateText(typed);
  SimTime = DateRecToJulian(d.record);
  if (Display == TTimeDisplay::Utc) SimTime = UtcToLocal(SimTime, utcOffsetHours_);
  return d.text;
}

void TTimeControl::SetUTCOffset(double hours) {
  if (!(hours >= -12.0)) hours = -12.0;  // also catches a NaN from a damaged settings file
  if (hours > 12.0) hours = 12.0;
  utcOffsetHours_ = hours;
  offsetText_ = UtcOffsetText(hours);
}

const TDateRec& TTimeControl::DisplayRecord() const {
  return Display == TTimeDisplay::Utc ? UtcRecord : LocalRecord;
}

double TTimeControl::DisplayMoment() const {
  return Display == TTimeDisplay::Utc ? NowUtc : SimTime;
}

void TTimeControl::SetActivePeriod(double periodDays) {
  UnitLength[kJumpUnitPeriod] = periodDays;
  UnitLength[kJumpUnitMarker] = periodDays / 100.0;
}

std::string UtcOffsetText(double hours) {
  double magnitude = std::fabs(hours);
  double whole = std::trunc(magnitude);
  // Hundredths of an hour to minutes (0.5 h -> 50 -> 30 min), rounded half to even.
  double minutes = std::nearbyint(std::trunc((magnitude - whole) * 100.0 + 1e-9) * 6.0 / 10.0);
  return std::string(1, SignChar(hours)) + std::to_string(static_cast<int>(whole)) + ":" +
         TwoDigits(static_cast<unsigned>(minutes));
}

std::string TimeZoneQuestion(double currentHours, double detectedHours) {
  return "UTC offset detected on this machine is different from saved one.\r"
         "Do you want to change it from " +
         UtcOffsetText(currentHours) + " to " + UtcOffsetText(detectedHours) + "?";
}

}  // namespace zen
