// Element sets built inside the tests: valid lines with a correct checksum from chosen fields.
#pragma once

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/elements.h"

namespace zen::test {

// Appends the checksum digit to the first 68 characters of a line.
inline std::string WithChecksum(const std::string& line) {
  int sum = 0;
  for (size_t i = 0; i < 68 && i < line.size(); ++i) {
    char c = line[i];
    if (c >= '0' && c <= '9') sum += c - '0';
    if (c == '-') sum += 1;
  }
  return line.substr(0, 68) + static_cast<char>('0' + sum % 10);
}

// The element-line form of a small real number: sign, five mantissa digits and the exponent
// of ten (" 12808-3" is 0.12808e-3).
inline std::string ExponentField(double value) {
  if (value == 0.0) return " 00000-0";
  int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
  long mantissa = std::lround(std::fabs(value) / std::pow(10.0, exponent) * 1e5);
  if (mantissa >= 100000) {
    mantissa /= 10;
    ++exponent;
  }
  char text[48];
  std::snprintf(text, sizeof text, "%c%05ld%c%d", value < 0 ? '-' : ' ', mantissa,
                exponent < 0 ? '-' : '+', std::abs(exponent));
  return text;
}

struct TOrbitFields {
  int catalogNumber = 99001;
  double epoch = 26150.50000000;  // yyddd.dddddddd
  double ndot2RevPerDay2 = 0.0;
  double bstar = 0.0;
  double inclinationDeg = 51.6;
  double nodeDeg = 120.0;
  double eccentricity = 0.001;
  double argPerigeeDeg = 90.0;
  double meanAnomalyDeg = 10.0;
  double revPerDay = 15.5;
};

inline TTleLines MakeLines(const TOrbitFields& f) {
  char l1[160];
  char l2[160];
  std::snprintf(l1, sizeof l1, "1 %05dU 26001A   %014.8f %c.%08ld  00000-0 %s 0  999",
                f.catalogNumber, f.epoch, f.ndot2RevPerDay2 < 0 ? '-' : ' ',
                std::lround(std::fabs(f.ndot2RevPerDay2) * 1e8), ExponentField(f.bstar).c_str());
  std::snprintf(l2, sizeof l2, "2 %05d %8.4f %8.4f %07ld %8.4f %8.4f %11.8f    1", f.catalogNumber,
                f.inclinationDeg, f.nodeDeg, std::lround(f.eccentricity * 1e7), f.argPerigeeDeg,
                f.meanAnomalyDeg, f.revPerDay);
  return TTleLines{WithChecksum(l1), WithChecksum(l2)};
}

// The report's sample sets, with the fields the report prints (its lines leave out the
// launch designator, the ephemeris type, the set number and the checksum).
inline TTleLines ReportLines88888() {
  return {WithChecksum("1 88888U 80001A   80275.98708465  .00073094  13844-3  66816-4 0    8"),
          WithChecksum("2 88888  72.8435 115.9689 0086731  52.6988 110.5714 16.05824518  105")};
}

inline TTleLines ReportLines11801() {
  return {WithChecksum("1 11801U 80001A   80230.29629788  .01431103  00000-0  14311-1 0    1"),
          WithChecksum("2 11801  46.7916 230.4354 7318036  47.4722  10.4117  2.28537848    1")};
}

// A file of the repository's reference data (tests/data).
inline std::filesystem::path ReferenceData(const std::string& relative) {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data" / relative;
}

}  // namespace zen::test
