// Two-line element sets: the text as stored, validation, and decoding into one element set.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zen {

// One element set as text, as read from the file (each line at most 69 characters).
struct TTleLines {
  std::string line1;
  std::string line2;

  friend bool operator==(const TTleLines&, const TTleLines&) = default;
};

// Earth and model constants shared by the decoder and the propagators.
inline constexpr double kEarthRadiusKm = 6378.135;
inline constexpr double kMinutesPerDay = 1440.0;
// 1.5 k2, with k2 = J2 / 2 in earth radii squared.
inline constexpr double kOneAndHalfK2 = 0.00081196185;
// Periods (minutes) from this length on are propagated with the deep-space model.
inline constexpr double kDeepSpacePeriodMinutes = 225.0;
// sqrt(3600 mu / R^3), earth radii^1.5 per minute, with mu in km^3/s^2.
double Ke();

// A decoded element set. Angles are radians, mean motion and its derivatives are per minute.
struct TElements {
  double epoch = 0.0;              // yyddd.dddddddd as read
  double epochJulian = 0.0;        // Julian date (UTC) of the epoch
  double meanMotionDot2 = 0.0;     // first derivative of mean motion / 2, rad/min^2
  double meanMotionDdot6 = 0.0;    // second derivative of mean motion / 6, rad/min^3
  double bstar = 0.0;              // drag term, per earth radius
  double inclination = 0.0;        // rad
  double rightAscension = 0.0;     // right ascension of the ascending node, rad
  double eccentricity = 0.0;
  double argPerigee = 0.0;         // rad
  double meanAnomaly = 0.0;        // rad
  double meanMotion = 0.0;         // rad/min, as read (no k2 correction)
  double meanMotionRecovered = 0.0;  // rad/min, corrected for the k2 term (chooses the model)
  int32_t revolutionNumber = 0;    // at epoch
  double periodDays = 0.0;         // 1 / mean motion in revolutions per day
  double semiMajorAxisKm = 0.0;
  double perigeeHeightKm = 0.0;    // above the equatorial radius
  double apogeeHeightKm = 0.0;
  std::string catalogNumber;       // CatalogNumberText of the number
  std::string launchYear;          // 4 digits
  std::string designator;          // for example 1997-066-A
  std::string elementSetNumber;    // trimmed
  bool UseDeepSpace = false;       // SDP4 when set, SGP4 otherwise
  bool ModelInitPending = false;   // set by every decode; cleared once the model is set up
};

// A decode that cannot go on: the message names the bad field.
class TElementError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool TleChecksumOk(std::string_view line);
// The layout checks (line numbers, checksums, points, ephemeris type) and two value checks: the
// epoch names a moment (two-digit year, day of year below 367) and the mean motion is above 0.
bool ElementSetValid(const TTleLines& lines);
// The number of line 1 columns 3-7 (blanks count as zeros, Alpha-5 read) as lists show it:
// "25544", "00005", "100000". Columns that hold no number give their text, blanks as "0" and
// every other byte outside printable ASCII as "?".
std::string CatalogNumberText(const TTleLines& lines);

// The mean elements in the units both element lines and mean-elements messages carry them.
struct TMeanElementFields {
  double revPerDay = 0.0;         // mean motion
  double nDot2RevPerDay2 = 0.0;   // first derivative of mean motion / 2
  double nDdot6RevPerDay3 = 0.0;  // second derivative of mean motion / 6
  double bstar = 0.0;             // per earth radius
  double inclinationDeg = 0.0;
  double nodeDeg = 0.0;  // right ascension of the ascending node
  double eccentricity = 0.0;
  double argPerigeeDeg = 0.0;
  double meanAnomalyDeg = 0.0;
};

// Stores the fields in the decoded units and fills what follows from them: the period, the
// recovered mean motion and axis, perigee and apogee heights and the model choice; sets
// ModelInitPending. Every decoder goes through here so the derived values cannot differ.
void SetMeanElements(const TMeanElementFields& fields, TElements& elements);

// Decodes a set into elements, with the derived values and the model choice, and sets
// ModelInitPending. Throws TElementError when the launch year or the revolution number is
// not an integer; elements is then left as it was.
void LoadElements(const TTleLines& lines, TElements& elements);

struct TNamedElements {
  const char* name;
  const char* line1;
  const char* line2;
};

// Built-in sets for the speed test: a deep-space orbit first, then a near-earth one.
inline constexpr std::array<TNamedElements, 2> SelfTestSatellites = {{
    {"MAQSAT H", "1 25023U 97066A   01350.85148252  .00001069  00000-0  82017-2 0  6009",
     "2 25023   7.7953 303.6598 6507984  22.7680 356.1723  3.08751599 46524"},
    {"ISS", "1 25544U 98067A   01352.14768052  .00078250  00000-0  94854-3 0  8583",
     "2 25544  51.6400 243.0480 0003252  49.4561  86.0846 15.59935715175780"},
}};

inline TTleLines SelfTestLines(size_t index) {
  return TTleLines{SelfTestSatellites[index].line1, SelfTestSatellites[index].line2};
}

}  // namespace zen
