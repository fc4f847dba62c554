// The passes command: the window's pass search run from the command line over the sets of an
// element file, printed as the report the window saves (UTF-8, "\n" line ends), as CSV, as an
// iCalendar calendar or as JSON.
#include "cli/passes.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "cli/command_output.h"
#include "cli/option_words.h"
#include "cli/search_command.h"
#include "core/timescale.h"
#include "prediction/pass_export.h"
#include "prediction/results.h"
#include "prediction/search.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith passes";
// The passes command's own options.
struct TPassesOptions {
  std::vector<int64_t> satellites;  // --sat, in the order given
  bool all = false;
  bool illumination = true;
  bool brief = false;
};

// "25544,43013": catalogue numbers, each once.
std::string ParseSatellites(const std::string& value, std::vector<int64_t>& numbers) {
  size_t start = 0;
  while (true) {
    const size_t comma = value.find(',', start);
    const std::string word =
        value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    int64_t number = -1;
    if (!ParseCatalogNumber(word, number)) {
      return "--sat needs catalogue numbers separated by commas, such as 25544,43013";
    }
    for (int64_t known : numbers) {
      if (known == number) return "--sat names " + word + " twice";
    }
    numbers.push_back(number);
    if (comma == std::string::npos) return {};
    start = comma + 1;
  }
}

// Returns an error text, or an empty one when the options are sound.
std::string ParseOptions(const std::vector<std::string>& args, TSearchWords& words,
                         TPassesOptions& o) {
  TOwnOptions own;
  own.flags = {"--all", "--no-illum", "--brief"};
  own.valueWords = {"--sat"};
  own.setFlag = [&](const std::string& flag) {
    if (flag == "--all") o.all = true;
    if (flag == "--no-illum") o.illumination = false;
    if (flag == "--brief") o.brief = true;
  };
  own.applyValue = [&](const std::string&, const std::string& value) {
    return ParseSatellites(value, o.satellites);
  };
  const std::string problem = ParseSearchWords(args, own, words);
  if (!problem.empty()) return problem;
  if (o.all == !o.satellites.empty()) return "give either --sat or --all";
  return {};
}

// One row per event: rise, culmination and set of each pass (the rows of full output come in
// threes before each empty row), or the culmination alone in brief output. The last column
// tells a pass already under way at the start of the period (its rise row is no rise).
bool WriteCsv(const TResultRows& rows, bool brief, TOutputLines& output) {
  static const char* const kEvents[] = {"rise", "culmination", "set"};
  if (!output.Write("catno,name,event,time_utc,az,el,range,sun_az,sun_el,in_progress")) {
    return false;
  }
  size_t inPass = 0;
  for (const std::optional<TFound>& row : rows) {
    if (!row) {
      inPass = 0;
      continue;
    }
    const char* event = brief ? "culmination" : kEvents[inPass % 3];
    ++inPass;
    const TFound& f = *row;
    const std::string line = CsvField(f.catalogNumber) + "," + CsvField(f.sat) + "," + event + "," +
                             DateRecToText(JulianToDateRec(f.timeUtc)) + "," +
                             CsvNumber(f.azimuth) + "," + CsvNumber(f.elevation) + "," +
                             CsvNumber(f.range) + "," + CsvNumber(f.sunAzimuth) + "," +
                             CsvNumber(f.sunElevation) + "," + (f.inProgress ? "1" : "0");
    if (!output.Write(line)) return false;
  }
  return true;
}

// The satellites to search, from every set of the file; false with the error said on err.
bool ListSatellites(const TSearchWords& words, const TPassesOptions& o,
                    std::vector<TSearchSatellite>& list, std::ostream& err) {
  std::vector<TSearchSatellite> every;
  if (!ReadEverySatellite(kName, words.file, every, err)) return false;
  if (o.all) {
    if (every.empty()) {
      err << kName << ": no satellite to process: " << words.file
          << " holds no valid element set\n";
      return false;
    }
    list = std::move(every);
    return true;
  }
  for (int64_t number : o.satellites) {
    // The first set of that number, as the other commands take it.
    bool found = false;
    for (const TSearchSatellite& s : every) {
      if (s.set.number == number) {
        list.push_back(s);
        found = true;
        break;
      }
    }
    if (!found) {
      err << kName << ": no set with catalogue number " << number << " in " << words.file << "\n";
      return false;
    }
  }
  return true;
}

}  // namespace

