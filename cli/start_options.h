// What the program was asked to do by its command line.
#pragma once

#include <string>
#include <vector>

namespace zen::cli {

struct TStartOptions {
  enum class Action { OpenWindow, ShowHelp, ShowVersion, RunCommand, Error };
  Action action = Action::OpenWindow;
  std::string home;                      // --home DIR; empty: the program file's folder
  std::string command;                   // the command word for RunCommand
  std::vector<std::string> commandArgs;  // the words after it
  std::vector<std::string> windowArgs;   // further window arguments, in order
  std::string elementFile;               // FILE: loaded at start as "Load TLE" loads it
  std::vector<std::string> trackIds;     // --track: five-digit catalogue numbers, in order
  bool trackAll = false;                 // --track all: every set of the file
  std::string error;                     // for Error: what was wrong
};

// args excludes the program name. A command word must come first. FILE must exist: a first
// word that is neither a command, an option nor a file is an unknown command (the error names
// the command it is closest to), unless its name holds a "/" or an extension; then, as any
// other FILE that is not there, it is a missing file.
TStartOptions ParseStartOptions(const std::vector<std::string>& args);

}  // namespace zen::cli
