// The flares command: bad options, the Iridium status table of the program folder, and its
// report and CSV against a flare search of the same request run directly.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/flares.h"
#include "cli/option_words.h"
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

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) entries.push_back(entry);
  return entries;
}

// A program folder of its own; Table writes its Data/flares.dat.
class FlaresCommand : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(home_.path().empty()); }
  void Table(const std::string& text) {
    fs::create_directories(home_.path() / "Data");
    std::ofstream(home_.path() / "Data" / "flares.dat", std::ios::binary) << text;
  }
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunFlaresIn(home_.path(), args, out_, err_);
  }
  test::TScratchFolder home_{"zen_flares_"};
  std::ostringstream out_;
  std::ostringstream err_;
};

// Each mistake is said in one line, nothing is searched and nothing is written anywhere.
TEST_F(FlaresCommand, MistakesGiveOneErrorLine) {
  const std::string f = (home_.path() / "one.tle").string();
  {
    const auto [l1, l2] = test::MakeLinePair(24793);
    std::ofstream(f) << "IRIDIUM 7 [+]\n" << l1 << "\n" << l2 << "\n";
  }
  const std::string site = "48.2,16.37,190";
  struct Case {
    std::string table;  // Data/flares.dat, none when empty
    std::vector<std::string> args;
    const char* said;
    int code;
  };
  const std::string listed = " 24793 + 7\n";
  const Case cases[] = {
      {listed, {"--site", site}, "no element file", 2},
      {listed, {f}, "--site is needed", 2},
      {listed, {f, "--site", site, "--max-angle", "0.09"}, "--max-angle needs", 2},
      {listed, {f, "--site", site, "--max-angle", "4.01"}, "--max-angle needs", 2},
      {listed, {f, "--site", site, "--max-angle", "1,5"}, "--max-angle needs", 2},
      {listed, {f, "--site", site, "--max-angle"}, "--max-angle needs a value", 2},
      {listed, {f, "--site", site, "--no-table=yes"}, "--no-table takes no value", 2},
      {listed,
       {f, "--site", site, "--no-table", "--to", "2014-09-19T00:00:00Z", "--days", "1"},
       "--to and --days",
       2},
      {listed, {f, "--site", site, "--max-sun", "-6", "--no-sun-limit"}, "cannot both", 2},
      {listed,
       {f, "--site", site, "--from", "2014-09-18T00:00:00Z", "--to", "2014-12-26T00:00:01Z"},
       "--to needs a time within 99 days after --from",
       2},
      {listed, {f, "--site", site, "--to", "2200-01-01T00:00:00Z"}, "--to needs a time within", 2},
      // The passes command's choices of satellites and conditions are not the flares'.
      {listed, {f, "--site", site, "--sat", "24793"}, "unknown option --sat", 2},
      {listed, {f, "--site", site, "--brief"}, "unknown option --brief", 2},
      {"", {f, "--site", site}, "No Iridiums loaded", 1},
      {"# only a comment\n 24793\n", {f, "--site", site}, "No Iridiums loaded", 1},
      {" 24792 + 8\n", {f, "--site", site}, "No Iridiums loaded", 1},
      {listed, {(home_.path() / "none.tle").string(), "--site", site}, "cannot open", 1},
  };
  for (const Case& c : cases) {
    fs::remove_all(home_.path() / "Data");
    if (!c.table.empty()) Table(c.table);
    const std::vector<fs::path> before = Entries(home_.path());
    const std::string words = testing::PrintToString(c.args) + " table " + c.table;
    EXPECT_EQ(Run(c.args), c.code) << words;
    const std::vector<std::string> said = SplitLines(err_.str());
    ASSERT_EQ(said.size(), 1u) << words << "\n" << err_.str();
    EXPECT_EQ(said[0].rfind("zenarith flares: ", 0), 0u) << said[0];
    EXPECT_NE(said[0].find(c.said), std::string::npos) << words << "\n" << said[0];
    EXPECT_EQ(out_.str(), "") << words;
    EXPECT_EQ(Entries(home_.path()), before) << words;
  }
}

