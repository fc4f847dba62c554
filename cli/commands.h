// The command words of the command line: each runs without a window. Only update writes into
// the program folder (its element files and sources list); flares reads its Iridium status
// table from there.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_help.h"

namespace zen::cli {

// args are the words after the command word; returns the process exit code.
using TCommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err);

struct TCommand {
  const char* word;
  const TCommandHelp& (*help)();  // its --help
  TCommandFunction run;           // answers -h and --help itself
};

const std::vector<TCommand>& Commands();
const TCommand* FindCommand(std::string_view word);

// The command a mistyped word most likely meant: the nearest within two typing errors (a
// letter added, dropped, changed, or two neighbours swapped; case aside), and fewer errors than
// the word has letters. Empty when none is that near.
std::string ClosestCommand(std::string_view word);

// The typing errors between two words: insertions, deletions, substitutions and swaps of
// neighbouring letters, each letter changed at most once.
size_t TypingDistance(std::string_view a, std::string_view b);

// The program's start options, as its --help and the manual list them.
const std::vector<TOptionHelp>& StartOptionHelps();

std::string VersionText();
std::string UsageText();

}  // namespace zen::cli
