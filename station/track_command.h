// "zenarith track": the station driven without a window, for a box beside the antenna.
#pragma once

#include <ostream>

#include "cli/track_words.h"

namespace zen::station {

// Follows the words' satellite or body with their devices on an event loop of its own (no display
// needed), printing one line per command sent on out and what happened to the devices on err,
// until --for runs out, Ctrl-C or a stop signal (parking first when a park position is given).
// Returns 0 then, 1 when the element file or the satellite cannot be read.
int RunTrackCommand(const cli::TTrackWords& words, std::ostream& out, std::ostream& err);

}  // namespace zen::station
