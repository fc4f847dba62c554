// The results tables' cell texts, the report header and the saved report.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "prediction/search.h"

namespace zen {

// "123.456": fixed notation with three decimals, at most seven significant digits. The value is
// rounded once, at its seventh significant digit or its third decimal, whichever comes first;
// decimals past the seventh digit are zeros ("12345.680"), as are whole digits past it
// ("123456800.000"). "." whatever the locale; a value that shows as zero has no "-".
std::string ResultNumberText(double value);
// "0.53": two decimals, at most three significant digits, by the same rule ("12.30").
std::string FlareAngleText(double value);

// The cells of one row, the catalogue number last: 8 for passes, 11 for flares. An empty row
// gives empty cells.
std::vector<std::string> ResultCells(TSearchKind kind, const std::optional<TFound>& row);

// "Torun (18.6107° E, 53.0217° N)" (UTF-8 degree sign).
std::string SiteText(const std::string& name, double latitudeDeg, double longitudeDeg);
// "UTC +2:00", "UTC -3:30", as the window's UTC-offset label.
std::string TimeZoneText(double utcOffsetHours);

// What heads a report besides the search itself.
struct TReportHeaderInput {
  TSearchKind kind = TSearchKind::Passes;
  std::string beginText;  // yyyy-mm-dd hh:mm:ss
  std::string endText;
  bool automaticPeriod = true;
  int periodCount = 1;
  std::string periodUnitText = "day(s)";
  std::string siteText;
  std::string timeZoneText;
  bool sunLimit = true;  // "Maximum sun elevation" checked
  int maxSunElevationDeg = -5;
  int minSatElevationDeg = 10;
  bool illuminationRequired = true;  // flares: always required
  std::string flareAngleText = "1.00";
};

// The header lines, ending with the line "!" (the list keeps at most 15 lines).
std::vector<std::string> ReportHeader(const TReportHeaderInput& input);
// Marks the end-time line (line 3) of a header after an interrupted search.
void MarkInterrupted(std::vector<std::string>& header);

// The report's lines (UTF-8, no line ends): the header up to its "!" line, an empty line for
// flares, the three heading lines and one line per row.
std::vector<std::string> ReportLines(TSearchKind kind, const std::vector<std::string>& header,
                                     const TResultRows& rows);

// The name a saved report is proposed under: the kind and the first day searched, as in
// "passes_2026-12-08.txt" or "flares_2026-12-08.txt".
std::string ReportFileName(TSearchKind kind, const TDateRec& periodStart);

// Writes the lines with CR LF ends in Windows-1252 (the degree sign one byte; characters it
// cannot hold become "?"). On failure returns false with the system's error text in error.
bool WriteReport(const std::filesystem::path& file, const std::vector<std::string>& lines,
                 std::string& error);

}  // namespace zen
