// The ephem command: the models' state vectors for a range of times, for verification.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zen::cli {

// zenarith ephem FILE [--sat NUMBER] [--start MIN] [--stop MIN] [--step MIN]
int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
