// The help of the command words: every command answers -h and --help alike with its usage and
// each of its options, lists exactly the options its usage names, and folds its lines whole.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/option_words_of_text.h"
#include "cli/split_text.h"
#include "cli/update_words.h"

namespace zen::cli {
namespace {

using zen::test::OptionWordsOf;

// Runs of blanks and line ends as one blank, so a folded line reads as one.
std::string Collapsed(const std::string& text) {
  std::string collapsed;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n';
    if (blank && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += blank ? ' ' : c;
  }
  return collapsed;
}

// The option words of the lines a help lists, without the operand FILE.
std::set<std::string> ListedOptionWords(const std::vector<TOptionHelp>& options) {
  std::set<std::string> words;
  for (const TOptionHelp& option : options) words.merge(OptionWordsOf(option.words));
  return words;
}

TEST(CommandHelp, EveryCommandAnswersHelpWithItsUsageAndEachOption) {
  ASSERT_EQ(Commands().size(), 6u);
  for (const TCommand& command : Commands()) {
    const std::string word = command.word;
    const TCommandHelp& help = command.help();
    EXPECT_EQ(help.word, word);
    const std::vector<std::vector<std::string>> asks = {
        {"--help"}, {"-h"}, {"none.tle", "--no-such-option", "--help"}, {"--sat=x", "-h"}};
    for (const std::vector<std::string>& args : asks) {
      const std::string said = word + " " + testing::PrintToString(args);
      std::ostringstream out, err;
      EXPECT_EQ(command.run(args, out, err), 0) << said;
      EXPECT_EQ(err.str(), "") << said;
      const std::string text = out.str();
      EXPECT_EQ(text.rfind("usage: zenarith " + word + " ", 0), 0u) << said << "\n" << text;
      const std::string flat = Collapsed(text);
      for (const TOptionHelp& option : help.options) {
        EXPECT_NE(flat.find(Collapsed(std::string(option.words) + " " + option.meaning)),
                  std::string::npos)
            << said << ": " << option.words;
      }
      for (const std::string& line : test::SplitLines(text)) {
        EXPECT_LE(line.size(), kHelpWidth) << said << ": " << line;
      }
    }
  }
}

// The synopsis and the option lines name the same options, so neither can gain one alone.
TEST(CommandHelp, TheOptionLinesAreTheOptionsOfTheUsage) {
  for (const TCommand& command : Commands()) {
    const TCommandHelp& help = command.help();
    std::set<std::string> inUsage = OptionWordsOf(UsageLines(help));
    inUsage.insert({"-h", "--help"});
    EXPECT_EQ(ListedOptionWords(help.options), inUsage) << command.word;
    EXPECT_TRUE(inUsage.size() > 3) << command.word;
  }
}

TEST(CommandHelp, AHelpThatCannotBeWrittenIsAFailure) {
  for (const TCommand& command : Commands()) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(command.run({"--help"}, out, err), 1) << command.word;
    EXPECT_NE(err.str().find("cannot write"), std::string::npos) << command.word;
  }
}

// Folding keeps every word, in order, and never splits a group of a synopsis or an option from
// its value; a word longer than a line stands alone.
TEST(CommandHelp, FoldingKeepsWordsAndGroups) {
  const std::string synopsis =
      "FILE (--sat N,N,...|--all) --site LAT,LON[,ALT_M] [--from TIME] [--to TIME | --days N] "
      "--format report|csv [--max-sun DEG | --no-sun-limit] [--level 1..5] [--brief] "
      "--abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz1234567";
  const std::string folded = FoldText("usage: zenarith passes ", synopsis, 9, true);
  EXPECT_EQ(Collapsed(folded), Collapsed("usage: zenarith passes " + synopsis + "\n"));
  const std::vector<std::string> lines = test::SplitLines(folded);
  ASSERT_GT(lines.size(), 2u);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (i > 0) {
      EXPECT_EQ(line.rfind("         ", 0), 0u) << line;
    }
    if (line.find("--abc") != std::string::npos) {
      EXPECT_EQ(line.find_first_not_of(' '), line.find("--abc")) << "not alone: " << line;
    } else {
      EXPECT_LE(line.size(), kHelpWidth) << line;
    }
    int depth = 0;
    for (char c : line) {
      depth += (c == '[' || c == '(') ? 1 : (c == ']' || c == ')') ? -1 : 0;
      EXPECT_GE(depth, 0) << line;
    }
    EXPECT_EQ(depth, 0) << "a group was split: " << line;
    for (const char* option : {"--site", "--format"}) {
      const size_t at = line.find(option);
      if (at != std::string::npos) {
        EXPECT_NE(at + std::string(option).size(), line.size()) << "value on the next line";
      }
    }
  }
}

}  // namespace
}  // namespace zen::cli
