// The look command: what a site sees of one satellite, and of the Sun, step by step.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"

namespace zen::cli {

// zenarith look FILE --sat NUMBER --site LAT,LON[,ALT_M] --from TIME --to TIME [--step SECONDS]
const TCommandHelp& LookHelp();
int RunLook(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
