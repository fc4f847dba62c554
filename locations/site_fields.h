// The text forms and rules of the "Location" page's fields.
#pragma once

#include <string>
#include <string_view>

#include "tracking/site.h"

namespace zen {

// The absolute value to four decimals (after rounding to six significant digits), a blank and
// "N", or "S" for negative latitudes: "53.0217 N".
std::string LatitudeText(double latitudeDeg);
// Likewise with seven significant digits and "E" or "W": "18.6107 E", "10.0000 W".
std::string LongitudeText(double longitudeDeg);
// One decimal after rounding to four significant digits ("5.0", "1235.0"). From 10000 m in
// magnitude on, that rounding would change the value, so there the shortest text that reads
// back to exactly the value is given, with at least one decimal ("-11234.5").
std::string AltitudeText(double altitudeM);

// The rules of leaving a field: every "," becomes "."; true with the value when the text is
// valid, false with the value untouched otherwise. Latitude and longitude texts are a number
// in range, a blank and the hemisphere letter in either case.
bool ReadLatitudeText(std::string_view text, double& latitudeDeg);
bool ReadLongitudeText(std::string_view text, double& longitudeDeg);
bool ReadAltitudeText(std::string_view text, double& altitudeM);

// The six fields read as a site, leniently: a number that does not read gives 0, and the
// hemisphere letter is taken as the last character whatever precedes it.
TSite FieldsToSite(const std::string& name, const std::string& sign, const std::string& latitude,
                   const std::string& longitude, const std::string& altitude,
                   const std::string& locator);

}  // namespace zen
