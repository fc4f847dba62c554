// The flares command: the window's Iridium flare search run from the command line over every
// set of an element file, printed as the report the window saves (UTF-8, "\n" line ends), as
// CSV, as an iCalendar calendar or as JSON.
#include "cli/flares.h"

#include <cmath>
#include <fstream>
#include <optional>
#include <system_error>

#include "cli/command_output.h"
#include "cli/option_words.h"
#include "cli/program_home.h"
#include "cli/search_command.h"
#include "core/timescale.h"
#include "prediction/iridium.h"
#include "prediction/pass_export.h"
#include "prediction/results.h"
#include "prediction/search.h"
#include "prediction/search_setup.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith flares";
constexpr const char* kTableFile = "Data/flares.dat";

struct TFlaresOptions {
  double maxAngleDeg = 1.0;
  bool useTable = true;
};

// Degrees within the set-up page's limits, kept to hundredths as the settings keep them, so
// that the search uses the angle the header shows.
std::string ParseMaxAngle(const std::string& value, double& angleDeg) {
  double deg = 0.0;
  if (!ParseReal(value, deg) || deg < kMinFlareAngleDeg || deg > kMaxFlareAngleDeg) {
    return "--max-angle needs degrees within 0.10..4.00, such as 0.5";
  }
  angleDeg = std::round(deg * 100.0) / 100.0;
  return {};
}

std::string ParseOptions(const std::vector<std::string>& args, TSearchWords& words,
                         TFlaresOptions& o) {
  TOwnOptions own;
  own.flags = {"--no-table"};
  own.valueWords = {"--max-angle"};
  own.setFlag = [&](const std::string&) { o.useTable = false; };
  own.applyValue = [&](const std::string&, const std::string& value) {
    return ParseMaxAngle(value, o.maxAngleDeg);
  };
  return ParseSearchWords(args, own, words);
}

// The set's name of a catalogue number text: the first set of the list with it.
const std::string& NameOf(const std::vector<TSearchSatellite>& list,
                          const std::string& catalogNumber) {
  static const std::string none;
  for (const TSearchSatellite& s : list) {
    if (s.catalogNumberText == catalogNumber) return s.name;
  }
  return none;
}

bool WriteCsv(const TResultRows& rows, const std::vector<TSearchSatellite>& list,
              TOutputLines& output) {
  if (!output.Write("catno,name,label,time_utc,az,el,range,panel,direction,angle,sun_az,sun_el")) {
    return false;
  }
  for (const std::optional<TFound>& row : rows) {
    if (!row) continue;
    const TFound& f = *row;
    const int panel = f.panel >= 1 && f.panel <= 3 ? f.panel : 2;
    const std::string line =
        CsvField(f.catalogNumber) + "," + CsvField(NameOf(list, f.catalogNumber)) + "," +
        CsvField(f.sat) + "," + DateRecToText(JulianToDateRec(f.timeUtc)) + "," +
        CsvNumber(f.azimuth) + "," + CsvNumber(f.elevation) + "," + CsvNumber(f.range) + "," +
        PanelLetter(panel) + "," + std::string(1, f.direction) + "," +
        CsvNumber(f.flareAngles[static_cast<size_t>(panel - 1)]) + "," + CsvNumber(f.sunAzimuth) +
        "," + CsvNumber(f.sunElevation);
    if (!output.Write(line)) return false;
  }
  return true;
}

// The status table of the program folder; false with the error said on err.
bool LoadTable(const std::filesystem::path& programFolder, TIridiumTable& table,
               std::ostream& err) {
  if (programFolder.empty()) {
    err << kName << ": No Iridiums loaded: the program's folder, which holds " << kTableFile
        << ", is not known\n";
    return false;
  }
  const std::filesystem::path file = programFolder / kTableFile;
  std::string problem;
  table = zapodawajIridiums(file, &problem);
  if (table.empty()) {
    err << kName << ": No Iridiums loaded: " << problem << "\n";
    return false;
  }
  return true;
}

}  // namespace

