// The passes command: bad options, the element file's sets, and its report and CSV against a
// search of the same request run directly.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/look.h"
#include "cli/option_words.h"
#include "cli/passes.h"
#include "cli/search_command.h"
#include "cli/split_text.h"
#include "core/catalog.h"
#include "core/scratch_folder.h"
#include "core/timescale.h"
#include "prediction/results.h"
#include "prediction/search.h"
#include "test_support.h"

namespace zen::cli {
namespace {

namespace fs = std::filesystem;

using zen::test::SplitFields;
using zen::test::SplitLines;

class PassesCommand : public testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunPasses(args, out_, err_);
  }
  std::ostringstream out_;
  std::ostringstream err_;
};

// Each mistake is said in one line and nothing is searched.
TEST_F(PassesCommand, BadOptionsGiveOneErrorLine) {
  test::TScratchFolder folder("zen_passes_");
  ASSERT_FALSE(folder.path().empty());
  const std::string f = (folder.path() / "two.tle").string();
  {
    const auto [l1, l2] = test::MakeLinePair(25544);
    std::ofstream(f) << "STATION\n" << l1 << "\n" << l2 << "\n";
  }
  const std::string site = "48.2,16.37,190";
  const std::string from = "2001-12-18T00:00:00Z";
  struct Case {
    std::vector<std::string> args;
    const char* said;
    int code;
  };
  const Case cases[] = {
      {{"--all", "--site", site}, "no element file", 2},
      {{f, f, "--all", "--site", site}, "only one element file", 2},
      {{f, "--site", site}, "either --sat or --all", 2},
      {{f, "--sat", "25544", "--all", "--site", site}, "either --sat or --all", 2},
      {{f, "--all"}, "--site is needed", 2},
      {{f, "--all", "--site", "48.2"}, "--site needs", 2},
      {{f, "--all", "--site", "91,0,0"}, "latitude", 2},
      {{f, "--sat", "25544,x", "--site", site}, "--sat needs", 2},
      {{f, "--sat", "-5", "--site", site}, "--sat needs", 2},
      {{f, "--sat", "25544,25544", "--site", site}, "twice", 2},
      {{f, "--all", "--site", site, "--from", "2001-02-29T00:00:00Z"}, "February 2001 has 28", 2},
      {{f, "--all", "--site", site, "--to", "tomorrow"}, "--to needs", 2},
      {{f, "--all", "--site", site, "--from", from, "--to", "2001-12-17T23:59:59Z"},
       "--to must not be before --from",
       2},
      {{f, "--all", "--site", site, "--to", "2001-12-19T00:00:00Z", "--days", "1"},
       "--to and --days",
       2},
      {{f, "--all", "--site", site, "--days", "100"}, "--days needs", 2},
      {{f, "--all", "--site", site, "--from", from, "--to", "2002-03-27T00:00:01Z"},
       "--to needs a time within 99 days after --from",
       2},
      {{f, "--all", "--site", site, "--to", "2200-01-01T00:00:00Z"}, "--to needs a time within", 2},
      {{f, "--all", "--site", site, "--days", "1.5"}, "--days needs", 2},
      {{f, "--all", "--site", site, "--min-elev", "46"}, "--min-elev needs", 2},
      {{f, "--all", "--site", site, "--max-sun", "21"}, "--max-sun needs", 2},
      {{f, "--all", "--site", site, "--max-sun", "0", "--no-sun-limit"}, "cannot both", 2},
      {{f, "--all", "--site", site, "--level", "6"}, "--level needs", 2},
      {{f, "--all", "--site", site, "--utc-offset", "5.3"}, "--utc-offset needs", 2},
      {{f, "--all", "--site", site, "--utc-offset", "14.25"}, "--utc-offset needs", 2},
      {{f, "--all", "--site", site, "--format", "xml"}, "--format needs", 2},
      {{f, "--all=yes", "--site", site}, "--all takes no value", 2},
      {{f, "--all", "--site", site, "--step", "5"}, "unknown option --step", 2},
      {{f, "--all", "--site", site, "--level"}, "--level needs a value", 2},
      {{(folder.path() / "none.tle").string(), "--all", "--site", site}, "cannot open", 1},
      {{f, "--sat", "25544,43013", "--site", site, "--from", from},
       "no set with catalogue number "
       "43013",
       1},
  };
  for (const Case& c : cases) {
    const std::string words = testing::PrintToString(c.args);
    EXPECT_EQ(Run(c.args), c.code) << words;
    const std::vector<std::string> said = SplitLines(err_.str());
    ASSERT_EQ(said.size(), 1u) << words << "\n" << err_.str();
    EXPECT_EQ(said[0].rfind("zenarith passes: ", 0), 0u) << said[0];
    EXPECT_NE(said[0].find(c.said), std::string::npos) << words << "\n" << said[0];
    EXPECT_EQ(out_.str(), "") << words;
  }
}

