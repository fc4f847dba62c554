// The look command: what a site sees of one satellite, and of the Sun, step by step.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zen::cli {

// zenarith look FILE --sat NUMBER --site LAT,LON,ALT_M --from UTC --to UTC [--step SECONDS]
int RunLook(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
