// The program's command line: the start options and each command's options. A command reads
// its element file only after its options are sound, and the words can name no file that
// exists, so the searches themselves never start: their options are what is read here.
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "cli/commands.h"
#include "cli/flares.h"
#include "cli/option_words.h"
#include "cli/start_options.h"
#include "cli/update_words.h"
#include "fuzz/fuzz_support.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Relative names resolve in the empty scratch folder; no word may leave it.
  static const bool inScratch = chdir(zen::fuzz::Scratch().c_str()) == 0;
  Require(inScratch, "the run works in its scratch folder");
  std::vector<std::string> args = zen::fuzz::SplitWords(zen::fuzz::AsText(data, size));
  for (std::string& word : args) std::replace(word.begin(), word.end(), '/', '_');

  const zen::cli::TStartOptions start = zen::cli::ParseStartOptions(args);
  using Action = zen::cli::TStartOptions::Action;
  Require((start.action == Action::Error) != start.error.empty(), "an error says what it is");
  for (const std::string& id : start.trackIds) {
    int64_t number = 0;
    Require(zen::cli::ParseCatalogNumber(id, number), "a tracked id is a catalogue number");
  }
  if (start.action != Action::RunCommand) return 0;

  std::ostringstream out;
  std::ostringstream err;
  int code = 0;
  if (start.command == "flares") {
    // The table from the scratch folder rather than the program's own.
    code = zen::cli::RunFlaresIn(zen::fuzz::Scratch(), start.commandArgs, out, err);
  } else {
    // No network here: no update runner is installed, so "update" stops after its words.
    code = zen::cli::FindCommand(start.command)->run(start.commandArgs, out, err);
  }
  // Nothing was computed, so nothing but the usage may reach the output.
  Require(code != 0 || out.str().rfind("usage:", 0) == 0, "only the usage is printed");
  if (start.command == "update") {
    zen::cli::TUpdateWords words;
    const std::string problem = zen::cli::ParseUpdateWords(start.commandArgs, words);
    Require(!problem.empty() || (words.timeoutSeconds >= 1 && words.timeoutSeconds <= 3600),
            "the timeout is in range");
  }
  return 0;
}
