// The ephem command: the report's cases reproduced through the command, the column layout of
// the verification output, time ranges, breakdown words and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/ephem.h"
#include "core/scratch_folder.h"
#include "test_support.h"

namespace zen::cli {
namespace {

constexpr double kTwentyMetresKm = 0.020;
constexpr double kHundredMetresKm = 0.100;

// The report's two sample sets, rebuilt as valid lines with the report's fields.
constexpr const char* kReportSets =
    "1 88888U 80001A   80275.98708465  .00073094  13844-3  66816-4 0    86\n"
    "2 88888  72.8435 115.9689 0086731  52.6988 110.5714 16.05824518  1058\n"
    "1 11801U 80001A   80230.29629788  .01431103  00000-0  14311-1 0    12\n"
    "2 11801  46.7916 230.4354 7318036  47.4722  10.4117  2.28537848    13\n";

// A low orbit with strong drag: it comes down in the model within weeks.
constexpr const char* kDecayingSet =
    "DECAYING\n"
    "1 99002U 26001A   26150.50000000  .00000000  00000-0  50000-2 0  9995\n"
    "2 99002  51.6000 120.0000 0005000  90.0000  10.0000 16.30000000    13\n";

class EphemCommand : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.path().empty()); }

  std::string Write(const std::string& name, const std::string& text) {
    std::filesystem::path path = folder_.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return RunEphem(args, out_, err_);
  }

  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  test::TScratchFolder folder_{"zen_ephem_"};
  std::ostringstream out_;
  std::ostringstream err_;
};

std::vector<double> Numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

TEST_F(EphemCommand, IsACommandWord) {
  EXPECT_NE(FindCommand("ephem"), nullptr);
}

TEST_F(EphemCommand, ReproducesTheReportsTestCases) {
  ASSERT_EQ(Run({Write("report.tle", kReportSets)}), 0) << err_.str();
  std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "88888 xx");
  EXPECT_EQ(lines[6], "11801 xx");
  // The report's printed values at 0 and 1440 minutes.
  const double sgp4At1440[] = {1440.0, 2742.55133057, -6079.67144775, -326.38095856};
  const double sdp4At0[] = {0.0, 7473.37066650, 428.95261765, 5828.74786377};
  std::vector<double> row = Numbers(lines[5]);
  ASSERT_EQ(row.size(), 7u);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(row[i], sgp4At1440[i], kTwentyMetresKm) << i;
  row = Numbers(lines[7]);
  ASSERT_EQ(row.size(), 7u);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(row[i], sdp4At0[i], kHundredMetresKm) << i;
  EXPECT_NEAR(row[4], 5.10715413, 0.00005);
}

// The columns of the published verification output: minutes and positions in 17 characters
// with 8 decimals, velocities in 13 with 9.
TEST_F(EphemCommand, PrintsTheVerificationColumns) {
  ASSERT_EQ(Run({Write("report.tle", kReportSets), "--sat", "88888", "--stop", "0"}), 0);
  std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 2u);
  const std::regex row(R"( {0,16}-?\d+\.\d{8}( {0,16}-?\d+\.\d{8}){3}( {0,12}-?\d+\.\d{9}){3})");
  EXPECT_TRUE(std::regex_match(lines[1], row)) << lines[1];
  EXPECT_EQ(lines[1].size(), 4u * 17u + 3u * 13u);
  EXPECT_EQ(lines[1].substr(0, 17), "       0.00000000");
}

TEST_F(EphemCommand, ChoosesTheSetByCatalogueNumber) {
  ASSERT_EQ(Run({Write("report.tle", kReportSets), "--sat", "11801"}), 0);
  std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "11801 xx");
}

// Steps from the start, and the stop time itself when the steps do not land on it.
TEST_F(EphemCommand, StepsFromStartAndEndsAtStop) {
  ASSERT_EQ(Run({Write("report.tle", kReportSets), "--sat", "88888", "--start", "-5184",
                 "--stop=-4896", "--step", "120"}),
            0);
  std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 5u);
  const double expected[] = {-5184.0, -5064.0, -4944.0, -4896.0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Numbers(lines[i + 1])[0], expected[i]);
}

TEST_F(EphemCommand, PrintsTheStatusWordWhereTheModelBreaksDown) {
  ASSERT_EQ(Run({Write("decay.tle", kDecayingSet), "--stop", "288000", "--step", "14400"}), 0);
  std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(Numbers(lines[1]).size(), 7u);
  const std::regex breakdown(R"( +\d+\.\d{8} (eccentricity|axis|nonfinite|decayed))");
  EXPECT_TRUE(std::regex_match(lines.back(), breakdown)) << lines.back();
  EXPECT_EQ(out_.str().find("nan"), std::string::npos);
}

// Ranges at the edges of what the options take: each run ends, with at most one line per step
// and the stop, every minutes field in its 17 columns, in order and within the range.
TEST_F(EphemCommand, AcceptedRangesEndAndKeepTheMinutesColumn) {
  const std::string file = Write("report.tle", kReportSets);
  const std::vector<std::string> ranges[] = {{"0", "0", "1e-20"},
                                             {"0", "1e-6", "3e-7"},
                                             {"1e7", "1e7", "1e-8"},
                                             {"99999999", "99999999", "1"},
                                             {"-9999999", "-9999998", "0.25"},
                                             {"-5", "5", "1e7"},
                                             {"99999999.9", "99999999.99999", "0.1"}};
  for (const std::vector<std::string>& r : ranges) {
    ASSERT_EQ(Run({file, "--sat", "88888", "--start", r[0], "--stop", r[1], "--step", r[2]}), 0)
        << r[0] << " " << err_.str();
    const double start = std::stod(r[0]), stop = std::stod(r[1]), step = std::stod(r[2]);
    std::vector<std::string> lines = OutLines();
    EXPECT_LE(lines.size() - 1, static_cast<size_t>((stop - start) / step) + 2) << r[0];
    double previous = start - 0.5e-8;
    for (size_t i = 1; i < lines.size(); ++i) {
      ASSERT_TRUE(std::regex_match(lines[i].substr(0, 17), std::regex(R"( *-?\d+\.\d{8})")))
          << lines[i];
      const double minutes = std::stod(lines[i].substr(0, 17));
      EXPECT_TRUE(minutes >= previous && minutes <= stop + 0.5e-8) << lines[i];
      previous = minutes;
    }
  }
}