// --to reaches as far as --days does and no further, to the second; --days is the period it
// stands for.
TEST(SearchPeriod, ToReachesAsFarAsDays) {
  const double from = DateRecToJulian(TDateRec{2001, 12, 18, 0, 0, 0, 0});
  struct Case {
    const char* what;
    std::optional<double> toDays;  // --to, days after --from
    std::optional<int64_t> days;   // --days
    bool accepted;
  };
  const Case cases[] = {
      {"--to 99 days after", 99.0, {}, true},
      {"--to a second more", 99.0 + 1.0 / 86400.0, {}, false},
      {"--to 98 days 23:59:59 after", 99.0 - 1.0 / 86400.0, {}, true},
      {"--to a century after", 36525.0, {}, false},
      {"--to at --from", 0.0, {}, true},
      {"--days 99", {}, 99, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSearchWords words;
    words.fromUtc = from;
    if (c.toDays) words.toUtc = from + *c.toDays;
    words.days = c.days;
    double fromUtc = 0.0;
    double toUtc = 0.0;
    const std::string problem = SearchPeriodUtc(words, fromUtc, toUtc);
    if (!c.accepted) {
      EXPECT_EQ(problem, "--to needs a time within 99 days after --from");
      continue;
    }
    EXPECT_EQ(problem, "");
    EXPECT_EQ(fromUtc, from);
    EXPECT_NEAR(toUtc - fromUtc, c.toDays ? *c.toDays : static_cast<double>(*c.days), 1e-9);
  }
}

TEST_F(PassesCommand, HelpPrintsTheUsage) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_EQ(out_.str().rfind("usage: zenarith passes FILE", 0), 0u) << out_.str();
}

