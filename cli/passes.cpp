// The passes command: the window's pass search run from the command line over the sets of an
// element file, printed as the report the window saves (UTF-8, "\n" line ends) or as CSV.
#include "cli/passes.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <system_error>

#include "cli/command_output.h"
#include "cli/element_file.h"
#include "cli/option_words.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "prediction/results.h"
#include "prediction/search.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith passes";
constexpr const char* kUsage =
    "usage: zenarith passes FILE (--sat N,N,...|--all) --site LAT,LON,ALT_M [--from UTC]\n"
    "         [--to UTC | --days N] [--min-elev DEG] [--max-sun DEG | --no-sun-limit]\n"
    "         [--no-illum] [--level 1..5] [--brief] [--utc-offset HOURS]\n"
    "         [--format report|csv]\n"
    "       times as 2026-05-30T12:00:00Z (--from: now); latitude north and longitude east\n"
    "       positive; --days 1..99 (1), --min-elev 0..45 (10), --max-sun -20..20 (-5),\n"
    "       --level 1..5 (1), --utc-offset -12..14 hours in quarter hours (0)\n";
constexpr double kSecondsPerDay = 86400.0;
constexpr double kHoursPerDay = 24.0;
// The Julian date of 1970-01-01 00:00 UTC, where the system clock counts from.
constexpr double kUnixEpochJd = 2440587.5;
// "Maximum sun elevation" unchecked: the search takes 90 degrees, which no Sun exceeds.
constexpr double kNoSunLimitDeg = 90.0;

enum class TFormat { Report, Csv };

struct TPassesOptions {
  std::string file;
  std::vector<int64_t> satellites;  // --sat, in the order given
  bool all = false;
  bool haveSite = false;
  TSiteWords site;
  std::optional<double> fromUtc;
  std::optional<double> toUtc;
  std::optional<int64_t> days;
  int64_t minElevationDeg = 10;
  std::optional<int64_t> maxSunDeg;
  bool noSunLimit = false;
  bool illumination = true;
  int64_t level = 1;
  bool brief = false;
  double utcOffsetHours = 0.0;
  TFormat format = TFormat::Report;
};

// A whole number of the option within first..last, or an error text.
std::string ParseBounded(const std::string& option, const std::string& value, int64_t first,
                         int64_t last, const char* unit, int64_t& number) {
  if (!ParseWhole(value, number) || number < first || number > last) {
    return option + " needs a whole number of " + unit + " within " + std::to_string(first) + ".." +
           std::to_string(last);
  }
  return {};
}

