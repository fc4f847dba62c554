// The command line: what the program is asked to do before any window exists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/start_options.h"

namespace zen::cli {
namespace {

using Action = TStartOptions::Action;

struct OptionCase {
  std::vector<std::string> args;
  Action action;
  std::string home;
};

TEST(StartOptions, ChoosesTheAction) {
  const OptionCase cases[] = {
      {{}, Action::OpenWindow, ""},
      {{"--help"}, Action::ShowHelp, ""},
      {{"-h"}, Action::ShowHelp, ""},
      {{"--version"}, Action::ShowVersion, ""},
      {{"--home", "/tmp/z"}, Action::OpenWindow, "/tmp/z"},
      {{"--home=/tmp/y"}, Action::OpenWindow, "/tmp/y"},
      {{"--home"}, Action::Error, ""},
      {{"--home="}, Action::Error, ""},
      {{"--home", "/tmp/z", "--version"}, Action::ShowVersion, "/tmp/z"},
  };
  for (const OptionCase& c : cases) {
    TStartOptions o = ParseStartOptions(c.args);
    EXPECT_EQ(o.action, c.action) << ::testing::PrintToString(c.args);
    EXPECT_EQ(o.home, c.home) << ::testing::PrintToString(c.args);
  }
}

TEST(StartOptions, ElementFileAndTrackedNumbers) {
  TStartOptions o = ParseStartOptions({"a.tle", "--home", "h", "--track", "25544,5,48274"});
  EXPECT_EQ(o.action, Action::OpenWindow);
  EXPECT_EQ(o.home, "h");
  EXPECT_EQ(o.elementFile, "a.tle");
  EXPECT_EQ(o.trackIds, (std::vector<std::string>{"25544", "00005", "48274"}));
  EXPECT_EQ(o.windowArgs, (std::vector<std::string>{"a.tle", "--track", "25544,5,48274"}));
  EXPECT_EQ(ParseStartOptions({"--track=7"}).trackIds, (std::vector<std::string>{"00007"}));
  // Six-digit numbers and the Alpha-5 form name the full number.
  EXPECT_EQ(ParseStartOptions({"--track=340005,A0000,Z9999"}).trackIds,
            (std::vector<std::string>{"340005", "100000", "339999"}));
}

TEST(StartOptions, BadWindowArgumentsAreErrors) {
  const std::vector<std::string> bad[] = {
      {"--track"},          {"--track", "25544,"}, {"--track", "x1"}, {"--track", "1000000000"},
      {"a.tle", "b.tle"},   {"--frobnicate"},      {"--track", ",1"}, {"--track", "a0000"},
      {"--track", "I0000"},
  };
  for (const auto& args : bad) {
    TStartOptions o = ParseStartOptions(args);
    EXPECT_EQ(o.action, Action::Error) << ::testing::PrintToString(args);
    EXPECT_FALSE(o.error.empty());
  }
}

TEST(StartOptions, CommandWordsTakeTheRestOfTheLine) {
  for (const TCommand& command : Commands()) {
    TStartOptions o = ParseStartOptions({command.word, "--help", "x"});
    EXPECT_EQ(o.action, Action::RunCommand) << command.word;
    EXPECT_EQ(o.command, command.word);
    EXPECT_EQ(o.commandArgs, (std::vector<std::string>{"--help", "x"}));
  }
  // A word that is no command is left for the window (as a file name).
  EXPECT_EQ(ParseStartOptions({"ephemeris"}).action, Action::OpenWindow);
}

TEST(StartOptions, HelpListsTheOptionsAndVersionIsFixed) {
  EXPECT_EQ(VersionText(), "Zenarith 1.0");
  std::string usage = UsageText();
  for (const char* option : {"--home DIR", "--help", "--version"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  for (const TCommand& command : Commands()) {
    EXPECT_NE(usage.find(command.word), std::string::npos) << command.word;
  }
}

}  // namespace
}  // namespace zen::cli
