// The results' cell texts, the report header and lines, and the saved report's bytes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "core/scratch_folder.h"
#include "core/text_encoding.h"
#include "prediction/results.h"

namespace zen {
namespace {

struct NumberCase {
  double value;
  const char* text;
};

// Rounded by hand: seven significant digits at most, then three decimals (zeros where the
// significant digits ran out); half-way cases are avoided where binary storage decides.
TEST(ResultNumberText, KeepsSevenSignificantDigitsAndThreeDecimals) {
  const NumberCase cases[] = {
      {123.456, "123.456"},
      {1234.567, "1234.567"},
      {12345.678, "12345.680"},
      {35786.12345, "35786.120"},
      {123456.78, "123456.800"},
      {1234567.8, "1234568.000"},
      {123456789.0, "123456800.000"},
      {123.45649, "123.456"},      // rounded once, at the third decimal
      {99999.9996, "100000.000"},  // the carry gives a new whole digit
      {0.0004, "0.000"},
      {0.0006, "0.001"},
      {-12.3456, "-12.346"},
      {-0.0004, "0.000"},
      {-0.0, "0.000"},
      {0.0, "0.000"},
      {359.9996, "360.000"},
      {-90.0, "-90.000"},
  };
  for (const NumberCase& c : cases) EXPECT_EQ(ResultNumberText(c.value), c.text) << c.value;
}

TEST(FlareAngleText, KeepsThreeSignificantDigitsAndTwoDecimals) {
  const NumberCase cases[] = {
      {0.534, "0.53"},   {0.536, "0.54"},  {1.234, "1.23"},  {12.345, "12.30"},
      {123.4, "123.00"}, {9.996, "10.00"}, {-0.001, "0.00"}, {0.004, "0.00"},
  };
  for (const NumberCase& c : cases) EXPECT_EQ(FlareAngleText(c.value), c.text) << c.value;
}

TFound PassRow() {
  TFound f;
  f.time = TDateRec{2026, 5, 30, 21, 4, 9, 0};
  f.sat = "ISS (ZARYA)";
  f.catalogNumber = "25544";
  f.azimuth = 287.123456;
  f.elevation = 45.06789;
  f.range = 523.9876;
  f.sunAzimuth = 310.25;
  f.sunElevation = -12.96;
  return f;
}

TFound FlareRow() {
  TFound f = PassRow();
  f.sat = "Ir 35";
  f.catalogNumber = "25578";
  f.flareAngles = {2.5, 0.5349, 7.0};
  f.panel = 2;
  f.direction = 'D';
  return f;
}

TEST(ResultCells, PassesAndFlaresInColumnOrderWithTheCatalogueNumberLast) {
  EXPECT_EQ(ResultCells(TSearchKind::Passes, PassRow()),
            (std::vector<std::string>{"2026-05-30 21:04:09", "ISS (ZARYA)", "287.123", "45.068",
                                      "523.988", "310.250", "-12.960", "25544"}));
  // The angle shown is the one of the flare's own panel.
  EXPECT_EQ(ResultCells(TSearchKind::Flares, FlareRow()),
            (std::vector<std::string>{"2026-05-30 21:04:09", "Ir 35", "287.123", "45.068",
                                      "523.988", "F", "D", "0.53", "310.250", "-12.960", "25578"}));
  TFound other = FlareRow();
  for (const auto& [panel, letter, angle] : {std::tuple{1, "L", "2.50"}, {3, "R", "7.00"}}) {
    other.panel = static_cast<uint8_t>(panel);
    const std::vector<std::string> cells = ResultCells(TSearchKind::Flares, other);
    EXPECT_EQ(cells[5], letter);
    EXPECT_EQ(cells[7], angle);
  }
}

TEST(ResultCells, EmptyRowGivesEmptyCells) {
  EXPECT_EQ(ResultCells(TSearchKind::Passes, std::nullopt), std::vector<std::string>(8));
  EXPECT_EQ(ResultCells(TSearchKind::Flares, std::nullopt), std::vector<std::string>(11));
}

TEST(SiteText, LongitudeFirstWithHemisphereLetters) {
  EXPECT_EQ(SiteText("Torun", 53.0217, 18.6107), "Torun (18.6107\u00B0 E, 53.0217\u00B0 N)");
  EXPECT_EQ(SiteText("Lima", -12.04318, -77.02824), "Lima (77.0282\u00B0 W, 12.0432\u00B0 S)");
  EXPECT_EQ(SiteText("Null", 0.0, 0.0), "Null (0.0000\u00B0 E, 0.0000\u00B0 N)");
}

TEST(TimeZoneText, SignWholeHoursAndTwoDigitMinutes) {
  EXPECT_EQ(TimeZoneText(2.0), "UTC +2:00");
  EXPECT_EQ(TimeZoneText(-3.5), "UTC -3:30");
  EXPECT_EQ(TimeZoneText(5.75), "UTC +5:45");
  EXPECT_EQ(TimeZoneText(0.0), "UTC +0:00");
  EXPECT_EQ(TimeZoneText(-10.0), "UTC -10:00");
}

TReportHeaderInput HeaderInput(TSearchKind kind) {
  TReportHeaderInput in;
  in.kind = kind;
  in.beginText = "2026-05-30 12:00:00";
  in.endText = "2026-05-31 12:00:00";
  in.siteText = SiteText("Torun", 53.0217, 18.6107);
  in.timeZoneText = TimeZoneText(2.0);
  return in;
}

TEST(ReportHeader, PassesHeaderLineByLine) {
  TReportHeaderInput in = HeaderInput(TSearchKind::Passes);
  in.illuminationRequired = false;
  in.periodCount = 3;
  in.periodUnitText = "hour(s)";
  EXPECT_EQ(ReportHeader(in), (std::vector<std::string>{
                                  "Satellite passes generated with Zenarith 1.0",
                                  "",
                                  "Search period : 2026-05-30 12:00:00 - 3 hour(s)",
                                  "                2026-05-31 12:00:00",
                                  "Location      : Torun (18.6107\u00B0 E, 53.0217\u00B0 N)",
                                  "Time zone     : UTC +2:00",
                                  "Conditions    : Maximum sun elevation = -5 deg.",
                                  "                Minimum sat elevation = 10 deg.",
                                  "                Illumination NOT required",
                                  "!",
                              }));
}

TEST(ReportHeader, FlaresHeaderHasTheAngleLineAndAlwaysRequiresIllumination) {
  TReportHeaderInput in = HeaderInput(TSearchKind::Flares);
  in.illuminationRequired = false;
  in.automaticPeriod = false;
  in.sunLimit = false;
  in.flareAngleText = "0.55";
  const std::vector<std::string> lines = ReportHeader(in);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "Iridium flares generated with Zenarith 1.0");
  EXPECT_EQ(lines[2], "Search period : 2026-05-30 12:00:00");
  EXPECT_EQ(lines[6], "Conditions    : Maximum sun elevation = unimportant");
  EXPECT_EQ(lines[8], "                Illumination required");
  EXPECT_EQ(lines[9], "                Maximum flare angle = 0.55 deg.");
  EXPECT_EQ(lines[10], "!");
}

TEST(MarkInterrupted, MarksTheEndTimeLineOnce) {
  std::vector<std::string> header = ReportHeader(HeaderInput(TSearchKind::Passes));
  MarkInterrupted(header);
  MarkInterrupted(header);
  EXPECT_EQ(header[3], "                2026-05-31 12:00:00 - Interrupted!");
  EXPECT_EQ(header[2], "Search period : 2026-05-30 12:00:00 - 1 day(s)");
  std::vector<std::string> shortList = {"a", "!"};
  MarkInterrupted(shortList);
  EXPECT_EQ(shortList, (std::vector<std::string>{"a", "!"}));
}

TEST(ReportLines, SearchWithoutResultsGivesHeaderHeadingsAndOneEmptyLine) {
  const TResultRows noResults = {std::nullopt};
  const std::vector<std::string> passes =
      ReportLines(TSearchKind::Passes, ReportHeader(HeaderInput(TSearchKind::Passes)), noResults);
  // Nine header lines, no empty line before the headings.
  ASSERT_EQ(passes.size(), 9u + 3u + 1u);
  EXPECT_EQ(passes[8], "                Illumination required");
  EXPECT_EQ(passes[9], "                                                            Sun   Sun");
  EXPECT_EQ(passes[10], "Event date/time     Sat                    Azm Elev Range   Azm  Elev");
  EXPECT_EQ(passes[11], std::string(69, '-'));
  EXPECT_EQ(passes[12], "");

  const std::vector<std::string> flares =
      ReportLines(TSearchKind::Flares, ReportHeader(HeaderInput(TSearchKind::Flares)), noResults);
  ASSERT_EQ(flares.size(), 10u + 1u + 3u + 1u);
  EXPECT_EQ(flares[9], "                Maximum flare angle = 1.00 deg.");
  EXPECT_EQ(flares[10], "");
  EXPECT_EQ(flares[11], "                                                Flare   Sun   Sun");
  EXPECT_EQ(flares[12], "Event date/time     Sat      Azm Elev Range A D Angle   Azm  Elev");
  EXPECT_EQ(flares[13], std::string(65, '-'));
  EXPECT_EQ(flares[14], "");
}

// The rows' line: each column at its width under the headings.
TEST(ReportLines, PassLineColumnsLineUpWithTheHeadings) {
  TFound f = PassRow();
  const TResultRows rows = {f, std::nullopt};
  const std::vector<std::string> lines = ReportLines(TSearchKind::Passes, {"!"}, rows);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3], "2026-05-30 21:04:09 ISS (ZARYA)          287.1 45.0   523 310.2 -12.9");
  EXPECT_EQ(lines[3].size(), 69u);
  EXPECT_EQ(lines[4], "");
  // Each heading ends where its column ends.
  for (const char* heading : {"Azm", "Elev", "Range"}) {
    const size_t end = lines[1].find(heading) + std::strlen(heading);
    EXPECT_NE(lines[3][end - 1], ' ') << heading;
    EXPECT_EQ(lines[3][end], ' ') << heading;
  }
}

