// Why a search found nothing: the passes or reflections its conditions left out, said in one
// line for the footer and the commands alike.
#pragma once

#include <string>

#include "prediction/search.h"

namespace zen {

// "No passes met the conditions: 3 passes above 10° were left out because the satellite was
// in shadow (2) / the Sun was above −5° (1)"; for flares "No flares met the conditions: 4
// reflections were left out because ...". Only the reasons that left something out are named,
// each with its count. Empty when the search found any event, or when nothing was left out.
// The text is UTF-8 (a true minus sign and the degree sign); the degrees are the search's own
// lowest satellite elevation and highest Sun elevation.
std::string LeftOutText(TSearchKind kind, int foundCount, const TLeftOut& leftOut,
                        double minSatElevationDeg, double maxSunElevationDeg);

// The same for a finished search of a request; empty for a search stopped before its end.
std::string LeftOutText(const TSearchRequest& request, const TSearchOutcome& outcome);

// Degrees as the set-up page shows them: whole degrees bare, others to at most two decimals,
// a negative value with a true minus sign, then the degree sign ("10°", "−5°", "7.5°").
std::string DegreesText(double degrees);

}  // namespace zen
