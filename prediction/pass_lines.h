// Passes as one line each: what the one-line view, the pass details, the calendar and JSON show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "prediction/search.h"

namespace zen {

// The columns of the one-line view, in order.
enum class TPassColumn {
  Sat,
  RiseTime,
  RiseAzimuth,
  CulminationTime,
  CulminationElevation,
  SetTime,
  SetAzimuth,
  Duration,
  Sunlit,
};
inline constexpr int kPassColumnCount = 9;

// The headings of the one-line view.
const std::vector<std::string>& PassLineHeadings();
// Beside the rise time of a pass already under way at the start of the period: its rise is
// where the search began, not where the satellite rose.
inline constexpr const char* kInProgressMark = " *";
// The cells of one line: "ISS (ZARYA)", "12-08 18:01:23", "245.1", "18:04:40", "67.3",
// "18:08:02", "63.9", "6:39", "4:30" (times on the search's local clock); the rise time of a
// pass in progress at the start is followed by kInProgressMark ("12-08 18:01:23 *").
std::vector<std::string> PassLineCells(const TPassLine& line);
// "6:39": minutes and two-digit seconds; hours when longer ("1:02:03").
std::string DurationText(int64_t seconds);

// The order of the lines sorted by a column, ascending or descending: a stable sort of their
// positions, so lines that tie keep their order (chronological, as the search gives them).
std::vector<size_t> PassLineOrder(const std::vector<TPassLine>& lines, TPassColumn column,
                                  bool descending);

// The pass that a row of the results table belongs to: the line of the same satellite whose
// rise..set holds the row's moment; -1 when none does (an empty row, a flare).
int PassOfRow(const std::vector<TPassLine>& lines, const TFound& row);

// The sixteen-point compass name of an azimuth: "N", "NNE", ... "NNW"; "?" when not finite.
const char* CompassPoint(double azimuthDeg);

// The numbers of a pass's details, each a caption and its value: rise, culmination and set
// (local time and azimuth; the date is the picture's title's), highest elevation, range at
// culmination, duration and sunlit time.
std::vector<std::pair<std::string, std::string>> PassFacts(const TPassLine& line);
// The numbers of a flare's details: time, azimuth, elevation, range, panel, direction, angle
// and the Sun's elevation.
std::vector<std::pair<std::string, std::string>> FlareFacts(const TFound& flare);

}  // namespace zen
