// The table of command words and the texts of --help and --version.
#include "cli/commands.h"

#include "cli/ephem.h"
#include "cli/flares.h"
#include "cli/look.h"
#include "cli/passes.h"
#include "cli/update_words.h"

namespace zen::cli {

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"ephem", "FILE [--sat NUMBER] [--start MIN] [--stop MIN] [--step MIN]",
       "print the models' position (km) and velocity (km/s) for each set of an element file",
       RunEphem},
      {"look", "FILE --sat NUMBER --site LAT,LON,ALT_M --from UTC --to UTC [--step SECONDS]",
       "print a satellite's sub-point, look angles, shadow and the Sun, seen from a site", RunLook},
      {"passes",
       "FILE (--sat N,N,...|--all) --site LAT,LON,ALT_M [--from UTC] [--to UTC | --days N] "
       "[--min-elev DEG] [--max-sun DEG | --no-sun-limit] [--no-illum] [--level 1..5] [--brief] "
       "[--utc-offset HOURS] [--format report|csv]",
       "search the visible passes of satellites over a site and print the report or CSV",
       RunPasses},
      {"flares",
       "FILE --site LAT,LON,ALT_M [--from UTC] [--to UTC | --days N] [--min-elev DEG] "
       "[--max-sun DEG | --no-sun-limit] [--max-angle DEG] [--level 1..5] [--no-table] "
       "[--utc-offset HOURS] [--format report|csv]",
       "search the Iridium flares over a site (the satellites that Data/flares.dat of the "
       "program's folder lists) and print the report or CSV",
       RunFlares},
      {"update", kUpdateUsage,
       "fetch the element sources of Setup/sources.set (or one address into one file), check "
       "the answers and replace the element files of Tle/, keeping each previous file as .bak; "
       "exits 1 when a source failed",
       RunUpdate},
  };
  return commands;
}

const TCommand* FindCommand(std::string_view word) {
  for (const TCommand& c : Commands()) {
    if (word == c.word) return &c;
  }
  return nullptr;
}

std::string VersionText() {
  return "Zenarith 1.0";
}

std::string UsageText() {
  std::string text =
      "Usage: zenarith [OPTIONS] [FILE] [--track NUMBER,NUMBER,...]\n"
      "       zenarith COMMAND [COMMAND OPTIONS]\n"
      "\n"
      "Zenarith tracks satellites from two-line element files on a world map and a radar\n"
      "view, and predicts their passes.\n"
      "\n"
      "FILE is an element file loaded at start; --track tracks those catalogue numbers\n"
      "from it, the first one active.\n"
      "\n"
      "Options:\n"
      "  --home DIR     use DIR as the program folder (Data/, Tle/, Setup/, ...)\n"
      "                 instead of the folder of the program file\n"
      "  -h, --help     show this text and exit\n"
      "  -v, --version  show the version and exit\n";
  if (!Commands().empty()) {
    text += "\nCommands (no display needed):\n";
    for (const TCommand& c : Commands()) {
      text += "  " + std::string(c.word) + " " + c.usage + "\n      " + c.summary + "\n";
    }
  }
  return text;
}

}  // namespace zen::cli
