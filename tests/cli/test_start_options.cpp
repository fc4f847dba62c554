// The command line: what the program is asked to do before any window exists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/start_options.h"
#include "core/scratch_folder.h"

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

// Element files that exist, for the window's FILE.
class StartFiles : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    for (const char* name : {"a.tle", "b.tle", "stations"}) std::ofstream(folder_.path() / name);
  }
  std::string File(const char* name) const { return (folder_.path() / name).string(); }
  test::TScratchFolder folder_{"zen_start_"};
};

TEST_F(StartFiles, ElementFileAndTrackedNumbers) {
  const std::string a = File("a.tle");
  TStartOptions o = ParseStartOptions({a, "--home", "h", "--track", "25544,5,48274"});
  EXPECT_EQ(o.action, Action::OpenWindow);
  EXPECT_EQ(o.home, "h");
  EXPECT_EQ(o.elementFile, a);
  EXPECT_EQ(o.trackIds, (std::vector<std::string>{"25544", "00005", "48274"}));
  EXPECT_EQ(o.windowArgs, (std::vector<std::string>{a, "--track", "25544,5,48274"}));
  EXPECT_EQ(ParseStartOptions({"--track=7"}).trackIds, (std::vector<std::string>{"00007"}));
  // Six-digit numbers and the Alpha-5 form name the full number.
  EXPECT_EQ(ParseStartOptions({"--track=340005,A0000,Z9999"}).trackIds,
            (std::vector<std::string>{"340005", "100000", "339999"}));
  // "all" tracks every set; the last --track given holds.
  const TStartOptions all = ParseStartOptions({a, "--track", "5", "--track=all"});
  EXPECT_TRUE(all.trackAll);
  EXPECT_TRUE(all.trackIds.empty());
  EXPECT_EQ(all.windowArgs, (std::vector<std::string>{a, "--track", "5", "--track", "all"}));
  EXPECT_FALSE(ParseStartOptions({a, "--track", "all", "--track", "5"}).trackAll);
}

TEST_F(StartFiles, BadWindowArgumentsAreErrors) {
  const std::vector<std::string> bad[] = {
      {"--track"},
      {"--track", "25544,"},
      {"--track", "x1"},
      {"--track", "1000000000"},
      {File("a.tle"), File("b.tle")},
      {"--frobnicate"},
      {"--track", ",1"},
      {"--track", "a0000"},
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
}

// A first word that is no command is the window's FILE when it exists; when it does not, a
// bare word is an unknown command (with the command it is nearest to, within two typing
// errors), and a name with a folder or an extension is a missing file, wherever it stands.
TEST_F(StartFiles, WordsThatAreNeitherCommandsNorFiles) {
  struct Case {
    std::vector<std::string> args;
    Action action;
    std::string error;  // the whole error text
  };
  const std::string none = File("none.tle");
  const Case cases[] = {
      {{File("stations")}, Action::OpenWindow, ""},
      {{File("a.tle"), "--track", "25544"}, Action::OpenWindow, ""},
      {{"--track", "25544", File("b.tle")}, Action::OpenWindow, ""},
      {{"pases"}, Action::Error, "unknown command 'pases'; did you mean 'passes'?"},
      {{"pases", "x.tle", "--all"},
       Action::Error,
       "unknown command 'pases'; did you mean 'passes'?"},
      {{"PASSES"}, Action::Error, "unknown command 'PASSES'; did you mean 'passes'?"},
      {{"ephme"}, Action::Error, "unknown command 'ephme'; did you mean 'ephem'?"},
      {{"updaet"}, Action::Error, "unknown command 'updaet'; did you mean 'update'?"},
      {{"lok"}, Action::Error, "unknown command 'lok'; did you mean 'look'?"},
      {{"flraes"}, Action::Error, "unknown command 'flraes'; did you mean 'flares'?"},
      {{"aspsse"}, Action::Error, "unknown command 'aspsse'"},
      {{"ephemeris"}, Action::Error, "unknown command 'ephemeris'"},
      {{"ok"}, Action::Error, "unknown command 'ok'"},
      {{"frobnicate", "--home", "h"}, Action::Error, "unknown command 'frobnicate'"},
      {{"pases.tle"}, Action::Error, "cannot open 'pases.tle': there is no such file"},
      {{"Tle/pases"}, Action::Error, "cannot open 'Tle/pases': there is no such file"},
      {{none}, Action::Error, "cannot open '" + none + "': there is no such file"},
      {{"--home", "h", "stations"}, Action::Error, "cannot open 'stations': there is no such file"},
  };
  for (const Case& c : cases) {
    const TStartOptions o = ParseStartOptions(c.args);
    EXPECT_EQ(o.action, c.action) << testing::PrintToString(c.args);
    EXPECT_EQ(o.error, c.error) << testing::PrintToString(c.args);
  }
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
