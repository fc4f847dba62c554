// The help of the command words: each command's synopsis, its options with a one-line meaning
// and its notes, as `zenarith COMMAND --help` prints them, and the pieces the commands share.
#include "cli/command_help.h"

#include <algorithm>

#include "cli/command_output.h"

namespace zen::cli {

namespace {

// Where the meanings of the option lines start.
constexpr size_t kMeaningColumn = 26;
constexpr size_t kOptionIndent = 2;
// Continuation lines of a synopsis start under the word after "usage:".
constexpr size_t kSynopsisIndent = 9;

// The words of text, split at blanks. With keepGroups (a synopsis) not inside [...] or (...),
// nor between an option and its value ("--to TIME").
std::vector<std::string_view> Tokens(std::string_view text, bool keepGroups) {
  std::vector<std::string_view> tokens;
  int depth = 0;
  size_t start = std::string_view::npos;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    if (keepGroups && (c == '[' || c == '(')) ++depth;
    if (keepGroups && (c == ']' || c == ')') && depth > 0) --depth;
    const bool valueFollows = keepGroups && c == ' ' && start != std::string_view::npos &&
                              text[start] == '-' && i + 1 < text.size() &&
                              std::string_view("-[(").find(text[i + 1]) == std::string_view::npos;
    if (c == ' ' && (depth == 0 || i == text.size()) && !valueFollows) {
      if (start != std::string_view::npos) tokens.push_back(text.substr(start, i - start));
      start = std::string_view::npos;
    } else if (start == std::string_view::npos) {
      start = i;
    }
  }
  return tokens;
}

}  // namespace

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& word) { return word == "-h" || word == "--help"; });
}

std::string FoldText(std::string_view prefix, std::string_view text, size_t indent,
                     bool keepGroups) {
  std::string folded(prefix);
  size_t lineStart = 0;
  bool lineEmpty = true;
  for (std::string_view token : Tokens(text, keepGroups)) {
    const size_t column = folded.size() - lineStart;
    if (!lineEmpty && column + 1 + token.size() > kHelpWidth) {
      folded += '\n';
      lineStart = folded.size();
      folded.append(indent, ' ');
      lineEmpty = true;
    }
    if (!lineEmpty) folded += ' ';
    folded += token;
    lineEmpty = false;
  }
  folded += '\n';
  return folded;
}

std::string UsageLines(const TCommandHelp& help) {
  std::string lines;
  const std::string command = std::string("zenarith ") + help.word + " ";
  for (size_t i = 0; i < help.synopses.size(); ++i) {
    const std::string prefix = (i == 0 ? "usage: " : "       ") + command;
    lines += FoldText(prefix, help.synopses[i], kSynopsisIndent, true);
  }
  return lines;
}

std::string OptionLines(const std::vector<TOptionHelp>& options) {
  std::string lines;
  for (const TOptionHelp& option : options) {
    std::string prefix = std::string(kOptionIndent, ' ') + option.words;
    if (prefix.size() + 2 > kMeaningColumn) {
      lines += prefix + "\n";
      prefix.clear();
    }
    prefix.resize(kMeaningColumn, ' ');
    lines += FoldText(prefix, option.meaning, kMeaningColumn);
  }
  return lines;
}

std::string CommandHelpText(const TCommandHelp& help) {
  std::string text = UsageLines(help) + "\n" + FoldText("", help.summary, 0) + "\nOptions:\n" +
                     OptionLines(help.options);
  for (const char* note : help.notes) text += "\n" + FoldText("", note, 0);
  return text;
}

int AnswerHelp(const TCommandHelp& help, std::ostream& out, std::ostream& err) {
  const std::string name = std::string("zenarith ") + help.word;
  TOutputLines output(name.c_str(), out, err);
  std::string text = CommandHelpText(help);
  text.pop_back();
  output.Write(text);
  return output.Finish() ? 0 : 1;
}

}  // namespace zen::cli
