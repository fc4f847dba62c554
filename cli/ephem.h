// The ephem command: the models' state vectors for a range of times, for verification.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"

namespace zen::cli {

// zenarith ephem FILE [--sat NUMBER] [--start MIN] [--stop MIN] [--step MIN]
const TCommandHelp& EphemHelp();
int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