// The 2014 first-generation Iridium sets, with a table that lists a third of them, over a
// site at mid-latitudes in September; without a limit on the Sun, flares by day as well.
class IridiumFlares : public FlaresCommand {
 protected:
  void SetUp() override {
    FlaresCommand::SetUp();
    const fs::path data = test::ReferenceDataDir();
    file_ = (data / "tle" / "iridium_gen1_celestrak_2014-09-18.tle").string();
    TCatalog catalog;
    catalog.ReadEverySet(file_, [&](const std::string& name, const TCatalogSet& set) {
      sets_.push_back(SearchSatelliteOf(name, set));
    });
    ASSERT_EQ(sets_.size(), 92u);
    // Every third set, labelled "I" and its position, marked "*": no label can come from a
    // name by chance.
    std::string table = "# test table\n";
    for (size_t i = 0; i < sets_.size(); i += 3) {
      const std::string label = "I" + std::to_string(i);
      table += " " + sets_[i].catalogNumberText + " * " + label + "\n";
      labels_[sets_[i].catalogNumberText] = label + " *";
    }
    Table(table);
  }
  std::vector<std::string> Args(std::vector<std::string> more) const {
    std::vector<std::string> args = {file_, "--site", "50.06,19.94,220", "--from",
                                     "2014-09-18T00:00:00Z"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  std::string file_;
  std::vector<TSearchSatellite> sets_;
  std::map<std::string, std::string> labels_;  // catalogue number text: the table's Sat text
};

TEST_F(IridiumFlares, ReportIsTheSearchsReportOfTheSameRequest) {
  ASSERT_EQ(Run(Args({"--days", "1", "--utc-offset", "2", "--max-angle", "3.996", "--min-elev", "5",
                      "--level", "2", "--no-sun-limit"})),
            0)
      << err_.str();
  // The same search set up here from the options' meaning.
  TSearchRequest request;
  request.kind = TSearchKind::Flares;
  request.brief = true;
  request.allLoaded = true;
  request.illuminationRequired = true;
  request.maxSunElevationDeg = 90.0;
  request.minSatElevationDeg = 5.0;
  const double fromUtc = DateRecToJulian(TDateRec{2014, 9, 18, 0, 0, 0, 0});
  request.periodStartLocal = fromUtc + 2.0 / 24.0;
  request.periodEndLocal = fromUtc + 1.0 + 2.0 / 24.0;
  request.utcOffsetHours = 2.0;
  request.level = 1;
  request.latitudeDeg = 50.06;
  request.longitudeDeg = 19.94;
  request.altitudeM = 220.0;
  request.satellites = sets_;
  for (const auto& [number, label] : labels_) {
    request.iridiumTable.push_back({std::stoi(number), '*', label.substr(0, label.size() - 2)});
  }
  request.useIridiumTable = true;
  request.maxFlareAngleDeg = 4.0;  // kept to hundredths
  TSearchFlags flags;
  const TSearchOutcome outcome = RunSearch(request, flags, nullptr);
  ASSERT_GE(outcome.totalCount, 1);

  TReportHeaderInput header;
  header.kind = TSearchKind::Flares;
  header.beginText = "2014-09-18 02:00:00";
  header.endText = "2014-09-19 02:00:00";
  header.siteText = "Site (19.9400\u00B0 E, 50.0600\u00B0 N)";
  header.timeZoneText = "UTC +2:00";
  header.sunLimit = false;
  header.minSatElevationDeg = 5;
  header.flareAngleText = "4.00";
  std::string expected;
  for (const std::string& line :
       ReportLines(TSearchKind::Flares, ReportHeader(header), outcome.rows)) {
    expected += line + "\n";
  }
  EXPECT_EQ(out_.str(), expected);
  const std::vector<std::string> lines = SplitLines(out_.str());
  ASSERT_GE(lines.size(), 15u);
  EXPECT_EQ(lines[9], "                Maximum flare angle = 4.00 deg.");
  EXPECT_EQ(lines[10], "") << "the flares' empty line after the header";
}

// CSV rows are the report's flares in UTC; without the table's labels the flares keep the
// same satellites and moments, named from the sets' names.
TEST_F(IridiumFlares, CsvAndNamesWithoutTheTable) {
  const std::vector<std::string> common = {"--days",       "1",    "--max-angle",   "1.5",
                                           "--utc-offset", "-3.5", "--no-sun-limit"};
  std::vector<std::string> args = common;
  args.insert(args.end(), {"--format", "csv"});
  ASSERT_EQ(Run(Args(args)), 0) << err_.str();
  const std::vector<std::string> csv = SplitLines(out_.str());
  args.push_back("--no-table");
  ASSERT_EQ(Run(Args(args)), 0) << err_.str();
  const std::vector<std::string> named = SplitLines(out_.str());
  ASSERT_EQ(Run(Args(common)), 0) << err_.str();
  const std::vector<std::string> report = SplitLines(out_.str());

  ASSERT_GE(csv.size(), 2u);
  EXPECT_EQ(csv[0], "catno,name,label,time_utc,az,el,range,panel,direction,angle,sun_az,sun_el");
  ASSERT_EQ(named.size(), csv.size());
  ASSERT_EQ(report.size(), 14 + csv.size() - 1);
  std::map<std::string, std::string> names;
  for (const TSearchSatellite& s : sets_) names.emplace(s.catalogNumberText, s.name);
  for (size_t i = 1; i < csv.size(); ++i) {
    const std::vector<std::string> f = SplitFields(csv[i]);
    ASSERT_EQ(f.size(), 12u) << csv[i];
    ASSERT_EQ(labels_.count(f[0]), 1u) << "not listed: " << csv[i];
    EXPECT_EQ(f[1], names[f[0]]);
    EXPECT_EQ(f[2], labels_[f[0]]);
    EXPECT_GE(std::stod(f[5]), 10.0);
    EXPECT_TRUE(f[7] == "L" || f[7] == "F" || f[7] == "R") << csv[i];
    EXPECT_TRUE(f[8] == "A" || f[8] == "D") << csv[i];
    EXPECT_LE(std::stod(f[9]), 1.5);
    // The report shows the moment on the local clock, three and a half hours behind.
    std::string utc = f[3];
    utc[10] = 'T';
    double jd = 0.0;
    ASSERT_TRUE(ParseUtc(utc, jd)) << csv[i];
    EXPECT_EQ(report[13 + i].substr(0, 19), DateRecToText(JulianToDateRec(jd - 3.5 / 24.0)));
    // "IRIDIUM 7 [+]" gives "7 [+]".
    std::vector<std::string> g = SplitFields(named[i]);
    ASSERT_EQ(g.size(), 12u) << named[i];
    std::string fromName = names[f[0]].substr(std::string("IRIDIUM ").size());
    while (!fromName.empty() && fromName.back() == ' ') fromName.pop_back();
    EXPECT_EQ(g[2], fromName) << named[i];
    g[2] = f[2];
    EXPECT_EQ(g, f) << "only the label differs";
  }
}

// JSON holds the CSV's fields, and the calendar one event for each flare.
TEST_F(IridiumFlares, JsonAndCalendarHoldTheCsvsFlares) {
  auto output = [&](const char* format) {
    EXPECT_EQ(
        Run(Args({"--days", "1", "--max-angle", "1.5", "--no-sun-limit", "--format", format})), 0)
        << err_.str();
    return out_.str();
  };
  const std::vector<std::string> csv = SplitLines(output("csv"));
  const nlohmann::json flares = nlohmann::json::parse(output("json"));
  const std::string calendar = output("ics");
  ASSERT_GE(flares.size(), 1u);
  ASSERT_EQ(flares.size(), csv.size() - 1);
  const std::vector<std::string> keys = SplitFields(csv[0]);
  for (size_t i = 0; i < flares.size(); ++i) {
    const std::vector<std::string> row = SplitFields(csv[i + 1]);
    ASSERT_EQ(flares[i].size(), keys.size()) << flares[i].dump();
    for (size_t k = 0; k < keys.size(); ++k) {
      const nlohmann::json& value = flares[i].at(keys[k]);
      std::string text = value.is_string() ? value.get<std::string>() : value.dump();
      if (keys[k] == "time_utc") {
        text = text.substr(0, 10) + " " + text.substr(11, 8);
        std::erase(text, '-');
        std::erase(text, ':');
        std::string fromRow = row[k];
        std::erase(fromRow, '-');
        std::erase(fromRow, ':');
        EXPECT_EQ(text, fromRow);
        EXPECT_NE(calendar.find("\r\nDTSTART:" + fromRow.replace(8, 1, "T") + "Z\r\n"),
                  std::string::npos);
      } else if (value.is_number_float()) {
        EXPECT_NEAR(value.get<double>(), std::stod(row[k]), 0.0011) << keys[k];
      } else {
        EXPECT_EQ(text, row[k]) << keys[k];
      }
    }
  }
  size_t eventCount = 0;
  for (size_t at = 0; (at = calendar.find("\r\nBEGIN:VEVENT\r\n", at)) != std::string::npos; ++at) {
    ++eventCount;
  }
  EXPECT_EQ(eventCount, flares.size());
}

}  // namespace
}  // namespace zen::cli
