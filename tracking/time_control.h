// Which moment the tracker computes for: real time from the machine clock, or simulation.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/timescale.h"

namespace zen {

enum class TTimeMode { RealTime = 0, Simulation = 1 };
enum class TTimeDisplay { Utc = 0, Local = 1 };

inline constexpr std::array<const char*, 6> kJumpUnitNames = {"sec", "min",    "hour",
                                                               "day", "period", "marker"};
inline constexpr std::array<const char*, 8> kJumpMultiplierNames = {"0.25", "0.50", "1",  "5",
                                                                     "10",   "20",   "30", "60"};
inline constexpr int kJumpUnitPeriod = 4;
inline constexpr int kJumpUnitMarker = 5;

// Modifier keys held during a wheel event.
struct TWheelKeys {
  bool shift = false;
  bool ctrl = false;
  bool other = false;  // Alt, Meta or any further modifier
};

class TTimeControl {
 public:
  TTimeControl();

  // Fetches the time from a reading of the machine's local clock.
  void PobierzCzas(const TDateRec& machineClock);

  // Switching to real time stops automatic stepping; returns true when "Sat on track" must
  // go back to "Begin" (after a jump to an event, when that option is on).
  bool SetMode(TTimeMode mode, bool beginAfterReturnToRealTime);
  TTimeMode Mode() const { return mode_; }

  double JumpMultiplierValue() const;
  double JumpInterval() const;
  // direction -1 or +1.
  void Jump(int direction);

  void ToggleAutoForward();
  void ToggleAutoBackward();
  const char* AutoForwardCaption() const { return AutoStep == 1 ? "STOP" : "Auto fwd"; }
  const char* AutoBackwardCaption() const { return AutoStep == -1 ? "STOP" : "Auto bck"; }
  // One refresh tick in simulation; false when nothing moved (no automatic stepping).
  bool AutoTick();

  // Step of SimTime for one wheel event (0 in real time or with other key combinations).
  double WheelStep(int wheelDelta, TWheelKeys keys) const;

  // Reads a typed moment, in the scale the time display shows, into SimTime; returns the
  // text in normal form.
  std::string UstawCzas(std::string_view typed);

  void SetUTCOffset(double hours);
  double UtcOffsetHours() const { return utcOffsetHours_; }
  const std::string& OffsetText() const { return offsetText_; }
  std::string OffsetLabel() const { return "UTC " + offsetText_; }

  // The record and moment the time display shows: UTC or local.
  const TDateRec& DisplayRecord() const;
  double DisplayMoment() const;

  // The period of the satellite last made active (days) sets the "period" and "marker" units.
  void SetActivePeriod(double periodDays);

  double MachineTime = 0.0;  // local clock, Julian date
  double SimTime = 0.0;      // simulated moment, local clock
  double NowUtc = 0.0;       // the moment of all computation
  TDateRec LocalRecord;
  TDateRec UtcRecord;
  int AutoStep = 0;  // -1 backward, 0 off, +1 forward
  std::array<double, 6> UnitLength{};
  int JumpUnit = 1;        // index into kJumpUnitNames ("min")
  int JumpMultiplier = 3;  // index into kJumpMultiplierNames ("5")
  TTimeDisplay Display = TTimeDisplay::Local;
  bool WentToEvent = false;

 private:
  TTimeMode mode_ = TTimeMode::RealTime;
  double utcOffsetHours_ = 0.0;
  std::string offsetText_ = "+0:00";
};

// "+5:30" for 5.5 hours, "-3:30" for -3.5.
std::string UtcOffsetText(double hours);

// The question offered when the machine's offset differs from the saved one.
std::string TimeZoneQuestion(double currentHours, double detectedHours);

}  // namespace zen