// A real station set over a site in the station's latitudes: passes every day.
class StationPasses : public PassesCommand {
 protected:
  void SetUp() override {
    const fs::path data = test::ReferenceDataDir();
    file_ = (data / "tle" / "stations_2026-05-30.tle").string();
  }
  std::vector<std::string> Args(std::vector<std::string> more) const {
    std::vector<std::string> args = {
        file_, "--sat", "25544", "--site", site_, "--from", "2026-05-30T12:00:00Z"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  std::string file_;
  const std::string site_ = "48.2,16.37,190";
};

TEST_F(StationPasses, ReportIsTheSearchsReportOfTheSameRequest) {
  ASSERT_EQ(Run(Args({"--days", "2", "--utc-offset", "2", "--no-sun-limit", "--no-illum",
                      "--min-elev", "15", "--level", "2"})),
            0)
      << err_.str();
  // The same search set up here from the options' meaning.
  TSearchRequest request;
  request.illuminationRequired = false;
  request.maxSunElevationDeg = 90.0;
  request.minSatElevationDeg = 15.0;
  const double fromUtc = DateRecToJulian(TDateRec{2026, 5, 30, 12, 0, 0, 0});
  request.periodStartLocal = fromUtc + 2.0 / 24.0;
  request.periodEndLocal = fromUtc + 2.0 + 2.0 / 24.0;
  request.utcOffsetHours = 2.0;
  request.level = 1;
  request.latitudeDeg = 48.2;
  request.longitudeDeg = 16.37;
  request.altitudeM = 190.0;
  TCatalog catalog;
  ASSERT_GT(catalog.ReadElementFile(file_), 0);
  ASSERT_EQ(CatalogNumberText(catalog.CatalogElements[1].lines), "25544");
  request.satellites.push_back(
      SearchSatelliteOf(catalog.CatalogNames[1], catalog.CatalogElements[1]));
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
  ASSERT_GE(outcome.totalCount, 2);

  TReportHeaderInput header;
  header.beginText = "2026-05-30 14:00:00";
  header.endText = "2026-06-01 14:00:00";
  header.periodCount = 2;
  header.siteText = "Site (16.3700\u00B0 E, 48.2000\u00B0 N)";
  header.timeZoneText = "UTC +2:00";
  header.sunLimit = false;
  header.minSatElevationDeg = 15;
  header.illuminationRequired = false;
  std::string expected;
  for (const std::string& line :
       ReportLines(TSearchKind::Passes, ReportHeader(header), outcome.rows)) {
    expected += line + "\n";
  }
  EXPECT_EQ(out_.str(), expected);
  EXPECT_NE(out_.str().find("Search period : 2026-05-30 14:00:00 - 2 day(s)\n"), std::string::npos);
}

TEST_F(StationPasses, CsvHasThreeRowsPerPassAndBriefOnlyTheCulminations) {
  const std::vector<std::string> conditions = {"--no-sun-limit", "--no-illum", "--format", "csv"};
  ASSERT_EQ(Run(Args(conditions)), 0) << err_.str();
  const std::vector<std::string> full = SplitLines(out_.str());
  std::vector<std::string> briefArgs = conditions;
  briefArgs.push_back("--brief");
  ASSERT_EQ(Run(Args(briefArgs)), 0) << err_.str();
  const std::vector<std::string> brief = SplitLines(out_.str());

  ASSERT_GE(brief.size(), 3u);  // the station passes a mid-latitude site several times a day
  EXPECT_EQ(full[0], "catno,name,event,time_utc,az,el,range,sun_az,sun_el,in_progress");
  EXPECT_EQ(brief[0], full[0]);
  const size_t passes = brief.size() - 1;
  ASSERT_EQ(full.size() - 1, 3 * passes);
  const char* const events[] = {"rise", "culmination", "set"};
  std::string previousCulmination;
  for (size_t i = 1; i < full.size(); ++i) {
    const std::vector<std::string> fields = SplitFields(full[i]);
    ASSERT_EQ(fields.size(), 10u) << full[i];
    EXPECT_EQ(fields[0], "25544");
    EXPECT_EQ(fields[2], events[(i - 1) % 3]) << full[i];
    if (fields[2] == std::string("culmination")) {
      // The brief rows are the full output's culminations, in time order.
      EXPECT_EQ(brief[(i + 1) / 3], full[i]);
      EXPECT_GT(fields[3], previousCulmination);
      previousCulmination = fields[3];
      const double elevation = std::stod(fields[5]);
      EXPECT_GT(elevation, 10.0);
      EXPECT_LE(elevation, 90.0);
    }
  }
}

TEST_F(StationPasses, CsvTimesAreUtcAndReportTimesLocal) {
  const std::vector<std::string> common = {"--no-sun-limit", "--no-illum", "--brief",
                                           "--utc-offset", "-3.5"};
  std::vector<std::string> csvArgs = common;
  csvArgs.insert(csvArgs.end(), {"--format", "csv"});
  ASSERT_EQ(Run(Args(csvArgs)), 0) << err_.str();
  const std::vector<std::string> csv = SplitLines(out_.str());
  ASSERT_EQ(Run(Args(common)), 0) << err_.str();
  const std::vector<std::string> report = SplitLines(out_.str());
  // Header (nine lines), three headings, then one line per culmination.
  ASSERT_EQ(report.size(), 12 + csv.size() - 1);
  ASSERT_GE(csv.size(), 2u);
  for (size_t i = 1; i < csv.size(); ++i) {
    std::string utc = SplitFields(csv[i])[3];
    utc[10] = 'T';
    double jd = 0.0;
    ASSERT_TRUE(ParseUtc(utc, jd)) << csv[i];
    const std::string local = DateRecToText(JulianToDateRec(jd - 3.5 / 24.0));
    EXPECT_EQ(report[11 + i].substr(0, 19), local) << csv[i];
  }
  EXPECT_EQ(report[5], "Time zone     : UTC -3:30");
  EXPECT_EQ(report[2], "Search period : 2026-05-30 08:30:00");
}

TEST_F(PassesCommand, CsvQuotesNamesWithCommasAndQuotes) {
  test::TScratchFolder folder("zen_passes_");
  ASSERT_FALSE(folder.path().empty());
  const std::string f = (folder.path() / "quoted.tle").string();
  const auto [l1, l2] = test::MakeLinePair(25544);
  std::ofstream(f) << "SAT \"A\", B\n" << l1 << "\n" << l2 << "\n";
  ASSERT_EQ(Run({f, "--sat", "25544", "--site", "48.2,16.37,190", "--from", "2001-12-18T00:00:00Z",
                 "--no-illum", "--no-sun-limit", "--brief", "--format", "csv"}),
            0)
      << err_.str();
  const std::vector<std::string> rows = SplitLines(out_.str());
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[1].rfind("25544,\"SAT \"\"A\"\", B\",culmination,2001-12-1", 0), 0u) << rows[1];
}

// JSON and the calendar hold one entry per pass, with or without --brief: the CSV's passes. A
// calendar that cannot be written is an error.
TEST_F(StationPasses, JsonAndCalendarHoldTheCsvsPasses) {
  auto output = [&](std::vector<std::string> more) {
    more.insert(more.end(), {"--days", "2", "--no-sun-limit", "--no-illum"});
    EXPECT_EQ(Run(Args(more)), 0) << err_.str();
    return out_.str();
  };
  const std::vector<std::string> csv = SplitLines(output({"--format", "csv"}));
  const std::string jsonText = output({"--format", "json"});
  EXPECT_EQ(output({"--format", "json", "--brief"}), jsonText);
  const std::string calendar = output({"--format", "ics"});
  const nlohmann::json passes = nlohmann::json::parse(jsonText);
  ASSERT_GE(passes.size(), 3u);
  ASSERT_EQ(csv.size(), 1 + 3 * passes.size());
  size_t eventCount = 0;
  for (size_t at = 0; (at = calendar.find("\r\nBEGIN:VEVENT\r\n", at)) != std::string::npos; ++at) {
    ++eventCount;
  }
  EXPECT_EQ(eventCount, passes.size());
  const char* const events[] = {"rise", "culmination", "set"};
  for (size_t i = 0; i < 3 * passes.size(); ++i) {
    const std::vector<std::string> row = SplitFields(csv[1 + i]);
    const nlohmann::json& pass = passes[i / 3];
    const nlohmann::json& point = pass.at(events[i % 3]);
    EXPECT_EQ(
        std::to_string(pass.at("catno").get<int64_t>()) + "," + pass.at("name").get<std::string>(),
        row[0] + "," + row[1]);
    std::string utc = row[3];
    utc[10] = 'T';
    EXPECT_EQ(point.at("time_utc"), utc + "Z");
    EXPECT_NEAR(point.at("az").get<double>(), std::stod(row[4]), 0.0011);
    EXPECT_NEAR(point.at("el").get<double>(), std::stod(row[5]), 0.0011);
    EXPECT_NEAR(point.at("range").get<double>(), std::stod(row[6]), 0.0011);
    std::erase(utc, '-');
    std::erase(utc, ':');
    const char* property = i % 3 == 0 ? "\r\nDTSTART:" : i % 3 == 2 ? "\r\nDTEND:" : nullptr;
    if (property) {
      EXPECT_NE(calendar.find(property + utc + "Z\r\n"), std::string::npos) << csv[1 + i];
    }
  }

  std::ostringstream full;
  full.setstate(std::ios::badbit);
  EXPECT_EQ(RunPasses(Args({"--format", "ics"}), full, err_), 1);
  EXPECT_NE(err_.str().find("zenarith passes: cannot write the output"), std::string::npos);
}

// The file holds more than ten thousand sets; the command reads all of them.
TEST_F(PassesCommand, ReadsSetsPastTheFirstThousand) {
  const fs::path data = test::ReferenceDataDir();
  const std::string file = (data / "tle" / "starlink_2026-05-30.tle").string();
  std::vector<std::string> numbers;
  TCatalog catalog;
  catalog.ReadEverySet(file, [&](const std::string&, const TCatalogSet& set) {
    numbers.push_back(set.elements.catalogNumber);
  });
  // The window once held only the first thousand; the sets after them must be searched too.
  constexpr size_t kFirstThousand = 1000;
  ASSERT_GT(numbers.size(), 2 * kFirstThousand);
  const std::set<std::string> pastCapacity(numbers.begin() + kFirstThousand, numbers.end());

  const std::vector<std::string> common = {file,
                                           "--site",
                                           "40,-100,0",
                                           "--from",
                                           "2026-05-30T12:00:00Z",
                                           "--to",
                                           "2026-05-30T12:15:00Z",
                                           "--no-illum",
                                           "--no-sun-limit",
                                           "--brief",
                                           "--format",
                                           "csv"};
  std::vector<std::string> last = common;
  last.insert(last.end(), {"--sat", numbers.back()});
  // Found although it is the file's last set.
  ASSERT_EQ(Run(last), 0) << err_.str();

  std::vector<std::string> all = common;
  all.push_back("--all");
  ASSERT_EQ(Run(all), 0) << err_.str();
  const std::vector<std::string> rows = SplitLines(out_.str());
  size_t fromPastCapacity = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    if (pastCapacity.count(SplitFields(rows[i])[0]) > 0) ++fromPastCapacity;
  }
  EXPECT_GT(fromPastCapacity, 0u) << rows.size() - 1 << " passes in all";
}