// "25544,43013": catalogue numbers, each once.
std::string ParseSatellites(const std::string& value, std::vector<int64_t>& numbers) {
  size_t start = 0;
  while (true) {
    const size_t comma = value.find(',', start);
    const std::string word =
        value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    int64_t number = -1;
    if (!ParseWhole(word, number) || number < 0) {
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

// Offsets are whole quarter hours in every time zone (5:45, 12:45); any other value could not
// be shown as hours and minutes.
bool ValidUtcOffset(double hours) {
  return hours >= -12.0 && hours <= 14.0 && hours * 4.0 == std::trunc(hours * 4.0);
}

bool IsFlag(const std::string& word) {
  return word == "--all" || word == "--no-sun-limit" || word == "--no-illum" || word == "--brief";
}

std::string ApplyValue(const std::string& word, const std::string& value, TPassesOptions& o) {
  if (word == "--sat") return ParseSatellites(value, o.satellites);
  if (word == "--site") {
    o.haveSite = true;
    return ParseSiteWords(value, o.site);
  }
  if (word == "--from" || word == "--to") {
    double jd = 0.0;
    if (!ParseUtc(value, jd)) return word + " needs a UTC time such as 2026-05-30T12:00:00Z";
    (word == "--from" ? o.fromUtc : o.toUtc) = jd;
    return {};
  }
  if (word == "--days") {
    int64_t days = 0;
    const std::string problem = ParseBounded(word, value, 1, 99, "days", days);
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
  if (word == "--format") {
    if (value == "report") {
      o.format = TFormat::Report;
    } else if (value == "csv") {
      o.format = TFormat::Csv;
    } else {
      return "--format needs report or csv";
    }
    return {};
  }
  return "unknown option " + word;
}

// Returns an error text, or an empty one when the options are sound.
std::string ParseOptions(const std::vector<std::string>& args, TPassesOptions& o) {
  static const char* const kValueOptions[] = {"--sat",        "--site",     "--from",    "--to",
                                              "--days",       "--min-elev", "--max-sun", "--level",
                                              "--utc-offset", "--format"};
  bool haveFile = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    if (word.rfind("--", 0) != 0) {
      if (haveFile) return "only one element file may be given";
      o.file = word;
      haveFile = true;
      continue;
    }
    if (IsFlag(word)) {
      if (word == "--all") o.all = true;
      if (word == "--no-sun-limit") o.noSunLimit = true;
      if (word == "--no-illum") o.illumination = false;
      if (word == "--brief") o.brief = true;
      continue;
    }
    std::string value;
    const bool hasValue = TakeOptionValue(args, i, word, value);
    if (IsFlag(word)) return word + " takes no value";
    bool known = false;
    for (const char* option : kValueOptions) known = known || word == option;
    if (!known) return "unknown option " + word;
    if (!hasValue) return word + " needs a value";
    const std::string problem = ApplyValue(word, value, o);
    if (!problem.empty()) return problem;
  }
  if (!haveFile) return "no element file given";
  if (o.all == !o.satellites.empty()) return "give either --sat or --all";
  if (!o.haveSite) return "--site is needed";
  if (o.toUtc && o.days) return "--to and --days cannot both be given";
  if (o.maxSunDeg && o.noSunLimit) return "--max-sun and --no-sun-limit cannot both be given";
  return {};
}

// The system clock's moment, whole seconds, as a Julian date.
double NowUtcWholeSecond() {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  return kUnixEpochJd + static_cast<double>(seconds) / kSecondsPerDay;
}

// One line on a terminal, rewritten in place as the search goes on.
class TProgressLine : public TSearchListener {
 public:
  TProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}

  void SatelliteStarted(int, const std::string&) override {}
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
    std::string line = std::string(kName) + ": " + text;
    const size_t length = line.size();
    if (length < width_) line.append(width_ - length, ' ');
    width_ = length;
    err_ << '\r' << line << std::flush;
  }

  static constexpr std::chrono::milliseconds kRedraw{100};

  std::ostream& err_;
  bool shown_;
  size_t width_ = 0;
  std::string text_;
  std::chrono::steady_clock::time_point drawn_;
};

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// Three decimals, "." whatever the locale, no "-" on a value that shows as zero.
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

// One row per event: rise, culmination and set of each pass (the rows of full output come in
// threes before each empty row), or the culmination alone in brief output.
bool WriteCsv(const TResultRows& rows, bool brief, TOutputLines& output) {
  static const char* const kEvents[] = {"rise", "culmination", "set"};
  if (!output.Write("catno,name,event,time_utc,az,el,range,sun_az,sun_el")) return false;
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
                             CsvNumber(f.sunElevation);
    if (!output.Write(line)) return false;
  }
  return true;
}

// The satellites to search, from every set of the file; false with the error said on err.
bool ListSatellites(const TPassesOptions& o, std::vector<TSearchSatellite>& list,
                    std::ostream& err) {
  std::vector<TSearchSatellite> every;
  auto catalog = std::make_unique<TCatalog>();
  int count = 0;
  const auto take = [&](const std::string& name, const TTleLines& lines) {
    every.push_back(TSearchSatellite{lines, name, CatalogNumberText(lines)});
  };
  if (!ReadCommandEverySet(kName, o.file, *catalog, take, count, err)) return false;
  if (o.all) {
    if (every.empty()) {
      err << kName << ": no satellite to process: " << o.file << " holds no valid element set\n";
      return false;
    }
    list = std::move(every);
    return true;
  }
  for (int64_t number : o.satellites) {
    // The first set of that number, as the other commands take it.
    bool found = false;
    for (const TSearchSatellite& s : every) {
      int64_t own = -1;
      if (ParseWhole(s.catalogNumberText, own) && own == number) {
        list.push_back(s);
        found = true;
        break;
      }
    }
    if (!found) {
      err << kName << ": no set with catalogue number " << number << " in " << o.file << "\n";
      return false;
    }
  }
  return true;
}

