// The update command's words. The command itself needs the network, which this layer does not
// use: the program installs the function that runs it, and the table reaches it through here.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"

namespace zen::cli {

struct TUpdateWords {
  std::string home;                  // --home DIR; empty: the program file's folder
  std::vector<std::string> sources;  // --source NAME, in order; empty: every source
  bool force = false;                // --force: also sources fetched within two hours
  std::string url;                   // --url URL: one address ...
  std::string output;                // --output FILE: ... into one file
  int timeoutSeconds = 30;           // --timeout SECONDS: the longest wait for data
};

const TCommandHelp& UpdateHelp();

// Returns what is wrong with the words, or an empty text when they are sound.
std::string ParseUpdateWords(const std::vector<std::string>& args, TUpdateWords& words);

// Runs the update; returns the exit code: 0 when every source was fetched or skipped, 1 when
// one failed, its fetch time could not be kept or the sources list cannot be read.
using TUpdateRunner = int (*)(const TUpdateWords& words, std::ostream& out, std::ostream& err);
void SetUpdateRunner(TUpdateRunner runner);

// The table's function: parses the words (2 on a mistake), then hands them to the runner.
int RunUpdate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