const TCommandHelp& PassesHelp() {
  static const TCommandHelp help{
      "passes",
      "search the visible passes of satellites over a site; print the report, CSV, a calendar "
      "or JSON",
      {"FILE (--sat N,N,...|--all) --site LAT,LON[,ALT_M] [--from TIME] [--to TIME | --days N] "
       "[--min-elev DEG] [--max-sun DEG | --no-sun-limit] [--no-illum] [--level 1..5] [--brief] "
       "[--utc-offset HOURS] [--format report|csv|ics|json]"},
      "Searches the visible passes of satellites over a site in a period, as the prediction "
      "page does, and prints the report the window saves, CSV, an iCalendar calendar or JSON.",
      {
          kElementFileHelp,
          {"--sat N,N,...", "the catalogue numbers of the satellites to search, each once"},
          {"--all", "search every set of FILE instead"},
          kSiteOptionHelp,
          kFromSearchHelp,
          kToSearchHelp,
          kDaysSearchHelp,
          kMinElevationSearchHelp,
          kMaxSunSearchHelp,
          kNoSunLimitSearchHelp,
          {"--no-illum", "the satellite need not be sunlit"},
          kLevelSearchHelp,
          {"--brief", "one line per pass, at its culmination"},
          kUtcOffsetSearchHelp,
          kFormatSearchHelp,
          kHelpOptionHelp,
      },
      {kTimeNote, kSiteNote,
       "CSV has one row per rise, culmination and set (culminations only with --brief), times in "
       "UTC: catno,name,event,time_utc,az,el,range,sun_az,sun_el,in_progress (degrees and km; "
       "in_progress is 1 for the rows of a pass already under way, above --min-elev, at the "
       "start of the period, whose rise row then lies up to one --level step before the start; "
       "else 0).",
       "ics: one event per pass from rise to set, in UTC; the descriptions on the --utc-offset "
       "clock. An event's UID depends on the satellite and the rise second only, so a pass "
       "imported again replaces itself.",
       "JSON: an array with one object per pass (also with --brief): catno, name, rise, "
       "culmination and set (each time_utc, az, el, range), duration_seconds, sunlit_seconds, "
       "in_progress (true or false, as in CSV).",
       "A search that finds nothing while satellites rose above --min-elev says on standard error "
       "how many passes the shadow and the Sun left out; the exit status stays 0."}};
  return help;
}

int RunPasses(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TSearchWords words;
  TPassesOptions options;
  double fromUtc = 0.0;
  double toUtc = 0.0;
  if (std::optional<int> done = BeginSearchCommand(
          kName, PassesHelp(), args, [&] { return ParseOptions(args, words, options); }, words,
          fromUtc, toUtc, out, err)) {
    return *done;
  }

  TSearchRequest request;
  request.kind = TSearchKind::Passes;
  request.brief = options.brief;
  request.allLoaded = options.all;
  request.illuminationRequired = options.illumination;
  FillSearchRequest(words, fromUtc, toUtc, request);
  if (!ListSatellites(words, options, request.satellites, err)) return 1;
  std::vector<std::string> header =
      ReportHeader(SearchHeaderInput(TSearchKind::Passes, words, request));

  const TSearchOutcome outcome = RunCommandSearch(kName, request, header, err);
  TOutputLines output(kName, out, err);
  bool written = false;
  switch (words.format) {
    case TOutputFormat::Report:
      written = WriteReportLines(TSearchKind::Passes, header, outcome.rows, output);
      break;
    case TOutputFormat::Csv:
      written = WriteCsv(outcome.rows, options.brief, output);
      break;
    case TOutputFormat::Calendar:
      written = output.WriteText(
          PassesCalendar(outcome.passes, ExportSiteOf(request), NowUtcWholeSecond()));
      break;
    case TOutputFormat::Json:
      written = output.WriteText(PassesJson(outcome.passes));
      break;
  }
  return written && output.Finish() ? 0 : 1;
}

}  // namespace zen::cli
