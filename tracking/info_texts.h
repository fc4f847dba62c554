// The texts of the information tables: the live state, the orbit, and copies to the clipboard.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tracking/compute_cycle.h"
#include "tracking/satellite_list.h"
#include "tracking/sky_now.h"

namespace zen {

inline constexpr const char* kDegreeSign = "\u00B0";
// Shown in place of a value that is not available: not finite (an orbit with no period, a
// broken decode) or far beyond anything the column can mean.
inline constexpr const char* kUnavailableText = "-";

// The set as the element box shows it: its two lines, or for a set read from a mean-elements
// message its fields in that message's names and units, "KEY = value" per line.
std::string ElementSetText(const TCatalogSet& set);

// "12.3456° E": four decimals, the sign as a letter (zero reads E and N).
std::string LatLonText(double valueDeg, bool isLatitude);
// "123.456°".
std::string AngleText(double angleDeg);
// "1h 32m 45s (92.75 min)"; unavailable unless the period is above 0 and below a million days.
std::string PeriodText(double periodDays);
std::string EclipseText(int eclipseState);
// "Ascending" when the inertial velocity's z component is >= 0, else "Descending".
std::string DirectionText(double velocityZ);

inline constexpr int kLiveRows = 20;
inline constexpr int kOrbitRows = 17;
extern const std::array<const char*, kLiveRows> kLiveLabels;
extern const std::array<const char*, kOrbitRows> kOrbitLabels;

// Column 1 of the live table: the active satellite (rows 0-12, empty without one) and the Sun
// (rows 15-19, always).
std::array<std::string, kLiveRows> LiveTableValues(const TSatelliteList& list, const TSunNow& sun);
// Column 1 of the orbit table for the active satellite's elements; all empty when none.
std::array<std::string, kOrbitRows> OrbitTableValues(const TActiveSnapshot& snapshot);
// The rows that follow the live table's documented ones, in a table of their own below it,
// reached by scrolling in the smallest window: the active satellite's astrometric J2000 right
// ascension and declination, then the Moon for the site whatever the map shows of it.
inline constexpr int kLiveMoreRows = 14;
extern const std::array<const char*, kLiveMoreRows> kLiveMoreLabels;
// Shown for a rise, culmination or set the local day does not have.
inline constexpr const char* kNoEventText = "none";

// "Waxing crescent", "Full Moon", ...: one of eight names, each for an eighth of the turn of
// the elongation (180 degrees less the phase angle), waxing before half the synodic month.
std::string MoonPhaseName(const TMoonPhase& phase);
// The local clock time "hh:mm" of an event in the local day beginning at dayStartUtc, rounded
// to the minute and kept within that day; kNoEventText for no event (NaN).
std::string LocalEventText(double eventUtc, double dayStartUtc);
// Column 1 of those rows: the satellite's rows empty without an active satellite (as the live
// table's are), and unavailable when the sky has no value for the moment (a date it does not
// accept).
std::array<std::string, kLiveMoreRows> LiveMoreValues(const TSatelliteList& list,
                                                      const TSunNow& sun, const TSkyNow& sky);
std::vector<std::string> WidestLiveMoreValues();

// The orbit table's "Epoch" label with the elements' age at moment nowJd beside it, short enough
// for the label column: "Epoch (3.4 d old)", "Epoch (in 2.5 d)"; "Epoch" alone when either
// moment is unknown.
std::string EpochLabelText(double epochJd, double nowJd);

// The widest texts the value columns are made to show whole, from the texts above at their
// widest: a longitude of 179.9999° W, the Sun's range at aphelion, ranges and heights of the
// farthest satellites, and for the orbit a period of 999 hours and more (any orbit the catalogue
// holds; the Moon's own month is 656 hours). Names are left out: they may be longer than any
// column.
std::vector<std::string> WidestLiveValues();
std::vector<std::string> WidestOrbitValues();

// The whole two-column table as text: labels padded right to the longest label + 1, values
// padded left to the longest value, lines ended by CR LF. Widths count characters.
std::string TableText(const std::vector<std::string>& labels,
                      const std::vector<std::string>& values);

size_t CharacterCount(const std::string& utf8);

}  // namespace zen
