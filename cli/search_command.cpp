// What the search commands (passes, flares) share: the options of the period, the site and the
// conditions, the request and report header they make, the progress line and the output.
#include "cli/search_command.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>
#include <system_error>

#include "cli/element_file.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "prediction/left_out.h"

namespace zen::cli {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kHoursPerDay = 24.0;
// The Julian date of 1970-01-01 00:00 UTC, where the system clock counts from.
constexpr double kUnixEpochJd = 2440587.5;
// "Maximum sun elevation" unchecked: the search takes 90 degrees, which no Sun exceeds.
constexpr double kNoSunLimitDeg = 90.0;
constexpr int64_t kDefaultMaxSunDeg = -5;
// The longest period a search takes, however it is given: a longer one would run for hours
// before it printed a line.
constexpr int64_t kLongestPeriodDays = 99;

const char* const kSharedValueWords[] = {"--site",  "--from",       "--to",
                                         "--days",  "--min-elev",   "--max-sun",
                                         "--level", "--utc-offset", "--format"};

bool Contains(const std::vector<std::string>& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// Offsets are whole quarter hours in every time zone (5:45, 12:45); any other value could not
// be shown as hours and minutes.
bool ValidUtcOffset(double hours) {
  return hours >= -12.0 && hours <= 14.0 && hours * 4.0 == std::trunc(hours * 4.0);
}

std::string ApplySharedValue(const std::string& word, const std::string& value, TSearchWords& o) {
  if (word == "--site") {
    o.haveSite = true;
    return ParseSiteWords(value, o.site);
  }
  if (word == "--from" || word == "--to") {
    double jd = 0.0;
    const std::string problem = ParseUtcOption(word, value, jd);
    if (!problem.empty()) return problem;
    (word == "--from" ? o.fromUtc : o.toUtc) = jd;
    return {};
  }
  if (word == "--days") {
    int64_t days = 0;
    const std::string problem = ParseBounded(word, value, 1, kLongestPeriodDays, "days", days);
    o.days = days;
    return problem;
  }
  if (word == "--min-elev") return ParseBounded(word, value, 0, 45, "degrees", o.minElevationDeg);
  if (word == "--max-sun") {
    int64_t deg = 0;
    const std::string problem = ParseBounded(word, value, -20, 20, "degrees", deg);
    o.maxSunDeg = deg;
    return problem;
  }
  if (word == "--level") return ParseBounded(word, value, 1, 5, "levels", o.level);
  if (word == "--utc-offset") {
    if (!ParseReal(value, o.utcOffsetHours) || !ValidUtcOffset(o.utcOffsetHours)) {
      return "--utc-offset needs hours within -12..14 in quarter hours, such as 2, -3.5 or 5.75";
    }
    return {};
  }
  // --format
  if (value == "report") {
    o.format = TOutputFormat::Report;
  } else if (value == "csv") {
    o.format = TOutputFormat::Csv;
  } else if (value == "ics") {
    o.format = TOutputFormat::Calendar;
  } else if (value == "json") {
    o.format = TOutputFormat::Json;
  } else {
    return "--format needs report, csv, ics or json";
  }
  return {};
}

// One line on a terminal, rewritten in place as the search goes on.
class TProgressLine : public TSearchListener {
 public:
  TProgressLine(const char* command, std::ostream& err, bool shown)
      : command_(command), err_(err), shown_(shown) {}

  void SatelliteStarted(int, const std::string&, int) override {}
  void Progress(int, int globalPercent, const std::string& estimate) override {
    Show("searching " + std::to_string(globalPercent) + "%, estimate " + estimate, false);
  }
  void EventAdded(int, const TResultRows&, int, int) override {}
  void SortStarted(bool) override { Show("sorting", true); }
  void SortProgress(int percent) override {
    Show("sorting " + std::to_string(percent) + "%", false);
  }

  // Blanks the line, so what follows starts on a clean one.
  void Clear() {
    if (!shown_ || width_ == 0) return;
    err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
    width_ = 0;
  }

 private:
  // Progress comes up to a hundred times per satellite: the line is redrawn when its text
  // changes, at most every kRedraw, so a terminal is not flooded.
  void Show(const std::string& text, bool always) {
    if (!shown_ || text == text_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!always && width_ > 0 && now - drawn_ < kRedraw) return;
    drawn_ = now;
    text_ = text;
    std::string line = std::string(command_) + ": " + text;
    const size_t length = line.size();
    if (length < width_) line.append(width_ - length, ' ');
    width_ = length;
    err_ << '\r' << line << std::flush;
  }

  static constexpr std::chrono::milliseconds kRedraw{100};

  const char* command_;
  std::ostream& err_;
  bool shown_;
  size_t width_ = 0;
  std::string text_;
  std::chrono::steady_clock::time_point drawn_;
};

}  // namespace

std::string ParseBounded(const std::string& option, const std::string& value, int64_t first,
                         int64_t last, const char* unit, int64_t& number) {
  if (!ParseWhole(value, number) || number < first || number > last) {
    return option + " needs a whole number of " + unit + " within " + std::to_string(first) + ".." +
           std::to_string(last);
  }
  return {};
}

std::string ParseSearchWords(const std::vector<std::string>& args, const TOwnOptions& own,
                             TSearchWords& words) {
  bool haveFile = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    if (word.rfind("--", 0) != 0) {
      if (haveFile) return "only one element file may be given";
      words.file = word;
      haveFile = true;
      continue;
    }
    if (Contains(own.flags, word) || word == "--no-sun-limit") {
      if (word == "--no-sun-limit") {
        words.noSunLimit = true;
      } else {
        own.setFlag(word);
      }
      continue;
    }
    std::string value;
    const bool hasValue = TakeOptionValue(args, i, word, value);
    if (Contains(own.flags, word) || word == "--no-sun-limit") return word + " takes no value";
    const bool shared = std::find(std::begin(kSharedValueWords), std::end(kSharedValueWords),
                                  word) != std::end(kSharedValueWords);
    if (!shared && !Contains(own.valueWords, word)) return "unknown option " + word;
    if (!hasValue) return word + " needs a value";
    const std::string problem =
        shared ? ApplySharedValue(word, value, words) : own.applyValue(word, value);
    if (!problem.empty()) return problem;
  }
  if (!haveFile) return "no element file given";
  if (!words.haveSite) return "--site is needed";
  if (words.toUtc && words.days) return "--to and --days cannot both be given";
  if (words.maxSunDeg && words.noSunLimit) {
    return "--max-sun and --no-sun-limit cannot both be given";
  }
  return {};
}