// The limit holds for the whole run: sets that run alone are refused together, before any
// line is written.
TEST_F(EphemCommand, TheLineLimitCountsEverySetOfTheRun) {
  std::string text;
  for (int number = 1; number <= 40; ++number) {
    auto [l1, l2] = test::MakeLinePair(number);
    text += l1 + "\n" + l2 + "\n";
  }
  const std::string file = Write("many.tle", text);
  ASSERT_EQ(Run({file, "--sat", "7", "--stop", "1440", "--step", "0.05"}), 0) << err_.str();
  EXPECT_EQ(Run({file, "--stop", "1440", "--step", "0.05"}), 1);
  EXPECT_TRUE(out_.str().empty());
  EXPECT_NE(err_.str().find("lines"), std::string::npos) << err_.str();
}

// Sets that fail validation are skipped as the reader always skipped them, and counted.
TEST_F(EphemCommand, CountsTheInvalidSetsItSkips) {
  auto [good1, good2] = test::MakeLinePair(5);
  const std::string good = good1 + "\n" + good2 + "\n";
  const std::string zeroMotion = good1 + "\n" + test::Patched(good2, 53, "00.00000000") + "\n";
  const std::string farEpoch = test::Patched(good1, 19, "99999.9999e+15") + "\n" + good2 + "\n";
  const std::pair<std::string, const char*> cases[] = {
      {good, ""},
      {"stray\n", "1 invalid element set skipped"},
      {farEpoch + good, "1 invalid element set skipped"},
      {zeroMotion + farEpoch + good, "2 invalid element sets skipped"}};
  for (const auto& [text, message] : cases) {
    const std::string file = Write("sets.tle", text);
    Run({file, "--stop", "0"});
    const std::string said = *message == '\0' ? "invalid" : message + (" in " + file);
    EXPECT_EQ(err_.str().find(said) != std::string::npos, *message != '\0') << err_.str();
    // Only the valid set is printed, with ordinary numbers.
    EXPECT_EQ(OutLines().size(), text == "stray\n" ? 0u : 2u) << message;
    EXPECT_EQ(out_.str().find("nan"), std::string::npos);
  }
}

struct TBadArgs {
  std::vector<std::string> args;  // "FILE" stands for a valid element file
  int exitCode;
};

class EphemBadInput : public EphemCommand, public testing::WithParamInterface<TBadArgs> {};

TEST_P(EphemBadInput, FailsWithAMessageAndNoOutput) {
  std::vector<std::string> args = GetParam().args;
  for (std::string& a : args) {
    if (a == "FILE") a = Write("report.tle", kReportSets);
    if (a == "EMPTY") a = Write("empty.tle", "no element sets here\n");
  }
  EXPECT_EQ(Run(args), GetParam().exitCode);
  EXPECT_TRUE(out_.str().empty()) << out_.str();
  EXPECT_NE(err_.str().find("ephem"), std::string::npos) << err_.str();
}

// Parameterised cases have a "/" in their names; their files still lie in one folder directly
// in the temporary folder, the one the fixture removes.
TEST_P(EphemBadInput, KeepsItsFilesInOneFolderOfTheTemporaryFolder) {
  const std::filesystem::path file = Write("report.tle", kReportSets);
  EXPECT_EQ(file.parent_path().parent_path(), std::filesystem::temp_directory_path());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EphemBadInput,
    testing::Values(TBadArgs{{}, 2}, TBadArgs{{"FILE", "--step", "0"}, 2},
                    TBadArgs{{"FILE", "--step", "-5"}, 2},
                    TBadArgs{{"FILE", "--start", "10", "--stop", "5"}, 2},
                    TBadArgs{{"FILE", "--stop", "ten"}, 2}, TBadArgs{{"FILE", "--stop"}, 2},
                    TBadArgs{{"FILE", "--speed", "3"}, 2}, TBadArgs{{"FILE", "FILE"}, 2},
                    TBadArgs{{"FILE", "--step", "1e-9"}, 2},
                    TBadArgs{{"FILE", "--start", "1e300", "--stop", "1e300"}, 2},
                    TBadArgs{{"FILE", "--start", "-1e7", "--stop", "0"}, 2},
                    TBadArgs{{"FILE", "--stop", "1e8"}, 2},
                    TBadArgs{{"FILE", "--start", "1e7", "--stop", "1e7", "--step", "1e-10"}, 2},
                    TBadArgs{{"FILE", "--step", "inf"}, 2}, TBadArgs{{"FILE", "--step", "nan"}, 2},
                    TBadArgs{{"FILE", "--sat", "12345"}, 1}, TBadArgs{{"FILE", "--sat", "x"}, 2},
                    TBadArgs{{"no-such-file.tle"}, 1}, TBadArgs{{"EMPTY"}, 1}));

}  // namespace
}  // namespace zen::cli
