// The passes command: a pass search over the sets of an element file, printed as the report, as
// CSV, as an iCalendar calendar or as JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"

namespace zen::cli {

// zenarith passes FILE (--sat N,N,...|--all) --site LAT,LON[,ALT_M] [--from TIME]
//   [--to TIME | --days N] [--min-elev DEG] [--max-sun DEG | --no-sun-limit] [--no-illum]
//   [--level 1..5] [--brief] [--utc-offset HOURS] [--format report|csv|ics|json]
const TCommandHelp& PassesHelp();
int RunPasses(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