std::optional<int> BeginSearchCommand(const char* name, const TCommandHelp& help,
                                      const std::vector<std::string>& args,
                                      const std::function<std::string()>& parse,
                                      const TSearchWords& words, double& fromUtc, double& toUtc,
                                      std::ostream& out, std::ostream& err) {
  if (AsksForHelp(args)) return AnswerHelp(help, out, err);
  // One line says what is wrong; the options are one --help away.
  std::string problem = parse();
  if (problem.empty()) problem = SearchPeriodUtc(words, fromUtc, toUtc);
  if (!problem.empty()) {
    err << name << ": " << problem << "\n";
    return 2;
  }
  return std::nullopt;
}

double NowUtcWholeSecond() {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  return kUnixEpochJd + static_cast<double>(seconds) / kSecondsPerDay;
}

TExportSite ExportSiteOf(const TSearchRequest& request) {
  TExportSite site;
  site.latitudeDeg = request.latitudeDeg;
  site.longitudeDeg = request.longitudeDeg;
  site.utcOffsetHours = request.utcOffsetHours;
  return site;
}

std::string SearchPeriodUtc(const TSearchWords& words, double& fromUtc, double& toUtc) {
  fromUtc = words.fromUtc.value_or(NowUtcWholeSecond());
  toUtc = fromUtc + 1.0;
  if (words.toUtc) toUtc = *words.toUtc;
  if (words.days) toUtc = fromUtc + static_cast<double>(*words.days);
  if (toUtc < fromUtc) return "--to must not be before --from";
  // Compared in whole milliseconds, so that a --to exactly at the limit is taken whatever the
  // Julian dates' rounding.
  constexpr double kMillisecondsPerDay = kSecondsPerDay * 1000.0;
  if (std::llround((toUtc - fromUtc) * kMillisecondsPerDay) >
      kLongestPeriodDays * static_cast<int64_t>(kMillisecondsPerDay)) {
    return "--to needs a time within " + std::to_string(kLongestPeriodDays) + " days after --from";
  }
  return {};
}

