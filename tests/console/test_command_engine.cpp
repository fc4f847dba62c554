// The console's command engine with a scripted program behind it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/command_engine.h"

namespace zen {
namespace {

using Lines = std::vector<std::string>;

class TFakeHost : public TConsoleHost {
 public:
  TConsoleStatus status;
  std::string rangeRate;
  int testsStarted = 0;

  TConsoleStatus Status() const override { return status; }
  std::string RangeRateText() const override { return rangeRate; }
  void ShowLocations() override {}
  void CloseConsole() override {}
  void StartSpeedTest() override { ++testsStarted; }
};

class CommandEngine : public ::testing::Test {
 protected:
  TFakeHost host;
  TCommandEngine engine{host};

  Lines Output() const { return Lines(engine.Output().begin(), engine.Output().end()); }
  Lines Run(const std::string& line) {
    engine.Clear();
    engine.Execute(line);
    return Output();
  }
};

TEST(ParseCommandLine, BlanksOnlySeparateAndTenArgumentsAreKept) {
  const struct {
    const char* text;
    const char* command;
    Lines arguments;
  } rows[] = {
      {"dopp 145.8 -7", "dopp", {"145.8", "-7"}},
      {"   dopp   145.8\t -7  ", "dopp", {"145.8", "-7"}},
      {"\tStat", "Stat", {}},
      {"", "", {}},
      {"  \t  ", "", {}},
      {"x A b C", "x", {"A", "b", "C"}},
      {"c 1 2 3 4 5 6 7 8 9 10 11 12", "c", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
  };
  for (const auto& row : rows) {
    TCommandLine parsed = ParseCommandLine(row.text);
    EXPECT_EQ(parsed.command, row.command) << '"' << row.text << '"';
    EXPECT_EQ(parsed.arguments, row.arguments) << '"' << row.text << '"';
  }
}

TEST_F(CommandEngine, CommandWordsIgnoreCaseAndBlanks) {
  const Lines help = {"> Help", "  Clear, Close, Help, ShowLocs, Stat, Test"};
  for (const char* line : {"HELP", "help", "HeLp", "  help  ", "help me please"}) {
    EXPECT_EQ(Run(line), help) << line;
  }
  EXPECT_EQ(Run("  fooBar  x"), Lines{"> Syntax error: fooBar"});
  EXPECT_EQ(Run("helpx"), Lines{"> Syntax error: helpx"});
}

TEST_F(CommandEngine, NewestCommandStandsFirstWithItsEchoAboveItsOutput) {
  engine.Execute("help");
  engine.Execute("what");
  engine.Execute("");
  engine.Execute("dopp 145.8 -7");
  EXPECT_EQ(Output(), (Lines{"> Dopp", "  f0=145.8, v=-7 => f1=145.803404", "> Syntax error: what",
                             "> Help", "  Clear, Close, Help, ShowLocs, Stat, Test"}));
  EXPECT_EQ(engine.History(), (Lines{"help", "what", "", "dopp 145.8 -7"}));
  engine.Execute("clear");
  EXPECT_TRUE(engine.Output().empty());
  EXPECT_EQ(engine.History().size(), 5u);
}

TEST_F(CommandEngine, StatShowsTheElementFileOnlyOnceOneWasLoaded) {
  host.status.settingsFileName = "Setup/default.ini";
  host.status.locationFile = "Locations\\World.loc";
  EXPECT_EQ(Run("stat"),
            (Lines{"> Stat:", "  Setup  : Setup/default.ini", "  LOCFile: Locations\\World.loc"}));

  host.status.tleFileName = "Tle/big.tle";
  host.status.invalidElementCount = 3;
  host.status.loadedCount = 30000;
  host.status.trackedCount = 2;
  EXPECT_EQ(Run("STAT"),
            (Lines{"> Stat:", "  Setup  : Setup/default.ini", "  LOCFile: Locations\\World.loc",
                   "  TLEFile: Tle/big.tle; LoadErrors: 3", "  Loaded : 30000",
                   "  Tracked: 2"}));
  host.status.invalidElementCount = 0;
  EXPECT_EQ(Run("STAT")[3], "  TLEFile: Tle/big.tle; LoadErrors: 0");
}

TEST_F(CommandEngine, DoppGivesTheFrequencyHeardOnTheGround) {
  // Expected values by hand: f0 (1 - v / 299792.458 km/s).
  host.rangeRate = "-7.000";
  const struct {
    const char* line;
    const char* result;
  } rows[] = {
      {"dopp 145.8 7", "  f0=145.8, v=7 => f1=145.796596"},
      {"DOPP 437,0 6,5", "  f0=437.0, v=6.5 => f1=436.990525"},
      {"dopp 2400 -3 ignored", "  f0=2400, v=-3 => f1=2400.024017"},
      // The satellite's own range rate, from the information grid.
      {"dopp 145.8", "  f0=145.8, v=-7.000 => f1=145.803404"},
      // Ten significant digits, then six decimals.
      {"dopp 123456789.123456 0", "  f0=123456789.123456, v=0 => f1=123456789.100000"},
      // Words that are not numbers read as 0.
      {"dopp abc 5", "  f0=abc, v=5 => f1=0.000000"},
      {"dopp 145.8 fast", "  f0=145.8, v=fast => f1=145.800000"},
      {"dopp", "Syntax error"},
      {"dopp 1e308 -1e300", "Syntax error"},
  };
  for (const auto& row : rows) EXPECT_EQ(Run(row.line), (Lines{"> Dopp", row.result})) << row.line;

  // No satellite shown: the grid's cell is empty.
  host.rangeRate.clear();
  EXPECT_EQ(Run("dopp 145.8"), (Lines{"> Dopp", "Syntax error"}));
}

TEST_F(CommandEngine, TestResultTakesThePlaceOfTheWaitingLine) {
  engine.Execute("help");
  engine.Execute("test");
  EXPECT_EQ(host.testsStarted, 1);
  EXPECT_TRUE(engine.SpeedTestRunning());
  EXPECT_EQ(Output()[0], "Testing...");
  // Meanwhile the console goes on; a second test does not start a second measurement.
  engine.Execute("stat x");
  engine.Execute("TEST");
  EXPECT_EQ(host.testsStarted, 1);
  engine.SpeedTestDone("  RESULT");
  EXPECT_FALSE(engine.SpeedTestRunning());
  EXPECT_EQ(Output(), (Lines{"> Test", "  Test already running",
                             "> Stat:", "  Setup  : ", "  LOCFile: ", "> Test", "  RESULT",
                             "> Help", "  Clear, Close, Help, ShowLocs, Stat, Test"}));
  // A late second report changes nothing; a new test may start.
  engine.SpeedTestDone("  AGAIN");
  EXPECT_EQ(Output().size(), 9u);
  engine.Execute("test");
  EXPECT_EQ(host.testsStarted, 2);
}

TEST_F(CommandEngine, TestResultGoesToTheTopWhenTheOutputWasCleared) {
  engine.Execute("test");
  engine.Execute("clear");
  engine.Execute("help");
  engine.SpeedTestDone("  RESULT");
  EXPECT_EQ(Output(),
            (Lines{"> Test", "  RESULT", "> Help", "  Clear, Close, Help, ShowLocs, Stat, Test"}));
}

}  // namespace
}  // namespace zen
