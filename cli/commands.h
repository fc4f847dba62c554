// The command words of the command line: each runs without a window. Only update writes into
// the program folder (its element files and sources list); flares reads its Iridium status
// table from there.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zen::cli {

// args are the words after the command word; returns the process exit code.
using TCommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err);

struct TCommand {
  const char* word;
  const char* usage;    // the options, for --help
  const char* summary;  // one line, for --help
  TCommandFunction run;
};

const std::vector<TCommand>& Commands();
const TCommand* FindCommand(std::string_view word);

std::string VersionText();
std::string UsageText();

}  // namespace zen::cli
