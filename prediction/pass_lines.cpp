// Passes as one line each.
#include "prediction/pass_lines.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/numeric.h"
#include "prediction/iridium.h"
#include "prediction/results.h"

namespace zen {

namespace {

// A row's moment lies within its pass to this part of a day (half a second).
constexpr double kSameMomentDays = 0.5 / 86400.0;

std::string OneDecimal(double value) {
  return FixedText(value, 1);
}

std::string Degrees1(double value) {
  return OneDecimal(value) + "\u00B0";
}

std::string DateTimeText(const TFound& found) {
  return DateRecToText(found.time);
}
// "18:01:23".
std::string ClockText(const TFound& found) {
  return DateTimeText(found).substr(11);
}

double ColumnValue(const TPassLine& line, TPassColumn column) {
  switch (column) {
    case TPassColumn::Sat:
      return 0.0;
    case TPassColumn::RiseTime:
      return line.rise.timeUtc;
    case TPassColumn::RiseAzimuth:
      return line.rise.azimuth;
    case TPassColumn::CulminationTime:
      return line.culmination.timeUtc;
    case TPassColumn::CulminationElevation:
      return line.culmination.elevation;
    case TPassColumn::SetTime:
      return line.set.timeUtc;
    case TPassColumn::SetAzimuth:
      return line.set.azimuth;
    case TPassColumn::Duration:
      return static_cast<double>(line.DurationSeconds());
    case TPassColumn::Sunlit:
      return static_cast<double>(line.sunlitSeconds);
  }
  return 0.0;
}

}  // namespace

int64_t TPassLine::DurationSeconds() const {
  return std::llround((set.timeUtc - rise.timeUtc) * 86400.0);
}

const std::vector<std::string>& PassLineHeadings() {
  static const std::vector<std::string> headings = {
      "Sat", "Rise", "Azm", "Max. at", "Elev", "Set", "Azm", "Duration", "Sunlit"};
  return headings;
}

std::string DurationText(int64_t seconds) {
  seconds = std::max<int64_t>(0, seconds);
  const int64_t hours = seconds / 3600;
  const int64_t minutes = seconds / 60 % 60;
  const int64_t rest = seconds % 60;
  auto two = [](int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  if (hours > 0) return std::to_string(hours) + ":" + two(minutes) + ":" + two(rest);
  return std::to_string(minutes) + ":" + two(rest);
}

std::vector<std::string> PassLineCells(const TPassLine& line) {
  return {line.culmination.sat,
          DateTimeText(line.rise).substr(5) + (line.rise.inProgress ? kInProgressMark : ""),
          OneDecimal(line.rise.azimuth),
          ClockText(line.culmination),
          OneDecimal(line.culmination.elevation),
          ClockText(line.set),
          OneDecimal(line.set.azimuth),
          DurationText(line.DurationSeconds()),
          DurationText(line.sunlitSeconds)};
}

std::vector<size_t> PassLineOrder(const std::vector<TPassLine>& lines, TPassColumn column,
                                  bool descending) {
  std::vector<size_t> order(lines.size());
  std::iota(order.begin(), order.end(), size_t{0});
  auto less = [&](size_t a, size_t b) {
    if (column == TPassColumn::Sat) return lines[a].culmination.sat < lines[b].culmination.sat;
    return ColumnValue(lines[a], column) < ColumnValue(lines[b], column);
  };
  if (descending) {
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(b, a); });
  } else {
    std::stable_sort(order.begin(), order.end(), less);
  }
  return order;
}

int PassOfRow(const std::vector<TPassLine>& lines, const TFound& row) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const TPassLine& line = lines[i];
    if (line.culmination.catalogNumber == row.catalogNumber &&
        row.timeUtc >= line.rise.timeUtc - kSameMomentDays &&
        row.timeUtc <= line.set.timeUtc + kSameMomentDays) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

const char* CompassPoint(double azimuthDeg) {
  static const char* const kPoints[] = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                        "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
  if (!std::isfinite(azimuthDeg)) return "?";
  const double sector = std::floor(std::fmod(azimuthDeg, 360.0) / 22.5 + 0.5);
  const int index = (static_cast<int>(sector) % 16 + 16) % 16;
  return kPoints[index];
}


std::vector<std::pair<std::string, std::string>> PassFacts(const TPassLine& line) {
  auto where = [](const TFound& f) {
    return ClockText(f) + "  az " + Degrees1(f.azimuth) + " " + CompassPoint(f.azimuth);
  };
  return {
      {"Rise", where(line.rise)},
      {"Culmination", where(line.culmination)},
      {"Set", where(line.set)},
      {"Highest elevation", Degrees1(line.culmination.elevation)},
      {"Range at culmination", OneDecimal(line.culmination.range) + " km"},
      {"Duration", DurationText(line.DurationSeconds())},
      {"Sunlit", DurationText(line.sunlitSeconds) + " (" +
                     OneDecimal(static_cast<double>(line.sunlitSeconds) / 60.0) + " min)"},
  };
}

std::vector<std::pair<std::string, std::string>> FlareFacts(const TFound& flare) {
  const int panel = flare.panel >= 1 && flare.panel <= 3 ? flare.panel : 2;
  return {
      {"Time", ClockText(flare)},
      {"Azimuth", Degrees1(flare.azimuth) + " " + CompassPoint(flare.azimuth)},
      {"Elevation", Degrees1(flare.elevation)},
      {"Range", OneDecimal(flare.range) + " km"},
      {"Panel", PanelLetter(panel)},
      {"Direction", flare.direction == 'D' ? "Descending" : "Ascending"},
      {"Flare angle", FlareAngleText(flare.flareAngles[static_cast<size_t>(panel - 1)]) + "\u00B0"},
      {"Sun elevation", Degrees1(flare.sunElevation)},
  };
}

}  // namespace zen
