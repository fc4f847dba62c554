// The update command's words. The command itself needs the network, which this layer does not
// use: the program installs the function that runs it, and the table reaches it through here.
#include "cli/update_words.h"

#include "cli/option_words.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith update";
constexpr int64_t kLongestTimeoutSeconds = 3600;

// Set once by main() before the command line is read.
TUpdateRunner updateRunner = nullptr;

}  // namespace

std::string ParseUpdateWords(const std::vector<std::string>& args, TUpdateWords& w) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    std::string value;
    if (word == "--force") {
      w.force = true;
      continue;
    }
    if (word.rfind("--", 0) != 0) return "unexpected word " + word;
    const bool hasValue = TakeOptionValue(args, i, word, value);
    if (word != "--home" && word != "--source" && word != "--url" && word != "--output" &&
        word != "--timeout") {
      return "unknown option " + word;
    }
    if (!hasValue || value.empty()) return word + " needs a value";
    if (word == "--home") {
      w.home = value;
    } else if (word == "--source") {
      w.sources.push_back(value);
    } else if (word == "--url") {
      w.url = value;
    } else if (word == "--output") {
      w.output = value;
    } else {
      int64_t seconds = 0;
      if (!ParseWhole(value, seconds) || seconds < 1 || seconds > kLongestTimeoutSeconds) {
        return "--timeout needs a whole number of seconds from 1 to 3600";
      }
      w.timeoutSeconds = static_cast<int>(seconds);
    }
  }
  if (w.url.empty() != w.output.empty()) return "--url and --output go together";
  if (!w.url.empty() && (!w.home.empty() || !w.sources.empty() || w.force)) {
    return "--url fetches one address and takes no --home, --source or --force";
  }
  return {};
}

const TCommandHelp& UpdateHelp() {
  static const TCommandHelp help{
      "update",
      "fetch the element files of Tle/ from their sources, or one address into a file",
      {"[--home DIR] [--source NAME]... [--force] [--timeout SECONDS]",
       "--url URL --output FILE [--timeout SECONDS]"},
      "Fetches the element sources of Setup/sources.set (all, or those named) that were not "
      "fetched in the last two hours, checks each answer and replaces its file in Tle/, keeping "
      "the previous one as NAME.bak; or fetches one address into one file with the same checks. "
      "One line per source says what happened.",
      {
          {"--home DIR", "the program folder to update instead of the one the window uses"},
          {"--source NAME", "fetch only this source of the list; may be given again"},
          {"--force", "fetch also the sources fetched within the last two hours"},
          {"--url URL", "fetch this one address (with --output, instead of the list)"},
          {"--output FILE", "the file that --url writes"},
          {"--timeout SECONDS", "the longest wait for data, 1..3600 seconds (30)"},
          kHelpOptionHelp,
      },
      {"Exit status: 0 when every source was fetched or skipped, 1 when one failed or its "
       "fetch time could not be kept, or when Setup/sources.set cannot be read or is empty, 2 "
       "for a mistake in the options."}};
  return help;
}

void SetUpdateRunner(TUpdateRunner runner) {
  updateRunner = runner;
}

int RunUpdate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (AsksForHelp(args)) return AnswerHelp(UpdateHelp(), out, err);
  TUpdateWords words;
  const std::string problem = ParseUpdateWords(args, words);
  if (!problem.empty()) {
    err << kName << ": " << problem << "\n" << UsageLines(UpdateHelp());
    return 2;
  }
  if (updateRunner == nullptr) {
    err << kName << ": this build of the program cannot reach the network\n";
    return 2;
  }
  return updateRunner(words, out, err);
}

}  // namespace zen::cli
