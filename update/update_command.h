// "zenarith update": the element update without a window, for scheduled use.
#pragma once

#include <ostream>

#include "cli/update_words.h"

namespace zen {

// Runs the update the words ask for on an event loop of its own (no display needed) and
// prints one line per source: fetched, skipped and refused sources on out, failures on err.
// Returns 0 when every source was fetched or skipped, 1 when one failed, its fetch time could
// not be kept, the sources list cannot be read or is empty, or the program folder does not
// exist, 2 for an address that is not http or https.
int RunUpdateCommand(const cli::TUpdateWords& words, std::ostream& out, std::ostream& err);

}  // namespace zen
