// What the search commands (passes, flares) share: the options of the period, the site and the
// conditions, the request and report header they make, the progress line and the output.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"
#include "cli/command_output.h"
#include "cli/option_words.h"
#include "prediction/pass_export.h"
#include "prediction/results.h"
#include "prediction/search.h"

namespace zen::cli {

// The report, CSV, an iCalendar calendar (RFC 5545) or JSON.
enum class TOutputFormat { Report, Csv, Calendar, Json };

// The options every search command takes, as given.
struct TSearchWords {
  std::string file;  // the element file
  bool haveSite = false;
  TSiteWords site;
  std::optional<double> fromUtc;  // Julian dates
  std::optional<double> toUtc;
  std::optional<int64_t> days;
  int64_t minElevationDeg = 10;
  std::optional<int64_t> maxSunDeg;
  bool noSunLimit = false;
  int64_t level = 1;  // "1".."5" as the window's list shows it
  double utcOffsetHours = 0.0;
  TOutputFormat format = TOutputFormat::Report;
};

// The help of the shared options.
inline constexpr TOptionHelp kFromSearchHelp = {"--from TIME",
                                                "the start of the period, UTC (now)"};
inline constexpr TOptionHelp kToSearchHelp = {
    "--to TIME", "the end of the period, UTC, at most 99 days after --from (a day after --from)"};
inline constexpr TOptionHelp kDaysSearchHelp = {"--days N",
                                                "the period in days instead of --to, 1..99"};
inline constexpr TOptionHelp kMinElevationSearchHelp = {
    "--min-elev DEG", "the lowest satellite elevation, 0..45 degrees (10)"};
inline constexpr TOptionHelp kMaxSunSearchHelp = {
    "--max-sun DEG", "the highest Sun elevation at the culmination, -20..20 degrees (-5)"};
inline constexpr TOptionHelp kNoSunLimitSearchHelp = {"--no-sun-limit",
                                                      "no limit on the Sun's elevation"};
inline constexpr TOptionHelp kLevelSearchHelp = {
    "--level 1..5", "the search's step, 60, 30, 10, 5 or 1 s: higher misses fewer passes (1)"};
inline constexpr TOptionHelp kFormatSearchHelp = {
    "--format report|csv|ics|json", "the report (the default), CSV, an iCalendar calendar or JSON"};
inline constexpr TOptionHelp kUtcOffsetSearchHelp = {
    "--utc-offset HOURS", "the report's local time: -12..14 hours in quarter hours (0)"};

// A command's own options besides the shared ones.
struct TOwnOptions {
  std::vector<std::string> flags;       // options without a value
  std::vector<std::string> valueWords;  // options with a value
  std::function<void(const std::string& flag)> setFlag;
  // Returns what is wrong with the value, or an empty text.
  std::function<std::string(const std::string& word, const std::string& value)> applyValue;
};

// Reads the words into words and the command's own options; returns the error text of the
// first mistake, or an empty text. Checks what every search needs (a file, a site) and the
// shared options that exclude each other.
std::string ParseSearchWords(const std::vector<std::string>& args, const TOwnOptions& own,
                             TSearchWords& words);

// A whole number of the option within first..last, or an error text.
std::string ParseBounded(const std::string& option, const std::string& value, int64_t first,
                         int64_t last, const char* unit, int64_t& number);

// The period in UTC Julian dates: from --from (default: the system clock's whole second), to
// --to, or --days after it, or a day after it. Returns an error text, or an empty text: a --to
// before --from, or more than 99 days after it (the limit of --days), is an error.
std::string SearchPeriodUtc(const TSearchWords& words, double& fromUtc, double& toUtc);

// The start every search command shares: -h or --help prints the help; otherwise parse reads
// the options into words and the period is settled. Returns the exit code when the command is
// answered already (the help, or a mistake said in one line on err), nothing to go on.
std::optional<int> BeginSearchCommand(const char* name, const TCommandHelp& help,
                                      const std::vector<std::string>& args,
                                      const std::function<std::string()>& parse,
                                      const TSearchWords& words, double& fromUtc, double& toUtc,
                                      std::ostream& out, std::ostream& err);

// The request's period, site and conditions (the kind's own fields are left as they are).
void FillSearchRequest(const TSearchWords& words, double fromUtc, double toUtc,
                       TSearchRequest& request);

// What the report header says about the request the words made.
TReportHeaderInput SearchHeaderInput(TSearchKind kind, const TSearchWords& words,
                                     const TSearchRequest& request);

// Every set of the element file in file order; false with the error said on err.
bool ReadEverySatellite(const char* command, const std::string& file,
                        std::vector<TSearchSatellite>& satellites, std::ostream& err);

// Runs the search, with a progress line on err when err is a terminal, and marks the header
// when the search was interrupted. A search that found nothing while its conditions left
// passes or reflections out says why on err, in one line (LeftOutText).
TSearchOutcome RunCommandSearch(const char* command, const TSearchRequest& request,
                                std::vector<std::string>& header, std::ostream& err);

// The site of the request for a calendar's events: its coordinates (no name) and the local
// clock of the descriptions.
TExportSite ExportSiteOf(const TSearchRequest& request);
// The system clock's moment, whole seconds, as a Julian date (the calendar's DTSTAMP).
double NowUtcWholeSecond();

// The lines of the report, one by one; false once a write failed.
bool WriteReportLines(TSearchKind kind, const std::vector<std::string>& header,
                      const TResultRows& rows, TOutputLines& output);

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
// Three decimals, "." whatever the locale, no "-" on a value that shows as zero.
std::string CsvNumber(double value);

}  // namespace zen::cli