// Names are printed as the catalogue cleaned them: a name with an escape sequence, NUL, a line
// end and an override gives the report and CSV of the same set under a plain name, with the
// name's control characters as blanks.
TEST_F(PassesCommand, ControlCharactersOfNamesNeverReachTheOutput) {
  const fs::path json = test::ReferenceDataDir() / "omm" / "stations_2026-05-30.json";
  std::string text;
  {
    std::ifstream in(json, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::string plain = "\"ISS (ZARYA)\"";
  const size_t at = text.find(plain);
  ASSERT_NE(at, std::string::npos);
  test::TScratchFolder folder("zen_passes_");
  ASSERT_FALSE(folder.path().empty());
  text.replace(at, plain.size(), "\"ISS\\u001b[2J\\r\\nFAKE\\u0000 \\u202eLINE\\u0085\"");
  const fs::path controlled = folder.path() / "controlled.json";
  std::ofstream(controlled, std::ios::binary) << text;

  const std::string shown = "ISS [2J  FAKE   LINE";
  struct Case {
    const char* format;
    std::string plainName;  // as the output holds the plain name
    std::string shownName;
  };
  const Case cases[] = {
      {"report", "ISS (ZARYA)         ", shown},
      {"csv", ",ISS (ZARYA),", "," + shown + ","},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    auto output = [&](const fs::path& file) {
      EXPECT_EQ(Run({file.string(), "--sat", "25544", "--site", "48.2,16.37,190", "--from",
                     "2026-05-30T12:00:00Z", "--no-sun-limit", "--no-illum", "--format", c.format}),
                0)
          << err_.str();
      return out_.str();
    };
    std::string expected = output(json);
    ASSERT_NE(expected.find(c.plainName), std::string::npos);
    for (size_t p = 0; (p = expected.find(c.plainName, p)) != std::string::npos;) {
      expected.replace(p, c.plainName.size(), c.shownName);
      p += c.shownName.size();
    }
    const std::string got = output(controlled);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(got.find_first_of(std::string("\x1B\r\0", 3)), std::string::npos);
  }
}

// An inclined geosynchronous navigation satellite, whose passes last hours, from a site where
// a period may begin in the middle of one. Whether a pass was under way at the start is
// checked against the look command's elevation at the start; every other pass must rise
// through the lowest elevation, which look shows from the second before its rise.
class LongPasses : public PassesCommand {
 protected:
  void SetUp() override {
    file_ = (test::ReferenceDataDir() / "tle" / "gnss_2026-02-11.tle").string();
  }
  // The elevation of the satellite at a CSV time ("2026-05-30 05:59:01") and seconds after it.
  double LookElevation(std::string utc, int secondsAfter = 0) {
    double jd = 0.0;
    utc[10] = 'T';
    EXPECT_TRUE(ParseUtc(utc, jd)) << utc;
    const std::string moment = DateRecToText(JulianToDateRec(jd + secondsAfter / 86400.0));
    std::string iso = moment;
    iso[10] = 'T';
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(
        RunLook({file_, "--sat", "37948", "--site", "52,21", "--from", iso, "--to", iso}, out, err),
        0)
        << err.str();
    const std::vector<std::string> lines = SplitLines(out.str());
    EXPECT_EQ(lines.size(), 2u) << out.str();
    if (lines.size() != 2) return 0.0;
    std::istringstream columns(lines[1]);
    std::string date, time, lat, lon, alt, az, el;
    columns >> date >> time >> lat >> lon >> alt >> az >> el;
    EXPECT_EQ(date + " " + time, moment);
    return std::stod(el);
  }
  std::string file_;
};

TEST_F(LongPasses, APassUnderWayAtTheStartIsMarked) {
  constexpr double kLowest = 10.0;
  constexpr double kPrinted = 0.0005;  // look prints three decimals
  struct Case {
    const char* from;
    bool startsInAPass;  // what the look command says at the start, checked below
  };
  const Case cases[] = {{"2026-05-30T06:00:00", true}, {"2026-05-30T18:00:00", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    std::vector<std::string> args = {file_,    "--sat", "37948",          "--site",    "52,21",
                                     "--from", c.from,  "--no-sun-limit", "--no-illum"};
    args.insert(args.end(), {"--format", "csv"});
    ASSERT_EQ(Run(args), 0) << err_.str();
    const std::vector<std::string> csv = SplitLines(out_.str());
    args.back() = "json";
    ASSERT_EQ(Run(args), 0) << err_.str();
    const nlohmann::json passes = nlohmann::json::parse(out_.str());
    ASSERT_EQ(csv.size(), 1 + 3 * passes.size());
    ASSERT_GE(passes.size(), 1u);
    EXPECT_EQ(csv[0], "catno,name,event,time_utc,az,el,range,sun_az,sun_el,in_progress");

    std::string start = c.from;
    start[10] = ' ';
    const double atStart = LookElevation(start);
    ASSERT_EQ(atStart > kLowest, c.startsInAPass) << atStart;
    for (size_t p = 0; p < passes.size(); ++p) {
      std::vector<std::vector<std::string>> rows;
      for (size_t r = 0; r < 3; ++r) rows.push_back(SplitFields(csv[1 + 3 * p + r]));
      ASSERT_EQ(rows[0].size(), 10u) << csv[1 + 3 * p];
      const std::string& flag = rows[0][9];
      for (const auto& row : rows) EXPECT_EQ(row[9], flag) << "every row of a pass";
      EXPECT_EQ(passes[p].at("in_progress").get<bool>(), flag == "1");
      const std::string& rise = rows[0][3];
      if (p == 0 && c.startsInAPass) {
        EXPECT_EQ(flag, "1");
        EXPECT_LT(rise, start) << "the search stepped back from the start";
      } else {
        EXPECT_EQ(flag, "0");
        EXPECT_GE(rise, start);
        // A rise through the lowest elevation: below it the second before, above it at the rise.
        EXPECT_LE(LookElevation(rise, -1), kLowest + kPrinted) << rise;
        EXPECT_GT(LookElevation(rise), kLowest - kPrinted) << rise;
      }
    }
  }
}

// A message file and the Alpha-5 lines of the same sets give the same rows, numbered in full,
// whichever form --sat takes; a search weeks after the epoch is warned of.
TEST_F(PassesCommand, MessageFilesAndAlpha5LinesGiveTheSameRows) {
  const fs::path omm = test::ReferenceDataDir() / "omm";
  const std::vector<std::string> common = {"--site",     "53.01,18.6,60",
                                           "--from",     "2026-05-30T00:00:00",
                                           "--days",     "1",
                                           "--no-illum", "--no-sun-limit",
                                           "--format",   "csv"};
  auto rows = [&](const std::string& file, const std::string& sat) {
    std::vector<std::string> args = {(omm / file).string(), "--sat", sat};
    args.insert(args.end(), common.begin(), common.end());
    EXPECT_EQ(Run(args), 0) << err_.str();
    EXPECT_EQ(err_.str(), "");
    return out_.str();
  };
  const std::string fromLines = rows("renumbered_alpha5_2026-05-30.tle", "Z9995");
  EXPECT_NE(fromLines.find("\n339995,"), std::string::npos);
  EXPECT_EQ(rows("renumbered_2026-05-30.json", "339995"), fromLines);
  EXPECT_EQ(rows("renumbered_2026-05-30.xml", "Z9995"), fromLines);
  const std::string wide = rows("renumbered_2026-05-30.csv", "340005");
  EXPECT_GT(SplitLines(wide).size(), 3u);
  for (const std::string& line : SplitLines(wide)) {
    if (line.empty() || line.starts_with("catno")) continue;
    EXPECT_TRUE(line.starts_with("340005,")) << line;
  }

  std::vector<std::string> late = {(omm / "renumbered_2026-05-30.csv").string(),
                                   "--sat",
                                   "340005",
                                   "--site",
                                   "53.01,18.6,60",
                                   "--from",
                                   "2026-07-01T00:00:00",
                                   "--days",
                                   "1"};
  EXPECT_EQ(Run(late), 0);
  EXPECT_NE(err_.str().find("warning: Elements of "), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find(" days old"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace zen::cli
