// The results tables' cell texts, the report header and the saved report.
#include "prediction/results.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

#include "core/text_encoding.h"
#include "core/timescale.h"
#include "tracking/text_file.h"
#include "tracking/time_control.h"

namespace zen {

namespace {

constexpr const char* kDegreeSign = "\u00B0";
constexpr const char* kHeaderEnd = "!";
constexpr const char* kInterruptedMark = " - Interrupted!";
// Where the end time of the period stands in a header.
constexpr size_t kEndTimeLine = 3;
constexpr size_t kPassCellCount = 8;
constexpr size_t kFlareCellCount = 11;

// value in fixed notation with `decimals` decimals; "" when it cannot be written.
std::string Fixed(double value, int decimals) {
  char buffer[400];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

// A text that shows zero carries no minus sign ("-0.000" would read as a value below zero).
void DropSignOfZero(std::string& text) {
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
    text.erase(0, 1);
  }
}

// value rounded to at most `digits` significant digits and written with exactly `decimals`
// decimals. The rounding happens once, at the last digit kept, so no value is rounded twice
// (123.45649 must not become 123.4565 and then 123.457). Where the significant digits end
// before the decimals, the remaining decimals are zeros (12345.678 -> "12345.680"), and where
// they end before the point, so are the remaining whole digits (123456789 -> "123456800.000").
std::string SignificantFixed(double value, int digits, int decimals) {
  if (!std::isfinite(value)) return {};
  // The exponent of the value rounded to `digits` digits: a carry (99999.995 -> 1.000000e+05)
  // is already in it.
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, digits - 1);
  if (ec != std::errc()) return {};
  const std::string_view scientific(buffer, static_cast<size_t>(end - buffer));
  const size_t e = scientific.find('e');
  int exponent = 0;
  std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+' ? 1 : 0),
                  scientific.data() + scientific.size(), exponent);
  // Decimals that still hold significant digits.
  const int kept = digits - 1 - exponent;
  std::string text;
  if (kept >= decimals) {
    text = Fixed(value, decimals);
  } else if (kept >= 0) {
    text = Fixed(value, kept);
    if (kept == 0) text += '.';
    text.append(static_cast<size_t>(decimals - kept), '0');
  } else {
    // More whole digits than significant ones: the mantissa's digits, then zeros.
    for (char c : scientific.substr(0, e)) {
      if (c != '.') text += c;
    }
    text.append(static_cast<size_t>(-kept), '0');
    text += '.';
    text.append(static_cast<size_t>(decimals), '0');
  }
  DropSignOfZero(text);
  return text;
}

std::string PanelLetter(uint8_t panel) {
  switch (panel) {
    case 1:
      return "L";
    case 2:
      return "F";
    case 3:
      return "R";
    default:
      return {};
  }
}

// "18.6107° E": the absolute value with four decimals, the degree sign, a blank and the side.
std::string CoordinateText(double valueDeg, char positive, char negative) {
  std::string text = Fixed(std::fabs(valueDeg), 4);
  text += kDegreeSign;
  text += ' ';
  text += valueDeg < 0.0 ? negative : positive;
  return text;
}

// Left: padded on the right, cut to the width; the rest are right-aligned (see PadRight).
enum class TCellForm { Left, OneDecimal, TwoDecimals, Whole, Letter };

struct TReportColumn {
  size_t cell;  // index into the row's cells
  size_t width;
  TCellForm form;
};

constexpr TReportColumn kPassColumns[] = {
    {0, 20, TCellForm::Left},      {1, 20, TCellForm::Left}, {2, 6, TCellForm::OneDecimal},
    {3, 5, TCellForm::OneDecimal}, {4, 6, TCellForm::Whole}, {5, 6, TCellForm::OneDecimal},
    {6, 6, TCellForm::OneDecimal},
};

constexpr TReportColumn kFlareColumns[] = {
    {0, 20, TCellForm::Left},      {1, 6, TCellForm::Left},        {2, 6, TCellForm::OneDecimal},
    {3, 5, TCellForm::OneDecimal}, {4, 6, TCellForm::Whole},       {5, 3, TCellForm::Letter},
    {6, 2, TCellForm::Left},       {7, 5, TCellForm::TwoDecimals}, {8, 6, TCellForm::OneDecimal},
    {9, 6, TCellForm::OneDecimal},
};

// The cell text cut after `decimals` characters past the ".", not rounded.
std::string CutDecimals(const std::string& text, size_t decimals) {
  const size_t point = text.find('.');
  if (point == std::string::npos) return text;
  return text.substr(0, std::min(text.size(), point + 1 + decimals));
}

std::string PadLeft(const std::string& text, size_t width) {
  const size_t length = Utf8Length(text);
  if (length >= width) return Utf8Prefix(text, width);
  return text + std::string(width - length, ' ');
}

// Padded on the left; a longer text keeps its last characters.
std::string PadRight(const std::string& text, size_t width) {
  const size_t length = Utf8Length(text);
  if (length < width) return std::string(width - length, ' ') + text;
  const std::string head = Utf8Prefix(text, length - width);
  return text.substr(head.size());
}

std::string ReportCell(const std::string& cell, const TReportColumn& column) {
  switch (column.form) {
    case TCellForm::Left:
      return PadLeft(cell, column.width);
    case TCellForm::OneDecimal:
      return PadRight(CutDecimals(cell, 1), column.width);
    case TCellForm::TwoDecimals:
      return PadRight(CutDecimals(cell, 2), column.width);
    case TCellForm::Whole:
      return PadRight(cell.substr(0, cell.find('.')), column.width);
    case TCellForm::Letter:
      return PadLeft(" " + cell, column.width);
  }
  return {};
}

}  // namespace