void FillSearchRequest(const TSearchWords& words, double fromUtc, double toUtc, TSearchRequest& r) {
  r.maxSunElevationDeg = words.noSunLimit
                             ? kNoSunLimitDeg
                             : static_cast<double>(words.maxSunDeg.value_or(kDefaultMaxSunDeg));
  r.minSatElevationDeg = static_cast<double>(words.minElevationDeg);
  r.periodStartLocal = fromUtc + words.utcOffsetHours / kHoursPerDay;
  r.periodEndLocal = toUtc + words.utcOffsetHours / kHoursPerDay;
  r.utcOffsetHours = words.utcOffsetHours;
  r.level = static_cast<int>(words.level - 1);
  r.latitudeDeg = words.site.latitudeDeg;
  // East longitudes past 180 are the same places west of Greenwich.
  const double longitudeDeg = words.site.longitudeDeg;
  r.longitudeDeg = longitudeDeg > 180.0 ? longitudeDeg - 360.0 : longitudeDeg;
  r.altitudeM = words.site.altitudeM;
}

TReportHeaderInput SearchHeaderInput(TSearchKind kind, const TSearchWords& words,
                                     const TSearchRequest& r) {
  TReportHeaderInput in;
  in.kind = kind;
  in.beginText = DateRecToText(JulianToDateRec(r.periodStartLocal));
  in.endText = DateRecToText(JulianToDateRec(r.periodEndLocal));
  // A period given in days reads as the window's automatic one; one given by its end, or the
  // default day, as a manual one.
  in.automaticPeriod = words.days.has_value();
  in.periodCount = static_cast<int>(words.days.value_or(1));
  in.periodUnitText = "day(s)";
  in.siteText = SiteText("Site", r.latitudeDeg, r.longitudeDeg);
  in.timeZoneText = TimeZoneText(words.utcOffsetHours);
  in.sunLimit = !words.noSunLimit;
  in.maxSunElevationDeg = static_cast<int>(words.maxSunDeg.value_or(kDefaultMaxSunDeg));
  in.minSatElevationDeg = static_cast<int>(words.minElevationDeg);
  in.illuminationRequired = r.illuminationRequired;
  return in;
}

bool ReadEverySatellite(const char* command, const std::string& file,
                        std::vector<TSearchSatellite>& satellites, std::ostream& err) {
  auto catalog = std::make_unique<TCatalog>();
  int count = 0;
  const auto take = [&](const std::string& name, const TCatalogSet& set) {
    satellites.push_back(SearchSatelliteOf(name, set));
  };
  return ReadCommandEverySet(command, file, *catalog, take, count, err);
}

TSearchOutcome RunCommandSearch(const char* command, const TSearchRequest& request,
                                std::vector<std::string>& header, std::ostream& err) {
  std::vector<TAgedSet> searched;
  for (const TSearchSatellite& s : request.satellites) {
    if (s.set.decodable && IsSearched(request, s)) {
      searched.push_back({s.name, s.set.elements.epochJulian});
    }
  }
  WarnOfElementAge(command, searched, LocalToUtc(request.periodStartLocal, request.utcOffsetHours),
                   err);
  TSearchFlags flags;
  TProgressLine progress(command, err, ::isatty(STDERR_FILENO) == 1);
  TSearchOutcome outcome = RunSearch(request, flags, &progress);
  progress.Clear();
  // Said on its own line, after the progress line has gone; the exit status stays that of the
  // output, as an empty result is no failure.
  if (const std::string why = LeftOutText(request, outcome); !why.empty()) err << why << "\n";
  if (outcome.interruptedByCancel || outcome.interruptedInSort || outcome.terminated) {
    MarkInterrupted(header);
  }
  return outcome;
}

bool WriteReportLines(TSearchKind kind, const std::vector<std::string>& header,
                      const TResultRows& rows, TOutputLines& output) {
  for (const std::string& line : ReportLines(kind, header, rows)) {
    if (!output.Write(line)) return false;
  }
  return true;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string CsvNumber(double value) {
  char text[400];
  const auto [end, ec] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
  std::string number = ec == std::errc() ? std::string(text, end) : std::string();
  if (!number.empty() && number[0] == '-' && number.find_first_not_of("-0.") == std::string::npos) {
    number.erase(0, 1);
  }
  return number;
}

}  // namespace zen::cli
