// The table of command words and the texts of --help and --version.
#include "cli/commands.h"

#include <algorithm>
#include <cctype>

#include "cli/ephem.h"
#include "cli/flares.h"
#include "cli/look.h"
#include "cli/passes.h"
#include "cli/track_words.h"
#include "cli/update_words.h"

namespace zen::cli {

namespace {

// Beyond this many typing errors a word is not taken for a command.
constexpr size_t kMostTypingErrors = 2;

std::string Lowered(std::string_view word) {
  std::string lowered(word);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

}  // namespace

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"ephem", EphemHelp, RunEphem},    {"look", LookHelp, RunLook},
      {"passes", PassesHelp, RunPasses}, {"flares", FlaresHelp, RunFlares},
      {"update", UpdateHelp, RunUpdate}, {"track", TrackHelp, RunTrack},
  };
  return commands;
}

const TCommand* FindCommand(std::string_view word) {
  for (const TCommand& c : Commands()) {
    if (word == c.word) return &c;
  }
  return nullptr;
}

size_t TypingDistance(std::string_view a, std::string_view b) {
  // Three rows of the table of distances between prefixes: the row before the last one is
  // what a swap of two neighbours reaches back to.
  std::vector<size_t> beforeLast(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) last[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + changed});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        row[j] = std::min(row[j], beforeLast[j - 2] + 1);
      }
    }
    beforeLast.swap(last);
    last.swap(row);
  }
  return last[b.size()];
}

std::string ClosestCommand(std::string_view word) {
  const std::string lowered = Lowered(word);
  std::string closest;
  size_t closestDistance = kMostTypingErrors + 1;
  for (const TCommand& c : Commands()) {
    const size_t distance = TypingDistance(lowered, c.word);
    if (distance < closestDistance && distance < word.size()) {
      closest = c.word;
      closestDistance = distance;
    }
  }
  return closest;
}

const std::vector<TOptionHelp>& StartOptionHelps() {
  static const std::vector<TOptionHelp> options = {
      {"FILE", "an element file to load at start, as \"Load TLE\" does"},
      {"--track N,N,...", "catalogue numbers to track in FILE; the first becomes the active one"},
      {"--track all", "track every set of FILE"},
      {"--home DIR", "use DIR as the program folder (Data/, Tle/, Setup/, ...)"},
      {"-h, --help", "print this help and exit"},
      {"-v, --version", "print the version and exit"},
  };
  return options;
}

std::string VersionText() {
  return "Zenarith 1.0";
}

std::string UsageText() {
  std::string text =
      "usage: zenarith [--home DIR] [FILE] [--track N,N,...|all]\n"
      "       zenarith COMMAND [OPTIONS]\n"
      "\n" +
      FoldText("",
               "Zenarith tracks satellites from two-line element files on a world map and a "
               "radar view, and predicts their passes. Without a command it opens its window.",
               0) +
      "\nOptions:\n" + OptionLines(StartOptionHelps()) + "\n" +
      FoldText("",
               "The program folder is, without --home, the program file's own folder, or for an "
               "installed copy $XDG_DATA_HOME/zenarith (~/.local/share/zenarith).",
               0) +
      "\nCommands (no display needed; COMMAND --help lists all of its options):\n";
  for (const TCommand& c : Commands()) {
    const TCommandHelp& help = c.help();
    for (const char* synopsis : help.synopses) {
      text += FoldText(std::string("  ") + c.word + " ", synopsis, 8, true);
    }
    text += FoldText("      ", help.brief, 6);
  }
  text += "\n" +
          FoldText("",
                   "A first word that is neither a command, an option nor an existing file is "
                   "an unknown command (the closest command is named), unless its name holds a "
                   "\"/\" or an extension such as \".tle\": a FILE that does not exist is "
                   "refused as a missing file.",
                   0) +
          "\n" +
          FoldText("",
                   "Exit status: 0 done; 1 a file could not be read or written, or an update "
                   "failed; 2 a mistake in the command line, or no display for the window.",
                   0);
  return text;
}

}  // namespace zen::cli
