// Two-line element sets: checksum, validation and decoding.
#include "core/elements.h"

#include <cmath>

#include "core/alpha5.h"
#include "core/numeric.h"
#include "core/timescale.h"

namespace zen {

double Ke() {
  static const double ke =
      std::sqrt(1434962880.0 / (kEarthRadiusKm * kEarthRadiusKm * kEarthRadiusKm));
  return ke;
}

bool TleChecksumOk(std::string_view line) {
  if (line.size() < 69) return false;
  int sum = 0;
  for (size_t i = 0; i < 68; ++i) {
    char c = line[i];
    if (c >= '0' && c <= '9')
      sum += c - '0';
    else if (c == '-')
      sum += 1;
  }
  return line[68] == static_cast<char>('0' + sum % 10);
}

namespace {

// Character at a 1-based column, or NUL past the end.
char At(std::string_view line, size_t column) {
  return column >= 1 && column <= line.size() ? line[column - 1] : '\0';
}

std::string_view Columns(std::string_view line, size_t first, size_t last) {
  if (first > line.size()) return {};
  return line.substr(first - 1, last - first + 1);
}

int64_t StrictField(std::string_view line, size_t first, size_t last) {
  std::string_view field = Columns(line, first, last);
  int64_t value = 0;
  if (!StrictInt(field, value)) {
    throw TElementError("'" + std::string(field) + "' is not a valid integer value");
  }
  return value;
}

}  // namespace

bool ElementSetValid(const TTleLines& lines) {
  const std::string& l1 = lines.line1;
  const std::string& l2 = lines.line2;
  if (!TleChecksumOk(l1) || !TleChecksumOk(l2)) return false;
  if (l1[0] != '1' || l2[0] != '2') return false;
  if (Columns(l1, 3, 7) != Columns(l2, 3, 7)) return false;
  if (At(l1, 24) != '.' || At(l1, 35) != '.' || Columns(l1, 62, 64) != " 0 ") return false;
  for (size_t column : {12u, 21u, 38u, 47u, 55u}) {
    if (At(l2, column) != '.') return false;
  }
  // A set whose epoch names no moment, or whose mean motion gives no orbit (no period, no
  // axis), cannot be shown or propagated; the fields read as they always do, only the values
  // are checked.
  if (!EpochInRange(RealField(l1, 19, 14))) return false;
  if (!(RealField(l2, 53, 11) > 0.0)) return false;
  return true;
}

std::string CatalogNumberText(const TTleLines& lines) {
  std::string_view columns = Columns(lines.line1, 3, 7);
  if (std::optional<int32_t> number = CatalogNumberOfColumns(columns)) {
    return CatalogNumberText(*number);
  }
  std::string text(columns);
  SpacesToZeros(text);
  // Lists, CSV and calendars print this text: a byte that is no printable ASCII character
  // (a control, or a piece of a UTF-8 character) shows as "?".
  for (char& c : text) {
    if (c < '!' || c > '~') c = '?';
  }
  return text;
}

void SetMeanElements(const TMeanElementFields& f, TElements& e) {
  e.periodDays = 1.0 / f.revPerDay;
  e.bstar = f.bstar;
  e.eccentricity = f.eccentricity;

  e.inclination = Radians(f.inclinationDeg);
  e.rightAscension = Radians(f.nodeDeg);
  e.argPerigee = Radians(f.argPerigeeDeg);
  e.meanAnomaly = Radians(f.meanAnomalyDeg);

  e.meanMotion = f.revPerDay * kTwoPi / kMinutesPerDay;
  e.meanMotionDot2 = f.nDot2RevPerDay2 * kTwoPi / (kMinutesPerDay * kMinutesPerDay);
  e.meanMotionDdot6 =
      f.nDdot6RevPerDay3 * kTwoPi / (kMinutesPerDay * kMinutesPerDay * kMinutesPerDay);

  // Mean motion and semi-major axis recovered from the k2 term, as the models do.
  double cosI = std::cos(e.inclination);
  double theta2Term = 3.0 * cosI * cosI - 1.0;
  double beta0Cubed = std::pow(1.0 - e.eccentricity * e.eccentricity, 1.5);
  double a1 = std::pow(Ke() / e.meanMotion, 2.0 / 3.0);
  double delta1 = kOneAndHalfK2 * theta2Term / beta0Cubed / (a1 * a1);
  double a0 = a1 * (1.0 - delta1 * (1.0 / 3.0 + delta1 * (1.0 + 134.0 / 81.0 * delta1)));
  e.semiMajorAxisKm = a0 * kEarthRadiusKm;
  e.perigeeHeightKm = a0 * kEarthRadiusKm * (1.0 - e.eccentricity) - kEarthRadiusKm;
  e.apogeeHeightKm = a0 * kEarthRadiusKm * (1.0 + e.eccentricity) - kEarthRadiusKm;
  double delta0 = kOneAndHalfK2 * theta2Term / beta0Cubed / (a0 * a0);
  e.meanMotionRecovered = e.meanMotion / (1.0 + delta0);

  e.UseDeepSpace = kTwoPi / e.meanMotionRecovered >= kDeepSpacePeriodMinutes;
  e.ModelInitPending = true;
}

void LoadElements(const TTleLines& lines, TElements& out) {
  std::string_view l1 = lines.line1;
  std::string_view l2 = lines.line2;
  // Decode into a copy, so a bad field leaves the caller's set whole.
  TElements e;

  int64_t yy = StrictField(l1, 10, 11);
  unsigned twoDigits = static_cast<unsigned>(((yy % 100) + 100) % 100);
  e.launchYear = (twoDigits < 57 ? "20" : "19") + TwoDigits(twoDigits);
  e.catalogNumber = CatalogNumberText(lines);
  // Launch number and the whole piece (up to three letters), so that pieces such as "AB"
  // keep their second letter.
  e.designator =
      e.launchYear + "-" + std::string(Columns(l1, 12, 14)) + "-" + TrimBlanks(Columns(l1, 15, 17));

  e.epoch = RealField(l1, 19, 14);
  e.epochJulian = JulianDateOfEpoch(e.epoch);
  TMeanElementFields f;
  f.nDot2RevPerDay2 = RealField(l1, 34, 10);
  double nDdot6Mantissa = RealField(l1, 45, 6) * 1e-5;
  int64_t nDdot6Exponent = IntField(l1, 51, 2);
  double bstarMantissa = RealField(l1, 54, 6) * 1e-5;
  int64_t bstarExponent = IntField(l1, 60, 2);
  e.elementSetNumber = TrimBlanks(Columns(l1, 65, 68));

  f.inclinationDeg = RealField(l2, 9, 8);
  f.nodeDeg = RealField(l2, 18, 8);
  f.eccentricity = RealField(l2, 27, 7) * 1e-7;
  f.argPerigeeDeg = RealField(l2, 35, 8);
  f.meanAnomalyDeg = RealField(l2, 44, 8);
  f.revPerDay = RealField(l2, 53, 11);
  e.revolutionNumber = static_cast<int32_t>(StrictField(l2, 64, 68));

  f.nDdot6RevPerDay3 = nDdot6Mantissa * std::pow(10.0, static_cast<double>(nDdot6Exponent));
  f.bstar = bstarMantissa * std::pow(10.0, static_cast<double>(bstarExponent));
  SetMeanElements(f, e);
  out = std::move(e);
}

}  // namespace zen
