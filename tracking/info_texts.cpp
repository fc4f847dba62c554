// The texts of the information tables: the live state, the orbit, and copies to the clipboard.
#include "tracking/info_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/numeric.h"
#include "core/timescale.h"
#include "tracking/element_age.h"

namespace zen {

namespace {

// No kilometre, degree or rate the tables show comes near this; a value beyond it comes from a
// set whose fields are numbers but no orbit, and would only overflow its column.
constexpr double kLargestShownValue = 1.0e12;
// The period text counts calendar days from 2000, which holds far beyond any orbit's period.
constexpr double kLongestPeriodDays = 1.0e6;

bool Showable(double value) {
  return std::isfinite(value) && std::fabs(value) < kLargestShownValue;
}

std::string Fixed(double value, int decimals) {
  if (!Showable(value)) return kUnavailableText;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string Rounded(double value) {
  if (!Showable(value)) return kUnavailableText;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::nearbyint(value));
  return buffer;
}

// The value's text followed by its unit, or the unavailable text alone.
std::string WithUnit(const std::string& text, const std::string& unit) {
  return text == kUnavailableText ? text : text + unit;
}

std::string DateText(double jd) {
  TDateRec r = JulianToDateRec(jd);
  return r.month == 0 ? kUnavailableText : DateRecToText(r);
}

}  // namespace

const std::array<const char*, kLiveRows> kLiveLabels = {
    "Name", "Lon",  "Lat", "Alt (km)", "Azm", "Elev", "RA",  "Decl", "Range (km)", "RRt (km/s)",
    "Vel (km/s)", "Direction", "Eclipse", "", "Sun", "Azm", "Elev", "Lon", "Lat", "Range (km)"};

const std::array<const char*, kOrbitRows> kOrbitLabels = {
    "Name",         "NORAD #",         "COSPAR designator",   "Element number",
    "Epoch",        "Orbit # at Epoch", "Inclination",        "RA of A. Node",
    "Eccentricity", "Argument of Perigee", "Revs per day",    "Period",
    "Semi-major axis", "Perigee / Apogee", "Mean anomaly",    "BStar (drag term)",
    "Propagation model"};

std::string LatLonText(double valueDeg, bool isLatitude) {
  if (!Showable(valueDeg)) return kUnavailableText;
  char letter = isLatitude ? (valueDeg < 0 ? 'S' : 'N') : (valueDeg < 0 ? 'W' : 'E');
  return Fixed(std::fabs(valueDeg), 4) + kDegreeSign + " " + letter;
}

std::string AngleText(double angleDeg) {
  return WithUnit(Fixed(angleDeg, 3), kDegreeSign);
}

std::string PeriodText(double periodDays) {
  if (!(periodDays > 0.0 && periodDays < kLongestPeriodDays)) return kUnavailableText;
  TDateRec r = JulianToDateRec(DateRecToJulian(TDateRec{2000, 1, 1, 0, 0, 0, 0}) + periodDays);
  int d = DayOfYear(r.year, r.month, r.day);
  // Periods of a year or more run past the origin year; count their whole days too.
  d += static_cast<int>(std::lround(JulianDateOfYear(r.year) - JulianDateOfYear(2000)));
  long hours = static_cast<long>(d - 1) * 24 + r.hour;
  long minutes = hours * 60 + r.minute;
  int hundredthsOfMinute = static_cast<int>(std::nearbyint(r.second * 10.0 / 6.0));
  return std::to_string(hours) + "h " + TwoDigits(r.minute) + "m " + TwoDigits(r.second) +
         "s (" + std::to_string(minutes) + "." + TwoDigits(static_cast<unsigned>(hundredthsOfMinute)) +
         " min)";
}

std::string EclipseText(int eclipseState) {
  if (eclipseState == 1) return "Penumbral";
  if (eclipseState == 2) return "Umbral";
  return "No";
}

std::string DirectionText(double velocityZ) { return velocityZ >= 0.0 ? "Ascending" : "Descending"; }

std::array<std::string, kLiveRows> LiveTableValues(const TSatelliteList& list, const TSunNow& sun) {
  std::array<std::string, kLiveRows> v;
  if (list.HasActiveSat()) {
    const TSatState& s = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
    v[0] = list.NameOf(list.ActiveSat);
    if (s.computed) {
      v[1] = LatLonText(s.longitude, false);
      v[2] = LatLonText(s.latitude, true);
      v[3] = Fixed(s.geodetic.altitude, 3);
      v[4] = AngleText(s.azimuth);
      v[5] = AngleText(s.elevation);
      v[6] = AngleText(s.rightAscension);
      v[7] = AngleText(s.declination);
      v[8] = Fixed(s.lookAngles.third, 3);
      v[9] = Fixed(s.lookAngles.fourth, 3);
      v[10] = Fixed(s.velocity.w, 3);
      v[11] = DirectionText(s.velocity.z);
      v[12] = EclipseText(s.eclipse);
    }
  }
  v[15] = AngleText(sun.azimuth);
  v[16] = AngleText(sun.elevation);
  v[17] = LatLonText(sun.subLongitude, false);
  v[18] = LatLonText(sun.subLatitude, true);
  v[19] = Fixed(sun.position.w, 1);
  return v;
}

const std::array<const char*, kLiveMoreRows> kLiveMoreLabels = {
    "", "RA J2000", "Decl J2000", "", "Moon", "Azm", "Elev", "Phase", "Phase ang.",
    "Illum. (%)", "Age (d)", "Rise", "Culmination", "Set"};

std::string MoonPhaseName(const TMoonPhase& phase) {
  constexpr double kSynodicMonthDays = 29.530588853;
  static const char* const kNames[] = {"New Moon",     "Waxing crescent", "First quarter",
                                       "Waxing gibbous", "Full Moon",     "Waning gibbous",
                                       "Last quarter", "Waning crescent"};
  if (!std::isfinite(phase.phaseAngle) || !std::isfinite(phase.ageDays)) return kUnavailableText;
  const double elongationDeg = 180.0 - Degrees(phase.phaseAngle);
  const int sector = static_cast<int>(std::floor(elongationDeg / 45.0 + 0.5));  // 0 new .. 4 full
  if (sector <= 0) return kNames[0];
  if (sector >= 4) return kNames[4];
  const bool waxing = phase.ageDays < 0.5 * kSynodicMonthDays;
  return kNames[waxing ? sector : 8 - sector];
}

std::string LocalEventText(double eventUtc, double dayStartUtc) {
  if (std::isnan(eventUtc)) return kNoEventText;
  if (!Showable(eventUtc) || !Showable(dayStartUtc)) return kUnavailableText;
  constexpr long kLastMinute = 24 * 60 - 1;
  const long minute = std::clamp(std::lround((eventUtc - dayStartUtc) * kMinutesPerDay), 0L,
                                 kLastMinute);
  return TwoDigits(static_cast<unsigned>(minute / 60)) + ":" +
         TwoDigits(static_cast<unsigned>(minute % 60));
}

std::array<std::string, kLiveMoreRows> LiveMoreValues(const TSatelliteList& list,
                                                      const TSunNow& sun, const TSkyNow& sky) {
  std::array<std::string, kLiveMoreRows> v;
  if (list.HasActiveSat()) {
    const TSatState& s = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
    if (s.computed && sky.valid) {
      // The site's frame of the cycle's moment, as the cycle worked it out for the satellites.
      const TObserverFrame frame = ObserverFrameAt(sun.site, sun.moment);
      double ra = 0.0;
      double dec = 0.0;
      J2000RaDecInFrame(sky.sky, frame, s.position, ra, dec);
      v[1] = AngleText(Degrees(ra));
      v[2] = AngleText(Degrees(dec));
    } else if (s.computed) {
      v[1] = v[2] = kUnavailableText;
    }
  }
  if (!sky.valid) {
    for (size_t r = 5; r < kLiveMoreRows; ++r) v[r] = kUnavailableText;
    return v;
  }
  v[5] = AngleText(sky.moonAzimuth);
  v[6] = AngleText(sky.moonElevation);
  v[7] = MoonPhaseName(sky.phase);
  v[8] = AngleText(Degrees(sky.phase.phaseAngle));
  v[9] = Fixed(100.0 * sky.phase.illuminated, 1);
  v[10] = Fixed(sky.phase.ageDays, 1);
  v[11] = LocalEventText(sky.moonRiseSet.rise, sky.riseSetDay);
  v[12] = LocalEventText(sky.moonRiseSet.culmination, sky.riseSetDay);
  v[13] = LocalEventText(sky.moonRiseSet.set, sky.riseSetDay);
  return v;
}

std::vector<std::string> WidestLiveMoreValues() {
  std::vector<std::string> widest = {AngleText(359.999), AngleText(-89.999), Fixed(100.0, 1),
                                     "00:00", kNoEventText};
  for (double angleDeg : {150.0, 90.0, 45.0}) {  // crescent, quarter, gibbous
    for (double ageDays : {1.0, 28.0}) {
      widest.push_back(MoonPhaseName(TMoonPhase{Radians(angleDeg), 0.5, ageDays}));
    }
  }
  return widest;
}

std::string EpochLabelText(double epochJd, double nowJd) {
  const std::string label = kOrbitLabels[4];
  if (DateText(epochJd) == kUnavailableText || !std::isfinite(nowJd)) return label;
  const double age = nowJd - epochJd;
  const std::string days = TenthsOfDays(std::fabs(age));
  return label + (age < 0.0 && days != "0.0" ? " (in " + days + " d)" : " (" + days + " d old)");
}

std::array<std::string, kOrbitRows> OrbitTableValues(const TActiveSnapshot& snapshot) {
  std::array<std::string, kOrbitRows> v;
  if (!snapshot.valid) return v;
  const TElements& e = snapshot.elements;
  v[0] = snapshot.name;
  v[1] = e.catalogNumber;
  v[2] = e.designator;
  v[3] = e.elementSetNumber;
  v[4] = DateText(e.epochJulian);
  v[5] = std::to_string(e.revolutionNumber);
  v[6] = AngleText(Degrees(e.inclination));
  v[7] = AngleText(Degrees(e.rightAscension));
  v[8] = Fixed(e.eccentricity, 7);
  v[9] = AngleText(Degrees(e.argPerigee));
  v[10] = Fixed(snapshot.revsPerDay, 8);
  v[11] = PeriodText(e.periodDays);
  v[12] = WithUnit(Rounded(e.semiMajorAxisKm), " km");
  const std::string perigee = Rounded(e.perigeeHeightKm);
  const std::string apogee = Rounded(e.apogeeHeightKm);
  v[13] = perigee == kUnavailableText || apogee == kUnavailableText
              ? kUnavailableText
              : perigee + " x " + apogee + " km";
  v[14] = AngleText(Degrees(e.meanAnomaly));
  v[15] = WithUnit(Fixed(e.bstar, 9), " 1/ER");
  v[16] = e.UseDeepSpace ? "SDP4" : "SGP4";
  return v;
}

std::vector<std::string> WidestLiveValues() {
  constexpr double kAphelionKm = 152.1e6;
  constexpr double kFarthestSatelliteKm = 999999.999;
  return {LatLonText(-179.9999, false),
          LatLonText(-89.9999, true),
          Fixed(kFarthestSatelliteKm, 3),
          AngleText(-179.999),
          AngleText(359.999),
          Fixed(-99.999, 3),
          DirectionText(-1.0),
          EclipseText(1),
          Fixed(kAphelionKm, 1)};
}

std::vector<std::string> WidestOrbitValues() {
  constexpr double kLongestPeriodShownDays = (999 * 3600 + 59 * 60 + 59) / 86400.0;
  return {"999999999",
          "1998-067ABC",
          DateRecToText(TDateRec{2000, 12, 31, 23, 59, 59, 0}),
          AngleText(179.999),
          Fixed(0.9999999, 7),
          Fixed(17.0, 8),
          PeriodText(kLongestPeriodShownDays),
          WithUnit(Rounded(999999.0), " km"),
          Rounded(99999.0) + " x " + Rounded(999999.0) + " km",
          WithUnit(Fixed(-0.999999999, 9), " 1/ER"),
          "SDP4"};
}

size_t CharacterCount(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string TableText(const std::vector<std::string>& labels,
                      const std::vector<std::string>& values) {
  size_t w0 = 0;
  size_t w1 = 0;
  for (const std::string& l : labels) w0 = std::max(w0, CharacterCount(l));
  for (const std::string& v : values) w1 = std::max(w1, CharacterCount(v));
  std::string text;
  size_t rows = std::max(labels.size(), values.size());
  for (size_t r = 0; r < rows; ++r) {
    std::string label = r < labels.size() ? labels[r] : "";
    std::string value = r < values.size() ? values[r] : "";
    text += label;
    text.append(w0 + 1 - std::min(w0 + 1, CharacterCount(label)), ' ');
    text.append(w1 - std::min(w1, CharacterCount(value)), ' ');
    text += value;
    text += "\r\n";
  }
  return text;
}

std::string ElementSetText(const TCatalogSet& set) {
  if (!set.lines.line1.empty() || !set.lines.line2.empty()) {
    return set.lines.line1 + "\n" + set.lines.line2;
  }
  const TElements& e = set.elements;
  const double perDay = kMinutesPerDay / kTwoPi;  // rad/min to revolutions per day
  // The epoch to the microsecond from its day's midnight, taken from the epoch field, which
  // keeps the time of day to a fraction of a microsecond (the Julian date, with seven whole
  // digits, only to tens of microseconds). A time that rounds up to the next midnight is
  // shown as that day's 00:00, never as 24:00.
  constexpr long long kMicrosecondsPerDay = 86400LL * 1000000LL;
  const double wholeDays = std::floor(e.epoch);
  double midnight = JulianDateOfEpoch(wholeDays);
  long long micro = std::llround((e.epoch - wholeDays) * static_cast<double>(kMicrosecondsPerDay));
  if (micro >= kMicrosecondsPerDay) {
    midnight += 1.0;
    micro -= kMicrosecondsPerDay;
  }
  const TDateRec epoch = JulianToDateRec(midnight);
  auto line = [](const char* key, const char* format, auto value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return std::string(key) + " = " + text + "\n";
  };
  char epochText[48];
  std::snprintf(epochText, sizeof epochText, "%04d-%02d-%02dT%02lld:%02lld:%02lld.%06lld",
                epoch.year, epoch.month, epoch.day, micro / 3600000000LL, micro / 60000000LL % 60,
                micro / 1000000LL % 60, micro % 1000000LL);
  std::string text = "OBJECT_ID = " + e.designator + "\n";
  text += "EPOCH = " + std::string(epochText) + "\n";
  text += line("MEAN_MOTION", "%.8f", e.meanMotion * perDay);
  text += line("ECCENTRICITY", "%.7f", e.eccentricity);
  text += line("INCLINATION", "%.4f", Degrees(e.inclination));
  text += line("RA_OF_ASC_NODE", "%.4f", Degrees(e.rightAscension));
  text += line("ARG_OF_PERICENTER", "%.4f", Degrees(e.argPerigee));
  text += line("MEAN_ANOMALY", "%.4f", Degrees(e.meanAnomaly));
  text += "NORAD_CAT_ID = " + std::to_string(set.number) + "\n";
  text += "ELEMENT_SET_NO = " + e.elementSetNumber + "\n";
  text += line("REV_AT_EPOCH", "%d", static_cast<int>(e.revolutionNumber));
  text += line("BSTAR", "%.5e", e.bstar);
  text += line("MEAN_MOTION_DOT", "%.8f", e.meanMotionDot2 * perDay * kMinutesPerDay);
  text += line("MEAN_MOTION_DDOT", "%.5e",
               e.meanMotionDdot6 * perDay * kMinutesPerDay * kMinutesPerDay);
  text.pop_back();
  return text;
}

}  // namespace zen