const TCommandHelp& FlaresHelp() {
  static const TCommandHelp help{
      "flares",
      "search the Iridium flares over a site; print the report, CSV, a calendar or JSON",
      {"FILE --site LAT,LON[,ALT_M] [--from TIME] [--to TIME | --days N] [--min-elev DEG] "
       "[--max-sun DEG | --no-sun-limit] [--max-angle DEG] [--level 1..5] [--no-table] "
       "[--utc-offset HOURS] [--format report|csv|ics|json]"},
      "Searches the Iridium flares over a site in a period, as the prediction page does with "
      "\"Flares\": every set of FILE that the Iridium status table Data/flares.dat of the "
      "program folder lists, sunlit, with a panel's flare angle of at most --max-angle; prints "
      "the report the window saves, CSV, an iCalendar calendar or JSON.",
      {
          kElementFileHelp,
          kSiteOptionHelp,
          kFromSearchHelp,
          kToSearchHelp,
          kDaysSearchHelp,
          kMinElevationSearchHelp,
          kMaxSunSearchHelp,
          kNoSunLimitSearchHelp,
          {"--max-angle DEG",
           "the largest flare angle, 0.10..4.00 degrees, kept to hundredths (1.00)"},
          kLevelSearchHelp,
          {"--no-table", "name the satellites from their sets' names, not the table's labels"},
          kUtcOffsetSearchHelp,
          kFormatSearchHelp,
          kHelpOptionHelp,
      },
      {kTimeNote, kSiteNote,
       "--no-table: \"IRIDIUM 17\" gives \"17\", without the table's status mark.",
       "CSV has one row per flare, times in UTC: "
       "catno,name,label,time_utc,az,el,range,panel,direction,angle,sun_az,sun_el (name: the "
       "set's name; label: the report's Sat text; panel: L, F or R; direction: A ascending or "
       "D descending; angle: that panel's flare angle; degrees and km).",
       "ics: one event per flare, a minute from its second, in UTC; the descriptions on the "
       "--utc-offset clock. JSON: an array with one object per flare with the CSV's fields.",
       "A search that finds no flare says on standard error how many reflections the shadow and "
       "the Sun left out; the exit status stays 0."}};
  return help;
}

int RunFlares(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  // An installed copy whose per-user folder is not filled yet reads the installed table.
  const THomeChoice home = ChooseHome(CurrentHomeFacts(std::string()));
  return RunFlaresIn(FolderToRead(home, kTableFile), args, out, err);
}

int RunFlaresIn(const std::filesystem::path& programFolder, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err) {
  TSearchWords words;
  TFlaresOptions options;
  double fromUtc = 0.0;
  double toUtc = 0.0;
  if (std::optional<int> done = BeginSearchCommand(
          kName, FlaresHelp(), args, [&] { return ParseOptions(args, words, options); }, words,
          fromUtc, toUtc, out, err)) {
    return *done;
  }

  // As in the window: every set takes part whose number the table lists, whichever labels
  // the flares get.
  TSearchRequest request;
  request.kind = TSearchKind::Flares;
  request.brief = true;
  request.allLoaded = true;
  request.illuminationRequired = true;
  request.useIridiumTable = options.useTable;
  request.maxFlareAngleDeg = options.maxAngleDeg;
  FillSearchRequest(words, fromUtc, toUtc, request);
  if (!LoadTable(programFolder, request.iridiumTable, err)) return 1;
  if (!ReadEverySatellite(kName, words.file, request.satellites, err)) return 1;
  const TIridiumTable& table = request.iridiumTable;
  if (!HasSomethingToSearch(TSearchKind::Flares, request.satellites,
                            [&table](int64_t number) { return IsIridium(table, number); })) {
    err << kName << ": No Iridiums loaded: no set of " << words.file
        << " is listed in the Iridium status table\n";
    return 1;
  }

  TReportHeaderInput headerInput = SearchHeaderInput(TSearchKind::Flares, words, request);
  headerInput.flareAngleText = FlareAngleFieldText(options.maxAngleDeg);
  std::vector<std::string> header = ReportHeader(headerInput);

  const TSearchOutcome outcome = RunCommandSearch(kName, request, header, err);
  TOutputLines output(kName, out, err);
  bool written = false;
  switch (words.format) {
    case TOutputFormat::Report:
      written = WriteReportLines(TSearchKind::Flares, header, outcome.rows, output);
      break;
    case TOutputFormat::Csv:
      written = WriteCsv(outcome.rows, request.satellites, output);
      break;
    case TOutputFormat::Calendar:
      written = output.WriteText(FlaresCalendar(outcome.rows, request.satellites,
                                                ExportSiteOf(request), NowUtcWholeSecond()));
      break;
    case TOutputFormat::Json:
      written = output.WriteText(FlaresJson(outcome.rows, request.satellites));
      break;
  }
  return written && output.Finish() ? 0 : 1;
}

}  // namespace zen::cli