std::string ResultNumberText(double value) {
  return SignificantFixed(value, 7, 3);
}

std::string FlareAngleText(double value) {
  return SignificantFixed(value, 3, 2);
}

std::vector<std::string> ResultCells(TSearchKind kind, const std::optional<TFound>& row) {
  const size_t count = kind == TSearchKind::Passes ? kPassCellCount : kFlareCellCount;
  if (!row) return std::vector<std::string>(count);
  const TFound& f = *row;
  if (kind == TSearchKind::Passes) {
    return {DateRecToText(f.time),
            f.sat,
            ResultNumberText(f.azimuth),
            ResultNumberText(f.elevation),
            ResultNumberText(f.range),
            ResultNumberText(f.sunAzimuth),
            ResultNumberText(f.sunElevation),
            f.catalogNumber};
  }
  const bool panelKnown = f.panel >= 1 && f.panel <= 3;
  return {DateRecToText(f.time),
          f.sat,
          ResultNumberText(f.azimuth),
          ResultNumberText(f.elevation),
          ResultNumberText(f.range),
          PanelLetter(f.panel),
          f.direction == ' ' ? std::string() : std::string(1, f.direction),
          panelKnown ? FlareAngleText(f.flareAngles[f.panel - 1u]) : std::string(),
          ResultNumberText(f.sunAzimuth),
          ResultNumberText(f.sunElevation),
          f.catalogNumber};
}

std::string SiteText(const std::string& name, double latitudeDeg, double longitudeDeg) {
  return name + " (" + CoordinateText(longitudeDeg, 'E', 'W') + ", " +
         CoordinateText(latitudeDeg, 'N', 'S') + ")";
}

std::string TimeZoneText(double utcOffsetHours) {
  return "UTC " + UtcOffsetText(utcOffsetHours);
}

std::vector<std::string> ReportHeader(const TReportHeaderInput& input) {
  const bool flares = input.kind == TSearchKind::Flares;
  const std::string indent(16, ' ');
  std::vector<std::string> lines;
  lines.push_back(flares ? "Iridium flares generated with Zenarith 1.0"
                         : "Satellite passes generated with Zenarith 1.0");
  lines.emplace_back();
  std::string period = "Search period : " + input.beginText;
  if (input.automaticPeriod) {
    period += " - " + std::to_string(input.periodCount) + " " + input.periodUnitText;
  }
  lines.push_back(period);
  lines.push_back(indent + input.endText);
  lines.push_back("Location      : " + input.siteText);
  lines.push_back("Time zone     : " + input.timeZoneText);
  lines.push_back("Conditions    : Maximum sun elevation = " +
                  (input.sunLimit ? std::to_string(input.maxSunElevationDeg) + " deg."
                                  : std::string("unimportant")));
  lines.push_back(indent + "Minimum sat elevation = " + std::to_string(input.minSatElevationDeg) +
                  " deg.");
  lines.push_back(indent + "Illumination " +
                  (flares || input.illuminationRequired ? "required" : "NOT required"));
  if (flares) lines.push_back(indent + "Maximum flare angle = " + input.flareAngleText + " deg.");
  lines.emplace_back(kHeaderEnd);
  return lines;
}

void MarkInterrupted(std::vector<std::string>& header) {
  if (header.size() <= kEndTimeLine) return;
  std::string& line = header[kEndTimeLine];
  // A header is marked once, however often the search behind it was stopped.
  const std::string_view mark(kInterruptedMark);
  if (line.size() >= mark.size() &&
      line.compare(line.size() - mark.size(), mark.size(), mark) == 0) {
    return;
  }
  line += mark;
}

std::string ReportFileName(TSearchKind kind, const TDateRec& periodStart) {
  const std::string day = DateRecToText(periodStart).substr(0, 10);
  return (kind == TSearchKind::Flares ? "flares_" : "passes_") + day + ".txt";
}

std::vector<std::string> ReportLines(TSearchKind kind, const std::vector<std::string>& header,
                                     const TResultRows& rows) {
  const bool flares = kind == TSearchKind::Flares;
  std::vector<std::string> lines;
  lines.reserve(header.size() + rows.size() + 4);
  for (const std::string& line : header) {
    if (line == kHeaderEnd) break;
    lines.push_back(line);
  }
  if (flares) {
    lines.emplace_back();
    lines.emplace_back("                                                Flare   Sun   Sun");
    lines.emplace_back("Event date/time     Sat      Azm Elev Range A D Angle   Azm  Elev");
    lines.emplace_back(65, '-');
  } else {
    lines.emplace_back("                                                            Sun   Sun");
    lines.emplace_back("Event date/time     Sat                    Azm Elev Range   Azm  Elev");
    lines.emplace_back(69, '-');
  }
  for (const std::optional<TFound>& row : rows) {
    if (!row) {
      lines.emplace_back();
      continue;
    }
    const std::vector<std::string> cells = ResultCells(kind, row);
    std::string line;
    if (flares) {
      for (const TReportColumn& column : kFlareColumns)
        line += ReportCell(cells[column.cell], column);
    } else {
      for (const TReportColumn& column : kPassColumns)
        line += ReportCell(cells[column.cell], column);
    }
    lines.push_back(line);
  }
  return lines;
}

bool WriteReport(const std::filesystem::path& file, const std::vector<std::string>& lines,
                 std::string& error) {
  std::string text;
  for (const std::string& line : lines) {
    text += ToWindows1252(line);
    text += "\r\n";
  }
  // Written beside the target and renamed into place: a failed save leaves the previous report
  // whole.
  return WriteFileBytes(file, text, error);
}

}  // namespace zen
