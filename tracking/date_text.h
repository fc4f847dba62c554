// The rule that turns a typed date-time text into a valid calendar moment.
#pragma once

#include <string>
#include <string_view>

#include "core/timescale.h"

namespace zen {

struct TNormalisedDate {
  std::string text;  // yyyy-mm-dd hh:mm:ss
  TDateRec record;   // hundredths 0
};

// Text laid out as yyyy-mm-dd hh:mm:ss. Nothing is rejected: foreign characters become "0",
// fields out of range are held to the nearest valid value, the year to 1958..2055.
TNormalisedDate NormaliseDateText(std::string_view text);

int DaysInMonth(int year, int month);

}  // namespace zen
