// Maidenhead grid locators ("JO62qm"): field, square and subsquare of a place.
#pragma once

#include <string>

namespace zen {

// Kinds of locator character: 1 field letter A-R, 2 square digit 0-9, 3 subsquare letter a-x.
inline constexpr int kLocatorField = 1;
inline constexpr int kLocatorSquare = 2;
inline constexpr int kLocatorSubsquare = 3;

// The character of a value of the given kind; values above the kind's range are clamped to
// its last character. Any other kind gives '?'.
char LocatorChar(int value, int kind);
// The value of a character of the given kind (case-sensitive), or -1 when it is outside the
// kind's range or the kind is not 1-3.
int LocatorValue(char character, int kind);

// Six-character locator of a place in degrees (north and east positive). Coordinates beyond
// the poles or the date line are taken as the nearest edge of the grid.
std::string LatLonToLocator(double latitudeDeg, double longitudeDeg);

// Centre of the square (4 characters) or subsquare (6 characters) of a locator, in degrees.
// The text is normalised in place (field letters upper case, subsquare letters lower case).
// False, with the outputs untouched, for any other length or a character out of range.
bool LocatorToLatLon(std::string& text, double& latitudeDeg, double& longitudeDeg);

}  // namespace zen