TSearchRequest MakeRequest(const TPassesOptions& o, double fromUtc, double toUtc) {
  TSearchRequest r;
  r.kind = TSearchKind::Passes;
  r.brief = o.brief;
  r.allLoaded = o.all;
  r.illuminationRequired = o.illumination;
  r.maxSunElevationDeg =
      o.noSunLimit ? kNoSunLimitDeg : static_cast<double>(o.maxSunDeg.value_or(-5));
  r.minSatElevationDeg = static_cast<double>(o.minElevationDeg);
  r.periodStartLocal = fromUtc + o.utcOffsetHours / kHoursPerDay;
  r.periodEndLocal = toUtc + o.utcOffsetHours / kHoursPerDay;
  r.utcOffsetHours = o.utcOffsetHours;
  r.level = static_cast<int>(o.level - 1);
  r.latitudeDeg = o.site.latitudeDeg;
  // East longitudes past 180 are the same places west of Greenwich.
  r.longitudeDeg = o.site.longitudeDeg > 180.0 ? o.site.longitudeDeg - 360.0 : o.site.longitudeDeg;
  r.altitudeM = o.site.altitudeM;
  return r;
}

std::vector<std::string> MakeHeader(const TPassesOptions& o, const TSearchRequest& r) {
  TReportHeaderInput in;
  in.kind = TSearchKind::Passes;
  in.beginText = DateRecToText(JulianToDateRec(r.periodStartLocal));
  in.endText = DateRecToText(JulianToDateRec(r.periodEndLocal));
  // A period given in days reads as the window's automatic one; one given by its end, or the
  // default day, as a manual one.
  in.automaticPeriod = o.days.has_value();
  in.periodCount = static_cast<int>(o.days.value_or(1));
  in.periodUnitText = "day(s)";
  in.siteText = SiteText("Site", r.latitudeDeg, r.longitudeDeg);
  in.timeZoneText = TimeZoneText(o.utcOffsetHours);
  in.sunLimit = !o.noSunLimit;
  in.maxSunElevationDeg = static_cast<int>(o.maxSunDeg.value_or(-5));
  in.minSatElevationDeg = static_cast<int>(o.minElevationDeg);
  in.illuminationRequired = o.illumination;
  return ReportHeader(in);
}

}  // namespace

int RunPasses(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TPassesOptions options;
  for (const std::string& word : args) {
    if (word == "-h" || word == "--help") {
      out << kUsage;
      return out.flush() ? 0 : 1;
    }
  }
  // One line says what is wrong; the options are one --help away.
  const std::string problem = ParseOptions(args, options);
  if (!problem.empty()) {
    err << kName << ": " << problem << "\n";
    return 2;
  }
  const double fromUtc = options.fromUtc.value_or(NowUtcWholeSecond());
  double toUtc = fromUtc + 1.0;
  if (options.toUtc) toUtc = *options.toUtc;
  if (options.days) toUtc = fromUtc + static_cast<double>(*options.days);
  if (toUtc < fromUtc) {
    err << kName << ": --to must not be before --from\n";
    return 2;
  }

  TSearchRequest request = MakeRequest(options, fromUtc, toUtc);
  if (!ListSatellites(options, request.satellites, err)) return 1;
  std::vector<std::string> header = MakeHeader(options, request);

  TSearchFlags flags;
  TProgressLine progress(err, ::isatty(STDERR_FILENO) == 1);
  const TSearchOutcome outcome = RunSearch(request, flags, &progress);
  progress.Clear();
  if (outcome.interruptedByCancel || outcome.interruptedInSort || outcome.terminated) {
    MarkInterrupted(header);
  }

  TOutputLines output(kName, out, err);
  if (options.format == TFormat::Csv) {
    if (!WriteCsv(outcome.rows, options.brief, output)) return 1;
  } else {
    for (const std::string& line : ReportLines(TSearchKind::Passes, header, outcome.rows)) {
      if (!output.Write(line)) return 1;
    }
  }
  return output.Finish() ? 0 : 1;
}

}  // namespace zen::cli