TEST(ReportLines, FlareLineColumnsLineUpWithTheHeadings) {
  const TResultRows rows = {FlareRow()};
  const std::vector<std::string> lines = ReportLines(TSearchKind::Flares, {"!"}, rows);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[4], "2026-05-30 21:04:09 Ir 35  287.1 45.0   523 F D  0.53 310.2 -12.9");
  EXPECT_EQ(lines[4].size(), 65u);
}

struct WidthCase {
  const char* name;
  double value;     // put into azimuth (one decimal, 6) and range (whole, 6)
  const char* sat;  // cut to 20
  const char* azm;  // expected 6 characters
  const char* rng;  // expected 6 characters
};

TEST(ReportLines, CellsAreCutAndPaddedByCharacters) {
  const WidthCase cases[] = {
      {"short", 5.0, "A", "   5.0", "     5"},
      {"one decimal is cut, not rounded", 123.456, "B", " 123.4", "   123"},
      {"negative", -7.99, "C", "  -7.9", "    -7"},
      // Too long for the column: the last characters stay.
      {"long right cell", 1234567.8, "D", "4568.0", "234568"},
      {"25 characters cut to 20", 1.0, "ABCDEFGHIJKLMNOPQRSTUVWXY", "   1.0", "     1"},
      {"UTF-8 cut by characters", 1.0,
       "\u0141\u00F3d\u017A \u0141\u00F3d\u017A \u0141\u00F3d\u017A "
       "\u0141\u00F3d\u017A \u0141\u00F3d\u017A",
       "   1.0", "     1"},
  };
  for (const WidthCase& c : cases) {
    TFound f = PassRow();
    f.sat = c.sat;
    f.azimuth = c.value;
    f.range = c.value;
    const std::string line = ReportLines(TSearchKind::Passes, {"!"}, {f}).back();
    EXPECT_EQ(Utf8Length(line), 69u) << c.name;
    const std::string sat = Utf8Prefix(line, 40).substr(Utf8Prefix(line, 20).size());
    EXPECT_EQ(Utf8Length(sat), 20u) << c.name;
    EXPECT_EQ(sat.rfind(Utf8Prefix(c.sat, 20), 0), 0u) << c.name;
    EXPECT_TRUE(IsValidUtf8(line)) << c.name;
    const std::string tail = line.substr(line.size() - 29);
    EXPECT_EQ(tail.substr(0, 6), c.azm) << c.name;
    EXPECT_EQ(tail.substr(11, 6), c.rng) << c.name;
  }
}

class WriteReportTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.path().empty()); }
  std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  test::TScratchFolder folder_{"zen_report_"};
};

TEST_F(WriteReportTest, WindowsCodePageWithCrLf) {
  const std::filesystem::path file = folder_.path() / "report.txt";
  std::string error;
  ASSERT_TRUE(WriteReport(
      file, {"Location      : (1.0000\u00B0 E)", "", "\u0141\u00F3d\u017A \u20AC"}, error))
      << error;
  EXPECT_EQ(Bytes(file),
            "Location      : (1.0000\xB0 E)\r\n\r\n?\xF3"
            "d? \x80\r\n");
  // A second save replaces the first whole.
  ASSERT_TRUE(WriteReport(file, {"x"}, error));
  EXPECT_EQ(Bytes(file), "x\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "report.txt.tmp"));
}

TEST_F(WriteReportTest, MissingFolderGivesTheSystemsErrorText) {
  std::string error;
  EXPECT_FALSE(WriteReport(folder_.path() / "no such folder" / "report.txt", {"x"}, error));
  EXPECT_EQ(error, std::strerror(ENOENT));
}

}  // namespace
}  // namespace zen
