// The flares command: an Iridium flare search over the sets of an element file, printed as the
// report, as CSV, as an iCalendar calendar or as JSON.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"

namespace zen::cli {

// zenarith flares FILE --site LAT,LON[,ALT_M] [--from TIME] [--to TIME | --days N]
//   [--min-elev DEG] [--max-sun DEG | --no-sun-limit] [--max-angle DEG] [--level 1..5]
//   [--no-table] [--utc-offset HOURS] [--format report|csv|ics|json]
const TCommandHelp& FlaresHelp();

// The Iridium status table is Data/flares.dat of the program folder that a window started
// without --home would use (see program_home.h).
int RunFlares(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The same with the table of another program folder.
int RunFlaresIn(const std::filesystem::path& programFolder, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err);

}  // namespace zen::cli
