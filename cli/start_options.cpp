// What the program was asked to do by its command line.
#include "cli/start_options.h"

#include "cli/commands.h"

namespace zen::cli {

TStartOptions ParseStartOptions(const std::vector<std::string>& args) {
  TStartOptions o;
  if (!args.empty() && FindCommand(args[0]) != nullptr) {
    o.action = TStartOptions::Action::RunCommand;
    o.command = args[0];
    o.commandArgs.assign(args.begin() + 1, args.end());
    return o;
  }
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      o.action = TStartOptions::Action::ShowHelp;
      return o;
    }
    if (a == "-v" || a == "--version") {
      o.action = TStartOptions::Action::ShowVersion;
      return o;
    }
    if (a == "--home" || a.rfind("--home=", 0) == 0) {
      std::string value;
      if (a == "--home") {
        if (i + 1 >= args.size()) {
          o.action = TStartOptions::Action::Error;
          o.error = "--home needs a folder";
          return o;
        }
        value = args[++i];
      } else {
        value = a.substr(7);
      }
      if (value.empty()) {
        o.action = TStartOptions::Action::Error;
        o.error = "--home needs a folder";
        return o;
      }
      o.home = value;
      continue;
    }
    o.windowArgs.push_back(a);
  }
  return o;
}

}  // namespace zen::cli
