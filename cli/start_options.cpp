// What the program was asked to do by its command line.
#include "cli/start_options.h"

#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "core/alpha5.h"

namespace zen::cli {

namespace {

TStartOptions& Fail(TStartOptions& o, const std::string& error) {
  o.action = TStartOptions::Action::Error;
  o.error = error;
  return o;
}

// "25544,5" gives "25544" and "00005": the catalogue-number text of the element lines.
bool ParseTrackIds(const std::string& text, std::vector<std::string>& ids) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    std::string id =
        text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    std::optional<int64_t> number =
        id.find(' ') == std::string::npos ? CatalogNumberOfText(id) : std::nullopt;
    if (!number) return false;
    ids.push_back(CatalogNumberText(*number));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return !ids.empty();
}

// A name with a folder or an extension ("Tle/new.tle", "iss.txt") is meant as a file; a bare
// word might be either.
bool LooksLikeFileName(const std::string& word) {
  return word.find('/') != std::string::npos || std::filesystem::path(word).has_extension();
}

// What is wrong with FILE, or an empty text when it is there (or the system cannot tell, which
// the window will say). A bare first word that is no file was most likely meant as a command.
std::string MissingFileProblem(const std::string& word, bool first) {
  std::error_code ec;
  if (std::filesystem::exists(word, ec) || ec) return {};
  if (first && !LooksLikeFileName(word)) {
    std::string problem = "unknown command '" + word + "'";
    const std::string closest = ClosestCommand(word);
    if (!closest.empty()) problem += "; did you mean '" + closest + "'?";
    return problem;
  }
  return "cannot open '" + word + "': there is no such file";
}

}  // namespace

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
    if (a == "--track" || a.rfind("--track=", 0) == 0) {
      std::string value;
      if (a == "--track") {
        if (i + 1 >= args.size())
          return Fail(o, "--track needs catalogue numbers, e.g. 25544,48274, or all");
        value = args[++i];
      } else {
        value = a.substr(8);
      }
      o.windowArgs.push_back("--track");
      o.windowArgs.push_back(value);
      if (value == "all") {
        o.trackAll = true;
        o.trackIds.clear();
        continue;
      }
      o.trackAll = false;
      if (!ParseTrackIds(value, o.trackIds)) {
        return Fail(o, "--track needs catalogue numbers, e.g. 25544,48274, or all");
      }
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return Fail(o, "unknown option " + a);
    if (!o.elementFile.empty()) return Fail(o, "only one element file can be given");
    const std::string problem = MissingFileProblem(a, i == 0);
    if (!problem.empty()) return Fail(o, problem);
    o.elementFile = a;
    o.windowArgs.push_back(a);
  }
  return o;
}

}  // namespace zen::cli
