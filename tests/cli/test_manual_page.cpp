// The manual page zenarith(1) against the program's --help and each command's --help: the same
// options in the same places, and each one the manual lists taken by its command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/option_words_of_text.h"
#include "cli/split_text.h"
#include "cli/start_options.h"
#include "cli/update_words.h"

namespace zen::cli {
namespace {

using zen::test::OptionWordsOf;
using zen::test::SplitLines;

// A line of roff as it reads: fonts, hyphens, break points and special characters resolved.
std::string PlainText(const std::string& line) {
  std::string text;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\' || i + 1 >= line.size()) {
      text += line[i];
      continue;
    }
    const char escape = line[++i];
    if (escape == '-') {
      text += '-';
    } else if (escape == 'e') {
      text += '\\';
    } else if (escape == 'f' && i + 1 < line.size()) {
      ++i;  // the font letter
    } else if (escape == '(' && i + 2 < line.size()) {
      i += 2;  // a special character such as \(lq
      text += ' ';
    } else if (escape == '~') {
      text += ' ';
    }
    // \%, \:, \& and the rest print nothing.
  }
  return text;
}

// The manual: the text of each section (.SH) and of each part of a section (.SS), and for each
// of them the option words of the items it lists (the tag line after .TP).
struct TManual {
  std::map<std::string, std::string> text;
  std::map<std::string, std::set<std::string>> listed;
};

TManual ReadManual() {
  TManual manual;
  std::ifstream file(std::filesystem::path(ZEN_SOURCE_DIR) / "packaging" / "zenarith.1");
  EXPECT_TRUE(file.good()) << "the manual page packaging/zenarith.1 is missing";
  std::string section;
  std::string part;
  bool tagFollows = false;
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(".\\\"", 0) == 0) continue;
    if (line.rfind(".SH ", 0) == 0) {
      section = line.substr(4);
      part.clear();
      continue;
    }
    if (line.rfind(".SS ", 0) == 0) {
      part = section + "/" + line.substr(4);
      continue;
    }
    const std::string where = part.empty() ? section : part;
    const std::string plain = PlainText(line);
    manual.text[where] += plain + "\n";
    if (tagFollows) manual.listed[where].merge(OptionWordsOf(plain));
    tagFollows = line == ".TP";
  }
  return manual;
}

// The option words of the option lines of a help ("  --sat NUMBER   meaning"): the words
// before the meaning's column, not the options a meaning mentions.
std::set<std::string> ListedInHelp(const std::string& help) {
  std::set<std::string> words;
  bool inOptions = false;
  for (const std::string& line : SplitLines(help)) {
    if (line == "Options:") {
      inOptions = true;
      continue;
    }
    if (line.empty()) inOptions = false;
    if (!inOptions || line.size() < 3 || line.rfind("  ", 0) != 0 || line[2] == ' ') continue;
    words.merge(OptionWordsOf(line.substr(2, line.find("  ", 2) - 2)));
  }
  return words;
}

std::string HelpOf(const TCommand& command) {
  std::ostringstream out, err;
  EXPECT_EQ(command.run({"--help"}, out, err), 0) << command.word;
  return out.str();
}

// What a command says of an option given alone: never that it does not know it.
std::string ProblemOf(const TCommand& command, const std::string& option) {
  std::ostringstream out, err;
  if (option == "-h" || option == "--help") {
    return command.run({option}, out, err) == 0 ? std::string() : "no help: " + err.str();
  }
  if (std::string(command.word) == "update") {
    // Without a mistake the update would start fetching; its words alone are enough.
    TUpdateWords words;
    return ParseUpdateWords({option}, words);
  }
  command.run({option}, out, err);
  return err.str();
}

TEST(ManualPage, HasEveryCommandInItsOwnPart) {
  const TManual manual = ReadManual();
  std::set<std::string> parts;
  for (const auto& [where, text] : manual.text) {
    if (where.rfind("COMMANDS/", 0) == 0) parts.insert(where.substr(9));
  }
  std::set<std::string> words;
  for (const TCommand& command : Commands()) {
    words.insert(command.word);
    EXPECT_NE(manual.text.at("SYNOPSIS").find(std::string(command.word)), std::string::npos)
        << command.word;
  }
  EXPECT_EQ(parts, words);
  for (const char* section :
       {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "COMMANDS", "FILES", "ENVIRONMENT",
        "EXIT STATUS", "EXAMPLES", "SEE ALSO", "AUTHORS", "COPYRIGHT"}) {
    EXPECT_EQ(manual.text.count(section), 1u) << section;
  }
}

// For the program and for each command: the manual lists exactly the options that the --help
// lists, names every option word the --help prints, and each one it lists is taken.
TEST(ManualPage, ListsTheOptionsOfEachHelp) {
  const TManual manual = ReadManual();
  struct Part {
    std::string where;  // in the manual
    std::string help;   // what --help prints
    const TCommand* command;
  };
  std::vector<Part> parts = {{"OPTIONS", UsageText(), nullptr}};
  for (const TCommand& command : Commands()) {
    parts.push_back({"COMMANDS/" + std::string(command.word), HelpOf(command), &command});
  }
  for (const Part& part : parts) {
    ASSERT_EQ(manual.text.count(part.where), 1u) << part.where;
    const std::set<std::string> listed = ListedInHelp(part.help);
    EXPECT_GT(listed.size(), 3u) << part.where;
    EXPECT_EQ(manual.listed.at(part.where), listed) << part.where;

    std::string printed = part.help;
    if (part.command == nullptr) printed = printed.substr(0, printed.find("\nCommands"));
    const std::set<std::string> named = OptionWordsOf(manual.text.at(part.where));
    for (const std::string& word : OptionWordsOf(printed)) {
      EXPECT_EQ(named.count(word), 1u) << part.where << " does not name " << word;
    }

    for (const std::string& option : manual.listed.at(part.where)) {
      const std::string problem = part.command == nullptr ? ParseStartOptions({option}).error
                                                          : ProblemOf(*part.command, option);
      EXPECT_EQ(problem.find("unknown option"), std::string::npos)
          << part.where << ": " << option << ": " << problem;
    }
  }
}

}  // namespace
}  // namespace zen::cli
